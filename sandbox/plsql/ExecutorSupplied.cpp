// Running the supplied packages' routines: their arguments, the call stack
// DBMS_UTILITY reports, the OUT arguments written back, and what a routine
// may ask of the calling block (SuppliedCaller).
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

// How the call stack names a unit's kind: by its stored type; a unit that
// is no stored procedure, function or package is a trigger.
std::string KindOf(Session& session, const std::string* unit) {
  if (unit == nullptr)
    return "anonymous block";
  const size_t dot = unit->find('.');
  const StoredUnits* code = session.StoredCode();
  const auto stored = code != nullptr && dot != std::string::npos
                          ? code->Find(unit->substr(0, dot), unit->substr(dot + 1))
                          : nullptr;
  if (stored == nullptr)
    return "trigger";
  if (stored->IsPackage())
    return "package body";
  return stored->type == "FUNCTION" ? "function" : "procedure";
}

// The unit's name without its owner ("__anonymous_block" for none), then
// the routine running in it when that is not the unit itself.
std::string SubprogramOf(const std::string* unit, const RoutineDecl* routine) {
  std::string name = "__anonymous_block";
  if (unit != nullptr)
    name = unit->substr(unit->find('.') == std::string::npos ? 0 : unit->find('.') + 1);
  if (routine != nullptr && routine->name != name)
    name += "." + routine->name;
  return name;
}

}  // namespace

std::vector<StackFrame> Executor::CallStack(int line) const {
  // Frame i runs in the unit the call site above it was made from, inside
  // the routine the site below it called.
  std::vector<StackFrame> stack;
  const auto frame = [&](const std::string* unit, int at, const RoutineDecl* routine) {
    stack.push_back({unit != nullptr ? *unit : std::string(), KindOf(session_, unit), at,
                     SubprogramOf(unit, routine)});
  };
  const size_t sites = callSites_.size();
  frame(unit_, line, sites > 0 ? callSites_.back().routine : nullptr);
  for (size_t i = sites; i-- > 0;)
    frame(callSites_[i].unit, callSites_[i].line, i > 0 ? callSites_[i - 1].routine : nullptr);
  return stack;
}

PlValue Executor::CallSupplied(const SuppliedRoutine& routine, const std::vector<ExprPtr>& args,
                               int line, std::shared_ptr<CursorState>* cursorResult) {
  // The block as the routine sees it: arguments by their declared types and
  // variables, and the depth its dynamic statements start from.
  class Caller : public SuppliedCaller {
   public:
    Caller(Executor& executor, const std::vector<ExprPtr>& args)
        : executor_(executor), args_(args) {}
    const TypeSpec* DeclaredType(size_t i) const override {
      return i < args_.size() && args_[i] ? TypeOf(*args_[i]) : nullptr;
    }
    Variable& Target(size_t i) override {
      if (i >= args_.size() || !args_[i] || TypeOf(*args_[i]) == nullptr)
        throw MakeError(6550, "PLS-00382: expression is of wrong type");
      return executor_.Locate(*args_[i], true);
    }
    void Nest(DynamicBinds& binds) override {
      if (executor_.dynamicDepth_ >= kMaxDynamicDepth)
        throw MakeError(36, "maximum number of recursive SQL levels (50) exceeded");
      binds.callDepth = executor_.callDepth_;
      binds.dynamicDepth = executor_.dynamicDepth_ + 1;
    }

   private:
    Executor& executor_;
    const std::vector<ExprPtr>& args_;
  } caller(*this, args);
  SuppliedCall call{session_, handling_.empty() ? nullptr : handling_.back()};
  call.routine = &routine;
  call.caller = &caller;
  if (routine.package == std::string("DBMS_UTILITY") ||
      routine.package == std::string("UTL_CALL_STACK"))
    call.stack = CallStack(line);
  for (size_t i = 0; i < routine.params.size(); ++i) {
    const Expr* arg = i < args.size() ? args[i].get() : nullptr;
    call.given.push_back(arg != nullptr);
    call.binary.push_back(arg != nullptr && IsBinaryExpr(*arg));
    const SuppliedParam& param = routine.params[i];
    const bool evaluated = arg != nullptr && (!param.out || param.inOut) && !param.byReference;
    call.args.push_back(evaluated ? Eval(*arg) : PlValue());
  }
  PlValue result = routine.body(call);
  for (size_t i = 0; i < routine.params.size(); ++i)
    if (routine.params[i].out && !routine.params[i].byReference && i < args.size() && args[i])
      Assign(*args[i], call.args[i]);
  if (cursorResult != nullptr)
    *cursorResult = std::move(call.cursorResult);
  return result;
}

}  // namespace sandbox::plsql
