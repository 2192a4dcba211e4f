// Tables, constraints and indexes with their dictionary rows.
#include "sandbox/server/ddl/TableDdl.h"

#include <algorithm>
#include <cctype>

#include "sandbox/server/EmptyBindSet.h"
#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/DateTimeTypeDdl.h"
#include "sandbox/server/ddl/LobStorageDdl.h"
#include "sandbox/server/ddl/PartitionDdl.h"
#include "sandbox/server/ddl/SequenceViewDdl.h"
#include "sandbox/server/ddl/TableStorage.h"
#include "sandbox/server/ddl/TypeDeclaration.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/integrity/ConstraintRules.h"
#include "sandbox/server/sql/ExpressionText.h"

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

}  // namespace

std::string JoinColumns(const std::vector<std::string>& columns) {
  std::string text;
  for (const std::string& column : columns)
    text += (text.empty() ? "" : ",") + column;
  return text;
}

std::size_t TableDdl::ExpressionEnd(std::size_t begin,
                                    std::initializer_list<const char*> stopWords) const {
  std::size_t end = begin;
  for (int depth = 0; end < context_.tokens.size(); ++end) {
    const SqlToken& t = context_.tokens[end];
    if (t.IsSymbol("("))
      ++depth;
    if (t.IsSymbol(")") && depth-- == 0)
      break;
    if (depth == 0 && (t.IsSymbol(",") || std::any_of(stopWords.begin(), stopWords.end(),
                                                      [&](const char* w) { return t.IsWord(w); })))
      break;
  }
  return end;
}

bool TableDdl::ReadParenthesised(std::size_t& begin, std::size_t& end, OraError& error) {
  if (!in_.Peek().IsSymbol("(")) {
    error = {906, "missing left parenthesis"};
    return false;
  }
  const std::size_t close = in_.MatchingParen();
  if (close >= context_.tokens.size()) {
    error = {907, "missing right parenthesis"};
    return false;
  }
  begin = in_.Position() + 1;
  end = close;
  in_.Seek(close + 1);
  return true;
}

bool TableDdl::StartsConstraint() const {
  const SqlToken& t = in_.Peek();
  return t.IsWord("CONSTRAINT") || t.IsWord("PRIMARY") || t.IsWord("UNIQUE") || t.IsWord("CHECK") ||
         t.IsWord("FOREIGN");
}

