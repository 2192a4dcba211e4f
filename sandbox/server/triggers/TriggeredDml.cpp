// Row-by-row DML of tables with triggers.
#include "sandbox/server/triggers/TriggeredDml.h"

#include <algorithm>

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/integrity/RowChecks.h"
#include "sandbox/server/values/RowIdText.h"

namespace sandbox {

namespace {

bool IsName(const SqlToken& t) {
  return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
}

// Words that follow a DML statement's table where an alias could stand.
bool EndsTarget(const SqlToken& t) {
  return t.IsWord("SET") || t.IsWord("WHERE") || t.IsWord("VALUES") || t.IsWord("SELECT") ||
         t.IsWord("WITH") || t.IsWord("RETURNING") || t.IsWord("RETURN") || t.IsWord("LOG") ||
         t.IsWord("PARTITION") || t.IsWord("SUBPARTITION");
}

// The first token at depth 0 of [begin, end) that is the word; end when none.
std::size_t FindWord(const std::vector<SqlToken>& tokens, std::size_t begin, std::size_t end,
                     const char* word) {
  int depth = 0;
  for (std::size_t i = begin; i < end; ++i) {
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0 && tokens[i].IsWord(word))
      return i;
  }
  return end;
}

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

const OraError kUnimplemented{3001, "unimplemented feature"};

// Where the table's name starts: after INSERT INTO, UPDATE or DELETE [FROM].
std::size_t TargetStart(const std::vector<SqlToken>& tokens) {
  if (tokens.size() < 2)
    return tokens.size();
  if (tokens[0].IsWord("INSERT"))
    return tokens[1].IsWord("INTO") ? 2 : tokens.size();
  if (tokens[0].IsWord("DELETE"))
    return tokens[1].IsWord("FROM") ? 2 : 1;
  return tokens[0].IsWord("UPDATE") ? 1 : tokens.size();
}

// Marks the rows of the table a statement with row triggers changes, for as
// long as its rows change: triggers that read or change it then fail.
class MutatingGuard {
 public:
  MutatingGuard(std::vector<std::string>& tables, std::string table, bool active)
      : tables_(tables), active_(active) {
    if (active_)
      tables_.push_back(std::move(table));
  }
  ~MutatingGuard() {
    if (active_)
      tables_.pop_back();
  }
  MutatingGuard(const MutatingGuard&) = delete;
  MutatingGuard& operator=(const MutatingGuard&) = delete;

 private:
  std::vector<std::string>& tables_;
  bool active_;
};

}  // namespace

bool FindDmlTarget(const std::vector<SqlToken>& tokens, std::string& schema, std::string& name) {
  std::size_t at = TargetStart(tokens);
  if (at >= tokens.size() || !IsName(tokens[at]))
    return false;
  name = tokens[at].Upper();
  schema.clear();
  if (at + 2 < tokens.size() && tokens[at + 1].IsSymbol(".") && IsName(tokens[at + 2])) {
    schema = name;
    name = tokens[at + 2].Upper();
    at += 2;
  }
  return at + 1 >= tokens.size() || !tokens[at + 1].IsSymbol("@");
}

TriggeredDml::TriggeredDml(ServerSession& session, const TableTriggers& table,
                           const std::string& sql, const std::vector<SqlToken>& tokens,
                           const BindSet& binds)
    : session_(session), table_(table), sql_(sql), tokens_(tokens), binds_(binds) {}

std::string TriggeredDml::Text(TokenRange range) const {
  return RangeText(sql_, tokens_, range.first, range.second);
}

int TriggeredDml::ColumnIndex(const std::string& name) const {
  const auto found = std::find(table_.columns.begin(), table_.columns.end(), name);
  return found == table_.columns.end() ? -1 : static_cast<int>(found - table_.columns.begin());
}

std::size_t TriggeredDml::SkipTarget(std::size_t at) const {
  at += at + 2 < tokens_.size() && tokens_[at + 1].IsSymbol(".") ? 3 : 1;
  if (at < tokens_.size() && IsName(tokens_[at]) && !EndsTarget(tokens_[at]))
    ++at;
  return at;
}

