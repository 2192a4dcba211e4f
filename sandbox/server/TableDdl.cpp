// Tables, constraints and indexes with their dictionary rows.
#include "sandbox/server/TableDdl.h"

#include <algorithm>
#include <cctype>

#include "sandbox/server/DateTimeTypeDdl.h"
#include "sandbox/server/Dictionary.h"
#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

namespace {

// Oracle's defaults for a segment in the USERS tablespace.
constexpr long long kDefaultInitial = 65536, kDefaultNext = 1048576, kUnlimitedExtents = 2147483645;

Value Optional(const std::optional<long long>& value) {
  return value ? Value::Integer(*value) : Value::Null();
}

std::string IndexStorageName(const std::string& owner, const std::string& name) {
  return "index:" + StorageName(owner, name);
}

std::string JoinColumns(const std::vector<std::string>& columns) {
  std::string text;
  for (const std::string& column : columns)
    text += (text.empty() ? "" : ",") + column;
  return text;
}

}  // namespace

bool TableDdl::StartsConstraint() const {
  const SqlToken& t = in_.Peek();
  return t.IsWord("CONSTRAINT") || t.IsWord("PRIMARY") || t.IsWord("UNIQUE") || t.IsWord("CHECK") ||
         t.IsWord("FOREIGN");
}

bool TableDdl::ReadType(OracleType& type, OraError& error) {
  const SqlToken& t = in_.Peek();
  if (t.type != SqlToken::Type::Word) {
    error = {902, "invalid datatype"};
    return false;
  }
  std::string name = t.Upper();
  in_.Skip();
  if (name == "TIMESTAMP" || name == "INTERVAL")
    return ReadDateTimeType(in_, name, type, error);
  if (name == "LONG" && in_.AcceptWord("RAW"))
    name = "LONG RAW";
  if (name == "DOUBLE" && in_.AcceptWord("PRECISION"))
    name = "DOUBLE PRECISION";
  if (name == "CHARACTER" && in_.AcceptWord("VARYING"))
    name = "VARCHAR2";
  std::optional<int> first, second;
  if (in_.AcceptSymbol("(")) {
    long long value = 0;
    if (in_.AcceptSymbol("*")) {
      first = 38;
    } else {
      if (!in_.ReadInteger(value, error))
        return false;
      first = static_cast<int>(value);
    }
    if (in_.AcceptSymbol(",")) {
      if (!in_.ReadInteger(value, error))
        return false;
      second = static_cast<int>(value);
    }
    in_.AcceptWord("BYTE");
    in_.AcceptWord("CHAR");
    if (!in_.ExpectSymbol(")", error))
      return false;
  }
  const auto parsed = OracleType::FromDeclaration(name, first, second);
  if (!parsed) {
    if ((name == "VARCHAR2" || name == "VARCHAR" || name == "RAW") && !first)
      error = {906, "missing left parenthesis"};
    else if (first && (name.find("CHAR") != std::string::npos || name == "RAW"))
      error = {910, "specified length too long for its datatype"};
    else
      error = {902, "invalid datatype"};
    return false;
  }
  type = *parsed;
  return true;
}

bool TableDdl::ReadStorage(StorageSpec& storage, bool forIndex, OraError& error) {
  while (!in_.AtEnd()) {
    long long value = 0;
    auto number = [&](std::optional<long long>& target) {
      if (!in_.ReadInteger(value, error))
        return false;
      target = value;
      return true;
    };
    if (in_.AcceptWord("PCTFREE")) {
      if (!number(storage.pctFree))
        return false;
      if (*storage.pctFree > 99) {
        error = {2211, "invalid value for PCTFREE or PCTUSED"};
        return false;
      }
    } else if (in_.AcceptWord("PCTUSED")) {
      if (!number(storage.pctUsed))
        return false;
    } else if (in_.AcceptWord("INITRANS")) {
      if (!number(storage.iniTrans))
        return false;
    } else if (in_.AcceptWord("MAXTRANS")) {
      if (!number(storage.maxTrans))
        return false;
    } else if (in_.AcceptWord("TABLESPACE")) {
      std::string name;
      if (!in_.ReadName(name, error, 959, "tablespace does not exist"))
        return false;
      storage.tablespace = name;
    } else if (in_.AcceptWord("STORAGE")) {
      if (!in_.ExpectSymbol("(", error))
        return false;
      while (!in_.AcceptSymbol(")")) {
        std::optional<long long>* target = nullptr;
        bool size = false;
        if (in_.AcceptWord("INITIAL"))
          target = &storage.initial, size = true;
        else if (in_.AcceptWord("NEXT"))
          target = &storage.next, size = true;
        else if (in_.AcceptWord("MINEXTENTS"))
          target = &storage.minExtents;
        else if (in_.AcceptWord("MAXEXTENTS"))
          target = &storage.maxExtents;
        else if (in_.AcceptWord("PCTINCREASE"))
          target = &storage.pctIncrease;
        else if (in_.AcceptWords("FREELIST", "GROUPS"))
          target = &storage.freelistGroups;
        else if (in_.AcceptWord("FREELISTS"))
          target = &storage.freelists;
        else if (in_.AcceptWord("OPTIMAL")) {
          in_.AcceptWord("NULL") || in_.ReadSize(value, error);
          continue;
        } else if (in_.AcceptWord("BUFFER_POOL")) {
          in_.Skip();
          continue;
        } else {
          error = {2143, "invalid STORAGE option"};
          return false;
        }
        if (target == &storage.maxExtents && in_.AcceptWord("UNLIMITED")) {
          storage.maxExtents = kUnlimitedExtents;
          continue;
        }
        if (!(size ? in_.ReadSize(value, error) : in_.ReadInteger(value, error)))
          return false;
        *target = value;
      }
    } else if (in_.AcceptWord("LOGGING")) {
      storage.logging = true;
    } else if (in_.AcceptWord("NOLOGGING")) {
      storage.logging = false;
    } else if (forIndex && in_.AcceptWord("COMPRESS")) {
      storage.compressed = true;
      if (in_.Peek().type == SqlToken::Type::Number && !number(storage.compress))
        return false;
    } else if (in_.AcceptWord("NOCOMPRESS")) {
      storage.compressed = false;
    } else if (in_.AcceptWord("CACHE") || in_.AcceptWord("NOCACHE") ||
               in_.AcceptWord("MONITORING") || in_.AcceptWord("NOMONITORING") ||
               in_.AcceptWord("NOPARALLEL") || in_.AcceptWord("NOSORT") ||
               in_.AcceptWord("REVERSE") || in_.AcceptWord("ONLINE") || in_.AcceptWord("COMPUTE") ||
               in_.AcceptWord("STATISTICS")) {
    } else if (in_.AcceptWord("PARALLEL")) {
      if (in_.Peek().type == SqlToken::Type::Number)
        in_.Skip();
    } else {
      return true;
    }
  }
  return true;
}