bool TableDdl::ReadType(OracleType& type, OraError& error) {
  return ReadDeclaredType(in_, context_.catalog, context_.session.CurrentSchema(), type, error);
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
    } else if (in_.AcceptWord("LOGGING") || in_.AcceptWord("NOLOGGING")) {
      storage.logging = context_.tokens[in_.Position() - 1].IsWord("LOGGING");
      storage.loggingGiven = true;
    } else if (forIndex && in_.AcceptWord("COMPRESS")) {
      storage.compressed = true;
      storage.compressionGiven = true;
      if (in_.Peek().type == SqlToken::Type::Number && !number(storage.compress))
        return false;
    } else if (!forIndex && (in_.AcceptWord("COMPRESS") ||
                             (in_.Peek().IsWord("ROW") && in_.Peek(1).IsWord("STORE") &&
                              in_.Peek(2).IsWord("COMPRESS")))) {
      if (in_.AcceptWords("ROW", "STORE"))
        in_.Skip();  // COMPRESS
      if (!ReadTableCompression(storage, error))
        return false;
    } else if (in_.AcceptWord("NOCOMPRESS")) {
      storage.compressed = false;
      storage.compressionGiven = true;
      storage.compressFor.reset();
    } else if (!forIndex && (in_.Peek().IsWord("ENABLE") || in_.Peek().IsWord("DISABLE")) &&
               in_.Peek(1).IsWord("ROW") && in_.Peek(2).IsWord("MOVEMENT")) {
      storage.rowMovement = in_.Peek().IsWord("ENABLE");
      in_.Skip(3);
    } else if (forIndex && in_.AcceptWord("REVERSE")) {
      storage.reverse = true;
    } else if (forIndex && (in_.AcceptWord("INVISIBLE") || in_.AcceptWord("VISIBLE"))) {
      storage.visible = context_.tokens[in_.Position() - 1].IsWord("VISIBLE");
    } else if (in_.AcceptWord("CACHE") || in_.AcceptWord("NOCACHE") ||
               in_.AcceptWord("MONITORING") || in_.AcceptWord("NOMONITORING") ||
               in_.AcceptWord("NOPARALLEL") || in_.AcceptWord("NOSORT") ||
               in_.AcceptWord("ONLINE") || in_.AcceptWord("COMPUTE") ||
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

// After a table's COMPRESS: BASIC (the default), FOR OLTP or ADVANCED, as
// the dictionary names them since release 12.
bool TableDdl::ReadTableCompression(StorageSpec& storage, OraError& error) {
  storage.compressed = true;
  storage.compressionGiven = true;
  storage.compressFor = "BASIC";
  if (in_.AcceptWord("BASIC"))
    return true;
  if (in_.AcceptWord("ADVANCED") || in_.AcceptWords("FOR", "OLTP")) {
    storage.compressFor = "ADVANCED";
    return true;
  }
  if (in_.Peek().IsWord("FOR")) {
    error = {922, "missing or invalid option"};
    return false;
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
    if (!ReadParenthesised(spec.conditionBegin, spec.conditionEnd, error))
      return false;
    spec.condition = context_.SourceText(spec.conditionBegin, spec.conditionEnd);
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
  return ReadConstraintState(spec, error);
}

bool TableDdl::ReadConstraintState(ConstraintSpec& spec, OraError& error) {
  bool notDeferrable = false;
  for (;;) {
    if (in_.AcceptWords("USING", "INDEX")) {
      if (spec.type != 'P' && spec.type != 'U') {
        error = {2253, "constraint specification not allowed here"};
        return false;
      }
      if (in_.AcceptSymbol("(")) {
        // USING INDEX (CREATE [UNIQUE] INDEX name ON table (keys) attributes)
        if (!in_.ExpectWord("CREATE", error))
          return false;
        spec.createIndexUnique = in_.AcceptWord("UNIQUE");
        std::string owner, name, tableOwner, table;
        if (!in_.ExpectWord("INDEX", error) ||
            !in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error) ||
            !in_.ExpectWord("ON", error) || !ReadTableName(tableOwner, table, error) ||
            !ReadIndexColumns(spec.createIndexColumns, error) ||
            !ReadStorage(spec.indexStorage, true, error) || !in_.ExpectSymbol(")", error))
          return false;
        spec.usingIndexName = name;
        continue;
      }
      const SqlToken& next = in_.Peek();
      if (next.type == SqlToken::Type::Word || next.type == SqlToken::Type::QuotedName) {
        static const char* const attributes[] = {
            "PCTFREE",   "TABLESPACE", "STORAGE",    "INITRANS", "MAXTRANS",   "LOGGING",
            "NOLOGGING", "COMPRESS",   "NOCOMPRESS", "ENABLE",   "DISABLE",    "PCTUSED",
            "VALIDATE",  "NOVALIDATE", "DEFERRABLE", "NOT",      "INITIALLY",  "RELY",
            "NORELY",    "LOCAL",      "GLOBAL",     "REVERSE",  "NOPARALLEL", "PARALLEL"};
        bool attribute = false;
        for (const char* word : attributes)
          attribute = attribute || next.IsWord(word);
        if (!attribute) {
          std::string owner, name;
          if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
            return false;
          spec.usingIndexName = name;
        }
      }
      if (!ReadStorage(spec.indexStorage, true, error))
        return false;
    } else if (in_.AcceptWord("ENABLE")) {
      spec.enabled = true;
    } else if (in_.AcceptWord("DISABLE")) {
      spec.enabled = false;
    } else if (in_.AcceptWord("VALIDATE")) {
      spec.validate = true;
    } else if (in_.AcceptWord("NOVALIDATE")) {
      spec.validate = false;
    } else if (in_.AcceptWords("NOT", "DEFERRABLE")) {
      spec.deferrable = false;
      notDeferrable = true;
    } else if (in_.AcceptWord("DEFERRABLE")) {
      spec.deferrable = true;
    } else if (in_.AcceptWords("INITIALLY", "IMMEDIATE")) {
      spec.initiallyDeferred = false;
    } else if (in_.AcceptWords("INITIALLY", "DEFERRED")) {
      spec.initiallyDeferred = true;
    } else if (in_.AcceptWord("RELY") || in_.AcceptWord("NORELY")) {
    } else {
      // INITIALLY DEFERRED alone makes the constraint deferrable.
      if (spec.initiallyDeferred && notDeferrable) {
        error = {2447, "cannot defer a constraint that is not deferrable"};
        return false;
      }
      spec.deferrable = spec.deferrable || spec.initiallyDeferred;
      return true;
    }
  }
}

bool TableDdl::ReadColumn(ColumnSpec& column, std::vector<ConstraintSpec>& constraints,
                          OraError& error) {
  if (!in_.ReadName(column.name, error, 904, "invalid identifier"))
    return false;
  column.invisible = AcceptVisibility(column.invisible);
  // A virtual column may leave its type to the expression.
  if (in_.Peek().IsWord("GENERATED") || in_.Peek().IsWord("AS"))
    column.type = *OracleType::FromDeclaration("NUMBER", std::nullopt, std::nullopt);
  else if (!ReadType(column.type, error))
    return false;
  return ReadColumnProperties(column, constraints, error);
}

// DEFAULT, visibility, generation and the column's constraints.
bool TableDdl::ReadColumnProperties(ColumnSpec& column, std::vector<ConstraintSpec>& constraints,
                                    OraError& error) {
  while (!in_.AtEnd() && !in_.Peek().IsSymbol(",") && !in_.Peek().IsSymbol(")")) {
    if (in_.Peek().IsWord("GENERATED") || in_.Peek().IsWord("AS")) {
      if (!ReadColumnExtras(column, error))
        return false;
      continue;
    }
    if (in_.Peek().IsWord("VISIBLE") || in_.Peek().IsWord("INVISIBLE")) {
      column.invisible = AcceptVisibility(column.invisible);
    } else if (in_.Peek().IsWord("DEFAULT")) {
      if (!ReadDefault(column, error))
        return false;
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
  // An identity column, and one whose default replaces NULL, is NOT NULL
  // through a constraint of its own.
  if (column.identity || column.defaultOnNull)
    column.notNull = true;
  if ((column.identity || column.defaultOnNull) &&
      std::none_of(constraints.begin(), constraints.end(), [&](const ConstraintSpec& spec) {
        return spec.type == 'C' && spec.columns == std::vector<std::string>{column.name};
      })) {
    ConstraintSpec spec;
    spec.columns = {column.name};
    spec.condition = "\"" + column.name + "\" IS NOT NULL";
    constraints.push_back(std::move(spec));
  }
  return true;
}

// DEFAULT [ON NULL] expression, kept as written and translated.
bool TableDdl::ReadDefault(ColumnSpec& column, OraError& error) {
  in_.Skip();  // DEFAULT
  column.defaultOnNull = in_.AcceptWords("ON", "NULL");
  const std::size_t begin = in_.Position();
  const std::size_t end = ExpressionEnd(
      begin, {"CONSTRAINT", "NOT", "NULL", "PRIMARY", "UNIQUE", "CHECK", "REFERENCES"});
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
  return true;
}

bool TableDdl::AcceptVisibility(bool invisible) {
  if (in_.AcceptWord("INVISIBLE"))
    return true;
  return in_.AcceptWord("VISIBLE") ? false : invisible;
}

// GENERATED {ALWAYS | BY DEFAULT [ON NULL]} AS IDENTITY [(options)], or
// [GENERATED ALWAYS] AS (expression) [VIRTUAL].
bool TableDdl::ReadColumnExtras(ColumnSpec& column, OraError& error) {
  bool always = true;
  if (in_.AcceptWord("GENERATED")) {
    if (in_.AcceptWords("BY", "DEFAULT")) {
      always = false;
      column.defaultOnNull = in_.AcceptWords("ON", "NULL");
    } else if (!in_.ExpectWord("ALWAYS", error)) {
      return false;
    }
  }
  if (!in_.ExpectWord("AS", error))
    return false;
  if (in_.AcceptWord("IDENTITY")) {
    if (column.type.name != "NUMBER" && column.type.name != "FLOAT") {
      error = {30675, "identity column must be a numeric type"};
      return false;
    }
    IdentitySpec identity;
    identity.always = always;
    identity.onNull = column.defaultOnNull;
    std::size_t begin = 0, end = 0;
    if (in_.Peek().IsSymbol("(")) {
      if (!ReadParenthesised(begin, end, error))
        return false;
      identity.options = context_.SourceText(begin, end);
    }
    column.identity = identity;
    column.notNull = true;
    return true;
  }
  std::size_t begin = 0, end = 0;
  if (!always) {
    error = {906, "missing left parenthesis"};
    return false;
  }
  if (!ReadParenthesised(begin, end, error))
    return false;
  column.virtualText = StoredExpressionText(context_.tokens, begin, end);
  if (!context_.TranslateExpression(begin, end, column.virtualSql, error))
    return false;
  in_.AcceptWord("VIRTUAL");
  return true;
}

PartitionDdl TableDdl::Partitioning() {
  return PartitionDdl(context_, in_, [this](StorageSpec& storage, OraError& error) {
    return ReadStorage(storage, partitionsOfIndex_, error);
  });
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
  const std::string& shownDefault =
      column.virtualText.empty() ? column.defaultText : column.virtualText;
  return context_.catalog.Exec(
      "INSERT INTO \"SYS.ALL_TAB_COLS\" (OWNER, TABLE_NAME, COLUMN_NAME, DATA_TYPE, DATA_LENGTH, "
      "DATA_PRECISION, DATA_SCALE, NULLABLE, COLUMN_ID, DEFAULT_LENGTH, DATA_DEFAULT, CHAR_LENGTH, "
      "CHAR_USED, DEFAULT_ON_NULL, IDENTITY_COLUMN, VIRTUAL_COLUMN, DATA_TYPE_OWNER, "
      "HIDDEN_COLUMN, INTERNAL_COLUMN_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
      "?, ?, (SELECT count(*) + 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?1 AND TABLE_NAME = ?2))",
      {Value::Text(owner), Value::Text(table), Value::Text(column.name), Value::Text(type.name),
       Value::Integer(type.length),
       type.precision ? Value::Integer(*type.precision) : Value::Null(),
       type.scale ? Value::Integer(*type.scale) : Value::Null(),
       Value::Text(column.notNull ? "N" : "Y"),
       column.invisible ? Value::Null() : Value::Integer(id),
       shownDefault.empty() ? Value::Null()
                            : Value::Integer(static_cast<long long>(shownDefault.size())),
       Value::Text(shownDefault), Value::Integer(type.charLength),
       type.charUsed ? Value::Text(std::string(1, type.charUsed)) : Value::Null(),
       Value::Text(column.defaultOnNull ? "YES" : "NO"),
       Value::Text(column.identity ? "YES" : "NO"),
       Value::Text(column.virtualText.empty() ? "NO" : "YES"),
       type.IsUserDefined() ? Value::Text(type.typeOwner) : Value::Null(),
       Value::Text(column.invisible ? "YES" : "NO")},
      error);
}

// The column's SQLite definition. What else its declaration promises (dates
// read in the session's format, DEFAULT ON NULL) is done to each changed row
// by RowChecks.
bool TableDdl::AddColumnStorage(const std::string& owner, const std::string& table,
                                const ColumnSpec& column, OraError& error) {
  ColumnDefinition definition{column.name, column.type.SqliteDeclaration(), column.defaultSql,
                              column.virtualSql};
  if (const std::string check = column.type.ValueCheck(owner, table, column.name); !check.empty())
    definition.typeSql += " CHECK (" + check + ")";
  return TableStorage(context_.catalog, owner, table).SaveColumn(definition, error);
}

// The identity rows and sequences of a table's columns named like pattern.
bool TableDdl::RemoveIdentity(const std::string& owner, const std::string& table,
                              const std::string& pattern, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table), Value::Text(pattern)};
  for (const auto& sequence :
       catalog.Rows("SELECT SEQUENCE_NAME FROM \"SYS.ALL_TAB_IDENTITY_COLS\" WHERE OWNER = ? AND "
                    "TABLE_NAME = ? AND COLUMN_NAME LIKE ?",
                    key)) {
    const std::vector<Value> sequenceKey{Value::Text(owner), Value::Text(sequence[0])};
    if (!catalog.Exec("DELETE FROM \"SYS.ALL_SEQUENCES\" WHERE SEQUENCE_OWNER = ? AND "
                      "SEQUENCE_NAME = ?",
                      sequenceKey, error) ||
        !catalog.Exec("DELETE FROM \"SYS.SEQ$\" WHERE OWNER = ? AND NAME = ?", sequenceKey,
                      error) ||
        !catalog.RemoveObject(owner, sequence[0], "SEQUENCE", error))
      return false;
  }
  return catalog.Exec(
      "DELETE FROM \"SYS.ALL_TAB_IDENTITY_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? "
      "AND COLUMN_NAME LIKE ?",
      key, error);
}

// An identity column draws on a sequence of its own, ISEQ$$_ and the table's
// object number, made with the options the column gives.
bool TableDdl::AddIdentity(const std::string& owner, const std::string& table, ColumnSpec& column,
                           OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto id = catalog.Rows(
      "SELECT OBJECT_ID FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "OBJECT_TYPE = 'TABLE'",
      {Value::Text(owner), Value::Text(table)});
  const std::string sequence = "ISEQ$$_" + (id.empty() ? std::string("0") : id[0][0]);
  const std::string sql =
      "CREATE SEQUENCE \"" + owner + "\".\"" + sequence + "\" " + column.identity->options;
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(sql, tokens, errorOffset)) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  DdlContext inner{context_.session, sql, tokens, catalog, {}};
  if (!SequenceViewDdl(inner).CreateSequence(error))
    return false;
  const auto start = catalog.Rows(
      "SELECT LAST_NUMBER FROM \"SYS.ALL_SEQUENCES\" WHERE SEQUENCE_OWNER = ? AND SEQUENCE_NAME = "
      "?",
      {Value::Text(owner), Value::Text(sequence)});
  const std::string text =
      start.empty() ? std::string() : IdentityOptionsText(owner, sequence, start[0][0]);
  if (text.empty()) {
    error = {2289, "sequence does not exist"};
    return false;
  }
  column.defaultSql =
      "ora_nextval(" + QuoteSqliteText(owner) + ", " + QuoteSqliteText(sequence) + ")";
  column.defaultText = "\"" + owner + "\".\"" + sequence + "\".nextval";
  return catalog.Exec("INSERT INTO \"SYS.ALL_TAB_IDENTITY_COLS\" VALUES (?, ?, ?, ?, ?, ?)",
                      {Value::Text(owner), Value::Text(table), Value::Text(column.name),
                       Value::Text(column.identity->always ? "ALWAYS" : "BY DEFAULT"),
                       Value::Text(sequence), Value::Text(text)},
                      error);
}

