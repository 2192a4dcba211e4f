// Statement execution of a sandbox session.
#include "sandbox/server/ServerSession.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>

#include "sandbox/plsql/Interpreter.h"
#include "sandbox/server/ColumnValues.h"
#include "sandbox/server/EmptyBindSet.h"
#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/StreamingCursor.h"
#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/ddl/IntervalPartitions.h"
#include "sandbox/server/ddl/ObjectCompiler.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/dictionary/DictionaryVisibility.h"
#include "sandbox/server/integrity/RowChecks.h"
#include "sandbox/server/integrity/TransactionRules.h"
#include "sandbox/server/sql/LockingClause.h"
#include "sandbox/server/sql/MergeStatement.h"
#include "sandbox/server/triggers/ServerErrorTriggers.h"
#include "sandbox/server/triggers/SystemTriggers.h"
#include "sandbox/server/triggers/TriggeredDml.h"
#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/NumberText.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

namespace {

bool IsAlterSession(const std::vector<SqlToken>& tokens) {
  return tokens.size() > 1 && tokens[0].IsWord("ALTER") && tokens[1].IsWord("SESSION");
}

// Synonyms may name synonyms; a chain this long is taken for a loop.
constexpr int kSynonymDepth = 8;

bool Tokenize(const std::string& sql, std::vector<SqlToken>& tokens, OraError& error) {
  std::size_t errorOffset = 0;
  if (TokenizeSql(sql, tokens, errorOffset))
    return true;
  // What failed to end: a comment, a quoted name, or a text literal of any
  // form ('...', N'...', q'[...]').
  if (sql.compare(errorOffset, 2, "/*") == 0)
    error = {1742, "comment not terminated properly"};
  else if (sql[errorOffset] == '"')
    error = {1740, "missing double quote in identifier"};
  else
    error = {1756, "quoted string not properly terminated"};
  return false;
}

std::string HexText(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

}  // namespace

// A column of a table is NOT NULL as the dictionary has it (key columns
// included); the dictionary's own tables answer from their SQLite declaration.
bool ServerSession::ColumnNullable(sqlite3_stmt* statement, int column) {
  const char* table = sqlite3_column_table_name(statement, column);
  const char* origin = sqlite3_column_origin_name(statement, column);
  if (table == nullptr || origin == nullptr)
    return true;
  const std::string storage = table;
  const std::size_t dot = storage.find('.');
  if (dot != std::string::npos && storage.rfind("SYS.", 0) != 0) {
    SqliteRunner runner(database_->Handle());
    std::vector<std::vector<std::string>> rows;
    runner.Query(
        "SELECT NULLABLE FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
        "COLUMN_NAME = ?",
        {Value::Text(storage.substr(0, dot)), Value::Text(storage.substr(dot + 1)),
         Value::Text(origin)},
        rows);
    if (!rows.empty())
      return rows[0][0] != "N";
  }
  int notNull = 0;
  if (sqlite3_table_column_metadata(database_->Handle(), nullptr, table, origin, nullptr, nullptr,
                                    &notNull, nullptr, nullptr) != SQLITE_OK)
    return true;
  return notNull == 0;
}

// Audit session numbers, as USERENV('SESSIONID') gives them: one per
// session of the process, never reused.
namespace {
long long NextSessionId() {
  static std::atomic<long long> last{0};
  return ++last;
}
}  // namespace

ServerSession::ServerSession(std::shared_ptr<ServerDatabase> database, std::string user)
    : database_(std::move(database)),
      user_(std::move(user)),
      schema_(user_),
      currentUser_(user_),
      timeZone_(LocalZone()),
      sessionId_(NextSessionId()) {}

ServerSession::~ServerSession() {
  std::lock_guard lock(database_->Mutex());
  FireLogoffTriggers(*this);
  if (database_->Running() == &interrupt_)
    database_->SetRunning(nullptr);
}

void ServerSession::AnswerInterrupt(const OraError& error) {
  if (error.code == kCancelledCode)
    interrupt_.store(false);
}

std::string ServerSession::SessionAttribute(const std::string& name) const {
  const auto found = attributes_.find(name);
  return found == attributes_.end() ? std::string() : found->second;
}

void ServerSession::SetSessionAttribute(const std::string& name, const std::string& value) {
  if (value.empty())
    attributes_.erase(name);
  else
    attributes_[name] = value;
}

void ServerSession::EnterStatement() {
  database_->SetRunning(&interrupt_);
  SqlFunctionContext& context = database_->Functions();
  context.dateFormat = dateFormat_;
  context.timestampFormat = timestampFormat_;
  context.timestampTzFormat = timestampTzFormat_;
  context.timeZone = timeZone_;
  context.rownums.clear();
  context.userName = user_;
  context.currentSchema = schema_;
  context.currentUser = currentUser_;
  context.databaseName = database_->Name();
  context.sessionAttributes = &attributes_;
  context.sessionId = sessionId_;
  context.systemEvent = systemEvents_.empty() ? SystemEvent{} : systemEvents_.back();
  RefreshVisibility(database_->Handle(), context);
  context.release = database_->Release();
  context.sequenceValue = [this](const std::string& owner, const std::string& name, bool next,
                                 std::string& value, std::string& message) {
    return NextSequenceValue(owner, name, next, value, message);
  };
  context.intervalPartition = [this](const std::string& owner, const std::string& table,
                                     const std::string& key, const std::string& transition,
                                     std::string& message) {
    Catalog catalog(*database_);
    return AddIntervalPartition(catalog, owner, table, key, transition, message);
  };
  context.storedFunction = [this](const std::string& owner, const std::string& unit,
                                  const std::string& member, const std::vector<Value>& arguments,
                                  Value& result, std::string& message) {
    return CallStoredFunction(owner, unit, member, arguments, result, message);
  };
}

std::optional<std::string> ServerSession::ResolveTable(const std::string& schema,
                                                       const std::string& name) {
  auto found = FindTable(schema, name);
  if (found && !mutating_.empty() &&
      std::find(mutating_.begin(), mutating_.end(), *found) != mutating_.end())
    mutatingSeen_ = *found;
  return found;
}

std::optional<std::string> ServerSession::FindTable(const std::string& schema,
                                                    const std::string& name) {
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  auto exists = [&](const std::string& storage) { return database_->HasStorage(storage); };
  // A synonym of the schema, else a public one, names the object; synonyms
  // may name synonyms, up to a depth that stops loops.
  std::string owner = schema.empty() ? schema_ : schema;
  std::string object = name;
  for (int depth = 0; depth < kSynonymDepth; ++depth) {
    if (owner == "SYS") {
      if (IsDictionaryName(object))
        return VisibleDictionaryStorage(object, database_->Functions());
    } else {
      CompileInUse(*this, {owner, object, "VIEW"});
      if (exists(StorageName(owner, object)))
        return StorageName(owner, object);
    }
    if (!FollowSynonym(owner, object, depth > 0 || schema.empty()))
      break;
  }
  if (schema.empty() && IsDictionaryName(name))
    return VisibleDictionaryStorage(name, database_->Functions());
  return std::nullopt;
}

std::optional<std::vector<std::string>> ServerSession::StarColumns(const std::string& query) {
  EmptyBindSet noBinds;
  SqliteStatement statement;
  std::vector<ColumnInfo> columns;
  std::vector<bool> typedByValue;
  OraError error;
  if (!PrepareQuery(query, noBinds, statement, columns, typedByValue, error))
    return std::nullopt;
  std::vector<std::string> names;
  for (const ColumnInfo& column : columns)
    names.push_back(column.name);
  return names;
}

std::optional<std::vector<std::string>> ServerSession::VisibleColumns(const std::string& storage) {
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  // A storage name is OWNER.NAME, and either may hold a dot of its own.
  for (std::size_t dot = storage.find('.'); dot != std::string::npos;
       dot = storage.find('.', dot + 1)) {
    const Value owner = Value::Text(storage.substr(0, dot));
    const Value table = Value::Text(storage.substr(dot + 1));
    if (!runner.Query("SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                      "HIDDEN_COLUMN = 'YES' AND (USER_GENERATED = 'YES' OR COLUMN_NAME = "
                      "'SYS_NC_TYPEID$') LIMIT 1",
                      {owner, table}, rows) ||
        rows.empty())
      continue;
    runner.Query(
        "SELECT COLUMN_NAME FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? "
        "AND COLUMN_ID IS NOT NULL ORDER BY COLUMN_ID",
        {owner, table}, rows);
    std::vector<std::string> columns;
    for (const auto& row : rows)
      columns.push_back(row[0]);
    return columns;
  }
  return std::nullopt;
}

bool ServerSession::ResolveSequence(const std::string& schema, const std::string& name,
                                    std::string& owner, std::string& sequence) {
  owner = schema.empty() ? schema_ : schema;
  sequence = name;
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  for (int depth = 0; depth < kSynonymDepth; ++depth) {
    if (runner.Query("SELECT 1 FROM \"SYS.SEQ$\" WHERE OWNER = ? AND NAME = ?",
                     {Value::Text(owner), Value::Text(sequence)}, rows) &&
        !rows.empty())
      return true;
    if (!FollowSynonym(owner, sequence, depth > 0 || schema.empty()))
      break;
  }
  return false;
}

bool ServerSession::FollowSynonym(std::string& owner, std::string& name, bool publicToo) {
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  const char* const query =
      "SELECT TABLE_OWNER, TABLE_NAME FROM \"SYS.ALL_SYNONYMS\" WHERE OWNER = ? AND "
      "SYNONYM_NAME = ?";
  runner.Query(query, {Value::Text(owner), Value::Text(name)}, rows);
  if (rows.empty() && publicToo)
    runner.Query(query, {Value::Text("PUBLIC"), Value::Text(name)}, rows);
  if (rows.empty())
    return false;
  owner = rows[0][0];
  name = rows[0][1];
  return true;
}

bool ServerSession::NextSequenceValue(const std::string& owner, const std::string& name, bool next,
                                      std::string& value, std::string& message) {
  const std::string key = owner + "." + name;
  if (!next) {
    const auto found = currentValues_.find(key);
    if (found == currentValues_.end()) {
      message = "ORA-08002: sequence " + name + ".CURRVAL is not yet defined in this session";
      return false;
    }
    value = found->second;
    return true;
  }
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT q.NEXT_VALUE, s.INCREMENT_BY, s.MIN_VALUE, s.MAX_VALUE, s.CYCLE_FLAG, s.CACHE_SIZE, "
      "q.CACHED_TO "
      "FROM \"SYS.SEQ$\" q JOIN \"SYS.ALL_SEQUENCES\" s ON s.SEQUENCE_OWNER = q.OWNER AND "
      "s.SEQUENCE_NAME = q.NAME WHERE q.OWNER = ? AND q.NAME = ?",
      {Value::Text(owner), Value::Text(name)}, rows);
  if (rows.empty()) {
    message = "ORA-02289: sequence does not exist";
    return false;
  }
  const auto& r = rows[0];
  long double current = std::strtold(r[0].c_str(), nullptr);
  const long double increment = std::strtold(r[1].c_str(), nullptr);
  const long double minimum = std::strtold(r[2].c_str(), nullptr);
  const long double maximum = std::strtold(r[3].c_str(), nullptr);
  const long double cache = std::strtold(r[5].c_str(), nullptr);
  const long double cachedTo =
      r[6].empty() ? current - increment : std::strtold(r[6].c_str(), nullptr);
  if ((increment > 0 && current > maximum) || (increment < 0 && current < minimum)) {
    if (r[4] != "Y") {
      message = "ORA-08004: sequence " + name + ".NEXTVAL " +
                (increment > 0 ? "exceeds MAXVALUE" : "goes below MINVALUE") +
                " and cannot be instantiated";
      return false;
    }
    current = increment > 0 ? minimum : maximum;
  }
  value = CanonicalNumberText(static_cast<double>(current));
  // LAST_NUMBER moves a cache's worth ahead each time the cache runs out.
  const bool refill = increment > 0 ? current > cachedTo : current < cachedTo;
  const long double newCachedTo =
      refill ? current + increment * ((cache > 0 ? cache : 1) - 1) : cachedTo;
  // A number once given is never given again, whatever is rolled back.
  const auto write = [&](const std::string& what, const std::string& sql,
                         std::vector<Value> params) {
    runner.Exec(sql, params);
    database_->Work().KeepAcrossRollback(what + key, [db = database_->Handle(), sql, params] {
      SqliteRunner(db).Exec(sql, params);
    });
  };
  write(
      "next:", "UPDATE \"SYS.SEQ$\" SET NEXT_VALUE = ?, CACHED_TO = ? WHERE OWNER = ? AND NAME = ?",
      {Value::Number(CanonicalNumberText(static_cast<double>(current + increment))),
       Value::Number(CanonicalNumberText(static_cast<double>(newCachedTo))), Value::Text(owner),
       Value::Text(name)});
  if (refill)
    write("last:",
          "UPDATE \"SYS.ALL_SEQUENCES\" SET LAST_NUMBER = ? WHERE SEQUENCE_OWNER = ? AND "
          "SEQUENCE_NAME = ?",
          {Value::Number(CanonicalNumberText(static_cast<double>(newCachedTo + increment))),
           Value::Text(owner), Value::Text(name)});
  currentValues_[owner + "." + name] = value;
  return true;
}

bool ServerSession::PrepareTranslated(const std::string& sql, const std::vector<SqlToken>& tokens,
                                      const BindSet& binds, TranslatedStatement& translated,
                                      SqliteStatement& statement, OraError& error) {
  sqlite3_stmt* raw = nullptr;
  for (std::set<std::string> bareCalls;;) {
    SqlTranslator translator(tokens, sql, *this);
    translator.CallWithoutArguments(bareCalls);
    mutatingSeen_.clear();
    if (!translator.Translate(translated, error))
      return false;
    if (!mutatingSeen_.empty()) {
      error = {4091, "table " + mutatingSeen_ + " is mutating, trigger/function may not see it"};
      return false;
    }
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(database_->Handle(), translated.sql.c_str(), -1, &raw, &tail) ==
        SQLITE_OK)
      break;
    // A name that is no column may be a function called without arguments.
    const std::string message = sqlite3_errmsg(database_->Handle());
    const std::string prefix = "no such column: ";
    const std::string name =
        message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : std::string();
    std::string owner, unit, member;
    if (name.empty() || name.find('.') != std::string::npos || bareCalls.count(name) != 0 ||
        !ResolveFunction({name}, owner, unit, member)) {
      error = MapSqliteError(message);
      return false;
    }
    bareCalls.insert(name);
  }
  statement.reset(raw);
  if (!statement) {
    error = {900, "invalid SQL statement"};
    return false;
  }
  for (std::size_t i = 0; i < translated.bindNames.size(); ++i) {
    const std::string& name = translated.bindNames[i];
    if (!binds.Has(name)) {
      error = {1008, "not all variables bound"};
      return false;
    }
    BindValue(raw, static_cast<int>(i + 1), binds.Get(name));
  }
  return true;
}

