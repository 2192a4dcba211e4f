// OracleSession is the program's one connection to an Oracle database: it owns
// the client library it loaded, the OCI handles of one logged-on session and
// the credentials needed to log on again after a lost connection. It also
// carries the session-level conveniences built on OracleStatement (ExecuteSql,
// QueryValue, ListUsers, FetchLongText) and the server-output exchange of
// PL/SQL blocks that print their results with DBMS_OUTPUT.
//
// A session is used by one thread at a time, except BreakRunningCall, which
// another thread calls to end the call that one runs. Errors never throw: operations
// return false or an empty text and the details go through ReportError.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "oracle/ClientLibrary.h"
#include "oracle/OciApi.h"
#include "oracle/SessionSetup.h"

class ClientMessages;
class SettingsStore;

class OracleSession {
 public:
  // Reads "Settings"\"OCIVER" (default 0) and loads that client library.
  OracleSession(SettingsStore& settings, ClientMessages& messages);
  ~OracleSession();
  OracleSession(const OracleSession&) = delete;
  OracleSession& operator=(const OracleSession&) = delete;

  // Client library.
  int LoadClientLibrary(int choice);
  int SelectClientLibrary(int choice);
  void UnloadClientLibrary();
  int LibraryKind() const { return libraryKind_; }
  const ClientLibrary& Library() const { return library_; }

  // Logon and logoff. user, password and database travel to the client as
  // separate values, so none of them is limited in length or characters.
  bool Connect(const std::string& user, const std::string& password, const std::string& database,
               bool showMessages, bool setDateFormat);
  bool Disconnect();

  // Sets the session's number characters and timestamp formats to those of
  // SessionFormats.h; every logon runs it.
  static std::string FixedFormatsStatement();
  // What to check after the logon error number, on a line of its own; empty
  // for errors the user cannot mend at the logon.
  static std::string LogonAdvice(int number);

  // "7", "8.0" or "8" (every later release), from the server's banner.
  std::string ServerVersionClass();

  // The client's text of the last error ("ORA-nnnnn: ..."), its number in code.
  std::string LastError(int* code);
  // Reports the last error: silent for ORA-01403 and ORA-24344; after a lost
  // connection (unless noReconnect) logs on again silently and returns true so
  // that the caller repeats its statement once; otherwise shows the text
  // unless quiet. Returns true only when it reconnected.
  bool ReportError(bool noReconnect, bool quiet, int* code);
  static bool IsConnectionLost(int code);

  // Runs DDL, a PL/SQL block or "alter session"; non-empty binds go to
  // ":bind1" .. ":bind5". One reconnect-and-retry on a lost connection. An
  // "alter session set" that succeeds is replayed by every later reconnect.
  bool ExecuteSql(const std::string& sql, const std::string& bind1 = "",
                  const std::string& bind2 = "", const std::string& bind3 = "",
                  const std::string& bind4 = "", int* errorCode = nullptr,
                  const std::string& bind5 = "");
  // Makes format the session's date format; the format is a literal of the
  // statement, so its apostrophes are doubled. Fails as ExecuteSql does.
  bool SetDateFormat(const std::string& format);
  // Column 1 of the last row of a query binding ":owner", ":objname" and
  // ":objtype" (upper-cased, when not empty); "" for no rows, NULL or failure.
  std::string QueryValue(const std::string& sql, const std::string& owner,
                         const std::string& objectName, const std::string& objectType);
  // Every user name of the database, in the server's order.
  void ListUsers(std::vector<std::string>& out);
  // A LONG column value read in pieces (":bind1", ":bind2" bound when not
  // empty); one progress step per piece. After a failure the text is "",
  // never a part of the value; the error is shown, or, when failure is given,
  // its text goes there instead (LastError still holds it).
  std::string FetchLongText(const std::string& sql, const std::string& bind1,
                            const std::string& bind2, std::string* failure = nullptr);

  // Server output of PL/SQL blocks. ReadServerOutput drains the lines printed
  // so far; a failure is reported and yields "".
  std::string ReadServerOutput();
  // Enables server output, runs block with its binds, drains what it printed
  // and disables server output again. Enable, block and drain are one unit: a
  // connection lost anywhere in it logs on again (server output enabled as
  // before) and runs the unit once more from the start. The text comes only
  // from a block that ran to its end; otherwise it is "", the error has been
  // shown and failure (when given) receives its text.
  std::string RunPrintingBlock(const std::string& block, const std::string& bind1,
                               const std::string& bind2, const std::string& bind3,
                               const std::string& bind4, std::string* failure = nullptr);
  static std::string StripComments(const std::string& text);
  static int FindCommentStart(const std::string& text);

