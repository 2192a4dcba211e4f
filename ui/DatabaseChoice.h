// DatabaseChoice: the report view's database connection as the run dialogs
// see it: the connection object, if any, and the command that replaces it by
// a new logon through the login dialog.
#pragma once

#include <string>
#include <vector>

class DatabaseConnection;

class DatabaseChoice {
 public:
  virtual ~DatabaseChoice() = default;

  // The view's connection object; null before the first database was chosen.
  virtual DatabaseConnection* ViewConnection() = 0;
  // Drops the view's connection and logs on anew through the login dialog. The
  // new connection is kept even when its logon failed, so afterwards no
  // database is selected.
  virtual void SelectDatabase() = 0;

  // The names of the current schema's objects of objectType ("TABLE",
  // "VIEW", "PACKAGE BODY", ...), read from the database now; empty without
  // a logged-on connection.
  virtual std::vector<std::string> ObjectNames(const std::string& objectType) = 0;

  // True when a connection exists and is logged on.
  bool DatabaseSelected();
};