bool TableDdl::ReadConstraint(ConstraintSpec& spec, const std::string* inlineColumn,
                              OraError& error) {
  if (in_.AcceptWord("CONSTRAINT") && !in_.ReadName(spec.name, error, 904, "invalid identifier"))
    return false;
  if (in_.AcceptWords("PRIMARY", "KEY")) {
    spec.type = 'P';
  } else if (in_.AcceptWord("UNIQUE")) {
    spec.type = 'U';
  } else if (in_.AcceptWord("CHECK")) {
    spec.type = 'C';
    if (!in_.Peek().IsSymbol("(")) {
      error = {906, "missing left parenthesis"};
      return false;
    }
    const std::size_t close = in_.MatchingParen();
    if (close >= context_.tokens.size()) {
      error = {907, "missing right parenthesis"};
      return false;
    }
    spec.conditionBegin = in_.Position() + 1;
    spec.conditionEnd = close;
    spec.condition = context_.SourceText(spec.conditionBegin, spec.conditionEnd);
    in_.Seek(close + 1);
  } else if (in_.AcceptWords("FOREIGN", "KEY") ||
             (inlineColumn && in_.Peek().IsWord("REFERENCES"))) {
    spec.type = 'R';
  } else if (inlineColumn && in_.AcceptWords("NOT", "NULL")) {
    spec.type = 'N';  // NOT NULL: becomes a check constraint of its own
  } else {
    error = {902, "invalid datatype"};
    if (!spec.name.empty())
      error = {905, "missing keyword"};
    return false;
  }
  if (spec.type == 'P' || spec.type == 'U' || spec.type == 'R') {
    if (inlineColumn)
      spec.columns = {*inlineColumn};
    if (!inlineColumn || in_.Peek().IsSymbol("(")) {
      if (!inlineColumn && !in_.ReadNameList(spec.columns, error))
        return false;
    }
  }
  if (spec.type == 'R') {
    if (!in_.ExpectWord("REFERENCES", error))
      return false;
    if (!in_.ReadQualifiedName(spec.refOwner, spec.refTable, context_.session.CurrentSchema(),
                               error))
      return false;
    if (in_.Peek().IsSymbol("(") && !in_.ReadNameList(spec.refColumns, error))
      return false;
    if (in_.AcceptWords("ON", "DELETE")) {
      if (in_.AcceptWord("CASCADE"))
        spec.deleteRule = "CASCADE";
      else if (in_.AcceptWords("SET", "NULL"))
        spec.deleteRule = "SET NULL";
      else {
        error = {905, "missing keyword"};
        return false;
      }
    }
  }
  for (;;) {
    if (in_.AcceptWords("USING", "INDEX")) {
      if (spec.type != 'P' && spec.type != 'U') {
        error = {2253, "constraint specification not allowed here"};
        return false;
      }
      if (in_.Peek().type == SqlToken::Type::Word && !in_.Peek().IsWord("PCTFREE") &&
          !in_.Peek().IsWord("TABLESPACE") && !in_.Peek().IsWord("STORAGE") &&
          !in_.Peek().IsWord("INITRANS") && !in_.Peek().IsWord("MAXTRANS") &&
          !in_.Peek().IsWord("LOGGING") && !in_.Peek().IsWord("NOLOGGING") &&
          !in_.Peek().IsWord("COMPRESS") && !in_.Peek().IsWord("ENABLE") &&
          !in_.Peek().IsWord("DISABLE") && !in_.Peek().IsWord("PCTUSED")) {
        std::string owner, name;
        if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
          return false;
        spec.usingIndexName = name;
      }
      if (!ReadStorage(spec.indexStorage, true, error))
        return false;
    } else if (in_.AcceptWord("ENABLE")) {
      spec.enabled = true;
    } else if (in_.AcceptWord("DISABLE")) {
      spec.enabled = false;
    } else if (in_.AcceptWord("VALIDATE") || in_.AcceptWord("NOVALIDATE") ||
               in_.AcceptWord("RELY") || in_.AcceptWord("NORELY") ||
               in_.AcceptWords("NOT", "DEFERRABLE") || in_.AcceptWord("DEFERRABLE") ||
               in_.AcceptWords("INITIALLY", "IMMEDIATE") ||
               in_.AcceptWords("INITIALLY", "DEFERRED")) {
    } else {
      return true;
    }
  }
}