bool TableDdl::ReadIndexColumns(std::vector<IndexColumn>& columns, OraError& error) {
  if (!in_.ExpectSymbol("(", error))
    return false;
  do {
    IndexColumn column;
    const std::size_t begin = in_.Position();
    const std::size_t end = ExpressionEnd(begin, {"ASC", "DESC"});
    if (end == begin) {
      error = {936, "missing expression"};
      return false;
    }
    const SqlToken& first = context_.tokens[begin];
    if (end == begin + 1 &&
        (first.type == SqlToken::Type::Word || first.type == SqlToken::Type::QuotedName))
      column.name = first.Upper();
    column.begin = begin;
    column.end = end;
    in_.Seek(end);
    column.descending = in_.AcceptWord("DESC");
    in_.AcceptWord("ASC");
    columns.push_back(column);
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(")", error);
}

// A descending key or an expression is kept by Oracle as a hidden virtual
// column SYS_NCnnnnn$ of the table, numbered after all its columns so far.
bool TableDdl::AddHiddenColumn(const std::string& owner, const std::string& table,
                               IndexColumn& column, const std::string& expression,
                               OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto next = catalog.Rows(
      "SELECT count(*) + 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ?",
      {Value::Text(owner), Value::Text(table)});
  char name[32];
  std::snprintf(name, sizeof name, "SYS_NC%05d$", std::atoi(next[0][0].c_str()));
  // The key takes the type of the one column it reads, else NUMBER.
  const auto read = ExpressionColumns(context_.tokens, column.begin, column.end);
  std::string source = read.size() == 1 ? read[0] : std::string();
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_TAB_COLS\" (OWNER, TABLE_NAME, COLUMN_NAME, DATA_TYPE, "
          "DATA_LENGTH, DATA_PRECISION, DATA_SCALE, NULLABLE, COLUMN_ID, DEFAULT_LENGTH, "
          "DATA_DEFAULT, CHAR_LENGTH, CHAR_USED, HIDDEN_COLUMN, VIRTUAL_COLUMN, "
          "INTERNAL_COLUMN_ID, "
          "USER_GENERATED) SELECT ?1, ?2, ?3, coalesce(s.DATA_TYPE, 'NUMBER'), "
          "coalesce(s.DATA_LENGTH, 22), s.DATA_PRECISION, s.DATA_SCALE, 'Y', NULL, length(?4), ?4, "
          "coalesce(s.CHAR_LENGTH, 0), s.CHAR_USED, 'YES', 'YES', ?5, 'NO' FROM (SELECT 1) LEFT "
          "JOIN "
          "\"SYS.ALL_TAB_COLS\" s ON s.OWNER = ?1 AND s.TABLE_NAME = ?2 AND s.COLUMN_NAME = ?6",
          {Value::Text(owner), Value::Text(table), Value::Text(name), Value::Text(expression),
           Value::Text(next[0][0]), Value::Text(source)},
          error))
    return false;
  column.name = name;
  return true;
}

