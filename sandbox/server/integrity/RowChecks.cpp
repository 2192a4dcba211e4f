// Settling a statement's row changes.
#include "sandbox/server/integrity/RowChecks.h"

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerDatabase.h"

namespace sandbox {

namespace {

class SavedRow : public RowImage {
 public:
  explicit SavedRow(const std::vector<SqliteValuePtr>& values) : values_(values) {}
  sqlite3_value* Column(int index) const override {
    return index < static_cast<int>(values_.size()) ? values_[index].get() : nullptr;
  }

 private:
  const std::vector<SqliteValuePtr>& values_;
};

class QueriedRow : public RowImage {
 public:
  explicit QueriedRow(sqlite3_stmt* statement) : statement_(statement) {}
  sqlite3_value* Column(int index) const override {
    return index < sqlite3_column_count(statement_) ? sqlite3_column_value(statement_, index)
                                                    : nullptr;
  }

 private:
  sqlite3_stmt* statement_;
};

bool Flag(sqlite3_stmt* statement, int column) {
  return sqlite3_column_type(statement, column) != SQLITE_NULL &&
         sqlite3_column_int(statement, column) != 0;
}

}  // namespace

RowChecks::RowChecks(ServerDatabase& database, NameResolver& resolver)
    : database_(database), resolver_(resolver), changes_(database.Changes()) {}

bool RowChecks::Settle(bool statementEnd, OraError& error) {
  RowChanges::Frame* frame = changes_.Current();
  if (frame == nullptr)
    return true;
  // Cascaded changes join the frame while it is read.
  for (; frame->settled < frame->changes.size(); ++frame->settled) {
    RowChange& change = frame->changes[frame->settled];
    bool postponed = false;
    if (!Complete(change, error) ||
        !Check(change, statementEnd ? Part::All : Part::AllButSelf, postponed, error))
      return false;
    if (postponed)
      frame->postponed.push_back(frame->settled);
  }
  if (statementEnd) {
    for (const std::size_t index : frame->postponed) {
      bool unused = false;
      if (!Check(frame->changes[index], Part::SelfOnly, unused, error))
        return false;
    }
    frame->postponed.clear();
  }
  if (frame->postponed.empty()) {
    frame->changes.clear();
    frame->settled = 0;
  }
  return true;
}

// Reads the rules of a change recorded before they were known, and
// describes it against the row as it is now.
bool RowChecks::Complete(RowChange& change, OraError& error) {
  if (change.rules)
    return true;
  auto rules = changes_.CachedRules(change.table);
  if (!rules) {
    auto read = std::make_shared<TableRules>();
    if (!ReadTableRules(database_, resolver_, change.table, *read, error))
      return false;
    changes_.Keep(read);
    rules = read;
  }
  change.rules = rules;
  const SavedRow before(change.oldRow);
  if (change.op == SQLITE_DELETE) {
    change.Describe(before, nullptr);
  } else if (change.op == SQLITE_UPDATE && !rules->rowSql.empty()) {
    sqlite3_stmt* row = rules->Statement(database_.Handle(), rules->rowSql, error);
    if (row == nullptr)
      return false;
    sqlite3_bind_int64(row, 1, change.rowid);
    const QueriedRow after(row);
    if (sqlite3_step(row) == SQLITE_ROW)
      change.Describe(before, &after);
    sqlite3_reset(row);
  }
  change.oldRow.clear();
  return true;
}

bool RowChecks::Check(RowChange& change, Part part, bool& postponed, OraError& error) {
  const TableRules& rules = *change.rules;
  if (change.op != SQLITE_DELETE && part != Part::SelfOnly) {
    RowChanges::Pause pause(changes_);
    if ((change.op == SQLITE_INSERT && !rules.onNullSql.empty() &&
         !Run(rules, rules.onNullSql, change, nullptr, error)) ||
        (!rules.conversionSql.empty() && !Run(rules, rules.conversionSql, change, nullptr, error)))
      return false;
  }
  return (change.op == SQLITE_DELETE || CheckRow(change, part, postponed, error)) &&
         (change.op == SQLITE_INSERT || CheckChildren(change, part, postponed, error));
}

// NOT NULL, checks, keys and foreign keys to parents, over the changed row.
bool RowChecks::CheckRow(RowChange& change, Part part, bool& postponed, OraError& error) {
  const TableRules& rules = *change.rules;
  const bool insert = change.op == SQLITE_INSERT;
  if (!insert && part != Part::SelfOnly)
    for (const int index : change.nulled) {
      const auto& rule = rules.notNull[static_cast<std::size_t>(index)];
      if (!Broken(rule.constraint, rule.updateMessage, error))
        return false;
    }
  const std::string& sql = insert ? rules.insertCheckSql : rules.updateCheckSql;
  if (sql.empty())
    return true;
  sqlite3_stmt* statement = rules.Statement(database_.Handle(), sql, error);
  if (statement == nullptr)
    return false;
  sqlite3_bind_int64(statement, 1, change.rowid);
  for (std::size_t i = 0; !insert && i < change.keyChanged.size(); ++i)
    sqlite3_bind_int(statement, static_cast<int>(i + 2), change.keyChanged[i] ? 1 : 0);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE)
    return true;  // gone since, by a cascade
  if (rc != SQLITE_ROW) {
    error = MapSqliteError(sqlite3_errmsg(database_.Handle()));
    return false;
  }
  // The flags come in the order of the query: NOT NULL on INSERT, then rowChecks.
  int column = 0;
  std::vector<std::pair<const RuleConstraint*, const std::string*>> broken;
  if (insert)
    for (const auto& rule : rules.notNull) {
      if (rule.filledOnNull)
        continue;
      if (Flag(statement, column++) && part != Part::SelfOnly)
        broken.emplace_back(&rule.constraint, &rule.constraint.message);
    }
  for (const auto& check : rules.rowChecks) {
    const bool flagged = Flag(statement, column++);
    if (part == Part::SelfOnly ? !check.selfReference
                               : check.selfReference && part == Part::AllButSelf) {
      postponed = postponed || check.selfReference;
      continue;
    }
    if (flagged)
      broken.emplace_back(&check.constraint, &check.constraint.message);
  }
  sqlite3_reset(statement);
  for (const auto& [constraint, message] : broken)
    if (!Broken(*constraint, *message, error))
      return false;
  return true;
}