bool TableDdl::ReadColumn(ColumnSpec& column, std::vector<ConstraintSpec>& constraints,
                          OraError& error) {
  if (!in_.ReadName(column.name, error, 904, "invalid identifier"))
    return false;
  if (!ReadType(column.type, error))
    return false;
  while (!in_.AtEnd() && !in_.Peek().IsSymbol(",") && !in_.Peek().IsSymbol(")")) {
    if (in_.AcceptWord("DEFAULT")) {
      const std::size_t begin = in_.Position();
      std::size_t end = begin;
      for (int depth = 0; end < context_.tokens.size(); ++end) {
        const SqlToken& t = context_.tokens[end];
        if (t.IsSymbol("("))
          ++depth;
        if (t.IsSymbol(")")) {
          if (depth == 0)
            break;
          --depth;
        }
        if (depth == 0 && (t.IsSymbol(",") || t.IsWord("CONSTRAINT") || t.IsWord("NOT") ||
                           t.IsWord("NULL") || t.IsWord("PRIMARY") || t.IsWord("UNIQUE") ||
                           t.IsWord("CHECK") || t.IsWord("REFERENCES")))
          break;
      }
      if (end == begin) {
        error = {936, "missing expression"};
        return false;
      }
      // Oracle keeps the default's text up to the next token, blanks included.
      const std::size_t stop =
          end < context_.tokens.size() ? context_.tokens[end].offset : context_.sql.size();
      column.defaultText =
          context_.sql.substr(context_.tokens[begin].offset, stop - context_.tokens[begin].offset);
      if (!context_.TranslateExpression(begin, end, column.defaultSql, error))
        return false;
      in_.Seek(end);
    } else if (in_.AcceptWord("NULL")) {
    } else {
      ConstraintSpec spec;
      if (!ReadConstraint(spec, &column.name, error))
        return false;
      if (spec.type == 'N' || spec.type == 'P')
        column.notNull = true;
      if (spec.type == 'N') {
        spec.type = 'C';
        spec.columns = {column.name};
        spec.condition = "\"" + column.name + "\" IS NOT NULL";
      }
      constraints.push_back(std::move(spec));
    }
  }
  return true;
}

bool TableDdl::ReadTableName(std::string& owner, std::string& name, OraError& error) {
  return in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error);
}

bool TableDdl::CheckColumnsExist(const std::string& owner, const std::string& table,
                                 const std::vector<std::string>& columns, OraError& error) {
  for (const std::string& column : columns)
    if (!context_.catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND "
                              "TABLE_NAME = ? AND COLUMN_NAME = ?",
                              {Value::Text(owner), Value::Text(table), Value::Text(column)})) {
      error = {904, "\"" + column + "\": invalid identifier"};
      return false;
    }
  return true;
}

bool TableDdl::AddSegment(const std::string& owner, const std::string& name, const char* type,
                          const StorageSpec& storage, OraError& error) {
  const long long initial = storage.initial.value_or(kDefaultInitial);
  return context_.catalog.Exec(
      "INSERT INTO \"SYS.DBA_SEGMENTS\" VALUES (?, ?, NULL, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, "
      "'DEFAULT')",
      {Value::Text(owner), Value::Text(name), Value::Text(type),
       Value::Text(storage.tablespace.value_or("USERS")), Value::Integer(initial),
       Value::Integer((initial + 8191) / 8192), Value::Integer(initial),
       Value::Integer(storage.next.value_or(kDefaultNext)),
       Value::Integer(storage.minExtents.value_or(1)),
       Value::Integer(storage.maxExtents.value_or(kUnlimitedExtents)),
       Value::Integer(storage.pctIncrease.value_or(0)),
       Value::Integer(storage.freelists.value_or(1)),
       Value::Integer(storage.freelistGroups.value_or(1))},
      error);
}

bool TableDdl::AddColumnRows(const std::string& owner, const std::string& table,
                             const ColumnSpec& column, int id, OraError& error) {
  const OracleType& type = column.type;
  const bool character = type.name == "VARCHAR2" || type.name == "CHAR" ||
                         type.name == "NVARCHAR2" || type.name == "NCHAR";
  const int charLength = character ? (type.name.front() == 'N' ? type.length / 2 : type.length) : 0;
  return context_.catalog.Exec(
      "INSERT INTO \"SYS.ALL_TAB_COLUMNS\" VALUES (?, ?, ?, ?, NULL, NULL, ?, ?, ?, ?, ?, ?, ?, ?, "
      "?)",
      {Value::Text(owner), Value::Text(table), Value::Text(column.name), Value::Text(type.name),
       Value::Integer(type.length),
       type.precision ? Value::Integer(*type.precision) : Value::Null(),
       type.scale ? Value::Integer(*type.scale) : Value::Null(),
       Value::Text(column.notNull ? "N" : "Y"), Value::Integer(id),
       column.defaultText.empty()
           ? Value::Null()
           : Value::Integer(static_cast<long long>(column.defaultText.size())),
       Value::Text(column.defaultText), Value::Integer(charLength),
       character ? Value::Text("B") : Value::Null()},
      error);
}

