// The rows that running DML statements change, as SQLite's pre-update hook
// reports them, kept until the statement checks them against its table's
// rules (RowChecks). Each DML statement holds a Frame; a statement that a
// trigger runs inside another holds its own. Also the rows an autonomous
// transaction changes, whole, for its COMMIT to keep (Transaction), and the
// cache of TableRules, which DDL empties.
#pragma once

#include <sqlite3.h>

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sandbox/server/integrity/TableRules.h"

namespace sandbox {

struct SqliteValueFree {
  void operator()(sqlite3_value* value) const { sqlite3_value_free(value); }
};
using SqliteValuePtr = std::unique_ptr<sqlite3_value, SqliteValueFree>;

// The values of one row, before or after its change.
class RowImage {
 public:
  virtual ~RowImage() = default;
  virtual sqlite3_value* Column(int index) const = 0;
};

struct RowChange {
  std::shared_ptr<const TableRules> rules;  // null while the table's rules are not read
  std::string table;                        // the SQLite table, while rules is null
  int op = 0;                               // SQLITE_INSERT, SQLITE_UPDATE or SQLITE_DELETE
  sqlite3_int64 rowid = 0;                  // the row after an INSERT or UPDATE, else before
  std::vector<SqliteValuePtr> oldRow;       // the row before, while rules is null
  std::vector<int> nulled;                  // notNull rules that an UPDATE set to NULL
  std::vector<bool> keyChanged;             // rowChecks whose key columns an UPDATE changed
  // Per parent key, its values before a DELETE or an UPDATE that changed it.
  std::vector<std::vector<SqliteValuePtr>> oldKeys;

  // Fills nulled, keyChanged and oldKeys from the row before and after.
  void Describe(const RowImage& before, const RowImage* after);
};

// A row an autonomous transaction changed.
struct CapturedRow {
  std::string table;
  int op = 0;
  sqlite3_int64 oldRowid = 0;
  sqlite3_int64 newRowid = 0;
  std::vector<SqliteValuePtr> values;  // the row after an INSERT or UPDATE
};

// Whether the pre-update hook numbers a row's values as the table's columns
// (true) or as the values SQLite stores, without virtual columns (false):
// SQLite releases differ.
bool PreupdateCountsVirtualColumns();

class RowChanges {
 public:
  struct Frame {
    std::deque<RowChange> changes;       // a deque: checks append cascaded changes as they go
    std::size_t settled = 0;             // changes before it are checked
    std::vector<std::size_t> postponed;  // checked again at the statement's end
  };
  // Records the changes of one statement while it lives.
  class Scope {
   public:
    explicit Scope(RowChanges& changes);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    RowChanges& changes_;
  };
  // Changes made while it lives are the checks' own (conversions) and are
  // not recorded.
  class Pause {
   public:
    explicit Pause(RowChanges& changes) : changes_(changes) { ++changes_.paused_; }
    ~Pause() { --changes_.paused_; }
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    RowChanges& changes_;
  };

  // Changes made while it lives make again what a rollback undid, and are
  // neither recorded nor captured.
  class Replay {
   public:
    explicit Replay(RowChanges& changes) : changes_(changes) { ++changes_.replaying_; }
    ~Replay() { --changes_.replaying_; }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

   private:
    RowChanges& changes_;
  };

  // Captures the changes of users' tables while an autonomous transaction
  // runs; transactions nest.
  void BeginCapture() { captures_.emplace_back(); }
  void EndCapture() { captures_.pop_back(); }
  bool Captured() const { return !captures_.empty() && !captures_.back().empty(); }
  // The innermost transaction's changes since the last call.
  std::vector<CapturedRow> TakeCapture();

  void Attach(sqlite3* db) { sqlite3_preupdate_hook(db, &RowChanges::OnPreupdate, this); }
  Frame* Current() { return frames_.empty() ? nullptr : frames_.back().get(); }

  // The cached rules of a SQLite table, or null when not read since the last DDL.
  std::shared_ptr<const TableRules> CachedRules(const std::string& storage) const;
  void Keep(const std::shared_ptr<const TableRules>& rules);
  // Forgets every table's rules: DDL calls it, and so does a change of
  // SQLite's schema (generation) that another connection made.
  void Forget();
  void ForgetUnless(unsigned long long generation);

 private:
  static void OnPreupdate(void* self, sqlite3* db, int op, const char* database, const char* table,
                          sqlite3_int64 oldKey, sqlite3_int64 newKey);
  const std::shared_ptr<const TableRules>* Lookup(const char* table);

  std::vector<std::unique_ptr<Frame>> frames_;
  int paused_ = 0;
  int replaying_ = 0;
  std::vector<std::vector<CapturedRow>> captures_;
  std::unordered_map<std::string, std::shared_ptr<const TableRules>> rules_;
  std::string lastTable_;  // the last lookup, which a statement's rows repeat
  const std::shared_ptr<const TableRules>* lastRules_ = nullptr;
  unsigned long long generation_ = 0;
};

}  // namespace sandbox
