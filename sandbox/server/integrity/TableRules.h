// What the rows of one table must keep, read from the dictionary and held
// as SQL over one row: the defaults put in place of NULL, the values brought
// to their stored form, and the enabled constraints a changed row is checked
// against, including foreign keys into the table. Row changes are checked
// against these rules after each statement (RowChecks) rather than by SQLite
// triggers, so that a constraint costs SQLite's schema nothing: creating a
// trigger makes SQLite read its whole schema, which made loading a large
// schema quadratic in its size.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

class ServerDatabase;

// One constraint as a check of a row: the error it gives and whether it may
// be put off to COMMIT.
struct RuleConstraint {
  std::string key;  // OWNER.NAME
  std::string message;
  bool deferrable = false;
  bool initiallyDeferred = false;
};

struct TableRules {
  // NOT NULL (and primary key columns): insertMessage for an INSERT,
  // updateMessage for an UPDATE that sets the column to NULL.
  struct NotNull {
    int column = 0;  // in SQLite's column order
    RuleConstraint constraint;
    std::string updateMessage;
    bool filledOnNull = false;  // DEFAULT ON NULL: an INSERT never leaves it NULL
  };
  // A check, a key kept without a unique index, or a foreign key: "true"
  // over the row when it breaks the constraint. keyColumns are the columns
  // whose change makes an UPDATE check it again (none: any UPDATE does).
  struct RowCheck {
    RuleConstraint constraint;
    std::vector<int> keyColumns;
    bool selfReference = false;  // a foreign key into its own table
  };
  // A foreign key into this table, seen from the parent's side.
  struct ParentKey {
    RuleConstraint constraint;  // ORA-02292
    std::vector<int> columns;   // this table's key, in the key's order
    std::string deleteRule;     // CASCADE, SET NULL or NO ACTION
    std::string childrenSql;    // "any child of the key ?1, ?2 ..."
    std::string cascadeSql;     // the DELETE or UPDATE of the children
    bool selfReference = false;
  };

  std::string storage;  // the SQLite table
  std::vector<std::string> columns;
  std::string onNullSql;      // UPDATE filling NULLs of DEFAULT ON NULL columns (?1 = rowid)
  std::string conversionSql;  // UPDATE storing dates, timestamps ... in their form (?1 = rowid)
  std::vector<NotNull> notNull;
  std::vector<RowCheck> rowChecks;
  // Row checks as one query over the row ?1: for an INSERT, NOT NULL flags
  // then rowChecks' flags; for an UPDATE, rowChecks' flags only, those with
  // key columns taken when parameter ?(2 + index) is true.
  std::string insertCheckSql;
  std::string updateCheckSql;
  std::vector<ParentKey> parentKeys;
  std::string rowSql;  // the row ?1's columns, in the order above
  // Statements prepared on first use, kept while the rules are, by the SQL
  // member they were prepared from (the rules do not change once read).
  mutable std::unordered_map<const std::string*, SqliteStatement> prepared;

  bool WatchesInsert() const {
    return !onNullSql.empty() || !conversionSql.empty() || !insertCheckSql.empty();
  }
  bool WatchesUpdate() const {
    return !conversionSql.empty() || !notNull.empty() || !updateCheckSql.empty() ||
           !parentKeys.empty();
  }
  bool WatchesDelete() const { return !parentKeys.empty(); }
  // The statement of sql, one of the members above, prepared once and reset
  // for another use.
  sqlite3_stmt* Statement(sqlite3* db, const std::string& sql, OraError& error) const;
};

// Reads the rules of storage (a SQLite table name) from the dictionary;
// a table the dictionary does not know, or a dictionary table, has none.
bool ReadTableRules(ServerDatabase& database, NameResolver& resolver, const std::string& storage,
                    TableRules& rules, OraError& error);

}  // namespace sandbox
