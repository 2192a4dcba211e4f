// Partitioned tables and indexes: the PARTITION BY clause of CREATE TABLE,
// LOCAL and GLOBAL PARTITION BY of CREATE INDEX, and the rows Oracle keeps
// for them (ALL_PART_TABLES, ALL_TAB_[SUB]PARTITIONS, ALL_PART_KEY_COLUMNS,
// ALL_SUBPART_KEY_COLUMNS, ALL_PART_INDEXES, ALL_IND_PARTITIONS). The rows
// of a partitioned table stay in its one SQLite table; a trigger refuses a
// row that no range or list partition takes (ORA-14400).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/server/ddl/TableDdl.h"

namespace sandbox {

// One partition or subpartition as written.
struct PartitionDef {
  std::string name;  // empty: the server names it
  // Bound values as token ranges; an empty range stands for MAXVALUE (range)
  // or DEFAULT (list). A multi-column list value is one range "(a, b)".
  std::vector<std::pair<std::size_t, std::size_t>> values;
  std::string highValue;  // as HIGH_VALUE shows it; empty for hash
  StorageSpec storage;
  std::vector<PartitionDef> subpartitions;
  long long subpartitionCount = 0;  // SUBPARTITIONS n
};

struct PartitionScheme {
  std::string type;  // RANGE, LIST, HASH or REFERENCE
  std::vector<std::string> columns;
  std::string interval;       // INTERVAL expression as written
  std::string refConstraint;  // BY REFERENCE (name)
  std::string subType = "NONE";
  std::vector<std::string> subColumns;
  long long subpartitionCount = 0;        // SUBPARTITIONS n after SUBPARTITION BY
  std::vector<PartitionDef> subTemplate;  // SUBPARTITION TEMPLATE
  std::vector<std::string> storeIn;       // STORE IN (...) of PARTITIONS n
  std::vector<PartitionDef> partitions;
};

class PartitionDdl {
 public:
  using StorageReader = std::function<bool(StorageSpec&, OraError&)>;
  PartitionDdl(DdlContext& context, TokenStream& in, StorageReader readStorage)
      : context_(context), in_(in), readStorage_(std::move(readStorage)) {}

  // The clause after PARTITION BY of a table (forIndex false) or of a
  // GLOBAL index (RANGE or HASH only).
  bool ReadScheme(PartitionScheme& scheme, bool forIndex, OraError& error);
  // The optional partition list after LOCAL.
  bool ReadLocalPartitions(std::vector<PartitionDef>& partitions, OraError& error);

  // Dictionary rows and the row check of a table created with scheme;
  // tableStorage holds the attributes written at the table level.
  bool AddTablePartitioning(const std::string& owner, const std::string& table,
                            PartitionScheme& scheme, const StorageSpec& tableStorage,
                            OraError& error);
  // A LOCAL index follows its table's partitions; local holds the partitions
  // the statement named (possibly none).
  bool AddLocalIndex(const std::string& owner, const std::string& index,
                     const std::string& tableOwner, const std::string& table,
                     const std::vector<std::string>& indexColumns, bool unique,
                     std::vector<PartitionDef>& local, const StorageSpec& indexStorage,
                     OraError& error);
  bool AddGlobalIndex(const std::string& owner, const std::string& index, const std::string& table,
                      const std::vector<std::string>& indexColumns, PartitionScheme& scheme,
                      const StorageSpec& indexStorage, OraError& error);
  // Forgets the partitioning rows of a table and of its indexes, or of one index.
  bool RemoveTable(const std::string& owner, const std::string& table, OraError& error);
  bool RemoveIndex(const std::string& owner, const std::string& index, OraError& error);

 private:
  bool ReadPartition(PartitionDef& partition, const PartitionScheme& scheme, bool sub,
                     OraError& error);
  bool ReadPartitionList(std::vector<PartitionDef>& partitions, const PartitionScheme& scheme,
                         bool sub, OraError& error);
  bool ReadBound(PartitionDef& partition, const std::string& type, std::size_t keyCount,
                 OraError& error);
  bool ReadHashCount(long long& count, std::vector<std::string>& storeIn, OraError& error);
  bool ReadSubpartitioning(PartitionScheme& scheme, OraError& error);
  bool CheckKeyColumns(const std::string& owner, const std::string& table,
                       const std::vector<std::string>& columns, OraError& error);
  bool InheritReference(const std::string& owner, const std::string& table, PartitionScheme& scheme,
                        OraError& error);
  void NameAndCount(PartitionScheme& scheme);
  bool AddIndexSubpartitions(const std::string& owner, const std::string& index,
                             const std::string& tableOwner, const std::string& table,
                             const std::string& tablePartition, const std::string& indexPartition,
                             std::size_t at, const StorageSpec& indexStorage, OraError& error);
  bool AddKeyRows(const std::string& owner, const std::string& name, const char* objectType,
                  const PartitionScheme& scheme, OraError& error);
  bool AddIntervalCheck(const std::string& owner, const std::string& table,
                        const PartitionScheme& scheme, OraError& error);
  bool AddRowCheck(const std::string& owner, const std::string& table,
                   const PartitionScheme& scheme, OraError& error);
  std::string ServerName(const char* prefix);

  DdlContext& context_;
  TokenStream& in_;
  StorageReader readStorage_;
};

}  // namespace sandbox
