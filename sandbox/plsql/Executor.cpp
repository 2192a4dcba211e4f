// Statements, expressions, cursors and exceptions at run time.
#include "sandbox/plsql/Executor.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "sandbox/plsql/Builtins.h"
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DateTime.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/LobLocators.h"
#include "sandbox/plsql/ObjectJson.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"
#include "sandbox/server/EmptyBindSet.h"
#include "sandbox/server/values/DateFormat.h"

namespace sandbox::plsql {

namespace {

// The binds of one embedded statement: the block's own values first, then
// the :placeholders of the caller.
class StatementBinds : public BindSet {
 public:
  StatementBinds(std::map<std::string, Value> values, BindSet& outer, bool allRows = false)
      : values_(std::move(values)), outer_(outer), allRows_(allRows) {}
  bool Has(const std::string& name) const override {
    return values_.count(name) != 0 || outer_.Has(name);
  }
  Value Get(const std::string& name) const override {
    auto it = values_.find(name);
    return it != values_.end() ? it->second : outer_.Get(name);
  }
  bool Set(const std::string& name, const Value& value, OraError& error) override {
    if (name.rfind("PLSQL_R", 0) == 0) {
      returned_[name] = value;
      return true;
    }
    return outer_.Set(name, value, error);
  }
  // What the statement's RETURNING gave the placeholder.
  Value Returned(const std::string& name) const {
    const auto it = returned_.find(name);
    return it != returned_.end() ? it->second : Value();
  }
  bool TakesReturnedRows() const override { return allRows_; }
  void SetReturnedRows(std::vector<std::vector<Value>> rows) override { rows_ = std::move(rows); }
  // RETURNING ... BULK COLLECT INTO: every row the statement changed.
  const std::vector<std::vector<Value>>& ReturnedRows() const { return rows_; }