bool TableDdl::AddIndex(const std::string& owner, const std::string& name,
                        const std::string& tableOwner, const std::string& table,
                        const std::vector<IndexColumn>& givenColumns, bool unique,
                        const StorageSpec& storage, OraError& error, const char* type) {
  Catalog& catalog = context_.catalog;
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?",
                  {Value::Text(owner), Value::Text(name)}) ||
      catalog.ObjectType(owner, name)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  std::vector<IndexColumn> columns = givenColumns;
  std::vector<std::string> plain;
  for (const IndexColumn& column : columns)
    plain.push_back(column.name.empty() ? "(" + context_.SourceText(column.begin, column.end) + ")"
                                        : column.name + (column.descending ? " DESC" : ""));
  std::vector<std::string> named;
  for (const IndexColumn& column : columns)
    if (!column.name.empty())
      named.push_back(column.name);
  if (!CheckColumnsExist(tableOwner, table, named, error))
    return false;
  if (catalog.Any(
          "SELECT 1 FROM \"SYS.ALL_IND_COLUMNS\" i WHERE TABLE_OWNER = ?1 AND TABLE_NAME = ?2 "
          "GROUP BY INDEX_OWNER, INDEX_NAME HAVING group_concat(coalesce((SELECT "
          "e.COLUMN_EXPRESSION FROM \"SYS.ALL_IND_EXPRESSIONS\" e WHERE e.INDEX_OWNER = "
          "i.INDEX_OWNER AND e.INDEX_NAME = i.INDEX_NAME AND e.COLUMN_POSITION = "
          "i.COLUMN_POSITION), COLUMN_NAME), ',') = ?3",
          {Value::Text(tableOwner), Value::Text(table), Value::Text(JoinColumns(plain))})) {
    error = {1408, "such column list already indexed"};
    return false;
  }
  std::string columnSql;
  std::vector<std::string> expressions(columns.size());
  bool functionBased = false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    IndexColumn& column = columns[i];
    std::string key;
    if (column.name.empty()) {
      if (!context_.TranslateExpression(column.begin, column.end, key, error))
        return false;
      key = "(" + key + ")";
    } else {
      key = QuoteSqliteName(column.name);
    }
    columnSql += (i ? ", " : "") + key + (column.descending ? " DESC" : "");
    if (column.name.empty() || column.descending) {
      functionBased = true;
      expressions[i] = StoredExpressionText(context_.tokens, column.begin, column.end);
      if (!AddHiddenColumn(tableOwner, table, column, expressions[i], error))
        return false;
    }
  }
  sqlite3* db = catalog.Database().Handle();
  if (!catalog.Exec(std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                        QuoteSqliteName(IndexStorageName(owner, name)) + " ON " +
                        QuoteSqliteName(StorageName(tableOwner, table)) + " (" + columnSql + ")",
                    {}, error)) {
    const std::string message = sqlite3_errmsg(db);
    if (message.find("non-deterministic") != std::string::npos)
      error = {1743, "only pure functions can be indexed"};
    else if (unique && message.find("UNIQUE") != std::string::npos)
      error = {1452, "cannot CREATE UNIQUE INDEX; duplicate keys found"};
    else
      error = MapSqliteError(message);
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
  std::string indexType = storage.bitmap ? "BITMAP" : "NORMAL";
  if (storage.reverse && storage.bitmap) {
    error = {2158, "invalid CREATE INDEX option"};
    return false;
  }
  if (storage.reverse)
    indexType += "/REV";
  if (functionBased)
    indexType = "FUNCTION-BASED " + indexType;
  if (type)
    indexType = type;
  if (!catalog.Exec("INSERT INTO \"SYS.ALL_INDEXES\" VALUES (?, ?, ?, ?, ?, 'TABLE', ?, ?, "
                    "?, ?, ?, ?, ?, ?, ?, ?, ?, "
                    "NULL, NULL, ?, ?, ?, ?, 'VALID', ?, 'DEFAULT', ?, 'NO', ?)",
                    {Value::Text(owner),
                     Value::Text(name),
                     Value::Text(indexType),
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
                     Value::Text(name.rfind("SYS_", 0) == 0 ? "Y" : "N"),
                     functionBased ? Value::Text("ENABLED") : Value::Null(),
                     Value::Text(storage.visible ? "VISIBLE" : "INVISIBLE")},
                    error))
    return false;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const std::vector<Value> position{Value::Text(owner),
                                      Value::Text(name),
                                      Value::Integer(static_cast<long long>(i + 1)),
                                      Value::Text(columns[i].descending ? "DESC" : "ASC"),
                                      Value::Text(tableOwner),
                                      Value::Text(table),
                                      Value::Text(columns[i].name)};
    if (!catalog.Exec("INSERT INTO \"SYS.ALL_IND_COLUMNS\" SELECT ?1, ?2, OWNER, TABLE_NAME, "
                      "COLUMN_NAME, ?3, "
                      "DATA_LENGTH, CHAR_LENGTH, ?4 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?5 AND "
                      "TABLE_NAME = ?6 AND COLUMN_NAME = ?7",
                      position, error))
      return false;
    if (!expressions[i].empty() &&
        !catalog.Exec(
            "INSERT INTO \"SYS.ALL_IND_EXPRESSIONS\" VALUES (?, ?, ?, ?, ?, ?)",
            {Value::Text(owner), Value::Text(name), Value::Text(tableOwner), Value::Text(table),
             Value::Text(expressions[i]), Value::Integer(static_cast<long long>(i + 1))},
            error))
      return false;
  }
  return catalog.AddObject(owner, name, "INDEX", error) &&
         AddSegment(owner, name, "INDEX", storage, error);
}

