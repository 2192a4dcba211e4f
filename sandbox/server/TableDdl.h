// Tables, their constraints and indexes: CREATE TABLE, ALTER TABLE ADD,
// CREATE INDEX, DROP TABLE, DROP INDEX, TRUNCATE and COMMENT, each with the
// dictionary rows that Oracle keeps for them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/DdlExecutor.h"
#include "sandbox/server/OracleType.h"
#include "sandbox/server/TokenStream.h"

namespace sandbox {

// Physical attributes and STORAGE clause of a table or an index.
struct StorageSpec {
  std::optional<long long> pctFree, pctUsed, iniTrans, maxTrans, initial, next, minExtents,
      maxExtents, pctIncrease, freelists, freelistGroups, compress;
  std::optional<std::string> tablespace;
  bool compressed = false;
  bool bitmap = false;  // CREATE BITMAP INDEX
  bool logging = true;
};

struct ConstraintSpec {
  std::string name;  // empty: the system names it
  char type = 'C';   // P, U, R or C
  std::vector<std::string> columns;
  std::string condition;  // CHECK text as written
  std::size_t conditionBegin = 0, conditionEnd = 0;
  std::string refOwner, refTable;
  std::vector<std::string> refColumns;
  std::string deleteRule = "NO ACTION";
  bool enabled = true;
  StorageSpec indexStorage;  // USING INDEX
  std::optional<std::string> usingIndexName;
};

struct ColumnSpec {
  std::string name;
  OracleType type;
  std::string defaultText;  // as written, with the white space Oracle keeps
  std::string defaultSql;   // its SQLite translation
  bool notNull = false;
};

class TableDdl {
 public:
  explicit TableDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool CreateTable(OraError& error);
  bool AlterTable(OraError& error);
  bool DropTable(OraError& error);
  bool CreateIndex(OraError& error);
  bool DropIndex(OraError& error);
  bool Truncate(OraError& error);
  bool Comment(OraError& error);

 private:
  bool ReadColumn(ColumnSpec& column, std::vector<ConstraintSpec>& constraints, OraError& error);
  bool ReadType(OracleType& type, OraError& error);
  bool ReadConstraint(ConstraintSpec& spec, const std::string* inlineColumn, OraError& error);
  bool ReadStorage(StorageSpec& storage, bool forIndex, OraError& error);
  bool StartsConstraint() const;
  bool AddColumnRows(const std::string& owner, const std::string& table, const ColumnSpec& column,
                     int id, OraError& error);
  bool AddValueConversion(const std::string& owner, const std::string& table,
                          const ColumnSpec& column, OraError& error);
  bool AddNotNullGuard(const std::string& owner, const std::string& table,
                       const std::string& column, const std::string& constraint, OraError& error);
  bool AddConstraint(const std::string& owner, const std::string& table, ConstraintSpec& spec,
                     OraError& error);
  bool AddIndex(const std::string& owner, const std::string& name, const std::string& tableOwner,
                const std::string& table, const std::vector<std::string>& columns,
                const std::vector<bool>& descending, bool unique, const StorageSpec& storage,
                OraError& error);
  bool AddSegment(const std::string& owner, const std::string& name, const char* type,
                  const StorageSpec& storage, OraError& error);
  bool CheckColumnsExist(const std::string& owner, const std::string& table,
                         const std::vector<std::string>& columns, OraError& error);
  bool ReadTableName(std::string& owner, std::string& name, OraError& error);
  bool DropTableObject(const std::string& owner, const std::string& name, bool cascadeConstraints,
                       OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
