// One sandbox database: a SQLite connection holding the dictionary and every
// schema's tables, shared by all sessions logged on to it. Every access runs
// under the database's lock, so sessions of several threads may use it.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/dictionary/StorageNameCache.h"
#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/integrity/IntegrityState.h"

namespace sandbox {

class StreamingCursor;

class ServerDatabase : public Database, public std::enable_shared_from_this<ServerDatabase> {
 public:
  struct Options {
    std::string globalName;
    std::string release = "19";  // "19", "8.1.7", "8.0.5" or "7.3.4"
    std::string filePath;        // empty: in memory
  };
  // Opens (or creates) the database; nullptr with error set on failure.
  static std::shared_ptr<ServerDatabase> Open(const Options& options, OraError& error);

  const std::string& Name() const override { return name_; }
  std::string VersionBanner() const override;
  std::unique_ptr<Session> Logon(const std::string& user, const std::string& password,
                                 OraError& error) override;

  // What sessions use: the connection, its lock and the function context that
  // must be set to the running session's state before each statement.
  sqlite3* Handle() { return db_.get(); }
  std::recursive_mutex& Mutex() { return mutex_; }
  SqlFunctionContext& Functions() { return functions_; }
  const std::string& Release() const { return release_; }
  IntegrityState& Integrity() { return integrity_; }

  // Transaction state shared by the sessions of this database.
  void BeginWork();  // starts a transaction when none is open
  bool InTransaction() const { return inTransaction_; }
  // False, with SQLite's message in failure, when the commit fails; the
  // transaction is then still open.
  bool CommitWork(std::string* failure = nullptr);
  void RollbackWork();
  // How many transactions have ended (committed or rolled back): a call that
  // sees it change ended the transaction it began in.
  unsigned long long TransactionsEnded() const { return transactionsEnded_; }
  // The TransactionsEnded() count of the last transaction that committed.
  unsigned long long LastCommitEnded() const { return lastCommitEnded_; }

  long long NextObjectId();

  // True when the database holds a SQLite table or view of that name.
  bool HasStorage(const std::string& storageName) {
    return storageNames_.Contains(db_.get(), storageName);
  }
  // Changes with every change of the schema (see StorageNameCache).
  unsigned long long SchemaGeneration() { return storageNames_.Generation(db_.get()); }
  // Open query cursors that step SQLite as rows are fetched; call under the lock.
  void AddCursor(StreamingCursor* cursor) { cursors_.push_back(cursor); }
  void RemoveCursor(StreamingCursor* cursor);
  // Has every open cursor read its remaining rows, so that the statement
  // about to run meets no half-read SQLite statement; call under the lock.
  void SettleCursors();
  // The interrupt flag of the session whose statement SQLite steps now: a
  // progress handler ends the statement (SQLITE_INTERRUPT) once it is set.
  // Call under the lock; null for none.
  void SetRunning(const std::atomic<bool>* interrupt) { running_ = interrupt; }
  const std::atomic<bool>* Running() const { return running_; }

  // One call of a session into the database, under its lock. Open cursors
  // are settled first. The schema version is read once, when the outermost
  // call begins, not at every name that the call's statements (and the
  // blocks they run) resolve.
  class Call {
   public:
    explicit Call(ServerDatabase& database) : database_(database), lock_(database.mutex_) {
      database_.SettleCursors();
      if (database_.callDepth_++ == 0)
        database_.storageNames_.Hold(database_.Handle());
    }
    ~Call() {
      if (--database_.callDepth_ == 0)
        database_.storageNames_.Release();
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

   private:
    ServerDatabase& database_;
    std::lock_guard<std::recursive_mutex> lock_;
  };

  // Called when DDL ends, committed or not.
  void SchemaChanged() { storageNames_.Forget(); }

 private:
  ServerDatabase() = default;
  static int OnProgress(void* database);

  std::string name_;
  std::string release_;
  SqliteConnection db_;
  StorageNameCache storageNames_;  // after db_: its statement goes first
  std::recursive_mutex mutex_;
  SqlFunctionContext functions_;
  IntegrityState integrity_;
  bool inTransaction_ = false;
  unsigned long long transactionsEnded_ = 0;
  unsigned long long lastCommitEnded_ = 0;
  int callDepth_ = 0;  // nesting of Call, under mutex_
  std::vector<StreamingCursor*> cursors_;
  const std::atomic<bool>* running_ = nullptr;
};

}  // namespace sandbox