// An index and its rows, and the hidden columns of its expressions.
bool TableDdl::RemoveIndex(const std::string& owner, const std::string& name, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  return Partitioning().RemoveIndex(owner, name, error) &&
         catalog.Exec("DROP INDEX IF EXISTS " + QuoteSqliteName(IndexStorageName(owner, name)), {},
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_TAB_COLS\" WHERE HIDDEN_COLUMN = 'YES' AND (OWNER, TABLE_NAME, "
             "COLUMN_NAME) IN (SELECT TABLE_OWNER, TABLE_NAME, COLUMN_NAME FROM "
             "\"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ?1 AND INDEX_NAME = ?2)",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?", key,
             error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_EXPRESSIONS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ?",
             key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
             "SEGMENT_TYPE = 'INDEX'",
             key, error) &&
         catalog.RemoveObject(owner, name, "INDEX", error);
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
  // A check lists the columns its condition reads, as Oracle's dictionary does.
  if (spec.type == 'C' && spec.columns.empty())
    for (const std::string& column :
         ExpressionColumns(context_.tokens, spec.conditionBegin, spec.conditionEnd))
      if (std::find(spec.columns.begin(), spec.columns.end(), column) == spec.columns.end() &&
          catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? "
                      "AND COLUMN_NAME = ?",
                      {Value::Text(owner), Value::Text(table), Value::Text(column)}))
        spec.columns.push_back(column);
  if (!CheckColumnsExist(owner, table, spec.columns, error))
    return false;
  std::string refConstraint;
  std::string indexName;
  bool ownsIndex = false;
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
            "COLUMN_NAME FROM \"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND "
            "k.CONSTRAINT_NAME = c.CONSTRAINT_NAME ORDER BY POSITION)) = ?3",
            {Value::Text(owner), Value::Text(table), Value::Text(JoinColumns(spec.columns))})) {
      error = {2261, "such unique or primary key already exists in the table"};
      return false;
    }
    if (spec.enabled && !SelectKeyIndex(owner, table, spec, indexName, ownsIndex, error))
      return false;
    if (spec.type == 'P')
      for (const std::string& column : spec.columns)
        if (!catalog.Exec("UPDATE \"SYS.ALL_TAB_COLS\" SET NULLABLE = 'N' WHERE OWNER = ? AND "
                          "TABLE_NAME = ? AND COLUMN_NAME = ?",
                          {Value::Text(owner), Value::Text(table), Value::Text(column)}, error))
          return false;
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
        "FROM \"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = "
        "c.CONSTRAINT_NAME ORDER BY POSITION)) FROM \"SYS.ALL_CONSTRAINTS\" c WHERE OWNER = ? AND "
        "TABLE_NAME = ? AND " +
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
  const bool validated = spec.validate.value_or(spec.enabled);
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_CONSTRAINTS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
          "?, NULL, NULL, ora_sysdate(), ?, ?, ?5)",
          {Value::Text(owner), Value::Text(spec.name), Value::Text(std::string(1, spec.type)),
           Value::Text(table), spec.type == 'C' ? Value::Text(spec.condition) : Value::Null(),
           spec.type == 'R' ? Value::Text(spec.refOwner) : Value::Null(),
           spec.type == 'R' ? Value::Text(refConstraint) : Value::Null(),
           spec.type == 'R' ? Value::Text(spec.deleteRule) : Value::Null(),
           Value::Text(spec.enabled ? "ENABLED" : "DISABLED"),
           Value::Text(spec.deferrable ? "DEFERRABLE" : "NOT DEFERRABLE"),
           Value::Text(spec.initiallyDeferred ? "DEFERRED" : "IMMEDIATE"),
           Value::Text(validated ? "VALIDATED" : "NOT VALIDATED"),
           Value::Text(generated ? "GENERATED NAME" : "USER NAME"),
           indexName.empty() ? Value::Null() : Value::Text(owner), Value::Text(indexName)},
          error))
    return false;
  if (ownsIndex && !catalog.Exec("INSERT OR REPLACE INTO \"SYS.CONS_INDEX$\" VALUES (?, ?)",
                                 {Value::Text(owner), Value::Text(spec.name)}, error))
    return false;
  for (std::size_t i = 0; i < spec.columns.size(); ++i)
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_CONS_COLUMNS\" VALUES (?, ?, ?, ?, ?)",
            {Value::Text(owner), Value::Text(spec.name), Value::Text(table),
             Value::Text(spec.columns[i]),
             spec.type == 'C' ? Value::Null() : Value::Integer(static_cast<long long>(i + 1))},
            error))
      return false;
  return SetConstraintState(owner, spec.name, spec.enabled, validated, error);
}

