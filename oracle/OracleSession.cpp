// Logon, logoff, error reporting and the session-level statement conveniences
// of OracleSession (see OracleSession.h).
#include "oracle/OracleSession.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <utility>

#include "config/SettingsStore.h"
#include "oracle/BindValues.h"
#include "oracle/ClientMessages.h"
#include "oracle/OracleStatement.h"
#include "oracle/SecretText.h"
#include "oracle/SessionFormats.h"
#include "oracle/SqlComments.h"

namespace {

constexpr int NoDataFound = 1403;
constexpr int SuccessWithCompilationError = 24344;
// Room for the longest identifier of current releases (128 bytes).
constexpr int NameLength = 128;
constexpr int UsersPerFetch = 20;
constexpr int ValueLength = 4000;
constexpr ub4 BannerSize = 512;

constexpr const char* DateFormatFailureText =
    "Could not execute: 'alter session set nls_date_format', date format will revert to "
    "Oracle's default format.";
constexpr const char* MissingErrorText = "The Oracle client reported an error without a text.";

std::string UpperCase(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

// A SQL string literal body: every quote doubled.
std::string QuoteDoubled(const std::string& text) {
  std::string doubled;
  for (char c : text) {
    doubled += c;
    if (c == '\'') {
      doubled += '\'';
    }
  }
  return doubled;
}

bool IsLogonSuccess(sword rc) {
  return rc == OCI_SUCCESS || rc == OCI_SUCCESS_WITH_INFO;
}

// The text of a null-terminated slot of at most capacity bytes.
std::string SlotText(const char* slot, std::size_t capacity) {
  return std::string(slot, strnlen(slot, capacity));
}

}  // namespace

OracleSession::OracleSession(SettingsStore& settings, ClientMessages& messages)
    : settings_(settings), messages_(messages), library_(settings, messages) {
  SelectClientLibrary(settings_.GetInt("Settings", "OCIVER", 0));
}

OracleSession::~OracleSession() {
  if (isConnected_) {
    Disconnect();
  }
  ReleaseHandles();
  UnloadClientLibrary();
  WipeSecret(password_);
}

int OracleSession::LoadClientLibrary(int choice) {
  return library_.Load(choice);
}

int OracleSession::SelectClientLibrary(int choice) {
  libraryKind_ = LoadClientLibrary(choice);
  return libraryKind_;
}

void OracleSession::UnloadClientLibrary() {
  library_.Unload();
}

void OracleSession::SetClientError(int code, std::string text) {
  clientErrorCode_ = code;
  clientErrorText_ = std::move(text);
}

void OracleSession::ClearClientError() {
  clientErrorCode_ = 0;
  clientErrorText_.clear();
}

void OracleSession::DiscardError() {
  if (error_ == nullptr || !library_.IsUsable()) {
    return;
  }
  std::array<OraText, 512> scratch{};
  sb4 code = 0;
  Oci().OCIErrorGet(error_, 1, nullptr, &code, scratch.data(), static_cast<ub4>(scratch.size()),
                    OCI_HTYPE_ERROR);
}

void OracleSession::StepProgress() const {
  if (progressStep_) {
    progressStep_();
  }
}

bool OracleSession::Connect(const std::string& user, const std::string& password,
                            const std::string& database, bool showMessages, bool setDateFormat) {
  // Copies first: a reconnect passes this session's own members.
  std::string newUser = user;
  std::string newPassword = password;
  std::string newDatabase = database;
  user_ = std::move(newUser);
  userUpper_ = UpperCase(user_);
  sessionLabel_ = userUpper_ + "@" + newDatabase;
  WipeSecret(password_);
  password_ = std::move(newPassword);
  database_ = std::move(newDatabase);

  if (!library_.IsUsable()) {
    SetClientError(0, library_.RefusalText());
    if (showMessages && !library_.RefusalShown()) {
      messages_.Show(library_.RefusalText(), MessageKind::Error);
    }
    return false;
  }
  ClearClientError();
  if (!reconnecting_) {
    setup_.Forget();  // a new logon starts from the server's defaults
  }
  if (!LogonParts(user_, password_, database_, OCI_THREADED | OCI_OBJECT)) {
    if (showMessages) {
      int number = 0;
      const std::string text = LastError(&number);
      ReportErrorText(text + LogonAdvice(number), number, true, false);
    }
    return false;
  }

  versionClass_ = ServerVersionClass();
  globalName_ = QueryValue("select global_name from sys.global_name", "", "", "");
  if (setDateFormat) {
    const std::string format = settings_.GetString("Settings", "DateFormat", DefaultDateFormat);
    if (!SetDateFormat(format) && showMessages) {
      messages_.Show(DateFormatFailureText, MessageKind::Warning);
    }
  }
  ExecuteSql(FixedFormatsStatement());
  return true;
}

std::string OracleSession::LogonAdvice(int number) {
  // The two refusals a user mends by typing again: say what to check.
  switch (number) {
    case 1017:
      return "\nCheck the user name and the password: passwords are case-sensitive.";
    case 12154:
      return "\nCheck the database name: an alias of your tnsnames.ora (found through TNS_ADMIN "
             "or ORACLE_HOME) or an Easy Connect string such as dbhost:1521/orclpdb.";
    default:
      return {};
  }
}

std::string OracleSession::FixedFormatsStatement() {
  return std::string("alter session set nls_numeric_characters = '") + SessionNumericCharacters +
         "' nls_timestamp_format = '" + SessionTimestampFormat + "' nls_timestamp_tz_format = '" +
         SessionTimestampZoneFormat + "'";
}

bool OracleSession::SetDateFormat(const std::string& format) {
  return ExecuteSql("alter session set nls_date_format = '" + QuoteDoubled(format) + "'");
}

bool OracleSession::LogonParts(const std::string& user, const std::string& password,
                               const std::string& database, ub4 initMode) {
  if (!IsLogonSuccess(CreateHandles(initMode)) || !IsLogonSuccess(AttachServer(database))) {
    return false;
  }
  if (!IsLogonSuccess(BeginSession(user, password, OCI_CRED_RDBMS, OCI_DEFAULT))) {
    // Keep the logon error for ReportError: the detach may overwrite the record.
    int code = 0;
    std::string text = LastError(&code);
    DetachServer();
    SetClientError(code, std::move(text));
    return false;
  }
  isConnected_ = true;
  const std::lock_guard lock(breakMutex_);
  breakContext_ = serviceContext_;
  return true;
}

void OracleSession::BreakRunningCall() {
  const std::lock_guard lock(breakMutex_);
  if (breakContext_ != nullptr && breakError_ != nullptr) {
    // A failed break leaves the call to end by itself; nothing to report.
    Oci().OCIBreak(breakContext_, breakError_);
  }
}

void OracleSession::ResetAfterBreak() {
  const std::lock_guard lock(breakMutex_);
  if (breakContext_ != nullptr && breakError_ != nullptr && Oci().OCIReset != nullptr) {
    Oci().OCIReset(breakContext_, breakError_);
  }
}

sword OracleSession::CreateHandles(ub4 initMode) {
  ReleaseHandles();  // what a failed logon left behind
  const ClientEntryPoints& oci = Oci();
  sword rc = oci.OCIInitialize(initMode, nullptr, nullptr, nullptr, nullptr);
  if (rc != OCI_SUCCESS) {
    return rc;
  }
  rc = oci.OCIEnvInit(&environment_, OCI_DEFAULT, 0, nullptr);
  if (rc != OCI_SUCCESS) {
    return rc;
  }
  const std::array<std::pair<void**, ub4>, 5> handles = {{
      {reinterpret_cast<void**>(&serviceContext_), OCI_HTYPE_SVCCTX},
      {reinterpret_cast<void**>(&error_), OCI_HTYPE_ERROR},
      {reinterpret_cast<void**>(&breakError_), OCI_HTYPE_ERROR},
      {reinterpret_cast<void**>(&server_), OCI_HTYPE_SERVER},
      {reinterpret_cast<void**>(&sessionHandle_), OCI_HTYPE_SESSION},
  }};
  for (const auto& [slot, type] : handles) {
    rc = oci.OCIHandleAlloc(environment_, slot, type, 0, nullptr);
    if (rc != OCI_SUCCESS) {
      return rc;
    }
  }
  return OCI_SUCCESS;
}

sword OracleSession::AttachServer(const std::string& database) {
  const ClientEntryPoints& oci = Oci();
  sword rc = oci.OCIServerAttach(server_, error_, reinterpret_cast<const OraText*>(database.data()),
                                 static_cast<sb4>(database.size()), OCI_DEFAULT);
  if (!IsLogonSuccess(rc)) {
    return rc;
  }
  return oci.OCIAttrSet(serviceContext_, OCI_HTYPE_SVCCTX, server_, 0, OCI_ATTR_SERVER, error_);
}

sword OracleSession::BeginSession(const std::string& user, const std::string& password,
                                  ub4 credentials, ub4 mode) {
  const ClientEntryPoints& oci = Oci();
  // The client only reads the name and password it is given.
  sword rc = oci.OCIAttrSet(sessionHandle_, OCI_HTYPE_SESSION, const_cast<char*>(user.data()),
                            static_cast<ub4>(user.size()), OCI_ATTR_USERNAME, error_);
  if (rc != OCI_SUCCESS) {
    return rc;
  }
  rc = oci.OCIAttrSet(sessionHandle_, OCI_HTYPE_SESSION, const_cast<char*>(password.data()),
                      static_cast<ub4>(password.size()), OCI_ATTR_PASSWORD, error_);
  if (rc != OCI_SUCCESS) {
    return rc;
  }
  rc = oci.OCISessionBegin(serviceContext_, error_, sessionHandle_, credentials, mode);
  if (!IsLogonSuccess(rc)) {
    return rc;
  }
  return oci.OCIAttrSet(serviceContext_, OCI_HTYPE_SVCCTX, sessionHandle_, 0, OCI_ATTR_SESSION,
                        error_);
}

void OracleSession::EndSession() {
  if (Oci().OCISessionEnd(serviceContext_, error_, sessionHandle_, OCI_DEFAULT) != OCI_SUCCESS) {
    DiscardError();
  }
}

void OracleSession::DetachServer() {
  if (Oci().OCIServerDetach(server_, error_, OCI_DEFAULT) != OCI_SUCCESS) {
    DiscardError();
  }
}

bool OracleSession::Disconnect() {
  if (!isConnected_) {
    return true;
  }
  EndSession();
  DetachServer();
  ReleaseHandles();
  isConnected_ = false;
  return true;
}

void OracleSession::ReleaseHandles() {
  if (environment_ == nullptr) {
    return;
  }
  const std::lock_guard lock(breakMutex_);
  breakContext_ = nullptr;
  if (library_.IsUsable()) {
    const ClientEntryPoints& oci = Oci();
    const std::array<std::pair<void**, ub4>, 4> children = {{
        {reinterpret_cast<void**>(&server_), OCI_HTYPE_SERVER},
        {reinterpret_cast<void**>(&serviceContext_), OCI_HTYPE_SVCCTX},
        {reinterpret_cast<void**>(&sessionHandle_), OCI_HTYPE_SESSION},
        {reinterpret_cast<void**>(&breakError_), OCI_HTYPE_ERROR},
    }};
    for (const auto& [slot, type] : children) {
      if (*slot != nullptr && oci.OCIHandleFree(*slot, type) != OCI_SUCCESS) {
        DiscardError();
      }
      *slot = nullptr;
    }
    // Once the error handle is gone nothing is left to clear a failure with.
    if (error_ != nullptr) {
      oci.OCIHandleFree(error_, OCI_HTYPE_ERROR);
    }
    error_ = nullptr;
    oci.OCIHandleFree(environment_, OCI_HTYPE_ENV);
  }
  server_ = nullptr;
  serviceContext_ = nullptr;
  sessionHandle_ = nullptr;
  error_ = nullptr;
  breakError_ = nullptr;
  environment_ = nullptr;
  ++handleGeneration_;
}

std::string OracleSession::ServerVersionClass() {
  std::array<char, BannerSize> banner{};
  if (isConnected_ &&
      Oci().OCIServerVersion(serviceContext_, error_, reinterpret_cast<OraText*>(banner.data()),
                             BannerSize, static_cast<ub1>(OCI_HTYPE_SVCCTX)) != OCI_SUCCESS) {
    DiscardError();
  }
  const std::string text = SlotText(banner.data(), banner.size());
  serverBanner_ = text;
  if (text.find(" 7.", 1) != std::string::npos) {
    return "7";
  }
  if (text.find(" 8.0", 1) != std::string::npos) {
    return "8.0";
  }
  return "8";
}

std::string OracleSession::LastError(int* code) {
  if (!clientErrorText_.empty()) {
    if (code != nullptr) {
      *code = clientErrorCode_;
    }
    return clientErrorText_;
  }
  std::array<char, OCI_ERROR_MAXMSG_SIZE2> text{};
  sb4 number = 0;
  if (library_.IsUsable() && (error_ != nullptr || environment_ != nullptr)) {
    void* source = error_ != nullptr ? static_cast<void*>(error_) : environment_;
    const ub4 sourceType = error_ != nullptr ? OCI_HTYPE_ERROR : OCI_HTYPE_ENV;
    if (Oci().OCIErrorGet(source, 1, nullptr, &number, reinterpret_cast<OraText*>(text.data()),
                          static_cast<ub4>(text.size()), sourceType) != OCI_SUCCESS) {
      number = 0;
      text[0] = '\0';
    }
  }
  if (code != nullptr) {
    *code = number;
  }
  return SlotText(text.data(), text.size());
}

bool OracleSession::ReportError(bool noReconnect, bool quiet, int* code) {
  int number = 0;
  const std::string text = LastError(&number);
  if (code != nullptr) {
    *code = number;
  }
  return ReportErrorText(text, number, noReconnect, quiet);
}

bool OracleSession::ReportErrorText(const std::string& text, int number, bool noReconnect,
                                    bool quiet) {
  if (number == NoDataFound || number == SuccessWithCompilationError) {
    return false;
  }
  if (reconnecting_) {
    // Inside the silent logon of a reconnect: report nothing, but remember
    // that the new connection is lost as well.
    connectionLostWhileReconnecting_ = connectionLostWhileReconnecting_ || IsConnectionLost(number);
    return false;
  }
  if (!noReconnect && IsConnectionLost(number) && Reconnect()) {
    return true;
  }
  if (!quiet) {
    messages_.Show(text.empty() ? MissingErrorText : text, MessageKind::Error);
  }
  return false;
}

bool OracleSession::Reconnect() {
  reconnecting_ = true;
  connectionLostWhileReconnecting_ = false;
  Disconnect();
  // The date format comes back with the rest of the replayed settings, as the
  // old session had it, not as the options say now.
  const bool connected = Connect(user_, password_, database_, false, false) && ReplaySetup();
  reconnecting_ = false;
  return connected && !connectionLostWhileReconnecting_;
}

bool OracleSession::ReplaySetup() {
  for (const std::string& statement : setup_.AlterStatements()) {
    if (!ExecuteOnce(statement, {})) {
      return false;
    }
  }
  const std::optional<int> serverOutput = setup_.ServerOutput();
  return !serverOutput || ExecuteOnce(SessionSetup::EnableText(*serverOutput), {});
}

bool OracleSession::IsConnectionLost(int code) {
  return (code >= 12100 && code <= 12299) || (code >= 3100 && code <= 3199) ||
         (code >= 12500 && code <= 12699) || code == 28;
}

bool OracleSession::RetryAfterReconnect(int* errorCode, const std::function<bool()>& attempt) {
  bool allowReconnect = true;
  while (!attempt()) {
    if (!ReportError(!allowReconnect, false, errorCode)) {
      return false;
    }
    allowReconnect = false;  // ReportError reconnected: repeat once
  }
  return true;
}

bool OracleSession::ExecuteOnce(const std::string& sql, const std::vector<std::string>& binds) {
  static const std::vector<std::string> names = {":bind1", ":bind2", ":bind3", ":bind4", ":bind5"};
  OracleStatement statement(*this);
  statement.Prepare(sql);
  BindValues values;
  values.BindAll(
      statement,
      std::vector<std::string>(names.begin(), names.begin() + static_cast<long>(binds.size())),
      binds);
  return statement.Execute();
}

bool OracleSession::ExecuteSql(const std::string& sql, const std::string& bind1,
                               const std::string& bind2, const std::string& bind3,
                               const std::string& bind4, int* errorCode, const std::string& bind5) {
  const bool done = RetryAfterReconnect(errorCode, [&] {
    return ExecuteOnce(sql, {bind1, bind2, bind3, bind4, bind5});
  });
  if (done) {
    setup_.NoteStatement(sql);
  }
  return done;
}

std::string OracleSession::QueryValue(const std::string& sql, const std::string& owner,
                                      const std::string& objectName,
                                      const std::string& objectType) {
  std::string value;
  RetryAfterReconnect(nullptr, [&] {
    OracleStatement statement(*this);
    statement.Prepare(sql);
    BindValues binds;
    binds.BindAll(statement, {":owner", ":objname", ":objtype"},
                  {UpperCase(owner), UpperCase(objectName), UpperCase(objectType)});
    std::vector<char> buffer(ValueLength + 1, '\0');
    sb2 indicator = 0;
    statement.DefineString(1, buffer.data(), ValueLength, &indicator);
    if (!statement.Execute()) {
      return false;
    }
    while (statement.FetchNext()) {
    }
    // A NULL leaves the buffer untouched; it reads as an empty value.
    value = indicator == -1 ? std::string() : SlotText(buffer.data(), buffer.size());
    return true;
  });
  return value;
}

void OracleSession::ListUsers(std::vector<std::string>& out) {
  constexpr std::size_t slotSize = NameLength + 1;
  RetryAfterReconnect(nullptr, [&] {
    out.clear();
    OracleStatement statement(*this);
    statement.Prepare("SELECT username FROM all_users");
    std::vector<char> names(slotSize * UsersPerFetch, '\0');
    statement.DefineStringArray(1, names.data(), NameLength, UsersPerFetch);
    if (!statement.Execute()) {
      return false;
    }
    do {
      for (int row = 0; row < statement.RowsInBatch(); ++row) {
        out.push_back(SlotText(&names[static_cast<std::size_t>(row) * slotSize], slotSize));
      }
    } while (statement.FetchNext());
    return !statement.FetchFailed();
  });
}

std::string OracleSession::FetchLongText(const std::string& sql, const std::string& bind1,
                                         const std::string& bind2, std::string* failure) {
  std::string text;
  OracleStatement statement(*this);
  statement.Prepare(sql);
  BindValues binds;
  binds.BindAll(statement, {":bind1", ":bind2"}, {bind1, bind2});
  const sword rc = statement.ExecuteWithIterations(0);
  if (rc == OCI_NO_DATA || (rc == OCI_SUCCESS && (statement.FetchLongPieces(1, text, [this] {
                              StepProgress();
                            }) || !statement.FetchFailed()))) {
    return text;
  }
  text.clear();
  if (failure != nullptr) {
    *failure = LastError(nullptr);
  } else {
    ReportError(true, false, nullptr);
  }
  return text;
}

std::string OracleSession::ReadServerOutput() {
  std::string collected;
  if (!DrainServerOutput(collected)) {
    ReportError(true, false, nullptr);
    return "";
  }
  return collected;
}

bool OracleSession::DrainServerOutput(std::string& collected) {
  OracleStatement statement(*this);
  statement.Prepare(
      "declare line varchar2(4000); begin dbms_output.get_line( line, :more); :line := "
      "nvl(line,' '); end;");
  std::vector<char> line(ValueLength + 1, '\0');
  int status = 0;
  statement.BindString(":line", line.data(), ValueLength);
  statement.BindInt(":more", &status);
  for (;;) {
    // A client that never writes the status back must not keep us here.
    status = 1;
    line[0] = '\0';
    if (!statement.Execute()) {
      return false;
    }
    std::string text = SlotText(line.data(), line.size());
    text.erase(text.find_last_not_of(" \t\r\n\v\f") + 1);
    if (!text.empty()) {
      collected += text + "\r\n";
    }
    if (status == 1) {
      return true;
    }
  }
}

bool OracleSession::RunPrintingUnit(int bufferSize, const std::string& block,
                                    const std::vector<std::string>& binds, std::string& text) {
  text.clear();
  setup_.NoteServerOutput(bufferSize);
  return ExecuteOnce(SessionSetup::EnableText(bufferSize), {}) && ExecuteOnce(block, binds) &&
         DrainServerOutput(text);
}

std::string OracleSession::RunPrintingBlock(const std::string& block, const std::string& bind1,
                                            const std::string& bind2, const std::string& bind3,
                                            const std::string& bind4, std::string* failure) {
  // The server accepts 2000 to 1000000 bytes.
  const int size = std::clamp(settings_.GetInt("Settings", "OutBuf", 100000), 2000, 1000000);
  const std::vector<std::string> binds = {bind1, bind2, bind3, bind4};
  std::string text;
  bool allowReconnect = true;
  bool complete = false;
  while (!(complete = RunPrintingUnit(size, block, binds, text))) {
    int number = 0;
    const std::string error = LastError(&number);
    if (!ReportErrorText(error, number, !allowReconnect, false)) {
      if (failure != nullptr) {
        *failure = error.empty() ? MissingErrorText : error;
      }
      break;
    }
    allowReconnect = false;  // logged on again: run the whole unit once more
  }
  // Disabling also throws away what a half-run block printed.
  setup_.NoteServerOutput(std::nullopt);
  if (isConnected_) {
    ExecuteSql("begin dbms_output.disable; end;");
  }
  return complete ? text + "\r\n" : std::string();
}

std::string OracleSession::StripComments(const std::string& text) {
  return StripSqlComments(text);
}

int OracleSession::FindCommentStart(const std::string& text) {
  return FindSqlCommentStart(text);
}