bool ServerSession::PrepareQuery(const std::string& sql, const BindSet& binds,
                                 SqliteStatement& statement, std::vector<ColumnInfo>& columns,
                                 std::vector<bool>& typedByValue, OraError& error) {
  error = {};
  EnterStatement();
  std::vector<SqlToken> tokens;
  if (!Tokenize(sql, tokens, error))
    return false;
  if (tokens.empty()) {
    error = {900, "invalid SQL statement"};
    return false;
  }
  DropForUpdate(tokens);
  TranslatedStatement translated;
  if (!PrepareTranslated(sql, tokens, binds, translated, statement, error))
    return false;
  sqlite3_stmt* raw = statement.get();
  const int count = sqlite3_column_count(raw);
  if (count == 0) {
    error = {900, "invalid SQL statement"};
    return false;
  }
  columns.clear();
  typedByValue.clear();
  for (int c = 0; c < count; ++c) {
    const char* decl = sqlite3_column_decltype(raw, c);
    const std::string name = sqlite3_column_name(raw, c);
    ColumnInfo info;
    bool byValue = false;
    if (decl != nullptr) {
      info = OracleType::Describe(decl);
    } else {
      std::string kind;
      for (std::size_t i = 0; i < translated.columnNames.size(); ++i)
        if (translated.columnNames[i] == name)
          kind = translated.expressionTypes[i];
      info = OracleType::Describe(kind.empty() || kind == "?" ? "VARCHAR2(4000)" : kind);
      byValue = kind == "?";
    }
    info.name = name;
    info.nullable = ColumnNullable(raw, c);
    columns.push_back(info);
    typedByValue.push_back(byValue);
  }
  return true;
}