// The index that serves a key: the one USING INDEX names or creates, else an
// index of the table over the key's columns, else a new one named after the
// constraint (not unique when the key is deferrable, as in Oracle).
bool TableDdl::SelectKeyIndex(const std::string& owner, const std::string& table,
                              const ConstraintSpec& spec, std::string& indexName, bool& ownsIndex,
                              OraError& error) {
  Catalog& catalog = context_.catalog;
  if (!spec.createIndexColumns.empty()) {
    indexName = *spec.usingIndexName;
    return AddIndex(owner, indexName, owner, table, spec.createIndexColumns, spec.createIndexUnique,
                    spec.indexStorage, error);
  }
  if (spec.usingIndexName && !spec.iotTop) {
    indexName = *spec.usingIndexName;
    const auto covered = catalog.Rows(
        "SELECT group_concat(COLUMN_NAME, ',') FROM (SELECT COLUMN_NAME FROM "
        "\"SYS.ALL_IND_COLUMNS\" WHERE INDEX_OWNER = ? AND INDEX_NAME = ? ORDER BY "
        "COLUMN_POSITION)",
        {Value::Text(owner), Value::Text(indexName)});
    if (covered.empty() || covered[0][0].empty()) {
      error = {1418, "specified index does not exist"};
      return false;
    }
    if ((covered[0][0] + ",").rfind(JoinColumns(spec.columns) + ",", 0) != 0) {
      error = {14196, "Specified index cannot be used to enforce the constraint."};
      return false;
    }
    return true;
  }
  const auto existing = catalog.Rows(
      "SELECT INDEX_NAME FROM \"SYS.ALL_IND_COLUMNS\" WHERE TABLE_OWNER = ?1 AND TABLE_NAME = ?2 "
      "GROUP BY INDEX_OWNER, INDEX_NAME HAVING group_concat(COLUMN_NAME, ',') = ?3",
      {Value::Text(owner), Value::Text(table), Value::Text(JoinColumns(spec.columns))});
  if (!existing.empty() && !spec.iotTop) {
    indexName = existing[0][0];
    return true;
  }
  std::vector<IndexColumn> keys;
  for (const std::string& column : spec.columns)
    keys.push_back({column});
  indexName = spec.usingIndexName.value_or(spec.name);
  ownsIndex = true;
  if (AddIndex(owner, indexName, owner, table, keys, !spec.deferrable, spec.indexStorage, error,
               spec.iotTop ? "IOT - TOP" : nullptr))
    return true;
  if (error.code == 1452)
    error = {spec.type == 'P' ? 2437 : 2299,
             "cannot validate (" + owner + "." + spec.name + ") - " +
                 (spec.type == 'P' ? "primary key violated" : "duplicate keys found")};
  return false;
}