 private:
  std::map<std::string, Value> values_;
  std::map<std::string, Value> returned_;
  BindSet& outer_;
  bool allRows_;
  std::vector<std::vector<Value>> rows_;
};

PlValue Unknown() {
  return {};
}

bool LikeMatch(const std::string& s, size_t si, const std::string& p, size_t pi, int escape) {
  while (pi < p.size()) {
    const char c = p[pi];
    if (escape >= 0 && c == static_cast<char>(escape) && pi + 1 < p.size()) {
      if (si >= s.size() || s[si] != p[pi + 1])
        return false;
      ++si;
      pi += 2;
    } else if (c == '%') {
      while (pi < p.size() && p[pi] == '%')
        ++pi;
      if (pi == p.size())
        return true;
      for (size_t k = si; k <= s.size(); ++k) {
        if (LikeMatch(s, k, p, pi, escape))
          return true;
      }
      return false;
    } else if (c == '_') {
      if (si >= s.size())
        return false;
      ++si;
      ++pi;
    } else {
      if (si >= s.size() || s[si] != c)
        return false;
      ++si;
      ++pi;
    }
  }
  return si == s.size();
}

}  // namespace

Executor::Executor(Session& session, BindSet& binds)
    : session_(session),
      binds_(binds),
      output_(session.Output(), DbmsOutput::LineLimitOf(session.GetDatabase().VersionBanner())) {
  bulkRowCount_.collection.Reset(std::make_unique<Collection>());
  bulkExceptions_.collection.Reset(std::make_unique<Collection>());
  // A block run by EXECUTE IMMEDIATE goes on counting from the block that ran it.
  if (const auto* dynamic = dynamic_cast<const DynamicBinds*>(&binds)) {
    callDepth_ = dynamic->callDepth;
    dynamicDepth_ = dynamic->dynamicDepth;
  }
}

bool Executor::Run(const Block& block, OraError& error, const std::string* unit) {
  unit_ = unit;
  try {
    ExecBlock(block);
    return true;
  } catch (const PlError& e) {
    Report(e, error);
    return false;
  }
}

bool Executor::RunSection(const Block& trigger, TimingPoint point, TriggerState& state,
                          OraError& error, const std::string* unit) {
  const auto section = trigger.sections.find(point);
  if (section == trigger.sections.end())
    return true;
  unit_ = unit;
  // The declarations' scope is lent to this run and given back however it ends.
  scopes_.push_back(std::move(state.scope));
  struct GiveBack {
    std::deque<Scope>& scopes;
    TriggerState& state;
    ~GiveBack() {
      state.scope = std::move(scopes.back());
      scopes.pop_back();
    }
  } giveBack{scopes_, state};
  try {
    if (!state.declared) {
      state.declared = true;
      DeclareAll(trigger, scopes_.back());
    }
    ExecBlock(*section->second);
    return true;
  } catch (const PlError& e) {
    Report(e, error);
    return false;
  }
}

bool Executor::CallFunction(const RoutineDecl& routine, const std::vector<PlValue>& arguments,
                            PlValue& result, OraError& error) {
  std::vector<ExprPtr> args;
  for (const PlValue& value : arguments) {
    auto literal = std::make_unique<Expr>();
    literal->value = value;
    // An object or collection arrives in its column's form.
    if (args.size() < routine.params.size() && !routine.params[args.size()]->type.sqlType.empty())
      literal->type = &routine.params[args.size()]->type;
    args.push_back(std::move(literal));
  }
  args.resize(routine.params.size());
  try {
    result = CallRoutine(routine, args, 0);
    if (!routine.returnType.sqlType.empty())
      result = FromSqlValue(ToColumnValue(returnComposite_, routine.returnType));
    return true;
  } catch (PlError& e) {
    // A SQL statement is no line of a block: the trail ends in the function.
    if (!e.places.empty() && e.places.back().line == 0)
      e.places.pop_back();
    Report(e, error);
    return false;
  }
}

void Executor::Report(const PlError& e, OraError& error) {
  const bool userDefined = e.userException != nullptr && e.code == 0;
  error.code = userDefined ? 6510 : e.code;
  error.message = userDefined ? "PL/SQL: unhandled user-defined exception" : e.message;
  for (const ErrorPlace& place : e.places) {
    error.message += "\nORA-06512: at " +
                     (place.unit.empty() ? std::string() : "\"" + place.unit + "\", ") + "line " +
                     std::to_string(place.line);
  }
}

Executor::Flow Executor::ExecBlock(const Block& block) {
  ScopeGuard guard(scopes_);
  // Its changes are its own, so a query may call it.
  std::optional<CallContextGuard> autonomous;
  if (block.autonomous)
    autonomous.emplace(session_, Session::CallContext::Autonomous);
  // Errors of the declarations go to the enclosing block, not to this one's
  // handlers, as in Oracle.
  DeclareAll(block, guard.scope());
  PlError caught;
  const Handler* handler = nullptr;
  // An autonomous transaction must end before its routine does; the error
  // goes to the caller, not to the routine's own handlers.
  const auto ended = [&](Flow flow) {
    if (block.autonomous && session_.AutonomousPending())
      throw MakeError(6519, "active autonomous transaction detected and rolled back");
    return flow;
  };
  std::optional<Flow> finished;
  try {
    finished = ExecList(block.body);
  } catch (const PlError& e) {
    for (const Handler& h : block.handlers) {
      for (const ExceptionDecl* x : h.exceptions) {
        const bool match = (e.userException != nullptr && e.userException == x) ||
                           (x->code != 0 && e.code == x->code);
        if (match && handler == nullptr)
          handler = &h;
      }
    }
    if (handler == nullptr) {
      for (const Handler& h : block.handlers) {
        if (h.others)
          handler = &h;
      }
    }
    if (handler == nullptr)
      throw;
    caught = e;
  }
  if (finished)
    return ended(*finished);
  handling_.push_back(&caught);
  struct HandlingGuard {
    std::vector<const PlError*>& stack;
    ~HandlingGuard() { stack.pop_back(); }
  } handlingGuard{handling_};
  return ended(ExecList(handler->body));
}

Executor::Flow Executor::ExecList(const StmtList& list) {
  for (const auto& stmt : list) {
    const Flow flow = Exec(*stmt);
    if (flow != Flow::Normal)
      return flow;
  }
  return Flow::Normal;
}

Executor::Flow Executor::Exec(const Stmt& stmt) {
  try {
    return ExecStatement(stmt);
  } catch (PlError& e) {
    if (e.places.empty())
      AddPlace(e, stmt.line);
    throw;
  }
}

Executor::Flow Executor::ExecLoopBody(const Stmt& loop, bool& exitLoop) {
  const Flow flow = ExecList(loop.bodies[0]);
  exitLoop = flow != Flow::Normal;
  if (flow != Flow::Exit && flow != Flow::Continue)
    return flow;
  if (!flowLabel_.empty() && flowLabel_ != loop.label)
    return flow;  // for an outer loop
  flowLabel_.clear();
  exitLoop = flow == Flow::Exit;
  return Flow::Normal;
}

Executor::Flow Executor::ExecStatement(const Stmt& stmt) {
  switch (stmt.kind) {
    case Stmt::Kind::Assign:
      if (stmt.exprs[0]->kind == Expr::Kind::Bind && IsCursorVariable(*stmt.exprs[1])) {
        Variable value = EvalComposite(*stmt.exprs[1]);
        BindCursor(stmt.exprs[0]->name, value);
      } else if (IsComposite(*stmt.exprs[0]))
        Locate(*stmt.exprs[0], true) = EvalComposite(*stmt.exprs[1]);
      else
        Assign(*stmt.exprs[0], Eval(*stmt.exprs[1]));
      return Flow::Normal;
    case Stmt::Kind::CollectionCall:
      ExecCollectionCall(stmt);
      return Flow::Normal;
    case Stmt::Kind::ForAll:
      return ExecForAll(stmt);
    case Stmt::Kind::Case: {
      const size_t simple = stmt.name == "SIMPLE" ? 1 : 0;
      const size_t chosen = CaseChoice(stmt.name, stmt.exprs, stmt.exprs.size(), 1);
      if (chosen < stmt.exprs.size())
        return ExecList(stmt.bodies[chosen - simple]);
      if (!stmt.hasElse)
        throw MakeError(6592, "CASE not found while executing CASE statement");
      return ExecList(stmt.bodies.back());
    }
    case Stmt::Kind::If:
      for (size_t i = 0; i < stmt.exprs.size(); ++i) {
        if (IsTrue(Eval(*stmt.exprs[i])))
          return ExecList(stmt.bodies[i]);
      }
      return stmt.hasElse ? ExecList(stmt.bodies.back()) : Flow::Normal;
    case Stmt::Kind::Loop:
      while (true) {
        bool exitLoop = false;
        const Flow flow = ExecLoopBody(stmt, exitLoop);
        if (exitLoop)
          return flow;
      }
    case Stmt::Kind::While:
      while (IsTrue(Eval(*stmt.exprs[0]))) {
        bool exitLoop = false;
        const Flow flow = ExecLoopBody(stmt, exitLoop);
        if (exitLoop)
          return flow;
      }
      return Flow::Normal;
    case Stmt::Kind::ForRange:
      return ExecForRange(stmt);
    case Stmt::Kind::ForCursor:
      return ExecForCursor(stmt);
    case Stmt::Kind::Exit:
    case Stmt::Kind::Continue:
      if (!stmt.exprs.empty() && !IsTrue(Eval(*stmt.exprs[0])))
        return Flow::Normal;
      flowLabel_ = stmt.name;
      return stmt.kind == Stmt::Kind::Exit ? Flow::Exit : Flow::Continue;
    case Stmt::Kind::Open: {
      if (stmt.cursorVariable) {
        OpenCursorVariable(stmt);
        return Flow::Normal;
      }
      CursorState& state = FindCursor(stmt.cursor);
      OpenCursor(*stmt.cursor, stmt.exprs, state);
      return Flow::Normal;
    }
    case Stmt::Kind::Fetch:
      ExecFetch(stmt);
      return Flow::Normal;
    case Stmt::Kind::Close: {
      CursorState& state = CursorOf(stmt);
      if (!state.isOpen)
        throw PredefinedError(1001);
      state = CursorState();
      return Flow::Normal;
    }
    case Stmt::Kind::Return:
      if (!stmt.exprs.empty() && IsComposite(*stmt.exprs[0])) {
        returnComposite_ = EvalComposite(*stmt.exprs[0]);
        returnValue_ = {};
      } else {
        returnValue_ = stmt.exprs.empty() ? PlValue() : Eval(*stmt.exprs[0]);
      }
      return Flow::Return;
    case Stmt::Kind::Null:
      return Flow::Normal;
    case Stmt::Kind::JsonCall:
      CallJson(*stmt.exprs[0]);
      return Flow::Normal;
    case Stmt::Kind::PipeRow: {  // the compiler allows it only in a pipelined function
      Variable row = ElementValue(*pipes_.back().type->element, *stmt.exprs[0]);
      Collection& rows = *pipes_.back().rows.collection.get();
      rows.elements[CollectionKey{++rows.size, {}}] = std::move(row);
      return Flow::Normal;
    }
    case Stmt::Kind::Raise: {
      if (stmt.exception == nullptr) {
        if (handling_.empty()) {
          throw MakeError(6550,
                          "PLS-00367: a RAISE statement with no exception name must be "
                          "inside an exception handler");
        }
        PlError again = *handling_.back();
        again.places.clear();
        throw again;
      }
      PlError e;
      if (stmt.exception->code != 0)
        e = PredefinedError(stmt.exception->code);
      e.userException = stmt.exception;
      throw e;
    }
    case Stmt::Kind::CallRoutine:
      CallRoutine(*stmt.routine, stmt.exprs, stmt.line);
      return Flow::Normal;
    case Stmt::Kind::CallPackage:
      ExecPackageCall(stmt);
      return Flow::Normal;
    case Stmt::Kind::Block:
      return ExecBlock(*stmt.block);
    case Stmt::Kind::Sql:
      ExecSql(stmt);
      return Flow::Normal;
    case Stmt::Kind::ExecuteImmediate:
      ExecImmediate(stmt);
      return Flow::Normal;
  }
  return Flow::Normal;
}

Executor::Flow Executor::ExecForRange(const Stmt& stmt) {
  const PlValue low = Eval(*stmt.exprs[0]);
  const PlValue high = Eval(*stmt.exprs[1]);
  if (low.IsNull() || high.IsNull())
    throw ValueError("NULL value for a FOR loop bound");
  const long double from = std::round(NumberOf(low)), to = std::round(NumberOf(high));
  ScopeGuard guard(scopes_);
  Declare(*stmt.loopVariable, PlValue());
  Variable& index = guard.scope().variables[stmt.loopVariable.get()];
  for (long double i = stmt.reverse ? to : from; stmt.reverse ? i >= from : i <= to;
       i += stmt.reverse ? -1 : 1) {
    index.value = PlValue::Number(i);
    bool exitLoop = false;
    const Flow flow = ExecLoopBody(stmt, exitLoop);
    if (exitLoop)
      return flow;
  }
  return Flow::Normal;
}

Executor::Flow Executor::ExecForCursor(const Stmt& stmt) {
  CursorState inlineState;
  CursorState& state = stmt.inlineCursor ? inlineState : FindCursor(stmt.cursor);
  OpenCursor(*stmt.cursor, stmt.exprs, state);
  ScopeGuard guard(scopes_);
  Declare(*stmt.loopVariable, PlValue());
  Variable& record = guard.scope().variables[stmt.loopVariable.get()];
  Flow result = Flow::Normal;
  try {
    std::vector<PlValue> row;
    while (FetchRow(state, row)) {
      for (size_t i = 0; i < record.fields.size() && i < row.size(); ++i)
        record.fields[i].value = row[i];
      bool exitLoop = false;
      result = ExecLoopBody(stmt, exitLoop);
      if (exitLoop)
        break;
    }
  } catch (...) {
    state = CursorState();
    throw;
  }
  state = CursorState();  // the loop closes its cursor
  return result;
}

void Executor::ExecFetch(const Stmt& stmt) {
  if (stmt.bulk) {
    ExecBulkFetch(stmt);
    return;
  }
  CursorState& state = CursorOf(stmt);
  std::vector<PlValue> row;
  if (!FetchRow(state, row))
    return;  // the targets keep their values
  // A cursor variable's query is known only now.
  if (stmt.cursorVariable && !IsSingleRecordTarget(stmt.exprs) && row.size() != stmt.exprs.size())
    throw MakeError(6504, "PL/SQL: Return types of Result Set variables or query do not match");
  StoreRow(stmt.exprs, row);
}

void Executor::ExecSql(const Stmt& stmt) {
  if (stmt.sql->bulkInto) {
    const auto rows = ReadRows(*OpenQuery(*stmt.sql), -1);
    BulkStore(stmt.exprs, rows);
    return;
  }
  if (stmt.sql->isQuery) {
    const auto lobs =
        MayTakeLocators(stmt.exprs) ? FindLobRows(session_, stmt.sql->text, {}) : std::nullopt;
    SelectInto(*OpenQuery(*stmt.sql, lobs ? &lobs->text : nullptr), stmt.exprs,
               lobs ? &*lobs : nullptr);
    return;
  }
  ExecDml(stmt, BindValues(*stmt.sql), nullptr);
}

void Executor::ExecDml(const Stmt& stmt, std::map<std::string, Value> values,
                       std::vector<std::vector<PlValue>>* collected) {
  const SqlText& sql = *stmt.sql;
  for (size_t i = 0; i < sql.returningValues; ++i)
    values[ReturningPlaceholderName(i)] = Value();
  StatementBinds binds(std::move(values), binds_, sql.bulkReturning);
  const auto lobs =
      !sql.bulkReturning && MayTakeLocators(sql.returningInto)
          ? FindLobRows(session_, sql.text, ReturningPlaceholderName(sql.returningValues))
          : std::nullopt;
  std::uint64_t rows = 0;
  OraError error, warning;
  if (!session_.Execute(lobs ? lobs->text : sql.text, binds, rows, error, warning))
    throw FromOraError(error);
  sqlRowCount_ = static_cast<long long>(rows);
  sqlFound_ = rows > 0 ? 1 : 0;
  if (sql.returningInto.empty())
    return;
  if (sql.bulkReturning) {
    std::vector<std::vector<PlValue>> own;
    std::vector<std::vector<PlValue>>& into = collected != nullptr ? *collected : own;
    for (const auto& returned : binds.ReturnedRows())
      into.push_back(FromSqlRow(returned));
    if (collected == nullptr)
      BulkStore(sql.returningInto, own);
    return;
  }
  std::vector<Value> row;
  for (size_t i = 0; i < sql.returningValues + (lobs ? 1 : 0); ++i)
    row.push_back(binds.Returned(ReturningPlaceholderName(i)));
  StoreRow(sql.returningInto, lobs ? lobs->Values(session_, std::move(row)) : FromSqlRow(row));
}

void Executor::SelectInto(Cursor& cursor, const std::vector<ExprPtr>& targets,
                          const LobRowSource* lobs) {
  std::vector<Value> row, extra;
  OraError error;
  if (!cursor.Next(row, error)) {
    if (error.IsSet())
      throw FromOraError(error);
    sqlRowCount_ = 0;
    sqlFound_ = 0;
    throw PredefinedError(1403);
  }
  if (cursor.Next(extra, error)) {
    sqlRowCount_ = 2;
    sqlFound_ = 1;
    throw PredefinedError(1422);
  }
  if (error.IsSet())
    throw FromOraError(error);
  sqlRowCount_ = 1;
  sqlFound_ = 1;
  StoreRow(targets, lobs != nullptr ? lobs->Values(session_, std::move(row)) : FromSqlRow(row));
}

void Executor::ExecPackageCall(const Stmt& stmt) {
  if (const SuppliedRoutine* supplied = FindSupplied(stmt.name)) {
    CallSupplied(*supplied, stmt.exprs, stmt.line);
    return;
  }
  std::vector<PlValue> args;
  const bool getLine = stmt.name == "DBMS_OUTPUT.GET_LINE";
  if (!getLine) {
    for (const auto& e : stmt.exprs)
      args.push_back(Eval(*e));
  }
  auto textArg = [&](size_t i) {
    return args[i].IsNull() ? std::string() : TextOf(args[i], session_);
  };
  if (stmt.name == "RAISE_APPLICATION_ERROR") {
    const long double code = args[0].IsNull() ? 0 : std::trunc(NumberOf(args[0]));
    if (code > -20000 || code < -20999) {
      throw MakeError(21000, "error number argument to raise_application_error of " +
                                 FormatNumber(code) + " is out of range");
    }
    std::string message = textArg(1);
    if (message.size() > 2048)
      message.resize(2048);
    throw MakeError(static_cast<int>(-code), message);
  }
  if (stmt.name == "DBMS_OUTPUT.ENABLE") {
    if (args.empty()) {
      output_.Enable(20000);
    } else if (args[0].IsNull()) {
      output_.Enable(std::nullopt);
    } else {
      output_.Enable(NumberOf(args[0]));
    }
  } else if (stmt.name == "DBMS_OUTPUT.DISABLE") {
    output_.Disable();
  } else if (stmt.name == "DBMS_OUTPUT.PUT_LINE") {
    output_.PutLine(textArg(0));
  } else if (stmt.name == "DBMS_OUTPUT.PUT") {
    output_.Put(textArg(0));
  } else if (stmt.name == "DBMS_OUTPUT.NEW_LINE") {
    output_.NewLine();
  } else if (getLine) {
    std::string line;
    if (output_.GetLine(line)) {
      Assign(*stmt.exprs[0], PlValue::Text(line));
      Assign(*stmt.exprs[1], PlValue::Number(0));
    } else {
      Assign(*stmt.exprs[0], PlValue());
      Assign(*stmt.exprs[1], PlValue::Number(1));
    }
  }
}

PlValue Executor::Eval(const Expr& expr) {
  switch (expr.kind) {
    case Expr::Kind::Literal:
      return expr.value;
    case Expr::Kind::Variable:
      return Find(expr.variable).value;
    case Expr::Kind::Field:
    case Expr::Kind::Element: {
      const TemporariesMark mark(temporaries_);
      return Locate(expr, false).value;
    }
    case Expr::Kind::Method: {
      const TemporariesMark mark(temporaries_);
      return EvalMethod(expr);
    }
    case Expr::Kind::Construct:  // a collection is no scalar; the compiler keeps it apart
      throw MakeError(6550, "PLS-00382: expression is of wrong type");
    case Expr::Kind::Bind:
      return FromSqlValue(binds_.Get(expr.name));
    case Expr::Kind::Negate: {
      const PlValue v = Eval(*expr.args[0]);
      return v.IsNull() ? v : PlValue::Number(-NumberOf(v));
    }
    case Expr::Kind::Not: {
      const PlValue v = Eval(*expr.args[0]);
      if (v.IsNull())
        return v;
      return PlValue::Boolean(!IsTrue(v));
    }
    case Expr::Kind::Arithmetic:
      return EvalArithmetic(expr);
    case Expr::Kind::Compare:
      return EvalCompare(expr.name, Eval(*expr.args[0]), Eval(*expr.args[1]));
    case Expr::Kind::And:
    case Expr::Kind::Or: {
      // Three-valued logic; the right side is skipped once the left decides.
      const bool isAnd = expr.kind == Expr::Kind::And;
      const PlValue left = Eval(*expr.args[0]);
      if (!left.IsNull() && IsTrue(left) != isAnd)
        return left;
      const PlValue right = Eval(*expr.args[1]);
      if (!right.IsNull() && IsTrue(right) != isAnd)
        return right;
      if (left.IsNull() || right.IsNull())
        return Unknown();
      return PlValue::Boolean(isAnd);
    }
    case Expr::Kind::IsNull: {
      // A nested table or varray is null until it is made, an object until
      // it is constructed.
      const TypeSpec* type = TypeOf(*expr.args[0]);
      bool isNull = false;
      if (type != nullptr && type->base == TypeSpec::Base::Collection) {
        const TemporariesMark mark(temporaries_);
        isNull = Locate(*expr.args[0], false).collection.get() == nullptr;
      } else if (type != nullptr && type->IsObject()) {
        isNull = EvalComposite(*expr.args[0]).fields.empty();
      } else if (type != nullptr && type->base == TypeSpec::Base::Json) {
        isNull = EvalComposite(*expr.args[0]).json == nullptr;
      } else {
        isNull = Eval(*expr.args[0]).IsNull();
      }
      return PlValue::Boolean(isNull != expr.negated);
    }
    case Expr::Kind::Like: {
      const PlValue value = Eval(*expr.args[0]);
      const PlValue pattern = Eval(*expr.args[1]);
      int escape = -1;
      if (expr.args.size() > 2) {
        const PlValue e = Eval(*expr.args[2]);
        if (e.IsNull())
          return Unknown();
        const std::string esc = TextOf(e, session_);
        if (esc.size() != 1)
          throw MakeError(1425, "escape character must be character string of length 1");
        escape = static_cast<unsigned char>(esc[0]);
      }
      if (value.IsNull() || pattern.IsNull())
        return Unknown();
      const bool match =
          LikeMatch(TextOf(value, session_), 0, TextOf(pattern, session_), 0, escape);
      return PlValue::Boolean(match != expr.negated);
    }
    case Expr::Kind::Between: {
      const PlValue v = Eval(*expr.args[0]);
      const PlValue low = EvalCompare(">=", v, Eval(*expr.args[1]));
      const PlValue high = EvalCompare("<=", v, Eval(*expr.args[2]));
      PlValue both;
      if ((!low.IsNull() && !low.boolean()) || (!high.IsNull() && !high.boolean())) {
        both = PlValue::Boolean(false);
      } else if (!low.IsNull() && !high.IsNull()) {
        both = PlValue::Boolean(true);
      }
      if (both.IsNull() || !expr.negated)
        return both;
      return PlValue::Boolean(!both.boolean());
    }
    case Expr::Kind::InList: {
      const PlValue v = Eval(*expr.args[0]);
      bool sawUnknown = false;
      for (size_t i = 1; i < expr.args.size(); ++i) {
        const PlValue eq = EvalCompare("=", v, Eval(*expr.args[i]));
        if (eq.IsNull()) {
          sawUnknown = true;
        } else if (eq.boolean()) {
          return PlValue::Boolean(!expr.negated);
        }
      }
      return sawUnknown ? Unknown() : PlValue::Boolean(expr.negated);
    }
    case Expr::Kind::Builtin: {
      if (const SuppliedRoutine* supplied = FindSupplied(expr.name))
        return CallSupplied(*supplied, expr.args, expr.line);
      std::vector<PlValue> args;
      for (const auto& a : expr.args)
        args.push_back(Eval(*a));
      const BuiltinContext context{session_, handling_.empty() ? nullptr : handling_.back()};
      return CallBuiltin(expr.name, args, context);
    }
    case Expr::Kind::Call:
      return CallRoutine(*expr.routine, expr.args, expr.line);
    case Expr::Kind::CursorAttr:
      return EvalCursorAttribute(expr);
    case Expr::Kind::Case: {
      const size_t simple = expr.name == "SIMPLE" ? 1 : 0;
      const size_t pairsEnd = expr.args.size() - (expr.args.size() - simple) % 2;
      const size_t chosen = CaseChoice(expr.name, expr.args, pairsEnd, 2);
      if (chosen < pairsEnd)
        return Eval(*expr.args[chosen + 1]);
      return pairsEnd < expr.args.size() ? Eval(*expr.args.back()) : PlValue();
    }
    case Expr::Kind::SequenceValue:
      return EvalSequenceValue(expr);
    case Expr::Kind::SqlFunction:
      return EvalSqlFunction(expr);
    case Expr::Kind::JsonMethod:
      return CallJson(expr).value;
  }
  return {};
}

PlValue Executor::EvalArithmetic(const Expr& expr) {
  const PlValue a = Eval(*expr.args[0]);
  const PlValue b = Eval(*expr.args[1]);
  const std::string& op = expr.name;
  if (op == "||")
    return PlValue::Text(TextOf(a, session_) + TextOf(b, session_));
  if (a.IsNull() || b.IsNull())
    return {};
  using Kind = PlValue::Kind;
  if (a.kind() == Kind::Date || b.kind() == Kind::Date) {
    long double x = 0, y = 0;
    if (a.kind() == Kind::Date)
      DaysOfDate(a.text(), x);
    else
      x = NumberOf(a);
    if (b.kind() == Kind::Date)
      DaysOfDate(b.text(), y);
    else
      y = NumberOf(b);
    if (op == "-" && a.kind() == Kind::Date && b.kind() == Kind::Date)
      return PlValue::Number(x - y);
    if (op == "+" && !(a.kind() == Kind::Date && b.kind() == Kind::Date)) {
      return PlValue::Date(DateOfDays(x + y));
    }
    if (op == "-" && a.kind() == Kind::Date)
      return PlValue::Date(DateOfDays(x - y));
    throw MakeError(932, "inconsistent datatypes: expected NUMBER got DATE");
  }
  const long double x = NumberOf(a), y = NumberOf(b);
  if (op == "+")
    return PlValue::Number(x + y);
  if (op == "-")
    return PlValue::Number(x - y);
  if (op == "*")
    return PlValue::Number(x * y);
  if (op == "**")
    return PlValue::Number(std::pow(x, y));
  if (y == 0)
    throw PredefinedError(1476);
  return PlValue::Number(x / y);
}

PlValue Executor::EvalCompare(const std::string& op, const PlValue& a, const PlValue& b) {
  if (a.IsNull() || b.IsNull())
    return Unknown();
  const int c = CompareValues(a, b);
  if (op == "=")
    return PlValue::Boolean(c == 0);
  if (op == "<>")
    return PlValue::Boolean(c != 0);
  if (op == "<")
    return PlValue::Boolean(c < 0);
  if (op == ">")
    return PlValue::Boolean(c > 0);
  if (op == "<=")
    return PlValue::Boolean(c <= 0);
  return PlValue::Boolean(c >= 0);
}

PlValue Executor::EvalCursorAttribute(const Expr& expr) {
  long long rowCount = sqlRowCount_;
  int lastFetch = sqlFound_;
  bool isOpen = false;
  const CursorState* state = nullptr;
  if (expr.cursor != nullptr)
    state = &FindCursor(expr.cursor);
  else if (!expr.args.empty())
    state = Locate(*expr.args[0], false).cursor.get();  // null: never opened
  if (expr.cursor != nullptr || !expr.args.empty()) {
    isOpen = state != nullptr && state->isOpen;
    if (!isOpen && expr.name != "ISOPEN")
      throw PredefinedError(1001);
    rowCount = isOpen ? state->rowCount : 0;
    lastFetch = isOpen ? state->lastFetch : -1;
  }
  if (expr.name == "ISOPEN")
    return PlValue::Boolean(isOpen);
  if (expr.name == "ROWCOUNT") {
    return state == nullptr && sqlFound_ < 0 ? PlValue()
                                             : PlValue::Number(static_cast<long double>(rowCount));
  }
  if (lastFetch < 0)
    return {};
  return PlValue::Boolean((lastFetch == 1) == (expr.name == "FOUND"));
}

size_t Executor::CaseChoice(const std::string& form, const std::vector<ExprPtr>& args, size_t end,
                            size_t step) {
  const bool simple = form == "SIMPLE";
  const PlValue selector = simple ? Eval(*args[0]) : PlValue();
  for (size_t i = simple ? 1 : 0; i < end; i += step) {
    const PlValue when = Eval(*args[i]);
    // A NULL selector meets no value, as = never holds for NULL.
    const bool met =
        simple ? !selector.IsNull() && !when.IsNull() && CompareValues(selector, when) == 0
               : IsTrue(when);
    if (met)
      return i;
  }
  return end;
}

bool Executor::IsTrue(const PlValue& condition) {
  if (condition.IsNull())
    return false;
  if (condition.kind() != PlValue::Kind::Boolean) {
    throw ValueError("character to boolean conversion error");
  }
  return condition.boolean();
}

PlValue Executor::CallRoutine(const RoutineDecl& routine, const std::vector<ExprPtr>& args,
                              int line) {
  // Unbounded recursion ends with Oracle's storage error, not a crash.
  if (callDepth_ >= kMaxCallDepth)
    throw MakeError(6500, "PL/SQL: storage error");
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
  } depthGuard(callDepth_);
  std::shared_ptr<const StoredUnit> overridingUnit;
  if (const RoutineDecl* override = Override(routine, args, overridingUnit))
    return CallRoutine(*override, args, line);
  // A forward or package declaration runs the body that defines it;
  // its parameters give the defaults.
  const RoutineDecl& target = routine.definition != nullptr ? *routine.definition : routine;
  if (!target.body)
    throw MakeError(6508, "PL/SQL: could not find program unit being called");
  try {
    if (target.package != nullptr)
      PackageScope(*target.package);
  } catch (PlError& e) {
    AddPlace(e, line);
    throw;
  }
  std::vector<Variable> values;
  for (size_t i = 0; i < target.params.size(); ++i)
    values.push_back(Argument(*target.params[i], *routine.params[i], args[i].get()));
  const std::string* callerUnit = unit_;
  struct UnitGuard {
    const std::string*& unit;
    const std::string* saved;
    std::vector<CallSite>& sites;
    ~UnitGuard() {
      unit = saved;
      sites.pop_back();
    }
  } unitGuard{unit_, callerUnit, callSites_};
  callSites_.push_back({callerUnit, line, &target});
  std::vector<Variable> outValues;
  Flow flow = Flow::Normal;
  {
    ScopeGuard guard(scopes_);
    const RightsGuard rights(session_, target.definer);
    for (size_t i = 0; i < target.params.size(); ++i)
      guard.scope().variables[target.params[i].get()] = std::move(values[i]);
    // A constructor fills an object of NULL attributes and returns it; a
    // pipelined function returns the rows it piped.
    if (target.self)
      guard.scope().variables[target.self.get()] = EmptyObject(target.self->type);
    struct PipeGuard {
      std::vector<Pipe>& pipes;
      bool pushed;
      ~PipeGuard() {
        if (pushed)
          pipes.pop_back();
      }
    } pipeGuard{pipes_, target.pipelined};
    if (target.pipelined) {
      pipes_.push_back({&target.returnType, {}});
      pipes_.back().rows.collection.Reset(std::make_unique<Collection>());
    }
    unit_ = target.unit.empty() ? callerUnit : &target.unit;
    try {
      flow = ExecBlock(*target.body);
    } catch (PlError& e) {
      unit_ = callerUnit;
      AddPlace(e, line);
      throw;
    }
    if (target.self) {
      returnComposite_ = Find(target.self.get());
      flow = Flow::Return;
    }
    if (target.pipelined) {
      returnComposite_ = std::move(pipes_.back().rows);
      flow = Flow::Return;
    }
    // OUT and IN OUT parameters are copied back only when the call ends
    // normally, as Oracle passes them by value.
    for (const auto& p : target.params)
      outValues.push_back(p->mode == VarDecl::Mode::In ? Variable() : Find(p.get()));
  }
  unit_ = callerUnit;
  const PlValue returned = returnValue_;
  for (size_t i = 0; i < target.params.size(); ++i) {
    if (target.params[i]->mode == VarDecl::Mode::In || !args[i])
      continue;
    const Expr& actual = *args[i];
    if (target.params[i]->type.base == TypeSpec::Base::RefCursor &&
        actual.kind == Expr::Kind::Bind) {
      BindCursor(actual.name, outValues[i]);
    } else if (target.params[i]->type.IsComposite()) {
      Locate(actual, true) = std::move(outValues[i]);
    } else {
      Assign(actual, outValues[i].value);
    }
  }
  if (!target.isFunction)
    return {};
  if (flow != Flow::Return) {
    PlError e = MakeError(6503, "PL/SQL: Function returned without value");
    e.places.push_back({target.unit, target.body->line});
    AddPlace(e, line);
    throw e;
  }
  return Coerce(returned, target.returnType, session_);
}

