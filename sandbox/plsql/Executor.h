// Runs a compiled anonymous block (Ast.h) in a session: keeps the values of
// variables and the state of cursors per scope, sends the block's SQL through
// the session with PL/SQL values as binds, and carries exceptions to their
// handlers. An exception no handler takes ends the run with its ORA error and
// the "ORA-06512: at line N" trail.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/DbmsOutput.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/RunState.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

class DynamicBinds;
struct DynamicStatement;
struct StackFrame;
struct SuppliedRoutine;
struct LobRowSource;

class Executor {
 public:
  Executor(Session& session, BindSet& binds);

  // False with error set when an exception leaves the block. unit, when
  // given, is the stored unit ("OWNER.NAME") whose code the block is.
  bool Run(const Block& block, OraError& error, const std::string* unit = nullptr);
  // Runs the section of compound trigger block for point (nothing when it
  // has none) in the scope of the trigger's declarations, kept in state.
  bool RunSection(const Block& trigger, TimingPoint point, TriggerState& state, OraError& error,
                  const std::string* unit);
  // Calls a stored function with argument values, as SQL calls it. False
  // with error set when an exception leaves it.
  bool CallFunction(const RoutineDecl& routine, const std::vector<PlValue>& arguments,
                    PlValue& result, OraError& error);

 private:
  enum class Flow { Normal, Exit, Continue, Return };

  // Pops the scope it pushed however the scope is left.
  class ScopeGuard {
   public:
    explicit ScopeGuard(std::deque<Scope>& scopes) : scopes_(scopes) { scopes_.emplace_back(); }
    ~ScopeGuard() { scopes_.pop_back(); }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    Scope& scope() { return scopes_.back(); }

   private:
    std::deque<Scope>& scopes_;
  };

  // Drops the function results read through since it was made (Locate of
  // f(x).field keeps the result while the field is read).
  class TemporariesMark {
   public:
    explicit TemporariesMark(std::deque<Variable>& temporaries)
        : temporaries_(temporaries), mark_(temporaries.size()) {}
    ~TemporariesMark() { temporaries_.resize(mark_); }
    TemporariesMark(const TemporariesMark&) = delete;
    TemporariesMark& operator=(const TemporariesMark&) = delete;

   private:
    std::deque<Variable>& temporaries_;
    size_t mark_;
  };

  static void Report(const PlError& e, OraError& error);
  Flow ExecBlock(const Block& block);
  Flow ExecList(const StmtList& list);
  Flow Exec(const Stmt& stmt);
  Flow ExecStatement(const Stmt& stmt);
  // Runs one pass of a loop's body; exitLoop is set when the loop ends
  // there (EXIT, RETURN, or an EXIT or CONTINUE naming an outer loop, which
  // the returned flow carries on to it).
  Flow ExecLoopBody(const Stmt& loop, bool& exitLoop);
  Flow ExecForRange(const Stmt& stmt);
  Flow ExecForCursor(const Stmt& stmt);
  void ExecFetch(const Stmt& stmt);
  void ExecSql(const Stmt& stmt);
  // INSERT, UPDATE, DELETE or MERGE with its bind values. Rows that
  // RETURNING ... BULK COLLECT gives go to collected when it is given (a
  // FORALL gathers those of all its statements), else into the targets.
  void ExecDml(const Stmt& stmt, std::map<std::string, Value> values,
               std::vector<std::vector<PlValue>>* collected);
  void ExecImmediate(const Stmt& stmt);
  // SELECT ... INTO: the query's one row into targets (ORA-01403, ORA-01422),
  // its LOB columns as locators when lobs is given.
  void SelectInto(Cursor& cursor, const std::vector<ExprPtr>& targets,
                  const LobRowSource* lobs = nullptr);
  void ExecPackageCall(const Stmt& stmt);

  PlValue Eval(const Expr& expr);
  PlValue EvalArithmetic(const Expr& expr);
  PlValue EvalCompare(const std::string& op, const PlValue& a, const PlValue& b);
  PlValue EvalCursorAttribute(const Expr& expr);
  // The index in args of the first WHEN before end that a CASE's selector or
  // condition meets, end when none does; WHENs are step apart (an
  // expression's THEN values lie between them, a statement's do not).
  size_t CaseChoice(const std::string& form, const std::vector<ExprPtr>& args, size_t end,
                    size_t step);
  PlValue EvalSequenceValue(const Expr& expr);
  PlValue EvalSqlFunction(const Expr& expr);
  bool IsTrue(const PlValue& condition);
  PlValue CallRoutine(const RoutineDecl& routine, const std::vector<ExprPtr>& args, int line);
  // The override of member method routine that SELF's own type (or the
  // nearest supertype under routine's) defines; null when routine is the one
  // to run. unit keeps the body that defines it.
  const RoutineDecl* Override(const RoutineDecl& routine, const std::vector<ExprPtr>& args,
                              std::shared_ptr<const StoredUnit>& unit);
  // A routine's argument: a record's fields, or a value of the parameter's type.
  Variable Argument(const VarDecl& param, const VarDecl& declared, const Expr* arg);
  // Runs a package's initialisation the first time the session uses it.
  Scope& PackageScope(const StoredUnit& package);
  Variable NewVariable(const VarDecl& decl, const PlValue& initial);
  // The cursors and variables of block's declarations, into scope.
  void DeclareAll(const Block& block, Scope& scope);
  // The place an exception passes: line of the unit that runs now.
  void AddPlace(PlError& e, int line) const;

