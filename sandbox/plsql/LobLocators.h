// LOB locators of table rows. A LOB column selected FOR UPDATE into a
// variable, or returned by INSERT or UPDATE ... RETURNING INTO, points at
// its row: DBMS_LOB's writes through it change the stored value in the
// transaction. Selected without FOR UPDATE it points at an unlocked row and
// cannot be written (ORA-22920). Anything else is a temporary LOB, a value.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/PlValue.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// The LOB columns a statement reads from its one table, and the statement
// that also gives each row's ROWID (as its last value) when the rows are
// locked. Found from the statement's text: SELECT ... FROM one table, or
// INSERT INTO / UPDATE one table with RETURNING.
struct LobRowSource {
  std::string text;  // the statement to run instead, with the ROWID added
  std::string table;
  // Per select item (or RETURNING expression): the LOB column it reads,
  // empty for any other item.
  std::vector<std::string> columns;
  std::vector<bool> binary;
  bool locked = false;  // FOR UPDATE, or DML: a ROWID comes last

  // The values of one row, the ROWID taken off when there is one, LOB
  // columns as locators of that row.
  std::vector<PlValue> Values(Session& session, std::vector<Value> row) const;
};

// Whether any of targets is a variable that can hold a LOB: only then is a
// statement's text looked at for LOB columns.
bool MayTakeLocators(const std::vector<ExprPtr>& targets);

// The source of the LOB columns a query (SELECT ... INTO) reads; nullopt
// when it reads none from a single table. returningPlaceholder is empty for
// a query; for DML it is the placeholder that takes the ROWID.
std::optional<LobRowSource> FindLobRows(Session& session, const std::string& sql,
                                        const std::string& returningPlaceholder);

// Stores contents in the row a locator points at; ORA-22920 when the row
// was not locked.
void WriteThroughLocator(Session& session, const LobLocation& location, const PlValue& contents);

}  // namespace sandbox::plsql
