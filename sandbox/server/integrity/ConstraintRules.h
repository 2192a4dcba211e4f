// Oracle's constraints carried out over SQLite: each enabled constraint owns
// triggers (named "cons:OWNER.NAME:n") that reject the rows breaking it, and
// a query that tells whether the rows a table holds keep it. Keys whose index
// is unique and not deferrable are kept by that index; all else by triggers,
// so that a constraint can be disabled, deferred or added to a full table.
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
  // Creates the triggers of an enabled constraint (replacing any it had).
  bool Enforce(const ConstraintRow& row, OraError& error);
  bool Release(const std::string& owner, const std::string& name, OraError& error);
  // Releases the constraints of a table and the foreign keys into it, whose
  // triggers name the table and its columns; released lists them.
  bool ReleaseAround(const std::string& owner, const std::string& table,
                     std::vector<std::pair<std::string, std::string>>& released, OraError& error);
  // Enforces again what ReleaseAround released, as the dictionary has it now.
  bool EnforceAgain(const std::vector<std::pair<std::string, std::string>>& released,
                    OraError& error);
  // Sets holds to whether every row keeps the constraint.
  bool Holds(const ConstraintRow& row, bool& holds, OraError& error);
  // The error of ENABLE VALIDATE over rows that break the constraint.
  static OraError CannotValidate(const ConstraintRow& row);
  // Checks the constraints put off to this point; the first that fails
  // gives its error, and every entry is consumed.
  bool CheckPut(std::map<std::string, std::string>& pending, OraError& error);

 private:
  bool Translate(const std::string& text, std::string& sql, OraError& error);
  bool AddTrigger(const ConstraintRow& row, int& serial, const std::string& timing,
                  const std::string& table, const std::string& when, const std::string& body,
                  OraError& error);
  std::string Raise(const ConstraintRow& row, const std::string& message,
                    bool atStatementEnd) const;

  ServerDatabase& database_;
  NameResolver& resolver_;
};

}  // namespace sandbox