std::vector<ColumnInfo> ServerSession::DescribeQuery(const std::string& sql, const BindSet& binds,
                                                     OraError& error) {
  ServerDatabase::Call call(*database_);
  SqliteStatement statement;
  std::vector<ColumnInfo> columns;
  std::vector<bool> typedByValue;
  if (!PrepareQuery(sql, binds, statement, columns, typedByValue, error))
    columns.clear();
  return columns;
}

std::unique_ptr<Cursor> ServerSession::OpenQuery(const std::string& sql, const BindSet& binds,
                                                 OraError& error) {
  ServerDatabase::Call call(*database_);
  ClientCall client(*this);
  auto cursor = StartQuery(sql, binds, error);
  if (!cursor)
    client.Failed(error);
  return cursor;
}

std::unique_ptr<Cursor> ServerSession::StartQuery(const std::string& sql, const BindSet& binds,
                                                  OraError& error) {
  SqliteStatement statement;
  std::vector<ColumnInfo> columns;
  std::vector<bool> typedByValue;
  if (!PrepareQuery(sql, binds, statement, columns, typedByValue, error))
    return nullptr;
  auto cursor = std::make_unique<StreamingCursor>(*database_, interrupt_, std::move(statement),
                                                  std::move(columns), std::move(typedByValue));
  if (!cursor->Start(error))
    return nullptr;
  return cursor;
}