bool TableDdl::AddIndex(const std::string& owner, const std::string& name,
                        const std::string& tableOwner, const std::string& table,
                        const std::vector<std::string>& columns,
                        const std::vector<bool>& descending, bool unique,
                        const StorageSpec& storage, OraError& error) {
  Catalog& catalog = context_.catalog;
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?",
                  {Value::Text(owner), Value::Text(name)})) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  if (catalog.Any(
          "SELECT 1 FROM \"SYS.ALL_IND_COLUMNS\" WHERE TABLE_OWNER = ?1 AND TABLE_NAME = ?2 GROUP "
          "BY INDEX_OWNER, "
          "INDEX_NAME HAVING group_concat(COLUMN_NAME, ',') = ?3",
          {Value::Text(tableOwner), Value::Text(table), Value::Text(JoinColumns(columns))})) {
    error = {1408, "such column list already indexed"};
    return false;
  }
  std::string columnSql;
  for (std::size_t i = 0; i < columns.size(); ++i)
    columnSql += (i ? ", " : "") + QuoteSqliteName(columns[i]) + (descending[i] ? " DESC" : "");
  if (!catalog.Exec(std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                        QuoteSqliteName(IndexStorageName(owner, name)) + " ON " +
                        QuoteSqliteName(StorageName(tableOwner, table)) + " (" + columnSql + ")",
                    {}, error)) {
    if (unique)
      error = {1452, "cannot CREATE UNIQUE INDEX; duplicate keys found"};
    return false;
  }
  std::optional<long long> prefix;
  if (storage.compressed) {
    const long long most = static_cast<long long>(columns.size()) - (unique ? 1 : 0);
    prefix = storage.compress.value_or(most);
    if (*prefix < 1 || *prefix > most) {
      error = {25194, "invalid COMPRESS prefix length value"};
      return false;
    }
  }
  if (!catalog.Exec("INSERT INTO \"SYS.ALL_INDEXES\" VALUES (?, ?, ?, ?, ?, 'TABLE', ?, ?, "
                    "?, ?, ?, ?, ?, ?, ?, ?, ?, "
                    "NULL, NULL, ?, ?, ?, ?, 'VALID', ?, 'DEFAULT')",
                    {Value::Text(owner),
                     Value::Text(name),
                     Value::Text(storage.bitmap ? "BITMAP" : "NORMAL"),
                     Value::Text(tableOwner),
                     Value::Text(table),
                     Value::Text(unique ? "UNIQUE" : "NONUNIQUE"),
                     Value::Text(storage.compressed ? "ENABLED" : "DISABLED"),
                     Optional(prefix),
                     Value::Text(storage.tablespace.value_or("USERS")),
                     Value::Integer(storage.iniTrans.value_or(2)),
                     Value::Integer(storage.maxTrans.value_or(255)),
                     Value::Integer(storage.initial.value_or(kDefaultInitial)),
                     Value::Integer(storage.next.value_or(kDefaultNext)),
                     Value::Integer(storage.minExtents.value_or(1)),
                     Value::Integer(storage.maxExtents.value_or(kUnlimitedExtents)),
                     Value::Integer(storage.pctIncrease.value_or(0)),
                     Value::Integer(storage.freelists.value_or(1)),
                     Value::Integer(storage.freelistGroups.value_or(1)),
                     Value::Integer(storage.pctFree.value_or(10)),
                     Value::Text(storage.logging ? "YES" : "NO"),
                     Value::Text(name.rfind("SYS_", 0) == 0 ? "Y" : "N")},
                    error))
    return false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_IND_COLUMNS\" SELECT ?, ?, OWNER, TABLE_NAME, COLUMN_NAME, ?, "
            "DATA_LENGTH, "
            "CHAR_LENGTH, ? FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
            "COLUMN_NAME = ?",
            {Value::Text(owner), Value::Text(name), Value::Integer(static_cast<long long>(i + 1)),
             Value::Text(descending[i] ? "DESC" : "ASC"), Value::Text(tableOwner),
             Value::Text(table), Value::Text(columns[i])},
            error))
      return false;
  }
  return catalog.AddObject(owner, name, "INDEX", error) &&
         AddSegment(owner, name, "INDEX", storage, error);
}

// Oracle reads text stored into a DATE or TIMESTAMP column in the session's
// formats (and rounds fractions, intervals and binary floats to the column's
// type); the column's check admits such text and these triggers store the
// internal form.
bool TableDdl::AddValueConversion(const std::string& owner, const std::string& table,
                                  const ColumnSpec& column, OraError& error) {
  const std::string storage = QuoteSqliteName(StorageName(owner, table));
  const std::string name = QuoteSqliteName(column.name);
  for (const char* event : {"INSERT", "UPDATE"}) {
    const std::string trigger =
        QuoteSqliteName("datein:" + StorageName(owner, table) + "." + column.name + ":" + event);
    if (!context_.catalog.ExecMapped(
            "CREATE TRIGGER " + trigger + " AFTER " + event + " ON " + storage + " WHEN NEW." +
                name + " IS NOT " + column.type.StoredForm("NEW." + name) + " BEGIN UPDATE " +
                storage + " SET " + name + " = " + column.type.StoredForm(name) +
                " WHERE rowid = NEW.rowid; END",
            error))
      return false;
  }
  return true;
}

// A key added to an existing table makes its columns NOT NULL; SQLite cannot
// alter a column, so triggers keep NULLs out.
bool TableDdl::AddNotNullGuard(const std::string& owner, const std::string& table,
                               const std::string& column, const std::string& constraint,
                               OraError& error) {
  const std::string message =
      "ORA-01400: cannot insert NULL into (\"" + owner + "\".\"" + table + "\".\"" + column + "\")";
  Catalog& catalog = context_.catalog;
  if (catalog.Any("SELECT 1 FROM " + QuoteSqliteName(StorageName(owner, table)) + " WHERE " +
                      QuoteSqliteName(column) + " IS NULL",
                  {})) {
    error = {2437, "cannot validate (" + owner + "." + constraint + ") - primary key violated"};
    return false;
  }
  for (const char* event : {"INSERT", "UPDATE"}) {
    const std::string name =
        "notnull:" + StorageName(owner, constraint) + "." + column + ":" + event;
    if (!catalog.ExecMapped("CREATE TRIGGER IF NOT EXISTS " + QuoteSqliteName(name) + " BEFORE " +
                                event + " ON " + QuoteSqliteName(StorageName(owner, table)) +
                                " WHEN NEW." + QuoteSqliteName(column) +
                                " IS NULL BEGIN SELECT RAISE(ABORT, " + QuoteSqliteText(message) +
                                "); END",
                            error))
      return false;
  }
  return true;
}

