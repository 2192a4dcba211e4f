// Cursor variables at run time: OPEN ... FOR runs its query (static, or a
// text with USING binds) into the variable's cursor, which the variables
// assigned from it share, as PL/SQL cursor variables point at one work area.
// A cursor variable given to a client's placeholder hands its query over.
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Executor.h"

namespace sandbox::plsql {

CursorState& Executor::CursorOf(const Stmt& stmt) {
  if (!stmt.cursorVariable)
    return FindCursor(stmt.cursor);
  CursorState* state = Locate(*stmt.cursorVariable, false).cursor.get();
  if (state == nullptr)
    throw PredefinedError(1001);
  return *state;
}

void Executor::OpenCursorVariable(const Stmt& stmt) {
  std::unique_ptr<Cursor> cursor;
  if (stmt.inlineCursor) {
    cursor = OpenQuery(stmt.inlineCursor->query);
  } else {
    const PlValue text = Eval(*stmt.exprs[0]);
    if (text.IsNull())
      throw MakeError(6535, "statement string in OPEN is NULL or 0 length");
    const DynamicStatement dynamic = PrepareDynamic(TextOf(text, session_));
    if (dynamic.kind != DynamicStatement::Kind::Query)
      throw MakeError(1001, "invalid cursor");
    DynamicBinds binds;
    BindUsing(stmt, dynamic, binds);
    OraError error;
    cursor = session_.OpenQuery(dynamic.text, binds, error);
    if (!cursor)
      throw FromOraError(error);
  }
  // An open cursor variable may be opened again: its old query is closed.
  Variable& variable = Locate(*stmt.cursorVariable, true);
  if (!variable.cursor)
    variable.cursor = std::make_shared<CursorState>();
  *variable.cursor = CursorState{std::move(cursor), true, 0, -1};
}

void Executor::BindCursor(const std::string& name, Variable& variable) {
  std::unique_ptr<Cursor> cursor;
  if (variable.cursor && variable.cursor->isOpen) {
    cursor = std::move(variable.cursor->cursor);
    variable.cursor->isOpen = false;
  }
  OraError error;
  if (!binds_.SetCursor(name, std::move(cursor), error))
    throw FromOraError(error);
}

}  // namespace sandbox::plsql
