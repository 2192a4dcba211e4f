// Configuration commands: file dialogs, the all-or-nothing load and the reconnect.
#include "ui/ConfigurationCommands.h"

#include <QApplication>
#include <QCursor>
#include <optional>

#include "config/ConfigurationFile.h"
#include "engine/RunEngine.h"
#include "ui/UserPrompts.h"

namespace {

constexpr const char* CannotOpen = "Could not open config file.";

// The wait cursor for the length of a scope.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ConfigurationCommands::ConfigurationCommands(RunEngine& engine, UserPrompts& prompts,
                                             QWidget* parent, Connection connection)
    : engine_(engine), prompts_(prompts), parent_(parent), connection_(std::move(connection)) {}

void ConfigurationCommands::Tell(const QString& text, bool problem) {
  prompts_.ShowMessage(parent_, text, MessageButtons::Ok,
                       problem ? MessageIcon::Warning : MessageIcon::Information);
}

bool ConfigurationCommands::AskToReconnect() {
  return prompts_.ShowMessage(parent_,
                              "Do you wish to re-connect to the database on the config file?",
                              MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
}

void ConfigurationCommands::SaveCommand() {
  const std::optional<QString> path = prompts_.ChooseConfigurationFile(parent_, true);
  if (!path) {
    return;
  }
  std::optional<std::string> problem;
  {
    const WaitCursor wait;
    problem = WriteConfigurationFile(
        path->toStdString(), EncodeConfiguration(connection_.connectString(), engine_.Settings()));
  }
  if (problem) {
    Tell(QString(CannotOpen) + "\n" + QString::fromStdString(*problem), true);
  }
}

void ConfigurationCommands::OpenCommand() {
  if (engine_.Flags().Running) {
    Tell("A configuration cannot be opened while a script is running.\nStop the script first.",
         true);
    return;
  }
  if (const std::optional<QString> path = prompts_.ChooseConfigurationFile(parent_, false)) {
    Load(*path, false);
  }
}

bool ConfigurationCommands::Load(const QString& path, bool silent) {
  if (engine_.Flags().Running) {
    Tell("A configuration cannot be opened while a script is running.\nStop the script first.",
         true);
    return false;
  }
  const WaitCursor wait;
  std::string bytes;
  if (ReadConfigurationFile(path.toStdString(), bytes)) {
    Tell(CannotOpen, true);
    return false;
  }
  // Decoded into a copy first, so that a damaged file changes nothing.
  ConfigurationHeader header;
  RunSettings loaded = engine_.Settings();
  if (const std::optional<std::string> problem = DecodeConfiguration(bytes, header, loaded)) {
    Tell("Could not read config file '" + path + "':\n" + QString::fromStdString(*problem), true);
    return false;
  }
  if (!header.ConnectString.empty()) {
    const bool keepConnection = !silent && connection_.exists() && !AskToReconnect();
    if (!keepConnection) {
      connection_.replace(header.ConnectString);
    }
  }
  loaded.UpdateCommentPrefixes();
  engine_.Settings() = std::move(loaded);
  // The report is left as it was: marking it saved would let unsaved work go
  // without the question on exit.
  RunFlags& flags = engine_.Flags();
  flags.Paused = 0;
  flags.SkipRequested = 0;
  flags.SkipAllowed = 0;
  return true;
}