Variable Executor::Argument(const VarDecl& param, const VarDecl& declared, const Expr* arg) {
  if (param.type.IsComposite()) {
    if (arg != nullptr && param.mode != VarDecl::Mode::Out)
      return EvalComposite(*arg);
    if (arg == nullptr && declared.init)
      return EvalComposite(*declared.init);
    return NewComposite(param.type);
  }
  PlValue value;
  if (arg == nullptr)
    value = Eval(*declared.init);
  else if (param.mode != VarDecl::Mode::Out)
    value = Eval(*arg);
  Variable var;
  var.value = Coerce(value, param.type, session_);
  return var;
}

Scope& Executor::PackageScope(const StoredUnit& package) {
  PackageState& state = *package.state;
  if (state.initialised)
    return state.scope;
  // Marked first: the initialisation itself reads the package's variables.
  state.initialised = true;
  const std::string* callerUnit = unit_;
  unit_ = &package.qualifiedName;
  const RightsGuard rights(session_, package.invokerRights ? std::string() : package.owner);
  try {
    DeclareAll(package.declarations, state.scope);
    DeclareAll(package.bodyDeclarations, state.scope);
    if (package.initialisation)
      ExecBlock(*package.initialisation);
  } catch (...) {
    // A failed initialisation is run again at the next use.
    state = PackageState();
    unit_ = callerUnit;
    throw;
  }
  unit_ = callerUnit;
  return state.scope;
}

