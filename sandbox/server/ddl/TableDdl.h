// Tables, their constraints and indexes: CREATE TABLE, ALTER TABLE ADD,
// CREATE INDEX, DROP TABLE, DROP INDEX and TRUNCATE, each with the
// dictionary rows that Oracle keeps for them.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

// Physical attributes and STORAGE clause of a table or an index.
struct StorageSpec {
  std::optional<long long> pctFree, pctUsed, iniTrans, maxTrans, initial, next, minExtents,
      maxExtents, pctIncrease, freelists, freelistGroups, compress;
  std::optional<std::string> tablespace;
  bool compressed = false;
  std::optional<std::string> compressFor;  // a table's BASIC or ADVANCED
  bool bitmap = false;                     // CREATE BITMAP INDEX
  bool logging = true;
  // Whether the clause named logging or compression itself, rather than
  // taking what its table (or partition) says.
  bool loggingGiven = false;
  bool compressionGiven = false;
  bool rowMovement = false;  // ENABLE ROW MOVEMENT
  bool reverse = false;      // a REVERSE index
  bool visible = true;       // an index made INVISIBLE is not used by queries
};

// One key of an index: a column, or an expression (tokens [begin, end)).
struct IndexColumn {
  std::string name;
  std::size_t begin = 0, end = 0;
  bool descending = false;
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
  std::optional<bool> validate;  // VALIDATE / NOVALIDATE as written
  bool deferrable = false, initiallyDeferred = false;
  StorageSpec indexStorage;  // USING INDEX
  std::optional<std::string> usingIndexName;
  bool iotTop = false;             // the key of an index-organized table
  bool createIndexUnique = false;  // USING INDEX (CREATE [UNIQUE] INDEX ...)
  std::vector<IndexColumn> createIndexColumns;
};

// NESTED TABLE column STORE AS name: where a nested table column's rows go.
struct NestedTableSpec {
  std::string column;
  std::string storageName;
  bool returnsLocator = false;
};

// CREATE TABLE t OF type: the type, and how its rows' object identifiers
// are made (OBJECT IDENTIFIER IS SYSTEM GENERATED | PRIMARY KEY).
struct ObjectTableSpec {
  std::string typeOwner, typeName;
  bool primaryKeyIdentifier = false;
  // Of a NOT FINAL type: rows keep their own types in SYS_NC_TYPEID$.
  bool substitutable = false;
};

struct IdentitySpec {
  bool always = true;
  bool onNull = false;
  std::string options;  // the sequence options as written
};

class PartitionDdl;

struct ColumnSpec {
  std::string name;
  OracleType type;
  std::string defaultText;  // as written, with the white space Oracle keeps
  std::string defaultSql;   // its SQLite translation
  bool notNull = false;
  bool defaultOnNull = false;
  std::optional<IdentitySpec> identity;
  std::string virtualText;  // a virtual column's expression as the dictionary shows it
  std::string virtualSql;
  bool invisible = false;  // left out of "*" and of INSERT without a column list
};

// "A,B,C": a key's columns as the dictionary queries compare them.
std::string JoinColumns(const std::vector<std::string>& columns);

class TableDdl {
 public:
  explicit TableDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  bool CreateTable(OraError& error);
  bool AlterTable(OraError& error);
  bool DropTable(OraError& error);
  bool CreateIndex(OraError& error);
  bool DropIndex(OraError& error);
  bool Truncate(OraError& error);
  bool Rename(OraError& error);  // RENAME old TO new

