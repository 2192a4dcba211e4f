// The transaction of a sandbox database, its savepoints, kept writes and
// autonomous transactions.
#include "sandbox/server/integrity/Transaction.h"

#include <map>
#include <memory>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/integrity/IntegrityState.h"
#include "sandbox/server/integrity/RowChanges.h"

namespace sandbox {

namespace {

constexpr const char* kAutonomousSavepoint = "qm_autonomous";

// The columns of a table as the pre-update hook numbers them: those that
// take a value (generated ones do not) as SQL lists, and their numbers.
struct RowLayout {
  std::string names, slots, assignments;
  std::vector<int> bound;
};

RowLayout LayoutOf(sqlite3* db, const std::string& table) {
  std::vector<std::vector<std::string>> columns;
  SqliteRunner(db).Query("SELECT name, hidden FROM pragma_table_xinfo(?)", {Value::Text(table)},
                         columns);
  RowLayout layout;
  int index = 0;
  for (const auto& column : columns) {
    if (column[1] == "2" && !PreupdateCountsVirtualColumns())
      continue;
    if (column[1] == "0") {
      layout.names += ", " + QuoteSqliteName(column[0]);
      layout.slots += ", ?";
      layout.assignments += ", " + QuoteSqliteName(column[0]) + " = ?";
      layout.bound.push_back(index);
    }
    ++index;
  }
  return layout;
}

// The write that makes row as it was changed again: an INSERT or UPDATE
// puts the row's values back under its rowid, a DELETE deletes it again.
std::function<void()> MakeAgainWrite(sqlite3* db, const RowLayout& layout, CapturedRow row) {
  const std::string& names = layout.names;
  const std::string& slots = layout.slots;
  const std::string& assignments = layout.assignments;
  const std::vector<int>& bound = layout.bound;
  const std::string table = QuoteSqliteName(row.table);
  std::string sql;
  if (row.op == SQLITE_INSERT)
    sql = "INSERT OR REPLACE INTO " + table + " (rowid" + names + ") VALUES (?" + slots + ")";
  else if (row.op == SQLITE_UPDATE)
    sql = "UPDATE " + table + " SET rowid = ?" + assignments + " WHERE rowid = ?";
  else
    sql = "DELETE FROM " + table + " WHERE rowid = ?";
  auto shared = std::make_shared<CapturedRow>(std::move(row));
  return [db, sql, shared, bound] {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
      return;
    const SqliteStatement statement(raw);
    int parameter = 1;
    if (shared->op != SQLITE_DELETE) {
      sqlite3_bind_int64(raw, parameter++, shared->newRowid);
      for (const auto column : bound) {
        const auto at = static_cast<std::size_t>(column);
        if (at < shared->values.size() && shared->values[at])
          sqlite3_bind_value(raw, parameter, shared->values[at].get());
        ++parameter;  // a value the hook did not give stays NULL
      }
    }
    if (shared->op != SQLITE_INSERT)
      sqlite3_bind_int64(raw, parameter, shared->oldRowid);
    sqlite3_step(raw);
  };
}

}  // namespace

void Transaction::Begin() {
  if (active_)
    return;
  SqliteRunner(db_).Exec("BEGIN");
  active_ = true;
}

bool Transaction::Commit(std::string* failure) {
  if (!active_)
    return true;
  SqliteRunner runner(db_);
  if (!runner.Exec("COMMIT")) {
    if (failure != nullptr)
      *failure = runner.LastError();
    return false;
  }
  active_ = false;
  ++ended_;
  integrity_.EndTransaction();
  kept_.clear();
  savepoints_.clear();
  return true;
}

void Transaction::Rollback() {
  if (!active_)
    return;
  SqliteRunner(db_).Exec("ROLLBACK");
  active_ = false;
  ++ended_;
  integrity_.EndTransaction();
  savepoints_.clear();
  // Outside any transaction now, each kept write commits by itself.
  MakeAgain(0);
  kept_.clear();
}

void Transaction::Savepoint(const std::string& name) {
  SqliteRunner(db_).Exec("SAVEPOINT " + QuoteSqliteName(name));
  savepoints_.push_back({name, kept_.size()});
}

void Transaction::Release(const std::string& name) {
  SqliteRunner(db_).Exec("RELEASE " + QuoteSqliteName(name));
  for (std::size_t i = savepoints_.size(); i-- > 0;)
    if (savepoints_[i].name == name) {
      savepoints_.resize(i);
      break;
    }
}

bool Transaction::RollbackTo(const std::string& name) {
  std::size_t at = savepoints_.size();
  while (at > 0 && savepoints_[at - 1].name != name)
    --at;
  if (!active_ || at == 0 || !SqliteRunner(db_).Exec("ROLLBACK TO " + QuoteSqliteName(name)))
    return false;
  savepoints_.resize(at);
  MakeAgain(savepoints_.back().kept);
  return true;
}

void Transaction::KeepAcrossRollback(const std::string& key, std::function<void()> write) {
  if (!active_)
    return;
  if (!key.empty())
    for (Kept& kept : kept_)
      if (kept.key == key) {
        kept.write = std::move(write);
        return;
      }
  kept_.push_back({key, std::move(write)});
}

void Transaction::MakeAgain(std::size_t from) {
  const RowChanges::Replay replay(changes_);
  for (std::size_t i = 0; i < kept_.size(); ++i)
    if (i >= from || !kept_[i].key.empty())
      kept_[i].write();
}

void Transaction::BeginAutonomous() {
  autonomous_.push_back(active_);
  if (active_)
    Savepoint(kAutonomousSavepoint);
  changes_.BeginCapture();
}

void Transaction::CommitAutonomous() {
  if (!autonomous_.back()) {
    Commit();
    changes_.TakeCapture();
    return;
  }
  std::map<std::string, RowLayout> layouts;
  for (CapturedRow& row : changes_.TakeCapture()) {
    auto found = layouts.find(row.table);
    if (found == layouts.end())
      found = layouts.emplace(row.table, LayoutOf(db_, row.table)).first;
    KeepAcrossRollback({}, MakeAgainWrite(db_, found->second, std::move(row)));
  }
  // What the transaction does next rolls back to here.
  Release(kAutonomousSavepoint);
  Savepoint(kAutonomousSavepoint);
}

void Transaction::RollbackAutonomous() {
  if (autonomous_.back())
    RollbackTo(kAutonomousSavepoint);
  else
    Rollback();
  changes_.TakeCapture();
}

bool Transaction::EndAutonomous() {
  const bool pending = changes_.Captured();
  if (pending)
    RollbackAutonomous();
  if (autonomous_.back())
    Release(kAutonomousSavepoint);
  changes_.EndCapture();
  autonomous_.pop_back();
  return !pending;
}

}  // namespace sandbox