bool TriggeredDml::ReadParts(OraError& error) {
  const std::size_t start = TargetStart(tokens_);
  const std::size_t targetEnd = SkipTarget(start);
  parts_.target = {start, targetEnd};
  // RETURNING and a partition of the table are not read here.
  if (FindWord(tokens_, targetEnd, tokens_.size(), "RETURNING") != tokens_.size() ||
      FindWord(tokens_, targetEnd, tokens_.size(), "RETURN") != tokens_.size() ||
      (targetEnd < tokens_.size() &&
       (tokens_[targetEnd].IsWord("PARTITION") || tokens_[targetEnd].IsWord("SUBPARTITION")))) {
    error = kUnimplemented;
    return false;
  }
  if (tokens_[0].IsWord("INSERT"))
    return ReadInsert(targetEnd, error);
  if (tokens_[0].IsWord("UPDATE"))
    return ReadUpdate(targetEnd, error);
  parts_.event = DmlEvent::Delete;
  if (targetEnd < tokens_.size()) {
    if (!tokens_[targetEnd].IsWord("WHERE")) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    parts_.where = {targetEnd + 1, tokens_.size()};
  }
  return true;
}

bool TriggeredDml::ReadInsert(std::size_t at, OraError& error) {
  parts_.event = DmlEvent::Insert;
  if (at < tokens_.size() && tokens_[at].IsSymbol("(") && at + 1 < tokens_.size() &&
      !tokens_[at + 1].IsWord("SELECT") && !tokens_[at + 1].IsWord("WITH")) {
    const std::size_t close = ClosingParen(tokens_, at);
    for (const TokenRange& item : ListItems(tokens_, at + 1, close)) {
      if (item.second != item.first + 1 || !IsName(tokens_[item.first])) {
        error = {904, "invalid identifier"};
        return false;
      }
      parts_.columns.push_back(tokens_[item.first].Upper());
    }
    at = close + 1;
  } else {
    parts_.columns = table_.visible;
  }
  if (at < tokens_.size() && tokens_[at].IsWord("VALUES")) {
    if (at + 1 >= tokens_.size() || !tokens_[at + 1].IsSymbol("(")) {
      error = {906, "missing left parenthesis"};
      return false;
    }
    const std::size_t close = ClosingParen(tokens_, at + 1);
    for (const TokenRange& value : ListItems(tokens_, at + 2, close))
      parts_.values.push_back(Text(value));
    if (close + 1 < tokens_.size()) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    if (parts_.values.size() != parts_.columns.size()) {
      error = parts_.values.size() > parts_.columns.size() ? OraError{913, "too many values"}
                                                           : OraError{947, "not enough values"};
      return false;
    }
  } else {
    parts_.query = {at, tokens_.size()};
  }
  for (const std::string& column : parts_.columns) {
    if (!CheckColumn(column, {54013, "INSERT operation disallowed on virtual columns"}, error))
      return false;
  }
  return true;
}

bool TriggeredDml::CheckColumn(const std::string& column, const OraError& ifVirtual,
                               OraError& error) const {
  const int index = ColumnIndex(column);
  if (index < 0) {
    error = {904, "\"" + column + "\": invalid identifier"};
    return false;
  }
  if (!table_.writable[static_cast<std::size_t>(index)]) {
    error = ifVirtual;
    return false;
  }
  return true;
}

