// ConfigurationCommands: "Save Configuration as..." and "Open Configuration"
// of the main frame, and the silent load that precedes an automatic run. A
// load reads the whole file before it changes anything, and is refused while
// a run is in progress, since the run reads the same settings and connection.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;
class RunEngine;
class UserPrompts;

class ConfigurationCommands {
 public:
  struct Connection {
    // The connect string of a logged-on connection, else empty.
    std::function<std::string()> connectString;
    // True when the view holds a connection object, logged on or not.
    std::function<bool()> exists;
    // Replaces the connection with one made from a connect string.
    std::function<void(const std::string&)> replace;
  };

  ConfigurationCommands(RunEngine& engine, UserPrompts& prompts, QWidget* parent,
                        Connection connection);

  void SaveCommand();
  void OpenCommand();
  // Reads path into the run settings; silent skips the reconnect question.
  // False when nothing was loaded (the user has been told why).
  bool Load(const QString& path, bool silent);

 private:
  void Tell(const QString& text, bool problem);
  bool AskToReconnect();

  RunEngine& engine_;
  UserPrompts& prompts_;
  QWidget* parent_;
  Connection connection_;
};