  // Called once per piece of a long fetch; the owner view steps its progress bar.
  void SetProgressStep(std::function<void()> step) { progressStep_ = std::move(step); }
  void StepProgress() const;

  // Any thread: ends the server call that the session's thread waits for
  // (OCIBreak); that call fails with ORA-01013 and the session stays logged
  // on. A break that finds no call running ends the next one, until
  // ResetAfterBreak.
  void BreakRunningCall();
  // The session's thread, after a stop: withdraws a break that ended no call
  // (OCIReset, where the client library has it).
  void ResetAfterBreak();
  // ORA-01013: the call was ended by a break.
  static bool IsCancelled(int code) { return code == 1013; }

  bool IsConnected() const { return isConnected_; }
  const std::string& GlobalName() const { return globalName_; }
  const std::string& VersionClass() const { return versionClass_; }
  // The server's own description of its release, as read at logon.
  const std::string& ServerBanner() const { return serverBanner_; }
  const std::string& SessionLabel() const { return sessionLabel_; }
  void SetSessionLabel(std::string label) { sessionLabel_ = std::move(label); }
  const std::string& User() const { return user_; }
  const std::string& UserUpper() const { return userUpper_; }
  const std::string& Password() const { return password_; }
  const std::string& Database() const { return database_; }

  SettingsStore& Settings() const { return settings_; }
  ClientMessages& Messages() const { return messages_; }

  // For OracleStatement and code that needs more of OCI than the session
  // offers (for example a select-list describe).
  const ClientEntryPoints& Oci() const { return library_.EntryPoints(); }
  OCIEnv* Environment() const { return environment_; }
  OCISvcCtx* ServiceContext() const { return serviceContext_; }
  OCIError* ErrorHandle() const { return error_; }
  // Grows by one whenever the handles are released: statement handles that
  // were allocated from an earlier environment are gone with it.
  unsigned HandleGeneration() const { return handleGeneration_; }
  // Makes LastError answer text and code for an operation that the client
  // layer refused before it reached the library.
  void SetClientError(int code, std::string text);
  void ClearClientError();
  // Discards the pending error record after a call whose failure is ignored.
  void DiscardError();

 private:
  bool LogonParts(const std::string& user, const std::string& password, const std::string& database,
                  ub4 initMode);
  sword CreateHandles(ub4 initMode);
  sword AttachServer(const std::string& database);
  sword BeginSession(const std::string& user, const std::string& password, ub4 credentials,
                     ub4 mode);
  void EndSession();
  void DetachServer();
  void ReleaseHandles();
  bool ReportErrorText(const std::string& text, int number, bool noReconnect, bool quiet);
  bool Reconnect();
  bool ReplaySetup();
  bool RetryAfterReconnect(int* errorCode, const std::function<bool()>& attempt);
  bool ExecuteOnce(const std::string& sql, const std::vector<std::string>& binds);
  bool DrainServerOutput(std::string& collected);
  bool RunPrintingUnit(int bufferSize, const std::string& block,
                       const std::vector<std::string>& binds, std::string& text);

  SettingsStore& settings_;
  ClientMessages& messages_;
  std::function<void()> progressStep_;

  OCISession* sessionHandle_ = nullptr;
  OCIServer* server_ = nullptr;
  OCISvcCtx* serviceContext_ = nullptr;
  OCIEnv* environment_ = nullptr;
  OCIError* error_ = nullptr;
  // The break's own error handle (error handles are not shared between
  // threads) and the service context it breaks, null while not logged on;
  // both under breakMutex_.
  std::mutex breakMutex_;
  OCIError* breakError_ = nullptr;
  OCISvcCtx* breakContext_ = nullptr;
  unsigned handleGeneration_ = 0;
  bool isConnected_ = false;

  ClientLibrary library_;
  std::string serverBanner_;
  int libraryKind_ = 0;

  int clientErrorCode_ = 0;
  std::string clientErrorText_;
  // Set while ReportError logs on again: errors inside that logon neither
  // reconnect (no recursion) nor show a message (the reconnect is silent).
  bool reconnecting_ = false;
  bool connectionLostWhileReconnecting_ = false;
  // What this session set beyond its logon, for a reconnect to set again.
  SessionSetup setup_;

  std::string globalName_;
  std::string versionClass_;
  std::string sessionLabel_;
  std::string user_;
  std::string userUpper_;
  std::string password_;
  std::string database_;
};