bool TriggeredDml::ReadUpdate(std::size_t at, OraError& error) {
  parts_.event = DmlEvent::Update;
  if (at >= tokens_.size() || !tokens_[at].IsWord("SET")) {
    error = {971, "missing SET keyword"};
    return false;
  }
  const std::size_t where = FindWord(tokens_, at + 1, tokens_.size(), "WHERE");
  const std::size_t from = FindWord(tokens_, at + 1, where, "FROM");
  if (from < where)
    parts_.from = {from + 1, where};
  for (const TokenRange& item : ListItems(tokens_, at + 1, from)) {
    if (tokens_[item.first].IsSymbol("(")) {
      if (!ReadTupleAssignment(item, error))
        return false;
      continue;
    }
    const std::size_t name = ColumnOf({item.first, item.second});
    if (name + 1 >= item.second || !tokens_[name + 1].IsSymbol("=")) {
      error = {927, "missing equal sign"};
      return false;
    }
    if (!AddSetColumn(name, error))
      return false;
    parts_.values.push_back(Text({name + 2, item.second}));
  }
  if (where < tokens_.size())
    parts_.where = {where + 1, tokens_.size()};
  return true;
}

std::size_t TriggeredDml::ColumnOf(TokenRange item) const {
  // alias.column or table.column
  return item.first + 2 < item.second && tokens_[item.first + 1].IsSymbol(".") ? item.first + 2
                                                                               : item.first;
}

bool TriggeredDml::AddSetColumn(std::size_t name, OraError& error) {
  if (!IsName(tokens_[name])) {
    error = {904, "invalid identifier"};
    return false;
  }
  const std::string column = tokens_[name].Upper();
  if (!CheckColumn(column, {54017, "UPDATE operation disallowed on virtual columns"}, error))
    return false;
  parts_.columns.push_back(column);
  return true;
}

// (a, b) = (SELECT x, y FROM ...): each column takes its item of the query,
// as a query of that item alone.
bool TriggeredDml::ReadTupleAssignment(TokenRange item, OraError& error) {
  const std::size_t close = ClosingParen(tokens_, item.first);
  const std::size_t open = close + 2;
  if (close + 1 >= item.second || !tokens_[close + 1].IsSymbol("=")) {
    error = {927, "missing equal sign"};
    return false;
  }
  if (open >= item.second || !tokens_[open].IsSymbol("(") ||
      ClosingParen(tokens_, open) != item.second - 1 || open + 1 >= item.second ||
      !tokens_[open + 1].IsWord("SELECT")) {
    error = {936, "missing expression"};
    return false;
  }
  const std::vector<TokenRange> names = ListItems(tokens_, item.first + 1, close);
  std::size_t listBegin = open + 2;
  const bool quantified = tokens_[listBegin].IsWord("DISTINCT") ||
                          tokens_[listBegin].IsWord("UNIQUE") || tokens_[listBegin].IsWord("ALL");
  const std::string quantifier = quantified ? Text({listBegin, listBegin + 1}) + " " : "";
  listBegin += quantified ? 1 : 0;
  const std::size_t fromAt = FindWord(tokens_, listBegin, item.second - 1, "FROM");
  const std::vector<TokenRange> selected = ListItems(tokens_, listBegin, fromAt);
  if (selected.size() != names.size()) {
    error = selected.size() > names.size() ? OraError{913, "too many values"}
                                           : OraError{947, "not enough values"};
    return false;
  }
  const std::string rest = Text({fromAt, item.second - 1});
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!AddSetColumn(ColumnOf(names[i]), error))
      return false;
    parts_.values.push_back("(SELECT " + quantifier + Text(selected[i]) + " " + rest + ")");
  }
  return true;
}

bool TriggeredDml::ReadRows(const std::string& query, std::vector<std::vector<Value>>& rows,
                            OraError& error) {
  // The query reads a DML statement's rows: the functions it calls are
  // called from that statement, which may change data.
  const ServerSession::DmlRowReading reading(session_);
  auto cursor = session_.OpenQuery(query, binds_, error);
  if (!cursor)
    return false;
  std::vector<Value> row;
  while (cursor->Next(row, error))
    rows.push_back(row);
  return !error.IsSet();
}

