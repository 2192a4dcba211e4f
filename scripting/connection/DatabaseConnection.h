// DatabaseConnection: the report view's one way to the database. Built from a
// connect string (or, when that is empty, from the login dialog), it logs an
// OracleSession on, knows the schema being scripted and the names it is shown
// and stored under, and holds the catalog lists of that schema.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripting/connection/CatalogItem.h"
#include "scripting/connection/SessionHolder.h"

class ClientMessages;
class LogonPrompts;
class SettingsStore;
struct ConnectionViewState;

class DatabaseConnection {
 public:
  // Runs the connect procedure; never fails as an operation: the caller tests
  // NotConnected afterwards. prompts is asked for a missing password or, with
  // an empty connect string, for the whole logon.
  DatabaseConnection(SettingsStore& store, ClientMessages& messages, LogonPrompts& prompts,
                     const std::string& connectString);
  ~DatabaseConnection();
  DatabaseConnection(const DatabaseConnection&) = delete;
  DatabaseConnection& operator=(const DatabaseConnection&) = delete;

  // A new session logged on with Connect(user, password, database, true,
  // true) and labelled user@database; null when the logon failed (the session
  // has shown why, and errorCode, when given, receives the error's number).
  static std::unique_ptr<OracleSession> LogOn(SettingsStore& store, ClientMessages& messages,
                                              const std::string& user, const std::string& password,
                                              const std::string& database,
                                              int* errorCode = nullptr);

  // Makes schema the one listed and scripted, renames the connection after it
  // and drops the catalog lists of the previous schema.
  void SelectSchema(const std::string& schema);

  // The view whose list flags follow schema changes; may be null.
  void SetViewState(ConnectionViewState* state) { viewState_ = state; }

  bool NotConnected() const { return notConnected_; }
  // Null while not connected.
  OracleSession* Session() const { return holder_ ? holder_->Session.get() : nullptr; }
  bool PasswordSaved() const { return holder_ && holder_->PasswordSaved; }

  const std::string& ConnectString() const { return connectString_; }
  const std::string& LoginUser() const { return loginUser_; }
  const std::string& CurrentSchema() const { return currentSchema_; }
  const std::string& DisplayName() const { return displayName_; }
  const std::vector<std::string>& SchemaNames() const { return schemaNames_; }
  // False when the current schema is none the logged-on user can see, as
  // when a schema prefix names no schema.
  bool SchemaVisible() const;

  CatalogLists& Lists() { return lists_; }
  const CatalogLists& Lists() const { return lists_; }

 private:
  bool LogOnFromConnectString(SettingsStore& store, ClientMessages& messages, LogonPrompts& prompts,
                              const std::string& connectString, std::string& schemaPrefix);
  void TakeUpSession(const std::string& schemaPrefix);
  void RenameAfterSchema();

  std::unique_ptr<SessionHolder> holder_;
  bool notConnected_ = true;
  std::string connectString_;
  std::string loginUser_;
  std::string currentSchema_;
  std::string displayName_;
  std::vector<std::string> schemaNames_;
  CatalogLists lists_;
  ConnectionViewState* viewState_ = nullptr;
};