OraError ServerSession::NameConstraintError(OraError error) const {
  if (error.code != 1)
    return error;
  // SQLite names the columns; Oracle names the constraint that covers them.
  const std::string message = sqlite3_errmsg(database_->Handle());
  const std::size_t colon = message.find(": ");
  if (colon == std::string::npos)
    return error;
  std::string columns = message.substr(colon + 2);
  const std::size_t lastDot = columns.find(',') == std::string::npos
                                  ? columns.rfind('.')
                                  : columns.substr(0, columns.find(',')).rfind('.');
  if (lastDot == std::string::npos)
    return error;
  const std::string storage = columns.substr(0, lastDot);
  const std::size_t ownerDot = storage.find('.');
  if (ownerDot == std::string::npos)
    return error;
  std::string columnList;
  for (std::size_t at = 0; at < columns.size();) {
    std::size_t end = columns.find(", ", at);
    if (end == std::string::npos)
      end = columns.size();
    const std::string item = columns.substr(at, end - at);
    if (!columnList.empty())
      columnList += ",";
    columnList += item.substr(item.rfind('.') + 1);
    at = end + 2;
  }
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT c.OWNER, c.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" c WHERE c.OWNER = ? AND "
      "c.TABLE_NAME = ? "
      "AND c.CONSTRAINT_TYPE IN ('P', 'U') AND (SELECT group_concat(COLUMN_NAME, ',') FROM (SELECT "
      "COLUMN_NAME "
      "FROM \"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = "
      "c.CONSTRAINT_NAME "
      "ORDER BY POSITION)) = ? UNION ALL SELECT i.OWNER, i.INDEX_NAME FROM \"SYS.ALL_INDEXES\" i "
      "WHERE "
      "i.TABLE_OWNER = ? AND i.TABLE_NAME = ? AND i.UNIQUENESS = 'UNIQUE' AND (SELECT "
      "group_concat(COLUMN_NAME, ',') "
      "FROM (SELECT COLUMN_NAME FROM \"SYS.ALL_IND_COLUMNS\" k WHERE k.INDEX_OWNER = i.OWNER AND "
      "k.INDEX_NAME = "
      "i.INDEX_NAME ORDER BY COLUMN_POSITION)) = ?",
      {Value::Text(storage.substr(0, ownerDot)), Value::Text(storage.substr(ownerDot + 1)),
       Value::Text(columnList), Value::Text(storage.substr(0, ownerDot)),
       Value::Text(storage.substr(ownerDot + 1)), Value::Text(columnList)},
      rows);
  if (!rows.empty())
    error.message = "unique constraint (" + rows[0][0] + "." + rows[0][1] + ") violated";
  return error;
}

