// The SQLite table behind an Oracle table. Each column's SQLite definition
// (type with its value check, default, generation) is kept in SYS.COLDEF$, so
// that the table can be created from the dictionary and built again when a
// column changes in a way SQLite cannot alter in place.
#pragma once

#include <string>

#include "sandbox/server/dictionary/Catalog.h"

namespace sandbox {

struct ColumnDefinition {
  std::string name;
  std::string typeSql;       // declaration and value check
  std::string defaultSql;    // SQLite expression, or empty
  std::string generatedSql;  // expression of a virtual column, or empty
};

class TableStorage {
 public:
  TableStorage(Catalog& catalog, std::string owner, std::string table)
      : catalog_(catalog), owner_(std::move(owner)), table_(std::move(table)) {}

  bool SaveColumn(const ColumnDefinition& column, OraError& error);
  bool SetDefault(const std::string& column, const std::string& defaultSql, OraError& error);
  bool SetType(const std::string& column, const std::string& typeSql, OraError& error);
  // Creates the SQLite table from the saved definitions, in column order with
  // the invisible columns last, so that the visible ones lead as "*" lists them.
  bool Create(OraError& error);
  // Builds the table again from the definitions, keeping its rows, indexes
  // and triggers; a row the new definitions refuse gives that error.
  bool Rebuild(OraError& error);
  // Forgets the definitions (the table is dropped).
  bool Forget(OraError& error);

 private:
  std::string CreateSql(const std::string& storage);

  Catalog& catalog_;
  std::string owner_, table_;
};

}  // namespace sandbox