bool TableDdl::AddConstraint(const std::string& owner, const std::string& table,
                             ConstraintSpec& spec, OraError& error) {
  Catalog& catalog = context_.catalog;
  if (spec.name.empty())
    spec.name = catalog.SystemConstraintName();
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                  {Value::Text(owner), Value::Text(spec.name)})) {
    error = {2264, "name already used by an existing constraint"};
    return false;
  }
  if (!CheckColumnsExist(owner, table, spec.columns, error))
    return false;
  std::string refConstraint;
  std::string indexName;
  if (spec.type == 'P' || spec.type == 'U') {
    if (spec.type == 'P' &&
        catalog.Any("SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND TABLE_NAME = ? "
                    "AND CONSTRAINT_TYPE = 'P'",
                    {Value::Text(owner), Value::Text(table)})) {
      error = {2260, "table can have only one primary key"};
      return false;
    }
    if (catalog.Any(
            "SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" c WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND "
            "CONSTRAINT_TYPE IN ('P', 'U') AND (SELECT group_concat(COLUMN_NAME, ',') FROM (SELECT "
            "COLUMN_NAME "
            "FROM \"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = "
            "c.CONSTRAINT_NAME "
            "ORDER BY POSITION)) = ?3",
            {Value::Text(owner), Value::Text(table), Value::Text(JoinColumns(spec.columns))})) {
      error = {2261, "such unique or primary key already exists in the table"};
      return false;
    }
    // An index that already covers the key serves it, as in Oracle.
    const auto existing = catalog.Rows(
        "SELECT INDEX_NAME FROM \"SYS.ALL_IND_COLUMNS\" WHERE TABLE_OWNER = ?1 AND TABLE_NAME = ?2 "
        "GROUP BY "
        "INDEX_OWNER, INDEX_NAME HAVING group_concat(COLUMN_NAME, ',') = ?3",
        {Value::Text(owner), Value::Text(table), Value::Text(JoinColumns(spec.columns))});
    if (!existing.empty()) {
      indexName = existing[0][0];
    } else {
      indexName = spec.usingIndexName.value_or(spec.name);
      if (!AddIndex(owner, indexName, owner, table, spec.columns,
                    std::vector<bool>(spec.columns.size(), false), true, spec.indexStorage,
                    error)) {
        if (error.code == 1452)
          error = {2437, "cannot validate (" + owner + "." + spec.name + ") - " +
                             (spec.type == 'P' ? "primary key violated" : "unique key violated")};
        return false;
      }
    }
    if (spec.type == 'P') {
      for (const std::string& column : spec.columns)
        if (!catalog.Exec("UPDATE \"SYS.ALL_TAB_COLUMNS\" SET NULLABLE = 'N' WHERE OWNER = ? AND "
                          "TABLE_NAME = ? "
                          "AND COLUMN_NAME = ?",
                          {Value::Text(owner), Value::Text(table), Value::Text(column)}, error) ||
            !AddNotNullGuard(owner, table, column, spec.name, error))
          return false;
    }
  } else if (spec.type == 'R') {
    if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
                     {Value::Text(spec.refOwner), Value::Text(spec.refTable)})) {
      error = {942, "table or view does not exist"};
      return false;
    }
    const std::string keyFilter =
        spec.refColumns.empty() ? "CONSTRAINT_TYPE = 'P'" : "CONSTRAINT_TYPE IN ('P', 'U')";
    const auto keys = catalog.Rows(
        "SELECT CONSTRAINT_NAME, (SELECT group_concat(COLUMN_NAME, ',') FROM (SELECT COLUMN_NAME "
        "FROM "
        "\"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = "
        "c.CONSTRAINT_NAME ORDER BY "
        "POSITION)) FROM \"SYS.ALL_CONSTRAINTS\" c WHERE OWNER = ? AND TABLE_NAME = ? AND " +
            keyFilter,
        {Value::Text(spec.refOwner), Value::Text(spec.refTable)});
    for (const auto& key : keys)
      if (spec.refColumns.empty() ? true : key[1] == JoinColumns(spec.refColumns)) {
        const std::size_t count =
            key[1].empty()
                ? 0
                : static_cast<std::size_t>(std::count(key[1].begin(), key[1].end(), ',')) + 1;
        if (count == spec.columns.size())
          refConstraint = key[0];
      }
    if (refConstraint.empty()) {
      error = {2270, "no matching unique or primary key for this column-list"};
      return false;
    }
  }
  const bool generated = spec.name.rfind("SYS_C", 0) == 0;
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_CONSTRAINTS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'NOT "
          "DEFERRABLE', 'IMMEDIATE', ?, "
          "?, NULL, NULL, ora_sysdate(), ?, ?)",
          {Value::Text(owner), Value::Text(spec.name), Value::Text(std::string(1, spec.type)),
           Value::Text(table), spec.type == 'C' ? Value::Text(spec.condition) : Value::Null(),
           spec.type == 'R' ? Value::Text(spec.refOwner) : Value::Null(),
           spec.type == 'R' ? Value::Text(refConstraint) : Value::Null(),
           spec.type == 'R' ? Value::Text(spec.deleteRule) : Value::Null(),
           Value::Text(spec.enabled ? "ENABLED" : "DISABLED"),
           Value::Text(spec.enabled ? "VALIDATED" : "NOT VALIDATED"),
           Value::Text(generated ? "GENERATED NAME" : "USER NAME"),
           indexName.empty() ? Value::Null() : Value::Text(owner), Value::Text(indexName)},
          error))
    return false;
  if (spec.type == 'C' && spec.columns.empty())
    return true;
  for (std::size_t i = 0; i < spec.columns.size(); ++i)
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_CONS_COLUMNS\" VALUES (?, ?, ?, ?, ?)",
            {Value::Text(owner), Value::Text(spec.name), Value::Text(table),
             Value::Text(spec.columns[i]),
             spec.type == 'C' ? Value::Null() : Value::Integer(static_cast<long long>(i + 1))},
            error))
      return false;
  return true;
}