bool ServerSession::ExecuteDml(const std::string& sql, const std::vector<SqlToken>& tokens,
                               const BindSet& binds, std::uint64_t& rowsProcessed, OraError& error,
                               std::vector<std::vector<Value>>* returned) {
  if (!TransactionRules(*this).CheckIdentity(tokens, error))
    return false;
  const auto triggers = TargetTriggers(tokens);
  TranslatedStatement translated;
  SqliteStatement statement;
  if (!triggers && !PrepareTranslated(sql, tokens, binds, translated, statement, error))
    return false;
  database_->BeginWork();
  // A failed statement is undone alone, as Oracle's statement-level rollback
  // does, with all that its triggers did.
  database_->Work().Savepoint("qm_statement");
  RowChanges& changes = database_->Changes();
  changes.ForgetUnless(database_->SchemaGeneration());
  const RowChanges::Scope recorded(changes);
  bool done = true;
  if (triggers) {
    done = TriggeredDml(*this, *triggers, sql, tokens, binds).Run(rowsProcessed, error);
  } else {
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
      if (returned != nullptr)
        returned->push_back(ReturnedRow(statement.get()));
    }
    done = rc == SQLITE_DONE;
    if (done)
      rowsProcessed = static_cast<std::uint64_t>(sqlite3_changes64(database_->Handle()));
    else
      error = NameConstraintError(MapSqliteError(sqlite3_errmsg(database_->Handle())));
  }
  // RETURNING ... INTO scalars takes one row.
  if (done && returned != nullptr && returned->size() > 1 && !binds.TakesReturnedRows()) {
    error = {1422, "exact fetch returns more than requested number of rows"};
    done = false;
  }
  if (!done || !RowChecks(*database_, *this).Settle(true, error)) {
    statement.reset();
    database_->Work().RollbackTo("qm_statement");
    database_->Work().Release("qm_statement");
    return false;
  }
  database_->Work().Release("qm_statement");
  return true;
}

std::shared_ptr<const TableTriggers> ServerSession::TargetTriggers(
    const std::vector<SqlToken>& tokens) {
  // A database without triggers costs DML nothing more.
  if (!triggers_.AnyTriggers(*database_))
    return nullptr;
  std::string schema, name;
  if (!FindDmlTarget(tokens, schema, name))
    return nullptr;
  const auto storage = FindTable(schema, name);
  auto triggers = storage ? triggers_.Find(*database_, *storage) : nullptr;
  // With none of them enabled for its event the statement runs whole.
  const DmlEvent event = tokens[0].IsWord("INSERT")   ? DmlEvent::Insert
                         : tokens[0].IsWord("UPDATE") ? DmlEvent::Update
                                                      : DmlEvent::Delete;
  const bool fires =
      triggers && std::any_of(triggers->triggers.begin(), triggers->triggers.end(),
                              [event](const TableTrigger& trigger) {
                                return trigger.enabled && trigger.events.count(event) != 0;
                              });
  return fires ? triggers : nullptr;
}

void ServerSession::CompileBeforeUse(const std::string& owner, const std::string& name,
                                     const std::string& type) {
  CompileInUse(*this, {owner, name, type});
}

bool ServerSession::TriggerFiredBy(const std::string& event, const std::string& column) const {
  if (firing_.empty())
    return false;
  const FiringTrigger& firing = firing_.back();
  const DmlEvent asked = event == "INSERT"   ? DmlEvent::Insert
                         : event == "UPDATE" ? DmlEvent::Update
                                             : DmlEvent::Delete;
  if (firing.event != asked)
    return false;
  if (column.empty())
    return true;
  const std::vector<std::string>& set = *firing.setColumns;
  return std::find(set.begin(), set.end(), ToUpperAscii(column)) != set.end();
}