  void Declare(const VarDecl& decl, const PlValue& initial);
  // Records and collections (ExecutorCollections.cpp).
  // A new value of a record or collection type: fields at their defaults,
  // an empty index-by table, a null nested table or varray.
  Variable NewComposite(const TypeSpec& type);
  Variable NewElement(const TypeSpec& collection);
  // The variable, field or element expr names; write creates a missing
  // index-by element, reading one raises NO_DATA_FOUND.
  Variable& Locate(const Expr& expr, bool write);
  Variable EvalComposite(const Expr& expr);
  // A value of type, a field's or an element's, from value.
  Variable ElementValue(const TypeSpec& type, const Expr& value);
  // A qualified expression of a record or index-by table type.
  Variable EvalAggregate(const Expr& expr);
  CollectionKey KeyOf(const TypeSpec& collection, const PlValue& index);
  PlValue EvalMethod(const Expr& expr);
  void ExecCollectionCall(const Stmt& stmt);
  // Bulk binds (ExecutorBulk.cpp).
  // Rows into collections, which start again from index 1.
  void BulkStore(const std::vector<ExprPtr>& targets,
                 const std::vector<std::vector<PlValue>>& rows);
  // The cursor's rows, at most limit of them when limit is not negative.
  std::vector<std::vector<PlValue>> ReadRows(Cursor& cursor, long long limit);
  void ExecBulkFetch(const Stmt& stmt);
  Flow ExecForAll(const Stmt& stmt);
  // The index values a FORALL runs its statement for, in order.
  std::vector<long long> ForAllIndices(const Stmt& stmt);
  void Assign(const Expr& target, const PlValue& value);
  // A fetched row into the INTO targets: one record, or scalars by position.
  void StoreRow(const std::vector<ExprPtr>& targets, const std::vector<PlValue>& row);
  Variable& Find(const VarDecl* decl);
  CursorState& FindCursor(const CursorDecl* decl);
  // The cursor an OPEN, FETCH or CLOSE names: declared, or a cursor
  // variable's (ORA-01001 for one never opened).
  CursorState& CursorOf(const Stmt& stmt);
  // Cursor variables (ExecutorRefCursor.cpp).
  void OpenCursorVariable(const Stmt& stmt);
  // The cursor variable's open query to the client's placeholder name,
  // leaving the variable closed.
  void BindCursor(const std::string& name, Variable& variable);
  // The USING arguments exprs[1 ..] of a dynamic statement into binds.
  void BindUsing(const Stmt& stmt, const DynamicStatement& dynamic, DynamicBinds& binds);

  // A supplied package's routine (ExecutorSupplied): args one per
  // parameter, null where not given; OUT ones are assigned after the call.
  // A function whose result is a cursor variable gives it in cursorResult.
  PlValue CallSupplied(const SuppliedRoutine& routine, const std::vector<ExprPtr>& args, int line,
                       std::shared_ptr<CursorState>* cursorResult = nullptr);
  // The units running now, innermost (at line) first.
  std::vector<StackFrame> CallStack(int line) const;
  // A method of the JSON object types (json/ExecutorJson.cpp): its result as
  // a variable holds it (value, JSON document or key list).
  Variable CallJson(const Expr& expr);

  // The query, or text in its place with the same binds.
  std::unique_ptr<Cursor> OpenQuery(const SqlText& sql, const std::string* text = nullptr);
  void OpenCursor(const CursorDecl& decl, const std::vector<ExprPtr>& args, CursorState& state);
  bool FetchRow(CursorState& state, std::vector<PlValue>& row);
  std::map<std::string, Value> BindValues(const SqlText& sql);

  Session& session_;
  BindSet& binds_;
  DbmsOutput output_;
  std::deque<Scope> scopes_;
  std::vector<const PlError*> handling_;  // exceptions whose handlers run now
  PlValue returnValue_;
  // The label an EXIT or CONTINUE named, while its flow passes inner loops.
  std::string flowLabel_;
  Variable returnComposite_;          // what a function returning a record or collection returned
  std::deque<Variable> temporaries_;  // see TemporariesMark
  // The rows of the pipelined functions running now, innermost last.
  struct Pipe {
    const TypeSpec* type = nullptr;  // the function's collection type
    Variable rows;
  };
  std::vector<Pipe> pipes_;
  Variable bulkRowCount_;    // SQL%BULK_ROWCOUNT
  Variable bulkExceptions_;  // SQL%BULK_EXCEPTIONS
  long long sqlRowCount_ = 0;
  int sqlFound_ = -1;  // SQL%FOUND of the last DML or SELECT INTO
  static constexpr int kMaxCallDepth = 500;
  int callDepth_ = 0;
  static constexpr int kMaxDynamicDepth = 50;  // Oracle's limit of recursive SQL levels
  int dynamicDepth_ = 0;
  const std::string* unit_ = nullptr;  // the stored unit whose code runs now; null: the block
  // Each routine call running: the unit it was called from, the line, and
  // the routine called.
  struct CallSite {
    const std::string* unit;
    int line;
    const RoutineDecl* routine;
  };
  std::vector<CallSite> callSites_;
};

}  // namespace sandbox::plsql
