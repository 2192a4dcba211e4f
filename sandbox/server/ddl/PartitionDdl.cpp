// Reading partitioning clauses and keeping their dictionary rows.
#include "sandbox/server/ddl/PartitionDdl.h"

#include <algorithm>
#include <cstdlib>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/IntervalPartitions.h"
#include "sandbox/server/dictionary/Dictionary.h"

namespace sandbox {

namespace {

// Oracle's count for a table whose partitions an interval adds.
constexpr long long kDefaultPartitionInitial = 8388608;

Value TextOrNull(const std::string& text) {
  return text.empty() ? Value::Null() : Value::Text(text);
}

Value Count(std::size_t count) {
  return Value::Integer(static_cast<long long>(count));
}

// Words that begin the attributes of a partition rather than name it.
bool StartsAttributes(const SqlToken& token) {
  if (token.type != SqlToken::Type::Word)
    return token.type != SqlToken::Type::QuotedName;
  for (const char* word :
       {"VALUES", "TABLESPACE", "PCTFREE", "PCTUSED", "INITRANS", "MAXTRANS", "STORAGE", "LOGGING",
        "NOLOGGING", "COMPRESS", "NOCOMPRESS", "SUBPARTITIONS", "LOB", "ROW"})
    if (token.IsWord(word))
      return true;
  return false;
}

// What an index partition takes from the table partition or the bound it
// was made for.
struct IndexPartitionRow {
  std::string name, highValue;
  bool composite = false;
  long long subpartitions = 0;
  std::string tablespace;  // where it goes unless its own clause says
  bool interval = false;   // follows an interval partition of the table
};

bool AddIndexPartition(Catalog& catalog, const std::string& owner, const std::string& index,
                       std::size_t at, const IndexPartitionRow& row, const StorageSpec& storage,
                       const StorageSpec& indexStorage, OraError& error) {
  return catalog.Exec(
             "INSERT INTO \"SYS.ALL_IND_PARTITIONS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
             "?, ?, ?, ?)",
             {Value::Text(owner), Value::Text(index), Value::Text(row.composite ? "YES" : "NO"),
              Value::Text(row.name), Value::Integer(row.subpartitions), TextOrNull(row.highValue),
              Count(row.highValue.size()), Count(at + 1),
              Value::Text(row.composite ? "N/A" : "USABLE"),
              Value::Text(storage.tablespace.value_or(row.tablespace)),
              Value::Integer(storage.pctFree.value_or(indexStorage.pctFree.value_or(10))),
              Value::Integer(storage.iniTrans.value_or(indexStorage.iniTrans.value_or(2))),
              Value::Integer(storage.maxTrans.value_or(indexStorage.maxTrans.value_or(255))),
              Value::Text(storage.logging && indexStorage.logging ? "YES" : "NO"),
              Value::Text(indexStorage.compressed ? "ENABLED" : "DISABLED"),
              Value::Text(row.interval ? "YES" : "NO")},
             error) &&
         catalog.AddPartitionObject(owner, index, row.name, "INDEX PARTITION", !row.composite,
                                    error);
}

bool IsPrefix(const std::vector<std::string>& keys, const std::vector<std::string>& columns) {
  return keys.size() <= columns.size() && std::equal(keys.begin(), keys.end(), columns.begin());
}

}  // namespace

std::string PartitionDdl::ServerName(const char* prefix) {
  return prefix + std::to_string(context_.catalog.Database().NextObjectId());
}

bool PartitionDdl::ReadHashCount(long long& count, std::vector<std::string>& storeIn,
                                 OraError& error) {
  if (!in_.ReadInteger(count, error))
    return false;
  if (count < 1 || count > kMaxPartitions) {
    error = {14005, "missing RANGE keyword"};
    return false;
  }
  return !in_.AcceptWords("STORE", "IN") || in_.ReadNameList(storeIn, error);
}

bool PartitionDdl::ReadBound(PartitionDef& partition, const std::string& type, std::size_t keyCount,
                             OraError& error) {
  if (!in_.ExpectSymbol("(", error))
    return false;
  const char* open = type == "RANGE" ? "MAXVALUE" : "DEFAULT";
  std::vector<std::string> texts;
  do {
    const std::size_t begin = in_.Position();
    if (in_.AcceptWord(open)) {
      partition.values.emplace_back(begin, begin);
      texts.emplace_back(open);
      continue;
    }
    std::size_t end = begin;
    for (int depth = 0; end < context_.tokens.size(); ++end) {
      const SqlToken& t = context_.tokens[end];
      if (t.IsSymbol("("))
        ++depth;
      else if (t.IsSymbol(")") && depth-- == 0)
        break;
      else if (depth == 0 && t.IsSymbol(","))
        break;
    }
    if (end == begin) {
      error = {936, "missing expression"};
      return false;
    }
    partition.values.emplace_back(begin, end);
    const bool null = end == begin + 1 && context_.tokens[begin].IsWord("NULL");
    texts.push_back(null ? "NULL" : context_.SourceText(begin, end));
    in_.Seek(end);
  } while (in_.AcceptSymbol(","));
  if (!in_.ExpectSymbol(")", error))
    return false;
  if (type == "RANGE" && partition.values.size() > keyCount) {
    error = {14017, "partition bound list contains too many elements"};
    return false;
  }
  if (type == "RANGE" && partition.values.size() < keyCount) {
    error = {14018, "partition bound list contains too few elements"};
    return false;
  }
  for (const std::string& text : texts)
    partition.highValue += (partition.highValue.empty() ? "" : ", ") + text;
  return true;
}

bool PartitionDdl::ReadPartition(PartitionDef& partition, const PartitionScheme& scheme, bool sub,
                                 OraError& error) {
  if (!in_.ExpectWord(sub ? "SUBPARTITION" : "PARTITION", error))
    return false;
  if (!in_.AtEnd() && !StartsAttributes(in_.Peek()) &&
      !in_.ReadName(partition.name, error, 14006, "invalid partition name"))
    return false;
  const std::string& type = sub ? scheme.subType : scheme.type;
  const std::size_t keys = sub ? scheme.subColumns.size() : scheme.columns.size();
  if (type == "RANGE" || type == "LIST") {
    if (!in_.ExpectWord("VALUES", error))
      return false;
    if (type == "RANGE" && (!in_.ExpectWord("LESS", error) || !in_.ExpectWord("THAN", error)))
      return false;
    if (!ReadBound(partition, type, keys, error))
      return false;
  }
  if (!readStorage_(partition.storage, error))
    return false;
  if (sub)
    return true;
  std::vector<std::string> storeIn;
  if (in_.AcceptWord("SUBPARTITIONS"))
    return ReadHashCount(partition.subpartitionCount, storeIn, error);
  if (in_.Peek().IsSymbol("(") && scheme.subType != "NONE")
    return ReadPartitionList(partition.subpartitions, scheme, true, error);
  return true;
}

bool PartitionDdl::ReadPartitionList(std::vector<PartitionDef>& partitions,
                                     const PartitionScheme& scheme, bool sub, OraError& error) {
  if (!in_.ExpectSymbol("(", error))
    return false;
  do {
    PartitionDef partition;
    if (!ReadPartition(partition, scheme, sub, error))
      return false;
    partitions.push_back(std::move(partition));
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(")", error);
}

bool PartitionDdl::ReadSubpartitioning(PartitionScheme& scheme, OraError& error) {
  for (const char* type : {"RANGE", "LIST", "HASH"})
    if (in_.AcceptWord(type))
      scheme.subType = type;
  if (scheme.subType == "NONE") {
    error = {14151, "invalid table partitioning method"};
    return false;
  }
  if (!in_.ReadNameList(scheme.subColumns, error))
    return false;
  std::vector<std::string> storeIn;
  if (in_.AcceptWord("SUBPARTITIONS") && !ReadHashCount(scheme.subpartitionCount, storeIn, error))
    return false;
  if (!in_.AcceptWords("SUBPARTITION", "TEMPLATE"))
    return true;
  if (in_.Peek().type == SqlToken::Type::Number)
    return ReadHashCount(scheme.subpartitionCount, storeIn, error);
  return ReadPartitionList(scheme.subTemplate, scheme, true, error);
}

bool PartitionDdl::ReadScheme(PartitionScheme& scheme, bool forIndex, OraError& error) {
  for (const char* type : {"RANGE", "LIST", "HASH", "REFERENCE"})
    if (in_.AcceptWord(type))
      scheme.type = type;
  if (scheme.type.empty() || (forIndex && scheme.type != "RANGE" && scheme.type != "HASH")) {
    error = {14151, "invalid table partitioning method"};
    return false;
  }
  if (scheme.type == "REFERENCE") {
    if (!in_.ExpectSymbol("(", error) ||
        !in_.ReadName(scheme.refConstraint, error, 904, "invalid identifier") ||
        !in_.ExpectSymbol(")", error))
      return false;
    return !in_.Peek().IsSymbol("(") || ReadPartitionList(scheme.partitions, scheme, false, error);
  }
  if (!in_.ReadNameList(scheme.columns, error))
    return false;
  if (!forIndex && scheme.type == "RANGE" && in_.AcceptWord("INTERVAL")) {
    if (!in_.Peek().IsSymbol("(")) {
      error = {906, "missing left parenthesis"};
      return false;
    }
    const std::size_t close = in_.MatchingParen();
    scheme.interval = context_.SourceText(in_.Position() + 1, close);
    in_.Seek(close + 1);
    std::vector<std::string> storeIn;
    if (in_.AcceptWords("STORE", "IN") && !in_.ReadNameList(storeIn, error))
      return false;
  }
  if (!forIndex && scheme.type == "LIST")
    in_.AcceptWord("AUTOMATIC");
  if (!forIndex && in_.AcceptWords("SUBPARTITION", "BY") && !ReadSubpartitioning(scheme, error))
    return false;
  if (scheme.type == "HASH" && in_.AcceptWord("PARTITIONS")) {
    long long count = 0;
    if (!ReadHashCount(count, scheme.storeIn, error))
      return false;
    scheme.partitions.resize(static_cast<std::size_t>(count));
    return true;
  }
  return ReadPartitionList(scheme.partitions, scheme, false, error);
}

bool PartitionDdl::ReadLocalPartitions(std::vector<PartitionDef>& partitions, OraError& error) {
  if (!in_.AcceptSymbol("("))
    return true;
  do {
    PartitionDef partition;
    if (!in_.ExpectWord("PARTITION", error))
      return false;
    if (!in_.AtEnd() && !StartsAttributes(in_.Peek()) &&
        !in_.ReadName(partition.name, error, 14006, "invalid partition name"))
      return false;
    if (!readStorage_(partition.storage, error))
      return false;
    // The subpartitions of a local index follow the table's.
    if (in_.Peek().IsSymbol("("))
      in_.Seek(in_.MatchingParen() + 1);
    partitions.push_back(std::move(partition));
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(")", error);
}

bool PartitionDdl::CheckKeyColumns(const std::string& owner, const std::string& table,
                                   const std::vector<std::string>& columns, OraError& error) {
  for (const std::string& column : columns)
    if (!context_.catalog.Any(
            "SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
            "COLUMN_NAME = ? AND USER_GENERATED = 'YES'",
            {Value::Text(owner), Value::Text(table), Value::Text(column)})) {
      error = {904, "\"" + column + "\": invalid identifier"};
      return false;
    }
  return true;
}

// A table partitioned by reference takes the partitions of the table its
// foreign key refers to, by their names unless the statement gave others.
bool PartitionDdl::InheritReference(const std::string& owner, const std::string& table,
                                    PartitionScheme& scheme, OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto parent = catalog.Rows(
      "SELECT p.OWNER, p.TABLE_NAME FROM \"SYS.ALL_CONSTRAINTS\" r JOIN \"SYS.ALL_CONSTRAINTS\" p "
      "ON p.OWNER = r.R_OWNER AND p.CONSTRAINT_NAME = r.R_CONSTRAINT_NAME WHERE r.OWNER = ? AND "
      "r.TABLE_NAME = ? AND r.CONSTRAINT_NAME = ? AND r.CONSTRAINT_TYPE = 'R'",
      {Value::Text(owner), Value::Text(table), Value::Text(scheme.refConstraint)});
  if (parent.empty()) {
    error = {14652, "reference partitioning foreign key is not supported"};
    return false;
  }
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_CONS_COLUMNS\" k JOIN \"SYS.ALL_TAB_COLS\" c ON "
                  "c.OWNER = k.OWNER AND c.TABLE_NAME = k.TABLE_NAME AND c.COLUMN_NAME = "
                  "k.COLUMN_NAME WHERE k.OWNER = ? AND k.CONSTRAINT_NAME = ? AND c.NULLABLE = 'Y'",
                  {Value::Text(owner), Value::Text(scheme.refConstraint)})) {
    error = {14652, "reference partitioning foreign key is not supported"};
    return false;
  }
  const auto inherited = catalog.Rows(
      "SELECT PARTITION_NAME FROM \"SYS.ALL_TAB_PARTITIONS\" WHERE TABLE_OWNER = ? AND "
      "TABLE_NAME = ? ORDER BY PARTITION_POSITION",
      {Value::Text(parent[0][0]), Value::Text(parent[0][1])});
  if (inherited.empty()) {
    error = {14653, "parent table of a reference-partitioned table must be partitioned"};
    return false;
  }
  if (scheme.partitions.size() > inherited.size()) {
    error = {14024, "number of partitions of LOCAL index must equal that of the underlying table"};
    return false;
  }
  scheme.partitions.resize(inherited.size());
  for (std::size_t i = 0; i < inherited.size(); ++i)
    if (scheme.partitions[i].name.empty())
      scheme.partitions[i].name = inherited[i][0];
  return true;
}

// Names the partitions the statement left unnamed and fills in the
// subpartitions each composite partition gets.
void PartitionDdl::NameAndCount(PartitionScheme& scheme) {
  for (std::size_t i = 0; i < scheme.partitions.size(); ++i) {
    PartitionDef& partition = scheme.partitions[i];
    if (partition.name.empty())
      partition.name = ServerName("SYS_P");
    if (!partition.storage.tablespace && !scheme.storeIn.empty())
      partition.storage.tablespace = scheme.storeIn[i % scheme.storeIn.size()];
    if (scheme.subType == "NONE" || !partition.subpartitions.empty())
      continue;
    long long count = partition.subpartitionCount;
    if (count == 0 && !scheme.subTemplate.empty()) {
      for (const PartitionDef& sub : scheme.subTemplate) {
        PartitionDef copy = sub;
        copy.name = sub.name.empty() ? std::string() : partition.name + "_" + sub.name;
        partition.subpartitions.push_back(copy);
      }
    } else {
      count = count ? count : std::max<long long>(1, scheme.subpartitionCount);
      partition.subpartitions.resize(static_cast<std::size_t>(count));
      if (scheme.subType != "HASH")
        partition.subpartitions[0].highValue = scheme.subType == "LIST" ? "DEFAULT" : "MAXVALUE";
    }
  }
  for (PartitionDef& partition : scheme.partitions)
    for (PartitionDef& sub : partition.subpartitions)
      if (sub.name.empty())
        sub.name = ServerName("SYS_SUBP");
}

bool PartitionDdl::AddKeyRows(const std::string& owner, const std::string& name,
                              const char* objectType, const PartitionScheme& scheme,
                              OraError& error) {
  for (const bool sub : {false, true}) {
    const auto& columns = sub ? scheme.subColumns : scheme.columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (!context_.catalog.Exec(std::string("INSERT INTO \"SYS.ALL_") +
                                     (sub ? "SUBPART" : "PART") +
                                     "_KEY_COLUMNS\" VALUES (?, ?, ?, ?, ?, NULL)",
                                 {Value::Text(owner), Value::Text(name), Value::Text(objectType),
                                  Value::Text(columns[i]), Count(i + 1)},
                                 error))
        return false;
  }
  return true;
}

// An interval table takes every key but NULL; a key at or above the last
// range bound makes the partition of its interval when there is none yet.
bool PartitionDdl::AddIntervalCheck(const std::string& owner, const std::string& table,
                                    const PartitionScheme& scheme, OraError& error) {
  const auto& bound = scheme.partitions.back().values;
  if (scheme.columns.size() != 1 || bound.size() != 1 || bound[0].first == bound[0].second)
    return true;
  std::string transition;
  if (!context_.TranslateExpression(bound[0].first, bound[0].second, transition, error))
    return false;
  const std::string storage = QuoteSqliteName(StorageName(owner, table));
  const std::string key = "NEW." + QuoteSqliteName(scheme.columns[0]);
  const std::string prefix = "part:" + StorageName(owner, table);
  const std::string make = " WHEN " + key + " >= (" + transition +
                           ") BEGIN SELECT ora_interval_partition(" + QuoteSqliteText(owner) +
                           ", " + QuoteSqliteText(table) + ", " + key + ", (" + transition +
                           ")); END";
  return context_.catalog.ExecMapped(
             "CREATE TRIGGER " + QuoteSqliteName(prefix + ":i") + " BEFORE INSERT ON " + storage +
                 " WHEN " + key +
                 " IS NULL BEGIN SELECT RAISE(ABORT, 'ORA-14400: inserted partition key does not "
                 "map to any partition'); END",
             error) &&
         context_.catalog.ExecMapped("CREATE TRIGGER " + QuoteSqliteName(prefix + ":n") +
                                         " AFTER INSERT ON " + storage + make,
                                     error) &&
         context_.catalog.ExecMapped("CREATE TRIGGER " + QuoteSqliteName(prefix + ":m") +
                                         " AFTER UPDATE OF " + QuoteSqliteName(scheme.columns[0]) +
                                         " ON " + storage + make,
                                     error);
}

// The condition a row's key must meet for some partition to take it: below
// the last range bound (MAXVALUE takes everything, NULL sorts above every
// value), or one of the listed values.
bool PartitionDdl::AddRowCheck(const std::string& owner, const std::string& table,
                               const PartitionScheme& scheme, OraError& error) {
  if (!scheme.partitions.empty() && !scheme.interval.empty())
    return AddIntervalCheck(owner, table, scheme, error);
  if (scheme.partitions.empty() || (scheme.type != "RANGE" && scheme.type != "LIST"))
    return true;
  std::string keys;
  for (const std::string& column : scheme.columns)
    keys += (keys.empty() ? "" : ", ") + ("NEW." + QuoteSqliteName(column));
  keys = "(" + keys + ")";
  std::string condition;
  if (scheme.type == "RANGE") {
    const auto& bound = scheme.partitions.back().values;
    std::string limit, prefix;
    std::size_t used = 0;
    for (; used < bound.size() && bound[used].first != bound[used].second; ++used) {
      std::string value;
      if (!context_.TranslateExpression(bound[used].first, bound[used].second, value, error))
        return false;
      limit += (limit.empty() ? "" : ", ") + value;
      prefix += (prefix.empty() ? "" : ", ") + ("NEW." + QuoteSqliteName(scheme.columns[used]));
    }
    if (used == 0)
      return true;
    condition = "(" + prefix + ") " + (used < bound.size() ? "<=" : "<") + " (" + limit + ")";
  } else {
    std::string values;
    bool takesNull = false;
    for (const PartitionDef& partition : scheme.partitions)
      for (const auto& [begin, end] : partition.values) {
        if (begin == end)
          return true;  // DEFAULT
        if (context_.tokens[begin].IsWord("NULL") && end == begin + 1) {
          takesNull = true;
          continue;
        }
        std::string value;
        if (!context_.TranslateExpression(begin, end, value, error))
          return false;
        values += (values.empty() ? "" : ", ") + ("(" + value + ")");
      }
    condition = values.empty() ? "0" : keys + " IN (VALUES " + values + ")";
    if (takesNull)
      condition += " OR " + keys + " IS NULL";
  }
  const std::string storage = QuoteSqliteName(StorageName(owner, table));
  const std::string raise =
      " BEGIN SELECT RAISE(ABORT, 'ORA-14400: inserted partition key does not map to any "
      "partition'); END";
  std::string keyList;
  for (const std::string& column : scheme.columns)
    keyList += (keyList.empty() ? "" : ", ") + QuoteSqliteName(column);
  const std::string when = " WHEN NOT coalesce((" + condition + "), 0)";
  return context_.catalog.ExecMapped(
             "CREATE TRIGGER " + QuoteSqliteName("part:" + StorageName(owner, table) + ":i") +
                 " BEFORE INSERT ON " + storage + when + raise,
             error) &&
         context_.catalog.ExecMapped(
             "CREATE TRIGGER " + QuoteSqliteName("part:" + StorageName(owner, table) + ":u") +
                 " BEFORE UPDATE OF " + keyList + " ON " + storage + when + raise,
             error);
}

bool PartitionDdl::AddTablePartitioning(const std::string& owner, const std::string& table,
                                        PartitionScheme& scheme, const StorageSpec& tableStorage,
                                        OraError& error) {
  if (!CheckKeyColumns(owner, table, scheme.columns, error) ||
      !CheckKeyColumns(owner, table, scheme.subColumns, error))
    return false;
  if (scheme.type == "REFERENCE" && !InheritReference(owner, table, scheme, error))
    return false;
  NameAndCount(scheme);
  Catalog& catalog = context_.catalog;
  const bool composite = scheme.subType != "NONE";
  const long long defaultSubpartitions =
      !composite ? 0
                 : (!scheme.subTemplate.empty() ? static_cast<long long>(scheme.subTemplate.size())
                                                : std::max<long long>(1, scheme.subpartitionCount));
  const std::string defaultSpace = tableStorage.tablespace.value_or("USERS");
  // A partition's own LOGGING or COMPRESS clause, either way, overrides its
  // table's; a subpartition's logging overrides its partition's.
  const auto logs = [](const StorageSpec& storage, bool inherited) {
    return storage.loggingGiven ? storage.logging : inherited;
  };
  const auto logging = [&](const StorageSpec& storage, const StorageSpec& fallback) {
    return Value::Text(logs(storage, logs(fallback, tableStorage.logging)) ? "YES" : "NO");
  };
  const auto compressing = [](const StorageSpec& storage,
                              const StorageSpec& fallback) -> const StorageSpec& {
    return storage.compressionGiven ? storage : fallback;
  };
  const auto compression = [&](const StorageSpec& storage, const StorageSpec& fallback) {
    return Value::Text(compressing(storage, fallback).compressed ? "ENABLED" : "DISABLED");
  };
  const auto compressFor = [&](const StorageSpec& storage, const StorageSpec& fallback) {
    const StorageSpec& own = compressing(storage, fallback);
    return own.compressed ? Value::Text(own.compressFor.value_or("BASIC")) : Value::Null();
  };
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_PART_TABLES\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'VALID', ?, ?, ?, "
          "?, ?, ?, ?, ?, ?, 'NO')",
          {Value::Text(owner), Value::Text(table), Value::Text(scheme.type),
           Value::Text(scheme.subType),
           scheme.interval.empty() ? Count(scheme.partitions.size())
                                   : Value::Integer(kMaxPartitions),
           Value::Integer(defaultSubpartitions), Count(scheme.columns.size()),
           Count(scheme.subColumns.size()), TextOrNull(tableStorage.tablespace.value_or("")),
           Value::Integer(tableStorage.pctFree.value_or(10)),
           Value::Integer(tableStorage.pctUsed.value_or(40)),
           Value::Integer(tableStorage.iniTrans.value_or(1)),
           Value::Integer(tableStorage.maxTrans.value_or(255)),
           Value::Text(tableStorage.logging ? "NONE" : "NO"),
           Value::Text(tableStorage.compressed ? "ENABLED" : "NONE"),
           TextOrNull(scheme.refConstraint), TextOrNull(scheme.interval)},
          error))
    return false;
  for (std::size_t i = 0; i < scheme.partitions.size(); ++i) {
    const PartitionDef& partition = scheme.partitions[i];
    const StorageSpec& storage = partition.storage;
    const std::string space = storage.tablespace.value_or(defaultSpace);
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_TAB_PARTITIONS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, 1, 2147483645, 0, NULL, NULL, ?, ?, ?, 'NO')",
            {Value::Text(owner), Value::Text(table), Value::Text(composite ? "YES" : "NO"),
             Value::Text(partition.name), Count(composite ? partition.subpartitions.size() : 0),
             TextOrNull(partition.highValue), Count(partition.highValue.size()), Count(i + 1),
             Value::Text(space),
             Value::Integer(storage.pctFree.value_or(tableStorage.pctFree.value_or(10))),
             Value::Integer(storage.pctUsed.value_or(tableStorage.pctUsed.value_or(40))),
             Value::Integer(storage.iniTrans.value_or(tableStorage.iniTrans.value_or(1))),
             Value::Integer(storage.maxTrans.value_or(tableStorage.maxTrans.value_or(255))),
             Value::Integer(storage.initial.value_or(kDefaultPartitionInitial)),
             Value::Integer(storage.next.value_or(1048576)), logging(storage, tableStorage),
             compression(storage, tableStorage), compressFor(storage, tableStorage)},
            error) ||
        !catalog.AddPartitionObject(owner, table, partition.name, "TABLE PARTITION", !composite,
                                    error))
      return false;
    for (std::size_t j = 0; j < partition.subpartitions.size(); ++j) {
      const PartitionDef& sub = partition.subpartitions[j];
      if (!catalog.Exec(
              "INSERT INTO \"SYS.ALL_TAB_SUBPARTITIONS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
              "?, ?, ?, ?, ?, 'NO')",
              {Value::Text(owner), Value::Text(table), Value::Text(partition.name),
               Value::Text(sub.name), TextOrNull(sub.highValue), Count(sub.highValue.size()),
               Count(i + 1), Count(j + 1), Value::Text(sub.storage.tablespace.value_or(space)),
               Value::Integer(storage.pctFree.value_or(tableStorage.pctFree.value_or(10))),
               Value::Integer(storage.pctUsed.value_or(tableStorage.pctUsed.value_or(40))),
               Value::Integer(storage.iniTrans.value_or(tableStorage.iniTrans.value_or(1))),
               Value::Integer(storage.maxTrans.value_or(tableStorage.maxTrans.value_or(255))),
               logging(sub.storage, storage), compression(storage, tableStorage),
               compressFor(storage, tableStorage)},
              error) ||
          !catalog.AddPartitionObject(owner, table, sub.name, "TABLE SUBPARTITION", true, error))
        return false;
    }
  }
  const std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  // A partitioned table keeps its segment attributes in its partitions.
  return AddKeyRows(owner, table, "TABLE", scheme, error) &&
         catalog.Exec(
             "UPDATE \"SYS.ALL_TABLES\" SET PARTITIONED = 'YES', TABLESPACE_NAME = NULL, PCT_FREE "
             "= NULL, PCT_USED = NULL, INI_TRANS = NULL, MAX_TRANS = NULL, INITIAL_EXTENT = NULL, "
             "NEXT_EXTENT = NULL, MIN_EXTENTS = NULL, MAX_EXTENTS = NULL, PCT_INCREASE = NULL, "
             "FREELISTS = NULL, FREELIST_GROUPS = NULL, LOGGING = NULL, COMPRESSION = NULL, "
             "COMPRESS_FOR = NULL WHERE OWNER = ? AND TABLE_NAME = ?",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
             "SEGMENT_TYPE = 'TABLE'",
             key, error) &&
         catalog.Exec(
             "UPDATE \"SYS.ALL_OBJECTS\" SET DATA_OBJECT_ID = NULL WHERE OWNER = ? AND "
             "OBJECT_NAME = ? AND OBJECT_TYPE = 'TABLE'",
             key, error) &&
         AddRowCheck(owner, table, scheme, error);
}

