// The run-time state of declarations: the values of variables and the
// cursors of one scope. A block's scope lives while the block runs; a
// package's lives as long as the session.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct Variable {
  PlValue value;
  std::vector<PlValue> fields;  // records
};

struct CursorState {
  std::unique_ptr<Cursor> cursor;
  bool isOpen = false;
  long long rowCount = 0;
  int lastFetch = -1;  // -1 none yet, 0 no row, 1 a row
};

struct Scope {
  std::map<const VarDecl*, Variable> variables;
  std::map<const CursorDecl*, CursorState> cursors;
};

}  // namespace sandbox::plsql