void Executor::DeclareAll(const Block& block, Scope& scope) {
  for (const auto& cursor : block.cursors)
    scope.cursors[cursor.get()];
  for (const auto& var : block.variables) {
    try {
      if (var->type.IsComposite()) {
        scope.variables[var.get()] =
            var->init ? EvalComposite(*var->init) : NewComposite(var->type);
        continue;
      }
      const PlValue initial = var->init ? Eval(*var->init) : PlValue();
      scope.variables[var.get()] = NewVariable(*var, initial);
    } catch (PlError& e) {
      if (e.places.empty())
        AddPlace(e, var->line);
      throw;
    }
  }
}

void Executor::AddPlace(PlError& e, int line) const {
  e.places.push_back({unit_ != nullptr ? *unit_ : std::string(), line});
}

Variable Executor::NewVariable(const VarDecl& decl, const PlValue& initial) {
  Variable var;
  if (decl.type.IsComposite()) {
    var = NewComposite(decl.type);
  } else {
    if (decl.notNull && initial.IsNull())
      throw ValueError("NULL value for a NOT NULL variable");
    var.value = Coerce(initial, decl.type, session_);
  }
  return var;
}

void Executor::Declare(const VarDecl& decl, const PlValue& initial) {
  scopes_.back().variables[&decl] = NewVariable(decl, initial);
}