bool PartitionDdl::AddLocalIndex(const std::string& owner, const std::string& index,
                                 const std::string& tableOwner, const std::string& table,
                                 const std::vector<std::string>& indexColumns, bool unique,
                                 std::vector<PartitionDef>& local, const StorageSpec& indexStorage,
                                 OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> tableKey{Value::Text(tableOwner), Value::Text(table)};
  const auto part = catalog.Rows(
      "SELECT PARTITIONING_TYPE, SUBPARTITIONING_TYPE, DEF_SUBPARTITION_COUNT, coalesce(INTERVAL, "
      "'') FROM \"SYS.ALL_PART_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
      tableKey);
  if (part.empty()) {
    error = {14016, "underlying table of a LOCAL partitioned index must be partitioned"};
    return false;
  }
  PartitionScheme scheme;
  scheme.type = part[0][0];
  scheme.subType = part[0][1];
  for (const auto& sub : {false, true})
    for (const auto& row : catalog.Rows(
             std::string("SELECT COLUMN_NAME FROM \"SYS.ALL_") + (sub ? "SUBPART" : "PART") +
                 "_KEY_COLUMNS\" WHERE OWNER = ? AND NAME = ? AND OBJECT_TYPE = 'TABLE' ORDER BY "
                 "COLUMN_POSITION",
             tableKey))
      (sub ? scheme.subColumns : scheme.columns).push_back(row[0]);
  if (unique && !std::all_of(scheme.columns.begin(), scheme.columns.end(), [&](const auto& c) {
        return std::find(indexColumns.begin(), indexColumns.end(), c) != indexColumns.end();
      })) {
    error = {14039, "partitioning columns must form a subset of key columns of a UNIQUE index"};
    return false;
  }
  const auto partitions = catalog.Rows(
      "SELECT PARTITION_NAME, coalesce(HIGH_VALUE, ''), TABLESPACE_NAME, SUBPARTITION_COUNT, "
      "\"INTERVAL\" FROM \"SYS.ALL_TAB_PARTITIONS\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ? ORDER "
      "BY "
      "PARTITION_POSITION",
      tableKey);
  if (!local.empty() && local.size() != partitions.size()) {
    error = {14024, "number of partitions of LOCAL index must equal that of the underlying table"};
    return false;
  }
  local.resize(partitions.size());
  const bool composite = scheme.subType != "NONE";
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_PART_INDEXES\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'LOCAL', ?, ?, "
          "?, ?, ?, ?, ?)",
          {Value::Text(owner), Value::Text(index), Value::Text(table), Value::Text(scheme.type),
           Value::Text(scheme.subType),
           part[0][3].empty() ? Count(partitions.size()) : Value::Integer(kMaxPartitions),
           Value::Text(part[0][2]), Count(scheme.columns.size()), Count(scheme.subColumns.size()),
           Value::Text(IsPrefix(scheme.columns, indexColumns) ? "PREFIXED" : "NON_PREFIXED"),
           TextOrNull(indexStorage.tablespace.value_or("")),
           Value::Integer(indexStorage.pctFree.value_or(10)),
           Value::Integer(indexStorage.iniTrans.value_or(2)),
           Value::Integer(indexStorage.maxTrans.value_or(255)),
           Value::Text(indexStorage.logging ? "NONE" : "NO"), TextOrNull(part[0][3])},
          error))
    return false;
  for (std::size_t i = 0; i < partitions.size(); ++i) {
    const IndexPartitionRow row{local[i].name.empty() ? partitions[i][0] : local[i].name,
                                partitions[i][1],
                                composite,
                                std::atoll(partitions[i][3].c_str()),
                                indexStorage.tablespace.value_or(partitions[i][2]),
                                partitions[i][4] == "YES"};
    if (!AddIndexPartition(catalog, owner, index, i, row, local[i].storage, indexStorage, error) ||
        (composite && !AddIndexSubpartitions(owner, index, tableOwner, table, partitions[i][0],
                                             row.name, i, indexStorage, error)))
      return false;
  }
  return AddKeyRows(owner, index, "INDEX", scheme, error);
}

