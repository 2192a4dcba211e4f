// Recording row changes through SQLite's pre-update hook.
#include "sandbox/server/integrity/RowChanges.h"

#include <cstring>

namespace sandbox {

namespace {

bool SameValue(sqlite3_value* a, sqlite3_value* b) {
  const int type = sqlite3_value_type(a);
  if (type != sqlite3_value_type(b))
    return false;
  switch (type) {
    case SQLITE_NULL:
      return true;
    case SQLITE_INTEGER:
      return sqlite3_value_int64(a) == sqlite3_value_int64(b);
    case SQLITE_FLOAT:
      return sqlite3_value_double(a) == sqlite3_value_double(b);
    default: {
      const int size = sqlite3_value_bytes(a);
      return size == sqlite3_value_bytes(b) &&
             std::memcmp(sqlite3_value_blob(a), sqlite3_value_blob(b),
                         static_cast<std::size_t>(size)) == 0;
    }
  }
}

class PreupdateImage : public RowImage {
 public:
  PreupdateImage(sqlite3* db, bool after) : db_(db), after_(after) {}
  sqlite3_value* Column(int index) const override {
    sqlite3_value* value = nullptr;
    if ((after_ ? sqlite3_preupdate_new(db_, index, &value)
                : sqlite3_preupdate_old(db_, index, &value)) != SQLITE_OK)
      return nullptr;
    return value;
  }

 private:
  sqlite3* db_;
  bool after_;
};

void ProbeHook(void* answer, sqlite3* db, int, const char*, const char*, sqlite3_int64,
               sqlite3_int64) {
  sqlite3_value* value = nullptr;
  *static_cast<bool*>(answer) =
      sqlite3_preupdate_new(db, 1, &value) == SQLITE_OK && sqlite3_value_type(value) == SQLITE_NULL;
}

}  // namespace

bool PreupdateCountsVirtualColumns() {
  static const bool counts = [] {
    bool answer = false;
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    const SqliteConnection db(raw);
    sqlite3_exec(raw, "CREATE TABLE t (a, v AS (NULL) VIRTUAL, b)", nullptr, nullptr, nullptr);
    sqlite3_preupdate_hook(raw, &ProbeHook, &answer);
    sqlite3_exec(raw, "INSERT INTO t (a, b) VALUES (1, 2)", nullptr, nullptr, nullptr);
    return answer;
  }();
  return counts;
}

void RowChange::Describe(const RowImage& before, const RowImage* after) {
  auto differs = [&](int column) {
    sqlite3_value* a = before.Column(column);
    sqlite3_value* b = after->Column(column);
    return a == nullptr || b == nullptr || !SameValue(a, b);
  };
  if (after != nullptr) {
    for (std::size_t i = 0; i < rules->notNull.size(); ++i) {
      const int column = rules->notNull[i].column;
      sqlite3_value* now = after->Column(column);
      sqlite3_value* was = before.Column(column);
      if (now != nullptr && was != nullptr && sqlite3_value_type(now) == SQLITE_NULL &&
          sqlite3_value_type(was) != SQLITE_NULL)
        nulled.push_back(static_cast<int>(i));
    }
    keyChanged.resize(rules->rowChecks.size());
    for (std::size_t i = 0; i < rules->rowChecks.size(); ++i)
      for (const int column : rules->rowChecks[i].keyColumns)
        keyChanged[i] = keyChanged[i] || differs(column);
  }
  oldKeys.resize(rules->parentKeys.size());
  for (std::size_t i = 0; i < rules->parentKeys.size(); ++i) {
    const auto& columns = rules->parentKeys[i].columns;
    bool changed = after == nullptr;
    for (std::size_t c = 0; !changed && c < columns.size(); ++c)
      changed = differs(columns[c]);
    if (!changed)
      continue;
    for (const int column : columns)
      oldKeys[i].emplace_back(sqlite3_value_dup(before.Column(column)));
  }
}

RowChanges::Scope::Scope(RowChanges& changes) : changes_(changes) {
  changes_.frames_.push_back(std::make_unique<Frame>());
}

RowChanges::Scope::~Scope() {
  changes_.frames_.pop_back();
}

std::shared_ptr<const TableRules> RowChanges::CachedRules(const std::string& storage) const {
  const auto found = rules_.find(storage);
  return found == rules_.end() ? nullptr : found->second;
}

void RowChanges::Keep(const std::shared_ptr<const TableRules>& rules) {
  rules_[rules->storage] = rules;
}

void RowChanges::Forget() {
  rules_.clear();
  lastTable_.clear();
  lastRules_ = nullptr;
}

void RowChanges::ForgetUnless(unsigned long long generation) {
  if (generation != generation_)
    Forget();
  generation_ = generation;
}

const std::shared_ptr<const TableRules>* RowChanges::Lookup(const char* table) {
  if (lastRules_ == nullptr || lastTable_ != table) {
    const auto found = rules_.find(table);
    if (found == rules_.end())
      return nullptr;
    lastTable_ = table;
    lastRules_ = &found->second;  // nodes of an unordered_map stay where they are
  }
  return lastRules_;
}

std::vector<CapturedRow> RowChanges::TakeCapture() {
  std::vector<CapturedRow> rows;
  rows.swap(captures_.back());
  return rows;
}

void RowChanges::OnPreupdate(void* self, sqlite3* db, int op, const char*, const char* table,
                             sqlite3_int64 oldKey, sqlite3_int64 newKey) {
  auto& changes = *static_cast<RowChanges*>(self);
  // The dictionary's own tables keep no user constraints, and what an
  // autonomous transaction does to them (sequences) is kept otherwise.
  if (changes.replaying_ > 0 || std::strncmp(table, "SYS.", 4) == 0)
    return;
  if (!changes.captures_.empty()) {
    CapturedRow row{table, op, oldKey, newKey, {}};
    if (op != SQLITE_DELETE) {
      const PreupdateImage after(db, true);
      for (int i = 0, count = sqlite3_preupdate_count(db); i < count; ++i)
        row.values.emplace_back(sqlite3_value_dup(after.Column(i)));
    }
    changes.captures_.back().push_back(std::move(row));
  }
  if (changes.frames_.empty() || changes.paused_ > 0)
    return;
  RowChange change;
  change.op = op;
  change.rowid = op == SQLITE_DELETE ? oldKey : newKey;
  if (const auto* rules = changes.Lookup(table)) {
    const TableRules& known = **rules;
    if (op == SQLITE_INSERT   ? !known.WatchesInsert()
        : op == SQLITE_UPDATE ? !known.WatchesUpdate()
                              : !known.WatchesDelete())
      return;
    change.rules = *rules;
    if (op != SQLITE_INSERT) {
      const PreupdateImage before(db, false), after(db, true);
      change.Describe(before, op == SQLITE_UPDATE ? &after : nullptr);
    }
  } else {
    // Described when the rules are read, against the row as it is then.
    change.table = table;
    if (op != SQLITE_INSERT) {
      const PreupdateImage before(db, false);
      for (int i = 0, count = sqlite3_preupdate_count(db); i < count; ++i)
        change.oldRow.emplace_back(sqlite3_value_dup(before.Column(i)));
    }
  }
  changes.frames_.back()->changes.push_back(std::move(change));
}

}  // namespace sandbox