void Executor::Assign(const Expr& target, const PlValue& value) {
  if (target.kind == Expr::Kind::Bind) {
    if (value.kind() == PlValue::Kind::Boolean)
      throw ValueError("a BOOLEAN cannot be bound");
    OraError error;
    if (!binds_.Set(target.name, ToSqlValue(value), error))
      throw FromOraError(error);
    return;
  }
  // An object or collection of a schema-level type, as its column holds it.
  if (IsSqlTyped(target)) {
    Locate(target, true) = FromColumnValue(value, *TypeOf(target), session_);
    return;
  }
  if (target.kind == Expr::Kind::Field || target.kind == Expr::Kind::Element) {
    Locate(target, true).value = Coerce(value, *target.type, session_);
    return;
  }
  Variable& var = Find(target.variable);
  if (target.variable->notNull && value.IsNull())
    throw ValueError("NULL value for a NOT NULL variable");
  var.value = Coerce(value, target.variable->type, session_);
}

void Executor::StoreRow(const std::vector<ExprPtr>& targets, const std::vector<PlValue>& row) {
  if (!IsSingleRecordTarget(targets)) {
    for (size_t i = 0; i < targets.size() && i < row.size(); ++i)
      Assign(*targets[i], row[i]);
    return;
  }
  const auto& fields = TypeOf(*targets[0])->fields;
  if (row.size() != fields.size()) {
    throw MakeError(6504, "PL/SQL: Return types of Result Set variables or query do not match");
  }
  Variable& var = Locate(*targets[0], true);
  for (size_t i = 0; i < fields.size(); ++i)
    var.fields[i].value = Coerce(row[i], fields[i].type, session_);
}