// The subpartitions of a local index's partition follow those of its table
// partition, by their names and bounds.
bool PartitionDdl::AddIndexSubpartitions(const std::string& owner, const std::string& index,
                                         const std::string& tableOwner, const std::string& table,
                                         const std::string& tablePartition,
                                         const std::string& indexPartition, std::size_t at,
                                         const StorageSpec& indexStorage, OraError& error) {
  Catalog& catalog = context_.catalog;
  for (const auto& sub :
       catalog.Rows("SELECT SUBPARTITION_NAME, coalesce(HIGH_VALUE, ''), SUBPARTITION_POSITION, "
                    "TABLESPACE_NAME FROM \"SYS.ALL_TAB_SUBPARTITIONS\" WHERE TABLE_OWNER = ? AND "
                    "TABLE_NAME = ? AND PARTITION_NAME = ? ORDER BY SUBPARTITION_POSITION",
                    {Value::Text(tableOwner), Value::Text(table), Value::Text(tablePartition)}))
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_IND_SUBPARTITIONS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'USABLE', "
            "?, ?, ?, ?, ?, ?, 'NO')",
            {Value::Text(owner), Value::Text(index), Value::Text(indexPartition),
             Value::Text(sub[0]), TextOrNull(sub[1]), Count(sub[1].size()), Count(at + 1),
             Value::Integer(std::atoll(sub[2].c_str())),
             Value::Text(indexStorage.tablespace.value_or(sub[3])),
             Value::Integer(indexStorage.pctFree.value_or(10)),
             Value::Integer(indexStorage.iniTrans.value_or(2)),
             Value::Integer(indexStorage.maxTrans.value_or(255)),
             Value::Text(indexStorage.logging ? "YES" : "NO"),
             Value::Text(indexStorage.compressed ? "ENABLED" : "DISABLED")},
            error) ||
        !catalog.AddPartitionObject(owner, index, sub[0], "INDEX SUBPARTITION", true, error))
      return false;
  return true;
}