bool TriggeredDml::FindRows(std::vector<std::vector<Value>>& rows, OraError& error) {
  std::string list;
  auto add = [&list](const std::string& item) { list += (list.empty() ? "" : ", ") + item; };
  if (parts_.event == DmlEvent::Insert) {
    if (parts_.query.second == 0) {
      for (const std::string& value : parts_.values)
        add(value);
      return ReadRows("SELECT " + list + " FROM DUAL", rows, error);
    }
    if (!ReadRows(Text(parts_.query), rows, error))
      return false;
    if (!rows.empty() && rows[0].size() != parts_.columns.size()) {
      error = rows[0].size() > parts_.columns.size() ? OraError{913, "too many values"}
                                                     : OraError{947, "not enough values"};
      return false;
    }
    return true;
  }
  // With other tables in FROM, the table's own columns are named by its
  // alias (MERGE always gives one).
  const std::string qualifier = parts_.from.second == 0
                                    ? std::string()
                                    : Text({parts_.target.second - 1, parts_.target.second}) + ".";
  add(table_.isView ? "NULL" : qualifier + "ROWID");
  for (const std::string& column : table_.columns)
    add(qualifier + Quoted(column));
  for (const std::string& value : parts_.values)
    add("(" + value + ")");
  std::string query = "SELECT " + list + " FROM " + Text(parts_.target);
  if (parts_.from.second != 0)
    query += ", " + Text(parts_.from);
  if (parts_.where.second != 0)
    query += " WHERE " + Text(parts_.where);
  return ReadRows(query, rows, error);
}

bool TriggeredDml::ApplyDefaults(TriggerRow& row, const std::vector<bool>& given, OraError& error) {
  std::string list;
  std::vector<std::size_t> columns;
  for (std::size_t c = 0; c < table_.columns.size(); ++c) {
    if (given[c] || !table_.writable[c] || table_.defaults[c].empty())
      continue;
    list += (list.empty() ? "" : ", ") + table_.defaults[c];
    columns.push_back(c);
  }
  if (columns.empty())
    return true;
  std::vector<std::vector<Value>> values;
  if (!ReadRows("SELECT " + list + " FROM DUAL", values, error))
    return false;
  for (std::size_t i = 0; i < columns.size() && !values.empty(); ++i) {
    row.newValues[columns[i]] = values[0][i];
    row.assigned[columns[i]] = true;  // stored as evaluated, as the trigger saw it
  }
  return true;
}

bool TriggeredDml::Step(const std::string& sql, const std::vector<Value>& values, OraError& error) {
  sqlite3* db = session_.Server().Handle();
  SqliteStatement& statement = statements_[sql];
  if (!statement) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      error = MapSqliteError(sqlite3_errmsg(db));
      return false;
    }
    statement.reset(raw);
  }
  sqlite3_stmt* raw = statement.get();
  sqlite3_reset(raw);
  sqlite3_clear_bindings(raw);
  for (std::size_t i = 0; i < values.size(); ++i)
    BindValue(raw, static_cast<int>(i + 1), values[i]);
  int rc;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE)
    error = session_.NameConstraintError(MapSqliteError(sqlite3_errmsg(db)));
  sqlite3_reset(raw);
  return rc == SQLITE_DONE;
}

bool TriggeredDml::ChangeRow(TriggerRow& row, const std::vector<bool>& given,
                             std::int64_t rowNumber, OraError& error) {
  const std::string table = QuoteSqliteName(table_.QualifiedName());
  if (parts_.event == DmlEvent::Delete)
    return Step("DELETE FROM " + table + " WHERE rowid = ?", {Value::Integer(rowNumber)}, error);
  std::string names, placeholders, assignments;
  std::vector<Value> values;
  for (std::size_t c = 0; c < table_.columns.size(); ++c) {
    if (!table_.writable[c] || !(given[c] || row.assigned[c]))
      continue;
    const std::string separator = values.empty() ? "" : ", ";
    names += separator + QuoteSqliteName(table_.columns[c]);
    placeholders += separator + "?";
    assignments += separator + QuoteSqliteName(table_.columns[c]) + " = ?";
    values.push_back(row.newValues[c]);
  }
  if (parts_.event == DmlEvent::Insert)
    return Step(values.empty()
                    ? "INSERT INTO " + table + " DEFAULT VALUES"
                    : "INSERT INTO " + table + " (" + names + ") VALUES (" + placeholders + ")",
                values, error);
  if (values.empty())
    return true;
  values.push_back(Value::Integer(rowNumber));
  return Step("UPDATE " + table + " SET " + assignments + " WHERE rowid = ?", values, error);
}