// Enables (checking the rows when validate says so) or disables a constraint:
// its triggers come and go, and a key's own index with it.
bool TableDdl::SetConstraintState(const std::string& owner, const std::string& name, bool enable,
                                  std::optional<bool> validate, OraError& error) {
  Catalog& catalog = context_.catalog;
  ConstraintRules rules(catalog.Database(), context_.session);
  auto row = rules.Load(owner, name);
  if (!row) {
    error = {2431, "cannot disable constraint (" + name + ") - no such constraint"};
    return false;
  }
  const bool validated = validate.value_or(enable);
  if (enable && (row->type == 'P' || row->type == 'U') && row->indexName.empty()) {
    ConstraintSpec spec;
    spec.name = name;
    spec.type = row->type;
    spec.columns = row->columns;
    spec.deferrable = row->deferrable;
    bool ownsIndex = false;
    if (!SelectKeyIndex(owner, row->table, spec, row->indexName, ownsIndex, error) ||
        (ownsIndex && !catalog.Exec("INSERT OR REPLACE INTO \"SYS.CONS_INDEX$\" VALUES (?, ?)",
                                    {Value::Text(owner), Value::Text(name)}, error)))
      return false;
  }
  if (!enable && !row->indexName.empty() &&
      catalog.Any("SELECT 1 FROM \"SYS.CONS_INDEX$\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                  {Value::Text(owner), Value::Text(name)})) {
    if (!RemoveIndex(owner, row->indexName, error))
      return false;
    row->indexName.clear();
  }
  if (enable && validated) {
    bool holds = true;
    if (!rules.Holds(*row, holds, error))
      return false;
    if (!holds) {
      error = ConstraintRules::CannotValidate(*row);
      return false;
    }
  }
  row->enabled = enable;
  return catalog.Exec(
      "UPDATE \"SYS.ALL_CONSTRAINTS\" SET STATUS = ?, VALIDATED = ?, INDEX_OWNER = ?, "
      "INDEX_NAME = ?, LAST_CHANGE = ora_sysdate() WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
      {Value::Text(enable ? "ENABLED" : "DISABLED"),
       Value::Text(validated ? "VALIDATED" : "NOT VALIDATED"),
       row->indexName.empty() ? Value::Null() : Value::Text(owner),
       row->indexName.empty() ? Value::Null() : Value::Text(row->indexName), Value::Text(owner),
       Value::Text(name)},
      error);
}

// ( column | constraint [, ...] ) of CREATE TABLE.
bool TableDdl::ReadRelationalProperties(std::vector<ColumnSpec>& columns,
                                        std::vector<ConstraintSpec>& constraints, OraError& error) {
  if (!in_.ExpectSymbol("(", error))
    return false;
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
  if (std::count_if(columns.begin(), columns.end(),
                    [](const ColumnSpec& column) { return column.identity.has_value(); }) > 1) {
    error = {30669, "table can have only one identity column"};
    return false;
  }
  // Key columns are NOT NULL without a constraint of their own, as in Oracle.
  for (const ConstraintSpec& spec : constraints)
    if (spec.type == 'P')
      for (ColumnSpec& column : columns)
        if (std::find(spec.columns.begin(), spec.columns.end(), column.name) != spec.columns.end())
          column.notNull = true;
  return true;
}

// The columns of CREATE TABLE ... AS query: names and types as the query
// describes them, NOT NULL where the column it reads is; the rest of the
// statement is the query, translated into querySql.
bool TableDdl::ReadQueryColumns(std::vector<ColumnSpec>& columns,
                                std::vector<ConstraintSpec>& constraints, std::string& querySql,
                                OraError& error) {
  const std::size_t begin = in_.Position();
  if (begin >= context_.tokens.size()) {
    error = {936, "missing expression"};
    return false;
  }
  if (!context_.TranslateExpression(begin, context_.tokens.size(), querySql, error))
    return false;
  EmptyBindSet none;
  const auto cursor =
      context_.session.OpenQuery(context_.sql.substr(context_.tokens[begin].offset), none, error);
  if (!cursor)
    return false;
  in_.Seek(context_.tokens.size());
  for (const ColumnInfo& info : cursor->Columns()) {
    const bool named =
        !info.name.empty() && std::isalpha(static_cast<unsigned char>(info.name[0])) &&
        std::all_of(info.name.begin(), info.name.end(), [](char c) {
          return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
        });
    if (!named) {
      error = {998, "must name this expression with a column alias"};
      return false;
    }
    if (std::any_of(columns.begin(), columns.end(),
                    [&](const ColumnSpec& other) { return other.name == info.name; })) {
      error = {957, "duplicate column name"};
      return false;
    }
    ColumnSpec column;
    column.name = info.name;
    column.type = OracleType::FromDescription(info);
    if (column.type.name == "VARCHAR2" || column.type.name == "CHAR") {
      column.type.charLength = column.type.length;
      column.type.charUsed = 'B';
    }
    if (!info.nullable) {
      column.notNull = true;
      ConstraintSpec notNull;
      notNull.columns = {column.name};
      notNull.condition = "\"" + column.name + "\" IS NOT NULL";
      constraints.push_back(std::move(notNull));
    }
    columns.push_back(std::move(column));
  }
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
  std::vector<ColumnSpec> columns;
  std::vector<ConstraintSpec> constraints;
  // CREATE TABLE t OF type takes its columns from the type's attributes.
  std::optional<ObjectTableSpec> objectTable;
  if (in_.AcceptWord("OF") && !ReadObjectTable(objectTable.emplace(), columns, constraints, error))
    return false;
  // CREATE TABLE ... AS query takes its columns from the query.
  const bool fromQuery = !objectTable && !in_.Peek().IsSymbol("(");
  if (!fromQuery && !objectTable && !ReadRelationalProperties(columns, constraints, error))
    return false;
  const bool anyInvisible = std::any_of(columns.begin(), columns.end(),
                                        [](const ColumnSpec& column) { return column.invisible; });
  if (anyInvisible && temporary) {
    error = {54042, "Invisible column is not supported on this type of table."};
    return false;
  }
  if (anyInvisible && std::all_of(columns.begin(), columns.end(),
                                  [](const ColumnSpec& column) { return column.invisible; })) {
    error = {54039, "table must have at least one column that is not invisible"};
    return false;
  }
  StorageSpec storage;
  std::vector<NestedTableSpec> nestedTables;
  bool organizationIndex = false;
  bool partitioned = false;
  PartitionScheme scheme;
  std::vector<LobSpec> lobs;
  std::string duration = temporary ? "SYS$TRANSACTION" : "";
  for (bool more = true; more;) {
    more = false;
    if (temporary && in_.AcceptWords("ON", "COMMIT")) {
      if (in_.AcceptWord("PRESERVE"))
        duration = "SYS$SESSION";
      else if (!in_.ExpectWord("DELETE", error))
        return false;
      if (!in_.ExpectWord("ROWS", error))
        return false;
      more = true;
    }
    if (in_.AcceptWord("ORGANIZATION")) {
      if (in_.AcceptWord("INDEX"))
        organizationIndex = true;
      else if (!in_.ExpectWord("HEAP", error))
        return false;
      more = true;
    }
    // The row placement of an index-organized table changes nothing kept here.
    if (organizationIndex) {
      long long ignored = 0;
      if (in_.AcceptWord("OVERFLOW") || in_.AcceptWords("MAPPING", "TABLE") ||
          in_.AcceptWords("NOMAPPING", "TABLE")) {
        more = true;
      } else if (in_.AcceptWord("PCTTHRESHOLD")) {
        if (!in_.ReadInteger(ignored, error))
          return false;
        more = true;
      } else if (in_.AcceptWord("INCLUDING")) {
        std::string column;
        if (!in_.ReadName(column, error, 904, "invalid identifier"))
          return false;
        more = true;
      }
    }
    if (!temporary && !partitioned && in_.AcceptWords("PARTITION", "BY")) {
      if (!Partitioning().ReadScheme(scheme, false, error))
        return false;
      partitioned = more = true;
    }
    if (in_.AcceptWord("LOB")) {
      lobs.emplace_back();
      if (!ReadLobClause(in_, lobs.back(), error))
        return false;
      more = true;
    }
    if (in_.AcceptWords("NESTED", "TABLE")) {
      NestedTableSpec nested;
      if (!ReadNestedTable(nested, error))
        return false;
      nestedTables.push_back(nested);
      more = true;
    }
    const std::size_t before = in_.Position();
    if (!ReadStorage(storage, false, error))
      return false;
    more = more || in_.Position() != before;
  }
  std::string querySql;
  if (fromQuery && !in_.AcceptWord("AS")) {
    error = {906, "missing left parenthesis"};
    return false;
  }
  if (fromQuery && !ReadQueryColumns(columns, constraints, querySql, error))
    return false;
  if (!in_.AtEnd()) {
    error = in_.Peek().IsWord("AS") ? OraError{900, "invalid SQL statement"}
                                    : OraError{922, "missing or invalid option"};
    return false;
  }
  if (organizationIndex &&
      std::none_of(constraints.begin(), constraints.end(),
                   [](const ConstraintSpec& spec) { return spec.type == 'P'; })) {
    error = {25175, "no PRIMARY KEY constraint found"};
    return false;
  }
  if (organizationIndex && std::any_of(columns.begin(), columns.end(),
                                       [](const ColumnSpec& c) { return !c.virtualSql.empty(); })) {
    error = {54008, "expression column is not supported for an index organized table"};
    return false;
  }
  for (ConstraintSpec& spec : constraints)
    if (spec.name.empty())
      spec.name = catalog.SystemConstraintName();
  // An index-organized table and a temporary table have no segment of their
  // own: the first lives in its key index, the second in temporary space.
  const bool segment = !organizationIndex && !temporary;
  auto attribute = [&](const std::optional<long long>& value, long long fallback) {
    return segment ? Value::Integer(value.value_or(fallback)) : Value::Null();
  };
  // A temporary table keeps its block attributes; only the extents go.
  auto block = [&](const std::optional<long long>& value, long long fallback) {
    return organizationIndex ? Value::Null() : Value::Integer(value.value_or(fallback));
  };
  if (!catalog.AddObject(owner, table, "TABLE", error) ||
      !catalog.Exec(
          "INSERT INTO \"SYS.ALL_TABLES\" VALUES (?, ?, ?, NULL, NULL, 'VALID', ?, ?, ?, ?, ?, ?, "
          "?, ?, ?, ?, ?, ?, 'N', NULL, NULL, NULL, NULL, NULL, NULL, '         1', "
          "'         1', '    N', "
          "'ENABLED', 'DEFAULT', ?, 'NO', ?, ?, ?, 'NO', ?, ?)",
          {Value::Text(owner),
           Value::Text(table),
           segment ? Value::Text(storage.tablespace.value_or("USERS")) : Value::Null(),
           block(storage.pctFree, 10),
           block(storage.pctUsed, 40),
           block(storage.iniTrans, 1),
           block(storage.maxTrans, 255),
           attribute(storage.initial, kDefaultInitial),
           attribute(storage.next, kDefaultNext),
           attribute(storage.minExtents, 1),
           attribute(storage.maxExtents, kUnlimitedExtents),
           attribute(storage.pctIncrease, 0),
           attribute(storage.freelists, 1),
           attribute(storage.freelistGroups, 1),
           segment ? Value::Text(storage.logging ? "YES" : "NO")
                   : (temporary ? Value::Text("NO") : Value::Null()),
           Value::Text(temporary ? "Y" : "N"),
           Value::Text(storage.compressed ? "ENABLED" : "DISABLED"),
           organizationIndex ? Value::Text("IOT") : Value::Null(),
           duration.empty() ? Value::Null() : Value::Text(duration),
           Value::Text(storage.rowMovement ? "ENABLED" : "DISABLED"),
           storage.compressFor ? Value::Text(*storage.compressFor) : Value::Null()},
          error) ||
      (segment && !AddSegment(owner, table, "TABLE", storage, error)) ||
      (objectTable && !AddObjectTableRows(owner, table, *objectTable, error)))
    return false;
  // An invisible column takes no column id; the visible ones are numbered on.
  int visible = 0;
  for (ColumnSpec& column : columns)
    if ((column.identity && !AddIdentity(owner, table, column, error)) ||
        !AddColumnRows(owner, table, column, column.invisible ? 0 : ++visible, error) ||
        !AddColumnStorage(owner, table, column, error))
      return false;
  if (!TableStorage(catalog, owner, table).Create(error) ||
      !AddNestedTables(owner, table, columns, nestedTables, error))
    return false;
  for (ConstraintSpec& spec : constraints) {
    if (organizationIndex && spec.type == 'P') {
      spec.iotTop = true;
      if (!spec.usingIndexName && spec.name.rfind("SYS_C", 0) == 0)
        spec.usingIndexName =
            "SYS_IOT_TOP_" +
            catalog.Rows(
                "SELECT OBJECT_ID FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
                "OBJECT_TYPE = 'TABLE'",
                {Value::Text(owner), Value::Text(table)})[0][0];
    }
    if (!AddConstraint(owner, table, spec, error))
      return false;
  }
  if (partitioned && !Partitioning().AddTablePartitioning(owner, table, scheme, storage, error))
    return false;
  if (!AddLobRows(catalog, owner, table, lobs,
                  storage.tablespace.value_or(segment || partitioned ? "USERS" : "TEMP"),
                  partitioned, error))
    return false;
  if (!fromQuery)
    return true;
  std::string names;
  for (const ColumnSpec& column : columns)
    names += (names.empty() ? "" : ", ") + QuoteSqliteName(column.name);
  return catalog.ExecMapped(
      "INSERT INTO " + QuoteSqliteName(StorageName(owner, table)) + " (" + names + ") " + querySql,
      error);
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
  if (!RemoveIdentity(owner, table, "%", error) ||
      !Partitioning().RemoveTable(owner, table, error) ||
      !RemoveLobRows(catalog, owner, table, error) || !RemoveNestedTables(owner, table, error) ||
      !RemoveObjectTableRow(owner, table, error))
    return false;
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
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_IND_EXPRESSIONS\" WHERE TABLE_OWNER = ? AND "
             "TABLE_NAME = ?",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.COM$\" WHERE OWNER = ? AND TABLE_NAME = ?", key, error) &&
         catalog.Exec(
             "DELETE FROM \"SYS.CONS_INDEX$\" WHERE (OWNER, CONSTRAINT_NAME) NOT IN "
             "(SELECT OWNER, CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\")",
             {}, error) &&
         TableStorage(catalog, owner, table).Forget(error) &&
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
  std::vector<IndexColumn> columns;
  if (!ReadIndexColumns(columns, error))
    return false;
  StorageSpec storage;
  storage.bitmap = bitmap;
  if (!ReadStorage(storage, true, error))
    return false;
  partitionsOfIndex_ = true;
  std::vector<PartitionDef> local;
  PartitionScheme global;
  const bool isLocal = in_.AcceptWord("LOCAL");
  if (isLocal && !Partitioning().ReadLocalPartitions(local, error))
    return false;
  const bool isGlobal = !isLocal && in_.AcceptWord("GLOBAL");
  if (isGlobal && (!in_.ExpectWord("PARTITION", error) || !in_.ExpectWord("BY", error) ||
                   !Partitioning().ReadScheme(global, true, error)))
    return false;
  if (!ReadStorage(storage, true, error))
    return false;
  if (!in_.AtEnd()) {
    error = {922, "missing or invalid option"};
    return false;
  }
  if (!AddIndex(owner, name, tableOwner, table, columns, unique, storage, error))
    return false;
  if (!isLocal && !isGlobal)
    return true;
  std::vector<std::string> names;
  for (const IndexColumn& column : columns)
    names.push_back(column.name);
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  // A partitioned index keeps its segment attributes in its partitions.
  return (isLocal
              ? Partitioning().AddLocalIndex(owner, name, tableOwner, table, names, unique, local,
                                             storage, error)
              : Partitioning().AddGlobalIndex(owner, name, table, names, global, storage, error)) &&
         context_.catalog.Exec(
             "UPDATE \"SYS.ALL_INDEXES\" SET PARTITIONED = 'YES', TABLESPACE_NAME = NULL, "
             "INI_TRANS = NULL, MAX_TRANS = NULL, INITIAL_EXTENT = NULL, NEXT_EXTENT = NULL, "
             "MIN_EXTENTS = NULL, MAX_EXTENTS = NULL, PCT_INCREASE = NULL, FREELISTS = NULL, "
             "FREELIST_GROUPS = NULL, PCT_FREE = NULL WHERE OWNER = ? AND INDEX_NAME = ?",
             key, error) &&
         context_.catalog.Exec(
             "DELETE FROM \"SYS.DBA_SEGMENTS\" WHERE OWNER = ? AND SEGMENT_NAME = ? AND "
             "SEGMENT_TYPE = 'INDEX'",
             key, error) &&
         context_.catalog.Exec(
             "UPDATE \"SYS.ALL_OBJECTS\" SET DATA_OBJECT_ID = NULL WHERE OWNER = ? AND "
             "OBJECT_NAME = ? AND OBJECT_TYPE = 'INDEX'",
             key, error);
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
  return RemoveIndex(owner, name, error);
}

bool TableDdl::Truncate(OraError& error) {
  if (!in_.ExpectWord("TABLE", error))
    return false;
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, table).value_or("") != "TABLE") {
    error = {942, "table or view does not exist"};
    return false;
  }
  // Rows are not deleted one by one: no delete rule of another table runs.
  if (catalog.Any(
          "SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" r JOIN \"SYS.ALL_CONSTRAINTS\" p ON p.OWNER = "
          "r.R_OWNER AND p.CONSTRAINT_NAME = r.R_CONSTRAINT_NAME WHERE p.OWNER = ?1 AND "
          "p.TABLE_NAME = ?2 AND r.STATUS = 'ENABLED' AND NOT (r.OWNER = ?1 AND r.TABLE_NAME = ?2)",
          {Value::Text(owner), Value::Text(table)})) {
    error = {2266, "unique/primary keys in table referenced by enabled foreign keys"};
    return false;
  }
  return catalog.Exec("DELETE FROM " + QuoteSqliteName(StorageName(owner, table)), {}, error);
}

}  // namespace sandbox