bool TableDdl::CreateTable(OraError& error) {
  in_.AcceptWords("OR", "REPLACE");
  const bool temporary = in_.AcceptWords("GLOBAL", "TEMPORARY");
  in_.Skip();  // TABLE
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.UserExists(owner)) {
    error = {1918, "user '" + owner + "' does not exist"};
    return false;
  }
  if (!context_.RequireFor(owner, "CREATE TABLE", error))
    return false;
  if (catalog.ObjectType(owner, table)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  if (!in_.ExpectSymbol("(", error))
    return false;
  std::vector<ColumnSpec> columns;
  std::vector<ConstraintSpec> constraints;
  do {
    if (StartsConstraint()) {
      ConstraintSpec spec;
      if (!ReadConstraint(spec, nullptr, error))
        return false;
      constraints.push_back(std::move(spec));
    } else {
      ColumnSpec column;
      if (!ReadColumn(column, constraints, error))
        return false;
      for (const ColumnSpec& other : columns)
        if (other.name == column.name) {
          error = {957, "duplicate column name"};
          return false;
        }
      columns.push_back(std::move(column));
    }
  } while (in_.AcceptSymbol(","));
  if (!in_.ExpectSymbol(")", error))
    return false;
  if (columns.empty()) {
    error = {904, "invalid identifier"};
    return false;
  }
  // Key columns are NOT NULL without a constraint of their own, as in Oracle.
  for (const ConstraintSpec& spec : constraints)
    if (spec.type == 'P')
      for (ColumnSpec& column : columns)
        if (std::find(spec.columns.begin(), spec.columns.end(), column.name) != spec.columns.end())
          column.notNull = true;
  StorageSpec storage;
  if (temporary && in_.AcceptWords("ON", "COMMIT")) {
    in_.AcceptWord("DELETE") || in_.AcceptWord("PRESERVE");
    in_.AcceptWord("ROWS");
  }
  if (!ReadStorage(storage, false, error))
    return false;
  if (!in_.AtEnd()) {
    error = in_.Peek().IsWord("AS") ? OraError{900, "invalid SQL statement"}
                                    : OraError{922, "missing or invalid option"};
    return false;
  }
  // Names for the constraints first: SQLite's CHECK clauses carry them.
  std::string sqliteSql = "CREATE TABLE " + QuoteSqliteName(StorageName(owner, table)) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const ColumnSpec& column = columns[i];
    sqliteSql +=
        (i ? ", " : "") + QuoteSqliteName(column.name) + " " + column.type.SqliteDeclaration();
    if (!column.defaultSql.empty())
      sqliteSql += " DEFAULT (" + column.defaultSql + ")";
    if (column.notNull)
      sqliteSql += " NOT NULL";
    if (const std::string check = column.type.ValueCheck(owner, table, column.name); !check.empty())
      sqliteSql += " CHECK (" + check + ")";
  }
  for (ConstraintSpec& spec : constraints) {
    if (spec.name.empty())
      spec.name = catalog.SystemConstraintName();
    if (spec.type == 'C' && spec.conditionEnd > spec.conditionBegin && spec.enabled) {
      std::string check;
      if (!context_.TranslateExpression(spec.conditionBegin, spec.conditionEnd, check, error))
        return false;
      sqliteSql +=
          ", CONSTRAINT " + QuoteSqliteName(owner + "." + spec.name) + " CHECK (" + check + ")";
    }
  }
  sqliteSql += ")";
  if (!catalog.ExecMapped(sqliteSql, error))
    return false;
  for (const ColumnSpec& column : columns)
    if (column.type.HasStoredForm() && !AddValueConversion(owner, table, column, error))
      return false;

  if (!catalog.AddObject(owner, table, "TABLE", error) ||
      !catalog.Exec(
          "INSERT INTO \"SYS.ALL_TABLES\" VALUES (?, ?, ?, NULL, NULL, 'VALID', ?, ?, ?, ?, ?, ?, "
          "?, ?, ?, ?, ?, ?, "
          "'N', NULL, NULL, NULL, NULL, NULL, NULL, '         1', '         1', '    N', "
          "'ENABLED', 'DEFAULT', ?, "
          "'NO', 'DISABLED')",
          {Value::Text(owner), Value::Text(table),
           Value::Text(storage.tablespace.value_or("USERS")),
           Value::Integer(storage.pctFree.value_or(10)),
           Value::Integer(storage.pctUsed.value_or(40)),
           Value::Integer(storage.iniTrans.value_or(1)),
           Value::Integer(storage.maxTrans.value_or(255)),
           Value::Integer(storage.initial.value_or(kDefaultInitial)),
           Value::Integer(storage.next.value_or(kDefaultNext)),
           Value::Integer(storage.minExtents.value_or(1)),
           Value::Integer(storage.maxExtents.value_or(kUnlimitedExtents)),
           Value::Integer(storage.pctIncrease.value_or(0)),
           Value::Integer(storage.freelists.value_or(1)),
           Value::Integer(storage.freelistGroups.value_or(1)),
           Value::Text(storage.logging ? "YES" : "NO"), Value::Text(temporary ? "Y" : "N")},
          error) ||
      !AddSegment(owner, table, "TABLE", storage, error))
    return false;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (!AddColumnRows(owner, table, columns[i], static_cast<int>(i + 1), error))
      return false;
  for (ConstraintSpec& spec : constraints)
    if (!AddConstraint(owner, table, spec, error))
      return false;
  return true;
}