// MERGE runs as its UPDATE, DELETE and INSERT parts, undone together when
// one fails; its row count is the rows they touched.
bool ServerSession::ExecuteMerge(const std::string& sql, const std::vector<SqlToken>& tokens,
                                 const BindSet& binds, std::uint64_t& rowsProcessed,
                                 OraError& error) {
  std::vector<std::string> parts;
  if (!RewriteMerge(sql, tokens, parts, error))
    return false;
  database_->BeginWork();
  database_->Work().Savepoint("qm_merge");
  for (const std::string& part : parts) {
    std::vector<SqlToken> partTokens;
    std::uint64_t rows = 0;
    if (!Tokenize(part, partTokens, error) || !ExecuteDml(part, partTokens, binds, rows, error)) {
      database_->Work().RollbackTo("qm_merge");
      database_->Work().Release("qm_merge");
      return false;
    }
    rowsProcessed += rows;
  }
  database_->Work().Release("qm_merge");
  return true;
}

bool ServerSession::AlterSession(const std::vector<SqlToken>& tokens, OraError& error) {
  // ALTER SESSION SET name = value [name = value ...]
  if (tokens.size() < 3 || !tokens[2].IsWord("SET")) {
    error = {2248, "invalid option for ALTER SESSION"};
    return false;
  }
  for (std::size_t i = 3; i < tokens.size();) {
    if (i + 2 >= tokens.size() || !tokens[i + 1].IsSymbol("=")) {
      error = {922, "missing or invalid option"};
      return false;
    }
    const std::string parameter = tokens[i].Upper();
    const SqlToken& value = tokens[i + 2];
    if (parameter == "NLS_DATE_FORMAT") {
      if (value.type != SqlToken::Type::String || !DateFormat::Parse(value.text)) {
        error = {1821, "date format not recognized"};
        return false;
      }
      dateFormat_ = value.text;
    } else if (parameter == "NLS_TIMESTAMP_FORMAT" || parameter == "NLS_TIMESTAMP_TZ_FORMAT") {
      if (value.type != SqlToken::Type::String || !DateFormat::Parse(value.text)) {
        error = {1821, "date format not recognized"};
        return false;
      }
      (parameter == "NLS_TIMESTAMP_FORMAT" ? timestampFormat_ : timestampTzFormat_) = value.text;
    } else if (parameter == "TIME_ZONE") {
      if (value.IsWord("LOCAL") || value.IsWord("DBTIMEZONE")) {
        timeZone_ = value.IsWord("LOCAL") ? LocalZone() : "+00:00";
      } else {
        const auto zone =
            value.type == SqlToken::Type::String ? NormaliseZone(value.text) : std::nullopt;
        if (!zone) {
          error = {1882, "timezone region not found"};
          return false;
        }
        timeZone_ = *zone;
      }
    } else if (parameter == "CURRENT_SCHEMA") {
      SqliteRunner runner(database_->Handle());
      std::vector<std::vector<std::string>> rows;
      runner.Query("SELECT 1 FROM \"SYS.ALL_USERS\" WHERE USERNAME = ?",
                   {Value::Text(value.Upper())}, rows);
      if (rows.empty()) {
        error = {1435, "user does not exist"};
        return false;
      }
      schema_ = value.Upper();
    } else if (parameter.rfind("NLS_", 0) != 0 && parameter != "SQL_TRACE" &&
               parameter != "OPTIMIZER_MODE" && parameter != "EVENTS") {
      error = {2248, "invalid option for ALTER SESSION"};
      return false;
    }
    i += 3;
  }
  return true;
}

ServerSession::ClientCall::ClientCall(ServerSession& session)
    : session_(session),
      outermost_(session.callDepth_++ == 0),
      inTransaction_(session.database_->InTransaction()) {}

ServerSession::ClientCall::~ClientCall() {
  --session_.callDepth_;
}

void ServerSession::ClientCall::Failed(const OraError& error) {
  // The statements the triggers run are no client's calls of their own.
  if (outermost_)
    FireServerErrorTriggers(session_, error, inTransaction_);
}

bool ServerSession::Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
                            OraError& error, OraError& warning) {
  ServerDatabase::Call call(*database_);
  ClientCall client(*this);
  const bool done = ExecuteStatement(sql, binds, rowsProcessed, error, warning);
  AnswerInterrupt(error);
  if (!done)
    client.Failed(error);
  return done;
}