// Foreign keys into the table of a deleted row, or of an updated key.
bool RowChecks::CheckChildren(RowChange& change, Part part, bool& postponed, OraError& error) {
  const TableRules& rules = *change.rules;
  for (std::size_t i = 0; i < rules.parentKeys.size() && i < change.oldKeys.size(); ++i) {
    const auto& key = rules.parentKeys[i];
    const auto& oldKey = change.oldKeys[i];
    if (oldKey.empty())
      continue;
    const bool cascades = change.op == SQLITE_DELETE && !key.cascadeSql.empty();
    if (cascades) {
      if (part != Part::SelfOnly && !Run(rules, key.cascadeSql, change, &oldKey, error))
        return false;
      continue;
    }
    if (part == Part::SelfOnly ? !key.selfReference
                               : key.selfReference && part == Part::AllButSelf) {
      postponed = postponed || key.selfReference;
      continue;
    }
    sqlite3_stmt* children = rules.Statement(database_.Handle(), key.childrenSql, error);
    if (children == nullptr)
      return false;
    for (std::size_t c = 0; c < oldKey.size(); ++c)
      sqlite3_bind_value(children, static_cast<int>(c + 1), oldKey[c].get());
    const bool found = sqlite3_step(children) == SQLITE_ROW;
    sqlite3_reset(children);
    if (found && !Broken(key.constraint, key.constraint.message, error))
      return false;
  }
  return true;
}

bool RowChecks::Run(const TableRules& rules, const std::string& sql, const RowChange& change,
                    const std::vector<SqliteValuePtr>* key, OraError& error) {
  sqlite3_stmt* statement = rules.Statement(database_.Handle(), sql, error);
  if (statement == nullptr)
    return false;
  if (key == nullptr)
    sqlite3_bind_int64(statement, 1, change.rowid);
  else
    for (std::size_t c = 0; c < key->size(); ++c)
      sqlite3_bind_value(statement, static_cast<int>(c + 1), (*key)[c].get());
  const int rc = sqlite3_step(statement);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW)
    error = MapSqliteError(sqlite3_errmsg(database_.Handle()));
  sqlite3_reset(statement);
  return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

bool RowChecks::Broken(const RuleConstraint& constraint, const std::string& message,
                       OraError& error) {
  IntegrityState& state = database_.Integrity();
  if (constraint.deferrable && state.IsDeferred(constraint.key, constraint.initiallyDeferred)) {
    state.commitChecks.emplace(constraint.key, message);
    return true;
  }
  error = ParseOraText(message);
  return false;
}

}  // namespace sandbox
