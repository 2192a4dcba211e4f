// The one transaction of a sandbox database, which its sessions share:
// BEGIN, COMMIT and ROLLBACK, the savepoints set in it, the writes that no
// rollback undoes, and the autonomous transactions that run inside it.
//
// SQLite has one transaction per connection, so an autonomous transaction
// runs inside its caller's, after a savepoint. Its COMMIT keeps what it
// changed as writes that are made again after any later rollback of the
// caller (whole, or to a savepoint set before them), so that they outlive
// the caller's work as Oracle's do; its ROLLBACK goes back to the savepoint.
// Sequence numbers are kept the same way, as Oracle's are not
// transactional.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

namespace sandbox {

struct IntegrityState;
class RowChanges;

class Transaction {
 public:
  Transaction(IntegrityState& integrity, RowChanges& changes)
      : integrity_(integrity), changes_(changes) {}
  void Attach(sqlite3* db) { db_ = db; }

  void Begin();  // when none is open
  bool Active() const { return active_; }
  // False, with SQLite's message in failure, when the commit fails; the
  // transaction is then still open.
  bool Commit(std::string* failure = nullptr);
  void Rollback();
  // How many transactions have ended (committed or rolled back).
  unsigned long long Ended() const { return ended_; }

  void Savepoint(const std::string& name);
  void Release(const std::string& name);
  // Rolls back to the last savepoint of that name, which stays; false when
  // the transaction set none.
  bool RollbackTo(const std::string& name);
  // A write made again after each rollback until the transaction ends. One
  // with a key is the latest state of that key (a sequence) and is always
  // made again; one without is made again by the rollbacks that undo it.
  void KeepAcrossRollback(const std::string& key, std::function<void()> write);

  void BeginAutonomous();
  bool InAutonomous() const { return !autonomous_.empty(); }
  void CommitAutonomous();
  void RollbackAutonomous();
  // Ends the innermost autonomous transaction; false when it left changes
  // uncommitted, which are rolled back (Oracle's ORA-06519).
  bool EndAutonomous();

 private:
  struct Kept {
    std::string key;
    std::function<void()> write;
  };
  struct Mark {
    std::string name;
    std::size_t kept;  // writes kept before it was set
  };
  void MakeAgain(std::size_t from);

  sqlite3* db_ = nullptr;
  IntegrityState& integrity_;
  RowChanges& changes_;
  bool active_ = false;
  unsigned long long ended_ = 0;
  std::vector<Kept> kept_;
  std::vector<Mark> savepoints_;
  std::vector<bool> autonomous_;  // per autonomous transaction: inside a caller's
};

}  // namespace sandbox
