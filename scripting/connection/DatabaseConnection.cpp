// The connect procedure, schema selection and the names of a connection.
#include "scripting/connection/DatabaseConnection.h"

#include <algorithm>

#include "oracle/SecretText.h"
#include "scripting/connection/ConnectStringParts.h"
#include "scripting/connection/ConnectionViewState.h"
#include "scripting/connection/LogonPrompts.h"

DatabaseConnection::DatabaseConnection(SettingsStore& store, ClientMessages& messages,
                                       LogonPrompts& prompts, const std::string& connectString) {
  std::string schemaPrefix;
  if (connectString.empty()) {
    holder_ = prompts.AskLogon();
  } else if (!LogOnFromConnectString(store, messages, prompts, connectString, schemaPrefix)) {
    holder_.reset();
  }
  if (holder_ && holder_->Session) {
    TakeUpSession(schemaPrefix);
  } else {
    holder_.reset();
  }
}

DatabaseConnection::~DatabaseConnection() {
  // The lists go first, then the session logs off with the holder.
  lists_.Clear();
  holder_.reset();
}

std::unique_ptr<OracleSession> DatabaseConnection::LogOn(
    SettingsStore& store, ClientMessages& messages, const std::string& user,
    const std::string& password, const std::string& database, int* errorCode) {
  auto session = std::make_unique<OracleSession>(store, messages);
  if (!session->Connect(user, password, database, true, true)) {
    if (errorCode != nullptr) {
      session->LastError(errorCode);
    }
    return nullptr;
  }
  session->SetSessionLabel(user + "@" + database);
  return session;
}

bool DatabaseConnection::LogOnFromConnectString(SettingsStore& store, ClientMessages& messages,
                                                LogonPrompts& prompts,
                                                const std::string& connectString,
                                                std::string& schemaPrefix) {
  ConnectStringParts parts = ParseConnectString(connectString);
  schemaPrefix = parts.Schema;
  holder_ = std::make_unique<SessionHolder>();
  holder_->PasswordSaved = !parts.Password.empty();
  if (parts.Password.empty()) {
    std::optional<std::string> password = prompts.AskPassword(parts.User, parts.Database);
    if (!password) {
      return false;
    }
    parts.Password = std::move(*password);
    WipeSecret(*password);
  }
  holder_->Session = LogOn(store, messages, parts.User, parts.Password, parts.Database);
  WipeSecret(parts.Password);  // the session keeps its own copy for reconnecting
  return holder_->Session != nullptr;
}

void DatabaseConnection::TakeUpSession(const std::string& schemaPrefix) {
  OracleSession& session = *holder_->Session;
  notConnected_ = false;
  // The dictionary spells unquoted user names in upper case; listing the
  // schema under the name as typed ("demo") would find nothing.
  loginUser_ = session.UserUpper();
  currentSchema_ = schemaPrefix.empty() ? loginUser_ : SchemaNameOfPrefix(schemaPrefix);
  // The user as the dictionary spells it, the database as typed: on a
  // case-sensitive system its name may be part of a path. A reconnect labels
  // the session the same way.
  session.SetSessionLabel(session.UserUpper() + "@" + session.Database());
  // Named before the listing: a lost connection restored during it labels
  // the session afresh.
  RenameAfterSchema();
  session.ListUsers(schemaNames_);
}

bool DatabaseConnection::SchemaVisible() const {
  return std::find(schemaNames_.begin(), schemaNames_.end(), currentSchema_) != schemaNames_.end();
}

void DatabaseConnection::SelectSchema(const std::string& schema) {
  currentSchema_ = schema;
  RenameAfterSchema();
  lists_.Clear();
  if (viewState_ != nullptr) {
    viewState_->MarkListsStale();
  }
}

void DatabaseConnection::RenameAfterSchema() {
  const OracleSession* session = Session();
  if (session == nullptr) {
    return;
  }
  const bool otherSchema = currentSchema_ != loginUser_;
  connectString_ = BuildConnectString(otherSchema ? currentSchema_ : std::string(), session->User(),
                                      session->Password(), PasswordSaved(), session->Database());
  displayName_ =
      otherSchema ? currentSchema_ + ":" + session->SessionLabel() : session->SessionLabel();
}