 private:
  bool ReadRelationalProperties(std::vector<ColumnSpec>& columns,
                                std::vector<ConstraintSpec>& constraints, OraError& error);
  bool ReadQueryColumns(std::vector<ColumnSpec>& columns, std::vector<ConstraintSpec>& constraints,
                        std::string& querySql, OraError& error);
  bool ReadColumn(ColumnSpec& column, std::vector<ConstraintSpec>& constraints, OraError& error);
  bool ReadColumnProperties(ColumnSpec& column, std::vector<ConstraintSpec>& constraints,
                            OraError& error);
  // Object tables (ObjectTableDdl.cpp): from the type's name after OF to
  // the object identifier clause; the columns are the type's attributes.
  bool ReadObjectTable(ObjectTableSpec& spec, std::vector<ColumnSpec>& columns,
                       std::vector<ConstraintSpec>& constraints, OraError& error);
  bool AttributeColumns(const ObjectTableSpec& spec, std::vector<ColumnSpec>& columns,
                        OraError& error);
  // The hidden object identifier and row columns and the ALL_OBJECT_TABLES row.
  bool AddObjectTableRows(const std::string& owner, const std::string& table,
                          const ObjectTableSpec& spec, OraError& error);
  bool RemoveObjectTableRow(const std::string& owner, const std::string& table, OraError& error);
  bool ReadType(OracleType& type, OraError& error);
  bool ReadConstraint(ConstraintSpec& spec, const std::string* inlineColumn, OraError& error);
  bool ReadStorage(StorageSpec& storage, bool forIndex, OraError& error);
  bool ReadTableCompression(StorageSpec& storage, OraError& error);
  bool StartsConstraint() const;
  // Index of the first token from begin, at this depth, that is a "," or one
  // of stopWords, or the ")" that closes the enclosing parenthesis.
  std::size_t ExpressionEnd(std::size_t begin, std::initializer_list<const char*> stopWords) const;
  // "( ... )" at the reading position: the tokens between, and past it.
  bool ReadParenthesised(std::size_t& begin, std::size_t& end, OraError& error);
  bool ConstraintOnTable(const std::string& owner, const std::string& table,
                         const std::string& name);
  bool AddColumnRows(const std::string& owner, const std::string& table, const ColumnSpec& column,
                     int id, OraError& error);
  bool SelectKeyIndex(const std::string& owner, const std::string& table,
                      const ConstraintSpec& spec, std::string& indexName, bool& ownsIndex,
                      OraError& error);
  bool AddConstraint(const std::string& owner, const std::string& table, ConstraintSpec& spec,
                     OraError& error);
  bool AddIndex(const std::string& owner, const std::string& name, const std::string& tableOwner,
                const std::string& table, const std::vector<IndexColumn>& columns, bool unique,
                const StorageSpec& storage, OraError& error, const char* type = nullptr);
  bool ReadIndexColumns(std::vector<IndexColumn>& columns, OraError& error);
  bool AddHiddenColumn(const std::string& owner, const std::string& table, IndexColumn& column,
                       const std::string& expression, OraError& error);
  bool ReadColumnExtras(ColumnSpec& column, OraError& error);
  // [VISIBLE | INVISIBLE]: whether the column is invisible after it.
  bool AcceptVisibility(bool invisible);
  bool ReadNestedTable(NestedTableSpec& nested, OraError& error);
  // The storage tables of the table's nested table columns (ORA-22913 for
  // one without STORE AS, ORA-22912 for a clause on another column).
  bool AddNestedTables(const std::string& owner, const std::string& table,
                       const std::vector<ColumnSpec>& columns,
                       const std::vector<NestedTableSpec>& nestedTables, OraError& error);
  bool RemoveNestedTables(const std::string& owner, const std::string& table, OraError& error);
  bool AddIdentity(const std::string& owner, const std::string& table, ColumnSpec& column,
                   OraError& error);
  bool AddColumnStorage(const std::string& owner, const std::string& table,
                        const ColumnSpec& column, OraError& error);
  bool RemoveIndex(const std::string& owner, const std::string& name, OraError& error);
  // ALTER TABLE clauses.
  bool AlterAdd(const std::string& owner, const std::string& table, OraError& error);
  // ALTER TABLE t PCTFREE n, [NO]LOGGING, [NO]COMPRESS ...: the attributes
  // written between tokens [from, to) change in the dictionary.
  bool SetRowMovement(const std::string& owner, const std::string& table, bool enable,
                      OraError& error);
  bool AlterAttributes(const std::string& owner, const std::string& table,
                       const StorageSpec& storage, std::size_t from, std::size_t to,
                       OraError& error);
  bool AlterModify(const std::string& owner, const std::string& table, OraError& error);
  bool ModifyColumn(const std::string& owner, const std::string& table, OraError& error);
  bool SetColumnVisibility(const std::string& owner, const std::string& table,
                           const std::string& column, bool visible, OraError& error);
  bool AlterConstraintState(const std::string& owner, const std::string& table, bool enable,
                            OraError& error);
  bool DropConstraint(const std::string& owner, const std::string& table, OraError& error);
  bool DropColumns(const std::string& owner, const std::string& table, OraError& error);
  bool RemoveIdentity(const std::string& owner, const std::string& table,
                      const std::string& pattern, OraError& error);
  // MODIFY column GENERATED ... AS IDENTITY [(options)], at GENERATED.
  bool ModifyIdentity(const std::string& owner, const std::string& table, const std::string& column,
                      OraError& error);
  bool LimitValue(const std::string& owner, const std::string& table, const std::string& column,
                  const std::string& sequence, std::string& start, OraError& error);
  bool RestartIdentity(const std::string& owner, const std::string& sequence,
                       const std::string& start, OraError& error);
  // all_tab_identity_cols.identity_options of the column's sequence, showing start.
  std::string IdentityOptionsText(const std::string& owner, const std::string& sequence,
                                  const std::string& start);
  bool RenameConstraint(const std::string& owner, const std::string& table, OraError& error);
  bool RenameColumn(const std::string& owner, const std::string& table, OraError& error);
  bool RenameTable(const std::string& owner, const std::string& table, OraError& error);
  bool FindConstraint(const std::string& owner, const std::string& table, std::string& name,
                      OraError& error);
  bool SetConstraintState(const std::string& owner, const std::string& name, bool enable,
                          std::optional<bool> validate, OraError& error);
  bool ReadConstraintState(ConstraintSpec& spec, OraError& error);
  bool ReadDefault(ColumnSpec& column, OraError& error);
  bool RemoveConstraint(const std::string& owner, const std::string& name, bool keepIndex,
                        OraError& error);
  bool RefreshNullable(const std::string& owner, const std::string& table, OraError& error);
  bool AddSegment(const std::string& owner, const std::string& name, const char* type,
                  const StorageSpec& storage, OraError& error);
  bool CheckColumnsExist(const std::string& owner, const std::string& table,
                         const std::vector<std::string>& columns, OraError& error);
  bool ReadTableName(std::string& owner, std::string& name, OraError& error);
  bool DropTableObject(const std::string& owner, const std::string& name, bool cascadeConstraints,
                       OraError& error);

  // Reads partitioning clauses from the statement; their attributes are
  // read as an index's while partitionsOfIndex_ is set.
  PartitionDdl Partitioning();

  DdlContext& context_;
  TokenStream in_;
  bool partitionsOfIndex_ = false;
};

}  // namespace sandbox