bool PartitionDdl::AddGlobalIndex(const std::string& owner, const std::string& index,
                                  const std::string& table,
                                  const std::vector<std::string>& indexColumns,
                                  PartitionScheme& scheme, const StorageSpec& indexStorage,
                                  OraError& error) {
  if (!IsPrefix(scheme.columns, indexColumns)) {
    error = {14038, "GLOBAL partitioned index must be prefixed"};
    return false;
  }
  if (scheme.type == "RANGE") {
    const auto& last = scheme.partitions.back().values;
    if (std::any_of(last.begin(), last.end(), [](const auto& v) { return v.first != v.second; })) {
      error = {14021, "MAXVALUE must be specified for all columns"};
      return false;
    }
  }
  NameAndCount(scheme);
  Catalog& catalog = context_.catalog;
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_PART_INDEXES\" VALUES (?, ?, ?, ?, 'NONE', ?, 0, ?, 0, 'GLOBAL', "
          "'PREFIXED', ?, ?, ?, ?, ?, NULL)",
          {Value::Text(owner), Value::Text(index), Value::Text(table), Value::Text(scheme.type),
           Count(scheme.partitions.size()), Count(scheme.columns.size()),
           TextOrNull(indexStorage.tablespace.value_or("")),
           Value::Integer(indexStorage.pctFree.value_or(10)),
           Value::Integer(indexStorage.iniTrans.value_or(2)),
           Value::Integer(indexStorage.maxTrans.value_or(255)),
           Value::Text(indexStorage.logging ? "NONE" : "NO")},
          error))
    return false;
  for (std::size_t i = 0; i < scheme.partitions.size(); ++i) {
    const PartitionDef& partition = scheme.partitions[i];
    const IndexPartitionRow row{partition.name, partition.highValue, false, 0,
                                indexStorage.tablespace.value_or("USERS")};
    if (!AddIndexPartition(catalog, owner, index, i, row, partition.storage, indexStorage, error))
      return false;
  }
  return AddKeyRows(owner, index, "INDEX", scheme, error);
}

