// Opening a sandbox database, logging users on, and its shared transaction.
#include "sandbox/server/ServerDatabase.h"

#include <algorithm>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/StreamingCursor.h"
#include "sandbox/server/dictionary/CodeDictionary.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/dictionary/DictionaryIndexes.h"
#include "sandbox/server/dictionary/DictionaryVisibility.h"
#include "sandbox/server/dictionary/OtherObjectDictionary.h"
#include "sandbox/server/dictionary/PartitionDictionary.h"
#include "sandbox/server/dictionary/TypeDictionary.h"
#include "sandbox/server/triggers/SystemTriggers.h"

namespace sandbox {

std::shared_ptr<ServerDatabase> ServerDatabase::Open(const Options& options, OraError& error) {
  std::shared_ptr<ServerDatabase> database(new ServerDatabase());
  database->name_ = options.globalName;
  database->release_ = options.release;
  sqlite3* raw = nullptr;
  const std::string path = options.filePath.empty() ? ":memory:" : options.filePath;
  const int rc =
      sqlite3_open_v2(path.c_str(), &raw,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  database->db_.reset(raw);
  if (rc != SQLITE_OK) {
    error = {12154, "TNS:could not resolve the connect identifier specified"};
    return nullptr;
  }
  sqlite3_busy_timeout(raw, 5000);
  // Often enough that a break ends a statement well within a second, rarely
  // enough to cost nothing measurable.
  constexpr int kInstructionsPerBreakCheck = 1000;
  sqlite3_progress_handler(raw, kInstructionsPerBreakCheck, &ServerDatabase::OnProgress,
                           database.get());
  // A double-quoted name must never fall back to being a string literal.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  RegisterOracleFunctions(raw, &database->functions_);
  RegisterIntegrityFunctions(raw, &database->integrity_);
  RegisterVisibilityFunctions(raw, &database->functions_);
  SqliteRunner runner(raw);
  runner.Exec("PRAGMA case_sensitive_like = ON");
  // ON DELETE CASCADE through a table that refers to itself.
  runner.Exec("PRAGMA recursive_triggers = ON");
  // DDL commits after every statement, as Oracle's does. Handing each commit
  // to the operating system without waiting for the disk keeps loading a
  // large schema from waiting on it; a crash of the process still loses
  // nothing committed, and the file alone stays the whole database.
  runner.Exec("PRAGMA synchronous = OFF");
  // Statements read the dictionary's tables all the time; a cache that holds
  // the pages of a large schema keeps them from being read again from the file.
  runner.Exec("PRAGMA cache_size = -262144");
  std::string message;
  if ((!HasDictionary(raw) && !CreateDictionary(raw, options.globalName, message)) ||
      !UpgradeDictionary(raw, message) || !CreateCodeDictionary(raw, message) ||
      !CreateTypeDictionary(raw, message) || !CreateVisibilityViews(raw, message) ||
      !CreatePartitionDictionary(raw, message) || !CreateOtherObjectDictionary(raw, message)) {
    // A file that is not a database, or a disk that is full.
    error = {1034, "ORACLE not available (" + message + ")"};
    return nullptr;
  }
  EnsureDictionaryIndexes(raw);
  if (!options.filePath.empty()) {
    std::vector<std::vector<std::string>> rows;
    if (runner.Query("SELECT GLOBAL_NAME FROM \"SYS.GLOBAL_NAME\"", {}, rows) && !rows.empty())
      database->name_ = rows[0][0];
  }
  return database;
}

std::string ServerDatabase::VersionBanner() const {
  if (release_ == "7.3.4")
    return "Oracle7 Server Release 7.3.4.0.0 - Production\nPL/SQL Release 2.3.4.0.0 - Production";
  if (release_ == "8.0.5")
    return "Oracle8 Enterprise Edition Release 8.0.5.0.0 - Production\nPL/SQL Release 8.0.5.0.0 - "
           "Production";
  if (release_ == "8.1.7")
    return "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production\nJServer Release 8.1.7.0.0 "
           "- Production";
  return "Oracle Database 19c Enterprise Edition Release 19.0.0.0.0 - Production\nVersion "
         "19.3.0.0.0";
}

std::unique_ptr<Session> ServerDatabase::Logon(const std::string& user, const std::string& password,
                                               OraError& error) {
  std::lock_guard lock(mutex_);
  const std::string upperUser = ToUpperAscii(user);
  SqliteRunner runner(db_.get());
  std::vector<std::vector<std::string>> rows;
  runner.Query("SELECT PASSWORD FROM \"SYS.USER$\" WHERE NAME = ? AND TYPE = 'USER'",
               {Value::Text(upperUser)}, rows);
  // Releases before 11g compare passwords without regard to case.
  const bool caseSensitive = release_ == "19";
  const bool matches =
      !rows.empty() &&
      (caseSensitive ? rows[0][0] == password : ToUpperAscii(rows[0][0]) == ToUpperAscii(password));
  if (upperUser.empty() || password.empty() || !matches) {
    error = {1017, "invalid username/password; logon denied"};
    return nullptr;
  }
  runner.Query(
      "WITH RECURSIVE held(name) AS (SELECT ?1 UNION SELECT GRANTED_ROLE FROM "
      "\"SYS.DBA_ROLE_PRIVS\", held "
      "WHERE GRANTEE = held.name) SELECT 1 FROM \"SYS.DBA_SYS_PRIVS\" WHERE PRIVILEGE = 'CREATE "
      "SESSION' "
      "AND GRANTEE IN (SELECT name FROM held) UNION SELECT 1 FROM held WHERE name = 'DBA'",
      {Value::Text(upperUser)}, rows);
  if (rows.empty()) {
    error = {1045, "user " + upperUser + " lacks CREATE SESSION privilege; logon denied"};
    return nullptr;
  }
  auto session = std::make_unique<ServerSession>(shared_from_this(), upperUser);
  if (!FireLogonTriggers(*session, error))
    return nullptr;
  return session;
}

int ServerDatabase::OnProgress(void* database) {
  const std::atomic<bool>* running = static_cast<ServerDatabase*>(database)->running_;
  return running != nullptr && running->load(std::memory_order_relaxed) ? 1 : 0;
}

void ServerDatabase::RemoveCursor(StreamingCursor* cursor) {
  std::erase(cursors_, cursor);
}

void ServerDatabase::SettleCursors() {
  // Settling steps SQLite, which may call back into the database.
  const std::vector<StreamingCursor*> open = cursors_;
  for (StreamingCursor* cursor : open)
    cursor->Settle();
}

void ServerDatabase::BeginWork() {
  if (inTransaction_)
    return;
  SqliteRunner(db_.get()).Exec("BEGIN");
  inTransaction_ = true;
}

bool ServerDatabase::CommitWork(std::string* failure) {
  if (!inTransaction_)
    return true;
  SqliteRunner runner(db_.get());
  if (!runner.Exec("COMMIT")) {
    if (failure != nullptr)
      *failure = runner.LastError();
    return false;
  }
  inTransaction_ = false;
  lastCommitEnded_ = ++transactionsEnded_;
  integrity_.EndTransaction();
  return true;
}

void ServerDatabase::RollbackWork() {
  if (!inTransaction_)
    return;
  SqliteRunner(db_.get()).Exec("ROLLBACK");
  inTransaction_ = false;
  ++transactionsEnded_;
  integrity_.EndTransaction();
  storageNames_.Forget();
}

long long ServerDatabase::NextObjectId() {
  SqliteRunner runner(db_.get());
  std::vector<std::vector<std::string>> rows;
  runner.Query("UPDATE \"SYS.OBJ_SEQ\" SET NEXT_ID = NEXT_ID + 1 RETURNING NEXT_ID", {}, rows);
  return rows.empty() ? 0 : std::atoll(rows[0][0].c_str());
}

}  // namespace sandbox