Variable& Executor::Find(const VarDecl* decl) {
  if (decl == &BulkRowCountDecl())
    return bulkRowCount_;
  if (decl == &BulkExceptionsDecl())
    return bulkExceptions_;
  if (decl->package != nullptr)
    return PackageScope(*decl->package).variables[decl];
  for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
    auto found = it->variables.find(decl);
    if (found != it->variables.end())
      return found->second;
  }
  // The parser resolves every name to a declaration in an enclosing scope.
  throw PredefinedError(6501);
}

CursorState& Executor::FindCursor(const CursorDecl* decl) {
  if (decl->package != nullptr)
    return PackageScope(*decl->package).cursors[decl];
  for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
    auto found = it->cursors.find(decl);
    if (found != it->cursors.end())
      return found->second;
  }
  throw PredefinedError(6501);
}

std::map<std::string, Value> Executor::BindValues(const SqlText& sql) {
  std::map<std::string, Value> values;
  for (size_t i = 0; i < sql.binds.size(); ++i) {
    if (IsSqlTyped(*sql.binds[i])) {
      values[PlaceholderName(i)] =
          ToColumnValue(EvalComposite(*sql.binds[i]), *TypeOf(*sql.binds[i]));
      continue;
    }
    const TypeSpec* type = TypeOf(*sql.binds[i]);
    if (type != nullptr && type->base == TypeSpec::Base::Json)
      throw MakeError(40573, "Invalid use of PL/SQL JSON object type");
    const PlValue v = Eval(*sql.binds[i]);
    if (v.kind() == PlValue::Kind::Boolean) {
      throw MakeError(6550, "PLS-00382: expression is of wrong type");
    }
    values[PlaceholderName(i)] = IsBinaryExpr(*sql.binds[i]) ? BinaryToSql(v) : ToSqlValue(v);
  }
  return values;
}