bool TableDdl::AlterTable(OraError& error) {
  in_.Skip();  // TABLE
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
                   {Value::Text(owner), Value::Text(table)})) {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("ALTER ANY TABLE", error))
    return false;
  if (in_.AcceptWord("ADD")) {
    const bool parenthesised = in_.AcceptSymbol("(");
    do {
      if (StartsConstraint()) {
        ConstraintSpec spec;
        if (!ReadConstraint(spec, nullptr, error) || !AddConstraint(owner, table, spec, error))
          return false;
      } else {
        ColumnSpec column;
        std::vector<ConstraintSpec> inlineConstraints;
        if (!ReadColumn(column, inlineConstraints, error))
          return false;
        if (catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? "
                        "AND COLUMN_NAME = ?",
                        {Value::Text(owner), Value::Text(table), Value::Text(column.name)})) {
          error = {1430, "column being added already exists in table"};
          return false;
        }
        std::string sql = "ALTER TABLE " + QuoteSqliteName(StorageName(owner, table)) +
                          " ADD COLUMN " + QuoteSqliteName(column.name) + " " +
                          column.type.SqliteDeclaration();
        if (!column.defaultSql.empty())
          sql += " DEFAULT (" + column.defaultSql + ")";
        const auto next = catalog.Rows(
            "SELECT MAX(COLUMN_ID) + 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND "
            "TABLE_NAME = ?",
            {Value::Text(owner), Value::Text(table)});
        if (!catalog.Exec(sql, {}, error) ||
            !AddColumnRows(owner, table, column, std::atoi(next[0][0].c_str()), error) ||
            (column.type.HasStoredForm() && !AddValueConversion(owner, table, column, error)))
          return false;
        for (ConstraintSpec& spec : inlineConstraints)
          if (!AddConstraint(owner, table, spec, error))
            return false;
      }
    } while (parenthesised && in_.AcceptSymbol(","));
    if (parenthesised && !in_.ExpectSymbol(")", error))
      return false;
  } else if (in_.AcceptWords("DROP", "CONSTRAINT")) {
    std::string name;
    if (!in_.ReadName(name, error, 904, "invalid identifier"))
      return false;
    const auto rows = catalog.Rows(
        "SELECT INDEX_NAME FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND "
        "CONSTRAINT_NAME = ? AND TABLE_NAME = ?",
        {Value::Text(owner), Value::Text(name), Value::Text(table)});
    if (rows.empty()) {
      error = {2443, "Cannot drop constraint  - nonexistent constraint"};
      return false;
    }
    if (!catalog.Exec("DELETE FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                      {Value::Text(owner), Value::Text(name)}, error) ||
        !catalog.Exec(
            "DELETE FROM \"SYS.ALL_CONS_COLUMNS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
            {Value::Text(owner), Value::Text(name)}, error))
      return false;
    for (const auto& trigger :
         catalog.Rows("SELECT name FROM sqlite_master WHERE type = 'trigger' AND name LIKE ?",
                      {Value::Text("notnull:" + StorageName(owner, name) + ".%")}))
      if (!catalog.ExecMapped("DROP TRIGGER " + QuoteSqliteName(trigger[0]), error))
        return false;
    // The index that the key created goes with it.
    if (rows[0][0] == name) {
      if (!catalog.Exec("DROP INDEX " + QuoteSqliteName(IndexStorageName(owner, name)), {},
                        error) ||
          !catalog.Exec("DELETE FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?",
                        {Value::Text(owner), Value::Text(name)}, error) ||
          !catalog.Exec(
              "DELETE FROM \"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?",
              {Value::Text(owner), Value::Text(name)}, error) ||
          !catalog.Exec("DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
                        "SEGMENT_TYPE = 'INDEX'",
                        {Value::Text(owner), Value::Text(name)}, error) ||
          !catalog.RemoveObject(owner, name, "INDEX", error))
        return false;
    }
  } else {
    StorageSpec ignored;  // physical attributes change nothing this server keeps
    if (!ReadStorage(ignored, false, error))
      return false;
  }
  if (!in_.AtEnd()) {
    error = {922, "missing or invalid option"};
    return false;
  }
  return true;
}

