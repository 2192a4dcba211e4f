// Oracle's constraints as the dictionary holds them, and the queries that
// tell whether the rows a table holds keep one (ENABLE VALIDATE, deferred
// checks at COMMIT). Changed rows are checked by RowChecks; keys whose index
// is unique and not deferrable are kept by that index.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

class ServerDatabase;

struct ConstraintRow {
  std::string owner, name, table;
  char type = 'C';
  std::string condition;
  std::vector<std::string> columns;
  std::string parentTable;  // foreign keys: the referenced table and key
  std::vector<std::string> parentColumns;
  std::string deleteRule;
  bool enabled = true, deferrable = false, initiallyDeferred = false;
  std::string indexName;
  // Column of a NOT NULL constraint ("C" IS NOT NULL), else empty.
  std::string NotNullColumn() const;
  std::string Key() const { return owner + "." + name; }
};

class ConstraintRules {
 public:
  ConstraintRules(ServerDatabase& database, NameResolver& resolver)
      : database_(database), resolver_(resolver) {}

  std::optional<ConstraintRow> Load(const std::string& owner, const std::string& name);
  // A check condition in SQLite's SQL.
  bool Translate(const std::string& text, std::string& sql, OraError& error);
  // Sets holds to whether every row keeps the constraint.
  bool Holds(const ConstraintRow& row, bool& holds, OraError& error);
  // The error of ENABLE VALIDATE over rows that break the constraint.
  static OraError CannotValidate(const ConstraintRow& row);
  // Checks the constraints put off to this point; the first that fails
  // gives its error, and every entry is consumed.
  bool CheckPut(std::map<std::string, std::string>& pending, OraError& error);

 private:
  ServerDatabase& database_;
  NameResolver& resolver_;
};

}  // namespace sandbox