bool TriggeredDml::ReadRow(const std::vector<Value>& found, TriggerRow& row,
                           std::vector<bool>& given, std::int64_t& rowNumber, OraError& error) {
  if (parts_.event == DmlEvent::Insert) {
    for (std::size_t i = 0; i < parts_.columns.size(); ++i) {
      const auto c = static_cast<std::size_t>(ColumnIndex(parts_.columns[i]));
      row.newValues[c] = found[i];
      given[c] = true;
    }
    return ApplyDefaults(row, given, error);
  }
  // ROWID, the table's columns, then the SET values
  const std::size_t count = table_.columns.size();
  rowNumber = table_.isView ? 0 : RowNumberOf(found[0].text);
  std::copy(found.begin() + 1, found.begin() + 1 + static_cast<std::ptrdiff_t>(count),
            row.oldValues.begin());
  if (parts_.event == DmlEvent::Update) {
    row.newValues = row.oldValues;
    for (std::size_t i = 0; i < parts_.columns.size(); ++i) {
      const auto c = static_cast<std::size_t>(ColumnIndex(parts_.columns[i]));
      row.newValues[c] = found[1 + count + i];
      given[c] = true;
    }
  }
  return true;
}

bool TriggeredDml::Run(std::uint64_t& rowsProcessed, OraError& error) {
  if (!ReadParts(error))
    return false;
  const std::vector<std::string> setColumns =
      parts_.event == DmlEvent::Update ? parts_.columns : std::vector<std::string>{};
  TriggerFiring firing(session_, table_, parts_.event, setColumns);
  using Timing = TableTrigger::Timing;
  if (!firing.Prepare(error))
    return false;
  // A view changes only through its INSTEAD OF triggers, run for each row
  // in place of the change.
  if (table_.isView && !firing.HasRowTriggers(Timing::InsteadOf)) {
    error = {1732, "data manipulation operation not legal on this view"};
    return false;
  }
  if (!firing.Fire(Timing::Before, nullptr, error))
    return false;
  std::vector<std::vector<Value>> rows;
  if (!FindRows(rows, error))
    return false;
  const std::size_t count = table_.columns.size();
  {
    // A single-row INSERT ... VALUES leaves its table readable to its triggers.
    const bool rowTriggers =
        firing.HasRowTriggers(Timing::Before) || firing.HasRowTriggers(Timing::After);
    const bool singleRowInsert = parts_.event == DmlEvent::Insert && parts_.query.second == 0;
    MutatingGuard mutating(session_.MutatingTables(), table_.QualifiedName(),
                           rowTriggers && !singleRowInsert && !table_.isView);
    for (const std::vector<Value>& found : rows) {
      TriggerRow row{std::vector<Value>(count), std::vector<Value>(count),
                     std::vector<bool>(count)};
      std::vector<bool> given(count);
      std::int64_t rowNumber = 0;
      if (!ReadRow(found, row, given, rowNumber, error))
        return false;
      // Each row keeps its constraints before its AFTER ROW triggers see it.
      if (table_.isView ? !firing.Fire(Timing::InsteadOf, &row, error)
                        : !firing.Fire(Timing::Before, &row, error) ||
                              !ChangeRow(row, given, rowNumber, error) ||
                              !RowChecks(session_.Server(), session_).Settle(false, error) ||
                              !firing.Fire(Timing::After, &row, error))
        return false;
    }
  }
  // Keys into the table itself hold once every row is in, before the AFTER
  // STATEMENT triggers run.
  if (!RowChecks(session_.Server(), session_).Settle(true, error) ||
      !firing.Fire(Timing::After, nullptr, error))
    return false;
  rowsProcessed = rows.size();
  return true;
}

}  // namespace sandbox
