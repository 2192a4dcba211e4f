// EXECUTE IMMEDIATE at run time: the text is prepared, its placeholders
// filled from the USING arguments, and it runs through the session as a
// client's statement would, so DDL commits and an anonymous block compiles
// as it does anywhere else. Its errors are the statement's own ORA errors,
// which the block's handlers can catch.
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Executor.h"

namespace sandbox::plsql {

void Executor::BindUsing(const Stmt& stmt, const DynamicStatement& dynamic, DynamicBinds& binds) {
  // RETURNING BULK COLLECT fills the last placeholders itself.
  const size_t returning = stmt.name == kReturningBulk ? stmt.targets.size() : 0;
  const size_t given = stmt.exprs.size() - 1;
  for (size_t i = given; i < given + returning && i < dynamic.binds.size(); ++i)
    binds.values[dynamic.binds[i]] = Value();
  if (given + returning < dynamic.binds.size())
    throw MakeError(1008, "not all variables bound");
  if (given + returning > dynamic.binds.size())
    throw MakeError(1006, "bind variable does not exist");
  if (dynamicDepth_ >= kMaxDynamicDepth)
    throw MakeError(36, "maximum number of recursive SQL levels (50) exceeded");
  binds.callDepth = callDepth_;
  binds.dynamicDepth = dynamicDepth_ + 1;
  for (size_t i = 0; i < given; ++i) {
    const Expr& arg = *stmt.exprs[i + 1];
    PlValue value;
    if (stmt.bindModes[i] != VarDecl::Mode::Out)
      value = Eval(arg);
    if (value.kind() == PlValue::Kind::Boolean)
      throw MakeError(6550, "PLS-00457: expressions have to be of SQL types");
    binds.values[dynamic.binds[i]] = IsBinaryExpr(arg) ? BinaryToSql(value) : ToSqlValue(value);
  }
}

void Executor::ExecImmediate(const Stmt& stmt) {
  const PlValue textValue = Eval(*stmt.exprs[0]);
  if (textValue.IsNull())
    throw MakeError(6535, "statement string in EXECUTE IMMEDIATE is NULL or 0 length");
  const DynamicStatement dynamic = PrepareDynamic(TextOf(textValue, session_));
  const size_t given = stmt.exprs.size() - 1;
  const bool returningBulk = stmt.name == kReturningBulk;
  if (!stmt.targets.empty() && !returningBulk && dynamic.kind != DynamicStatement::Kind::Query)
    throw MakeError(1007, "variable not in select list");
  DynamicBinds binds;
  binds.allRows = returningBulk;
  BindUsing(stmt, dynamic, binds);
  if (dynamic.kind == DynamicStatement::Kind::Query) {
    OraError error;
    auto cursor = session_.OpenQuery(dynamic.text, binds, error);
    if (!cursor)
      throw FromOraError(error);
    // Without INTO the query is run and its rows left unread.
    if (stmt.bulk)
      BulkStore(stmt.targets, ReadRows(*cursor, -1));
    else if (!stmt.targets.empty())
      SelectInto(*cursor, stmt.targets);
    return;
  }
  std::uint64_t rows = 0;
  OraError error, warning;
  if (!session_.Execute(dynamic.text, binds, rows, error, warning)) {
    if (dynamic.kind != DynamicStatement::Kind::Block)
      throw FromOraError(error);
    PlError e = ErrorOfDynamicBlock(error);
    if (!e.places.empty())
      AddPlace(e, stmt.line);
    throw e;
  }
  if (dynamic.kind == DynamicStatement::Kind::Sql) {
    sqlRowCount_ = static_cast<long long>(rows);
    sqlFound_ = rows > 0 ? 1 : 0;
  }
  if (returningBulk) {
    std::vector<std::vector<PlValue>> returned;
    for (const auto& row : binds.returnedRows)
      returned.push_back(FromSqlRow(row));
    BulkStore(stmt.targets, returned);
  }
  for (size_t i = 0; i < given; ++i) {
    if (stmt.bindModes[i] != VarDecl::Mode::In)
      Assign(*stmt.exprs[i + 1], FromSqlValue(binds.Get(dynamic.binds[i])));
  }
}

}  // namespace sandbox::plsql