bool ServerSession::ExecuteStatement(const std::string& sql, BindSet& binds,
                                     std::uint64_t& rowsProcessed, OraError& error,
                                     OraError& warning) {
  ServerDatabase::Call call(*database_);
  error = {};
  warning = {};
  rowsProcessed = 0;
  EnterStatement();
  std::vector<SqlToken> tokens;
  if (!Tokenize(sql, tokens, error))
    return false;
  if (tokens.empty()) {
    error = {900, "invalid SQL statement"};
    return false;
  }
  const SqlToken& verb = tokens[0];
  if (verb.IsWord("BEGIN") || verb.IsWord("DECLARE"))
    return RunBlock(sql, binds, error);
  if (verb.IsWord("SELECT") || verb.IsWord("WITH") || verb.IsSymbol("(")) {
    auto cursor = OpenQuery(sql, binds, error);
    if (!cursor)
      return false;
    std::vector<Value> row;
    while (cursor->Next(row, error))
      ++rowsProcessed;
    return !error.IsSet();
  }
  if (!AllowedInCall(verb, error))
    return false;
  if (verb.IsWord("INSERT") || verb.IsWord("UPDATE") || verb.IsWord("DELETE"))
    return ExecuteReturning(sql, tokens, binds, rowsProcessed, error);
  if (verb.IsWord("MERGE"))
    return ExecuteMerge(sql, tokens, binds, rowsProcessed, error);
  // An autonomous transaction may end itself, also in a trigger.
  const bool autonomous = database_->Work().InAutonomous();
  if (!systemEvents_.empty() && !autonomous) {
    // A DDL trigger runs inside the DDL statement that fired it.
    if (IsDdlEvent(systemEvents_.back().name) && !IsAlterSession(tokens) &&
        (verb.IsWord("CREATE") || verb.IsWord("DROP") || verb.IsWord("ALTER") ||
         verb.IsWord("TRUNCATE") || verb.IsWord("GRANT") || verb.IsWord("REVOKE") ||
         verb.IsWord("RENAME") || verb.IsWord("COMMENT"))) {
      error = {30511, "invalid DDL operation in system triggers"};
      return false;
    }
    if (verb.IsWord("COMMIT") || verb.IsWord("ROLLBACK") || verb.IsWord("SAVEPOINT")) {
      error = NotInTrigger(verb);
      return false;
    }
  }
  // A trigger's work belongs to the statement that fired it.
  if (!firing_.empty() && !autonomous &&
      (verb.IsWord("COMMIT") || verb.IsWord("ROLLBACK") || verb.IsWord("SAVEPOINT") ||
       verb.IsWord("CREATE") || verb.IsWord("DROP") || verb.IsWord("ALTER") ||
       verb.IsWord("TRUNCATE") || verb.IsWord("GRANT") || verb.IsWord("REVOKE") ||
       verb.IsWord("RENAME") || verb.IsWord("COMMENT"))) {
    error = NotInTrigger(verb);
    return false;
  }
  if (verb.IsWord("SAVEPOINT"))
    return TransactionRules(*this).Savepoint(tokens, error);
  if (verb.IsWord("ROLLBACK") && TransactionRules::NamesSavepoint(tokens))
    return TransactionRules(*this).RollbackToSavepoint(tokens, error);
  if (verb.IsWord("COMMIT") || verb.IsWord("ROLLBACK")) {
    if (tokens.size() > 1 && !tokens[1].IsWord("WORK")) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    if (autonomous && verb.IsWord("COMMIT"))
      database_->Work().CommitAutonomous();
    else if (autonomous)
      database_->Work().RollbackAutonomous();
    else if (verb.IsWord("COMMIT"))
      return TransactionRules(*this).Commit(error);
    else
      database_->RollbackWork();
    return true;
  }
  if (verb.IsWord("SET") && tokens.size() > 1 &&
      (tokens[1].IsWord("CONSTRAINTS") || tokens[1].IsWord("CONSTRAINT")))
    return TransactionRules(*this).SetConstraints(tokens, error);
  if (IsAlterSession(tokens))
    return AlterSession(tokens, error);
  if (verb.IsWord("CREATE") || verb.IsWord("DROP") || verb.IsWord("ALTER") ||
      verb.IsWord("GRANT") || verb.IsWord("REVOKE") || verb.IsWord("TRUNCATE") ||
      verb.IsWord("COMMENT") || verb.IsWord("RENAME")) {
    DdlExecutor ddl(*this, sql, tokens);
    return ddl.Run(error, warning);
  }
  error = {900, "invalid SQL statement"};
  return false;
}

void ServerSession::PushCallContext(CallContext context) {
  callContexts_.push_back(context);
  if (context == CallContext::Autonomous)
    database_->Work().BeginAutonomous();
}

void ServerSession::PopCallContext() {
  if (callContexts_.back() == CallContext::Autonomous)
    database_->Work().EndAutonomous();
  callContexts_.pop_back();
}

bool ServerSession::AutonomousPending() const {
  return !callContexts_.empty() && callContexts_.back() == CallContext::Autonomous &&
         database_->Changes().Captured();
}