// The server hands out the value, as for the pseudo-column in SQL.
PlValue Executor::EvalSequenceValue(const Expr& expr) {
  EmptyBindSet noBinds;
  OraError error;
  std::vector<Value> row;
  const auto cursor = session_.OpenQuery("SELECT " + expr.name + " FROM DUAL", noBinds, error);
  if (!cursor || !cursor->Next(row, error) || row.empty())
    throw FromOraError(error);
  return FromSqlValue(row[0]);
}

PlValue Executor::EvalSqlFunction(const Expr& expr) {
  DynamicBinds binds;
  for (size_t i = 0; i < expr.args.size(); ++i) {
    const Expr& operand = *expr.args[i];
    const PlValue value = Eval(operand);
    if (value.kind() == PlValue::Kind::Boolean)
      throw MakeError(6550, "PLS-00457: expressions have to be of SQL types");
    binds.values[PlaceholderName(i)] =
        IsBinaryExpr(operand) ? BinaryToSql(value) : ToSqlValue(value);
  }
  OraError error;
  std::vector<Value> row;
  const auto cursor =
      session_.OpenQuery("SELECT " + SqlFunctionText(expr) + " FROM DUAL", binds, error);
  if (!cursor || !cursor->Next(row, error) || row.empty())
    throw FromOraError(error);
  if (expr.condition)
    return row[0].IsNull() ? PlValue() : PlValue::Boolean(row[0].text != "0");
  // A RAW converts to its hexadecimal digits, as Oracle converts it to text.
  if (row[0].kind == Value::Kind::Binary)
    return BinaryFromSql(row[0]);
  if (expr.sqlType == 12 && row[0].kind == Value::Kind::Text && IsIsoDate(row[0].text))
    return PlValue::Date(row[0].text);
  return FromSqlValue(row[0]);
}