bool TableDdl::DropTableObject(const std::string& owner, const std::string& table,
                               bool cascadeConstraints, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  if (!cascadeConstraints &&
      catalog.Any(
          "SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" r JOIN \"SYS.ALL_CONSTRAINTS\" p ON p.OWNER = "
          "r.R_OWNER AND "
          "p.CONSTRAINT_NAME = r.R_CONSTRAINT_NAME WHERE p.OWNER = ?1 AND p.TABLE_NAME = ?2 AND "
          "NOT (r.OWNER = ?1 AND r.TABLE_NAME = ?2)",
          key)) {
    error = {2449, "unique/primary keys in table referenced by foreign keys"};
    return false;
  }
  const auto indexes = catalog.Rows(
      "SELECT OWNER, INDEX_NAME FROM \"SYS.ALL_INDEXES\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ?",
      key);
  for (const auto& index : indexes) {
    const std::vector<Value> indexKey{Value::Text(index[0]), Value::Text(index[1])};
    if (!catalog.Exec(
            "DELETE FROM \"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?",
            indexKey, error) ||
        !catalog.Exec("DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
                      "SEGMENT_TYPE = 'INDEX'",
                      indexKey, error) ||
        !catalog.RemoveObject(index[0], index[1], "INDEX", error))
      return false;
  }
  const auto triggers = catalog.Rows(
      "SELECT OWNER, TRIGGER_NAME FROM \"SYS.ALL_TRIGGERS\" WHERE TABLE_OWNER = ? AND TABLE_NAME = "
      "?",
      key);
  for (const auto& trigger : triggers) {
    const std::vector<Value> triggerKey{Value::Text(trigger[0]), Value::Text(trigger[1])};
    if (!catalog.Exec(
            "DELETE FROM \"SYS.ALL_SOURCE\" WHERE OWNER = ? AND NAME = ? AND TYPE = 'TRIGGER'",
            triggerKey, error) ||
        !catalog.RemoveObject(trigger[0], trigger[1], "TRIGGER", error))
      return false;
  }
  return catalog.Exec("DROP TABLE " + QuoteSqliteName(StorageName(owner, table)), {}, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_INDEXES\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ?",
                      key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TRIGGERS\" WHERE TABLE_OWNER = ? AND TABLE_NAME = ?",
                      key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_CONSTRAINTS\" WHERE CONSTRAINT_TYPE = 'R' AND (R_OWNER, "
             "R_CONSTRAINT_NAME) "
             "NOT IN (SELECT OWNER, CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\")",
             {}, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_CONS_COLUMNS\" WHERE (OWNER, CONSTRAINT_NAME) NOT IN (SELECT "
             "OWNER, "
             "CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\")",
             {}, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
             "SEGMENT_TYPE = 'TABLE'",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ?",
                      key, error) &&
         catalog.RemoveObject(owner, table, "TABLE", error);
}

bool TableDdl::DropTable(OraError& error) {
  in_.Skip();  // TABLE
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  const bool cascade = in_.AcceptWords("CASCADE", "CONSTRAINTS");
  in_.AcceptWord("PURGE");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  if (context_.catalog.ObjectType(owner, table).value_or("") != "TABLE") {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("DROP ANY TABLE", error))
    return false;
  return DropTableObject(owner, table, cascade, error);
}

bool TableDdl::CreateIndex(OraError& error) {
  const bool unique = in_.AcceptWord("UNIQUE");
  const bool bitmap = in_.AcceptWord("BITMAP");
  if (!in_.ExpectWord("INDEX", error))
    return false;
  std::string owner, name, tableOwner, table;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
    return false;
  if (!in_.ExpectWord("ON", error) || !ReadTableName(tableOwner, table, error))
    return false;
  if (!context_.catalog.Any("SELECT 1 FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
                            {Value::Text(tableOwner), Value::Text(table)})) {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("CREATE ANY INDEX", error))
    return false;
  if (!in_.ExpectSymbol("(", error))
    return false;
  std::vector<std::string> columns;
  std::vector<bool> descending;
  do {
    std::string column;
    if (!in_.ReadName(column, error, 904, "invalid identifier"))
      return false;
    columns.push_back(column);
    descending.push_back(in_.AcceptWord("DESC"));
    in_.AcceptWord("ASC");
  } while (in_.AcceptSymbol(","));
  if (!in_.ExpectSymbol(")", error))
    return false;
  StorageSpec storage;
  storage.bitmap = bitmap;
  if (!ReadStorage(storage, true, error))
    return false;
  if (!in_.AtEnd()) {
    error = {922, "missing or invalid option"};
    return false;
  }
  return CheckColumnsExist(tableOwner, table, columns, error) &&
         AddIndex(owner, name, tableOwner, table, columns, descending, unique, storage, error);
}

bool TableDdl::DropIndex(OraError& error) {
  in_.Skip();  // INDEX
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
    return false;
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?", key)) {
    error = {1418, "specified index does not exist"};
    return false;
  }
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?",
                  key)) {
    error = {2429, "cannot drop index used for enforcement of unique/primary key"};
    return false;
  }
  return catalog.Exec("DROP INDEX " + QuoteSqliteName(IndexStorageName(owner, name)), {}, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?", key,
             error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
             "SEGMENT_TYPE = 'INDEX'",
             key, error) &&
         catalog.RemoveObject(owner, name, "INDEX", error);
}

bool TableDdl::Truncate(OraError& error) {
  if (!in_.ExpectWord("TABLE", error))
    return false;
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  if (context_.catalog.ObjectType(owner, table).value_or("") != "TABLE") {
    error = {942, "table or view does not exist"};
    return false;
  }
  return context_.catalog.Exec("DELETE FROM " + QuoteSqliteName(StorageName(owner, table)), {},
                               error);
}

bool TableDdl::Comment(OraError& error) {
  // COMMENT ON TABLE t IS '...' / COMMENT ON COLUMN t.c IS '...': accepted, not kept.
  if (!in_.ExpectWord("ON", error))
    return false;
  if (!in_.AcceptWord("TABLE") && !in_.AcceptWord("COLUMN")) {
    error = {905, "missing keyword"};
    return false;
  }
  while (!in_.AtEnd() && !in_.Peek().IsWord("IS"))
    in_.Skip();
  if (!in_.ExpectWord("IS", error))
    return false;
  if (in_.Peek().type != SqlToken::Type::String) {
    error = {1780, "string literal required"};
    return false;
  }
  return true;
}

}  // namespace sandbox