// ORA-04092 for what a trigger may not do to its transaction.
OraError ServerSession::NotInTrigger(const SqlToken& verb) {
  return {4092, std::string("cannot ") +
                    (verb.IsWord("ROLLBACK")    ? "ROLLBACK"
                     : verb.IsWord("SAVEPOINT") ? "SET SAVEPOINT"
                                                : "COMMIT") +
                    " in a trigger"};
}

bool ServerSession::AllowedInCall(const SqlToken& verb, OraError& error) const {
  if (callContexts_.empty() || callContexts_.back() == CallContext::Autonomous)
    return true;
  const bool dml = verb.IsWord("INSERT") || verb.IsWord("UPDATE") || verb.IsWord("DELETE") ||
                   verb.IsWord("MERGE");
  if (dml && callContexts_.back() == CallContext::Query) {
    error = {14551, "cannot perform a DML operation inside a query"};
    return false;
  }
  // Triggers have their own error for these (ORA-04092).
  const bool endsTransaction =
      verb.IsWord("COMMIT") || verb.IsWord("ROLLBACK") || verb.IsWord("CREATE") ||
      verb.IsWord("DROP") || verb.IsWord("TRUNCATE") || verb.IsWord("GRANT") ||
      verb.IsWord("REVOKE") || verb.IsWord("RENAME") || verb.IsWord("COMMENT");
  if (endsTransaction && firing_.empty()) {
    error = {14552, "cannot perform a DDL, commit or rollback inside a query or DML"};
    return false;
  }
  return true;
}

bool ServerSession::RunBlock(const std::string& sql, BindSet& binds, OraError& error) {
  return RunAsOneCall([&] { return plsql::RunAnonymousBlock(*this, sql, binds, error); });
}

bool ServerSession::RunAsOneCall(const std::function<bool()>& call) {
  const ClientCall client(*this);
  // An exception that leaves the call undoes what it changed since it
  // began, or since the last COMMIT or ROLLBACK it ran. A transaction the
  // call itself began is all its own; no transaction is begun for a call
  // that changes nothing, so it locks nothing.
  const unsigned long long ended = database_->TransactionsEnded();
  const bool marked = database_->InTransaction();
  if (marked)
    database_->Work().Savepoint("qm_block");
  const bool done = call();
  const bool sameTransaction = marked && database_->TransactionsEnded() == ended;
  if (!done) {
    database_->SettleCursors();
    if (sameTransaction)
      database_->Work().RollbackTo("qm_block");
    else
      database_->RollbackWork();
  }
  if (sameTransaction)
    database_->Work().Release("qm_block");
  return done;
}

std::string ServerSession::ToText(const Value& value) const {
  switch (value.kind) {
    case Value::Kind::Null:
      return {};
    case Value::Kind::Binary:
      return HexText(value.text);
    case Value::Kind::Date: {
      if (parsedModel_ != dateFormat_ || !parsedFormat_) {
        parsedFormat_ = DateFormat::Parse(dateFormat_);
        parsedModel_ = dateFormat_;
      }
      const auto date = DateParts::FromIso(value.text);
      return parsedFormat_ && date ? parsedFormat_->Format(*date) : value.text;
    }
    default:
      return value.text;
  }
}

std::vector<ColumnInfo> ServerSession::DescribeTable(const std::string& name) {
  std::lock_guard lock(database_->Mutex());
  // Keyed by schema too: calls of definer's rights units switch it back and
  // forth, which must not empty the cache each time.
  if (database_->SchemaGeneration() != describedView_.generation) {
    described_.clear();
    describedView_.generation = database_->SchemaGeneration();
  }
  const std::string key = schema_ + '\n' + name;
  const auto found = described_.find(key);
  if (found != described_.end())
    return found->second;
  return described_[key] = DescribeUncached(name);
}

void ServerSession::SetRights(const Rights& rights) {
  currentUser_ = rights.user;
  schema_ = rights.schema;
}

bool ServerSession::SchemaChangedSince(SchemaView& seen) {
  const unsigned long long generation = database_->SchemaGeneration();
  if (generation == seen.generation && schema_ == seen.schema)
    return false;
  seen = {generation, schema_};
  return true;
}

plsql::BlockCache* ServerSession::CompiledBlocks() {
  std::lock_guard lock(database_->Mutex());
  // The interpreter keys blocks by the schema they were compiled in.
  if (database_->SchemaGeneration() != compiledView_.generation) {
    compiled_.Clear();
    compiledView_.generation = database_->SchemaGeneration();
  }
  return &compiled_;
}

std::vector<ColumnInfo> ServerSession::DescribeUncached(const std::string& name) {
  EmptyBindSet noBinds;
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(name, tokens, errorOffset) || tokens.empty())
    return {};
  for (const SqlToken& token : tokens)
    if (!(token.type == SqlToken::Type::Word || token.type == SqlToken::Type::QuotedName ||
          token.IsSymbol(".")))
      return {};
  OraError error;
  return DescribeQuery("SELECT * FROM " + name, noBinds, error);
}

}  // namespace sandbox