std::unique_ptr<Cursor> Executor::OpenQuery(const SqlText& sql, const std::string* text) {
  StatementBinds binds(BindValues(sql), binds_);
  OraError error;
  auto cursor = session_.OpenQuery(text != nullptr ? *text : sql.text, binds, error);
  if (!cursor)
    throw FromOraError(error);
  return cursor;
}

void Executor::OpenCursor(const CursorDecl& decl, const std::vector<ExprPtr>& args,
                          CursorState& state) {
  if (state.isOpen)
    throw PredefinedError(6511);
  std::vector<PlValue> values;
  for (size_t i = 0; i < decl.params.size(); ++i) {
    const VarDecl& p = *decl.params[i];
    const PlValue v = i < args.size() ? Eval(*args[i]) : (p.init ? Eval(*p.init) : PlValue());
    values.push_back(Coerce(v, p.type, session_));
  }
  ScopeGuard guard(scopes_);
  for (size_t i = 0; i < decl.params.size(); ++i)
    Declare(*decl.params[i], values[i]);
  // A package's cursor reads its owner's tables, whoever opens it.
  const StoredUnit* package = decl.package;
  const RightsGuard rights(
      session_, package != nullptr && !package->invokerRights ? package->owner : std::string());
  state.cursor = OpenQuery(decl.query);
  state.isOpen = true;
  state.rowCount = 0;
  state.lastFetch = -1;
}

bool Executor::FetchRow(CursorState& state, std::vector<PlValue>& row) {
  if (!state.isOpen)
    throw PredefinedError(1001);
  std::vector<Value> values;
  OraError error;
  if (!state.cursor->Next(values, error)) {
    if (error.IsSet())
      throw FromOraError(error);
    state.lastFetch = 0;
    return false;
  }
  row.clear();
  for (const Value& v : values)
    row.push_back(FromSqlValue(v));
  state.lastFetch = 1;
  ++state.rowCount;
  return true;
}

}  // namespace sandbox::plsql