bool PartitionDdl::RemoveIndex(const std::string& owner, const std::string& index,
                               OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(index)};
  return catalog.Exec("DELETE FROM \"SYS.ALL_PART_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?",
                      key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_PARTITIONS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?", key,
             error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_SUBPARTITIONS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_PART_KEY_COLUMNS\" WHERE OWNER = ? AND NAME = ? AND "
             "OBJECT_TYPE = 'INDEX'",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_SUBPART_KEY_COLUMNS\" WHERE OWNER = ? AND NAME = ? AND "
             "OBJECT_TYPE = 'INDEX'",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND OBJECT_TYPE "
             "IN ('INDEX PARTITION', 'INDEX SUBPARTITION')",
             key, error);
}

bool PartitionDdl::RemoveTable(const std::string& owner, const std::string& table,
                               OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  for (const auto& index :
       catalog.Rows("SELECT OWNER, INDEX_NAME FROM \"SYS.ALL_INDEXES\" WHERE TABLE_OWNER = ? AND "
                    "TABLE_NAME = ?",
                    key))
    if (!RemoveIndex(index[0], index[1], error))
      return false;
  return catalog.Exec("DELETE FROM \"SYS.ALL_PART_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_TAB_PARTITIONS\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ?", key,
             error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_TAB_SUBPARTITIONS\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ?",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_PART_KEY_COLUMNS\" WHERE OWNER = ? AND NAME = ? AND "
             "OBJECT_TYPE = 'TABLE'",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_SUBPART_KEY_COLUMNS\" WHERE OWNER = ? AND NAME = ? AND "
             "OBJECT_TYPE = 'TABLE'",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND OBJECT_TYPE "
             "IN ('TABLE PARTITION', 'TABLE SUBPARTITION')",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.INTERVAL_PART$\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error);
}

}  // namespace sandbox
