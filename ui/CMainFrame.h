// CMainFrame: the program's one top-level window around the report view. It
// holds the run engine, the menus, toolbar and status bar with the commands of
// a run and of the report, and makes sure no run outlives it.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "scripting/connection/ConnectionViewState.h"
#include "scripting/connection/RunHostClientMessages.h"

#include "engine/RunEngine.h"
#include "ui/CTallyfoldDoc.h"
#include "ui/ConfigurationCommands.h"
#include "ui/DatabaseChoice.h"
#include "ui/DesktopRunDialogs.h"
#include "ui/QtLogonPrompts.h"
#include "ui/QtRunHost.h"
#include "ui/ReportFinder.h"

class CFindDialog;
class CTallyfoldView;
class DatabaseConnection;
class QAction;
class QLabel;
class SqlLibraryMenu;
class RunPhases;
class ScriptingPhases;
class SettingsStore;
class UserPrompts;

class CMainFrame : public QMainWindow, public DatabaseChoice {
  Q_OBJECT

 public:
  static constexpr int CommandUpdateIntervalMs = 100;
  // The status bar's message pane between runs, during a run and while paused.
  static constexpr const char* ReadyStateText = "Ready";
  static constexpr const char* RunningStateText = "Running";
  static constexpr const char* PausedStateText = "Paused";

  // phases carries out the scripting of a run; it outlives the frame.
  CMainFrame(SettingsStore& store, UserPrompts& prompts, RunPhases& phases);
  // The same with runs over the frame's database connection.
  CMainFrame(SettingsStore& store, UserPrompts& prompts, ScriptingPhases& phases);
  ~CMainFrame() override;

  RunEngine& Engine() { return engine_; }
  CTallyfoldView& View() { return *view_; }
  CTallyfoldDoc& Document() { return *document_; }
  QtRunHost& Host() { return host_; }
  CFindDialog& FindDialog() { return *findDialog_; }
  ReportFinder& Finder() { return *finder_; }
  // The connection the Connect command made; null before the first success.
  const std::shared_ptr<DatabaseConnection>& Connection() const { return connection_; }
  ConnectionViewState& ConnectionState() { return connectionState_; }
  QLabel* DatabasePane() const { return databasePane_; }

  // The commands, as the menus and accelerators call them.
  QAction* ConnectAction() const { return connect_; }
  QAction* StartAction() const { return start_; }
  QAction* RerunLastAction() const { return rerunLast_; }
  QAction* StartSqlScriptAction() const { return startSqlScript_; }
  QAction* OpenConfigurationAction() const { return openConfiguration_; }
  QAction* SaveConfigurationAction() const { return saveConfiguration_; }
  ConfigurationCommands& Configuration() { return configuration_; }
  SqlLibraryMenu& Library() { return *library_; }
  QAction* SaveReportAction() const { return saveReport_; }
  QAction* ExitAction() const { return exit_; }
  QAction* SkipAction() const { return skip_; }
  QAction* ResumeAction() const { return resume_; }
  QAction* PauseAction() const { return pause_; }
  QAction* StopAction() const { return stop_; }
  QAction* CopyAction() const { return copy_; }
  QAction* FindAction() const { return find_; }
  QAction* FontAction() const { return font_; }
  QAction* PrintAction() const { return print_; }
  QAction* PenwickAction() const { return penwick_; }
  QAction* AboutAction() const { return about_; }

  // Shows the window as it was left and, 100 ms later, opens the Connect
  // dialog or, given a configuration file, runs that file unattended.
  void StartUp(const QString& configurationFile);
  static constexpr int FirstCommandDelayMs = 100;

  // Applies the enabling rules to every command now (a timer also does).
  void UpdateCommands();

  DatabaseConnection* ViewConnection() override { return connection_.get(); }
  // Unlike Connect, keeps the new connection even when its logon failed.
  void SelectDatabase() override;
  std::vector<std::string> ObjectNames(const std::string& objectType) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  // "Find (Ctrl+F)": a toolbar button tells its key.
  void ShowShortcutsInToolTips();
  void CreateMenus();
  void CreateToolBar();
  // Tools and Help, which stand after the View menu that the toolbar adds.
  void CreateLaterMenus();
  void CreateStatusBar();
  void FindCommand();
  // Logs on through the login dialog; a cancelled or failed logon keeps the
  // previous connection.
  void ConnectCommand();
  // Makes connection the view's and the runs' connection.
  void AdoptConnection(std::shared_ptr<DatabaseConnection> connection);
  // A connection made from connectString replaces the current one, also when
  // its logon fails: commands that need a database then say none is selected.
  void ReplaceConnection(const std::string& connectString);
  bool HasUsableConnection() const;
  QString RunStateText();
  // The run's state in the status bar, the control panel and the caption.
  void ShowRunState();
  // Stops a run going on (asking first) and waits for its worker; false when
  // the user keeps the run.
  bool EndRunForExit();
  void WaitForWorker();

  UserPrompts& prompts_;
  QtRunHost host_;
  DesktopRunDialogs dialogs_;
  RunEngine engine_;
  CTallyfoldView* view_;
  std::unique_ptr<CTallyfoldDoc> document_;
  CFindDialog* findDialog_;
  std::unique_ptr<ReportFinder> finder_;
  QTimer commandTimer_;
  RunHostClientMessages clientMessages_;
  QtLogonPrompts logonPrompts_;
  ScriptingPhases* scripting_ = nullptr;
  // Shared with a run in progress, which keeps a replaced connection alive
  // until it ends.
  std::shared_ptr<DatabaseConnection> connection_;
  ConnectionViewState connectionState_;
  QLabel* databasePane_ = nullptr;
  ConfigurationCommands configuration_;
  SqlLibraryMenu* library_ = nullptr;

  QAction* connect_ = nullptr;
  QAction* start_ = nullptr;
  QAction* rerunLast_ = nullptr;
  QAction* startSqlScript_ = nullptr;
  QAction* openConfiguration_ = nullptr;
  QAction* saveConfiguration_ = nullptr;
  QAction* saveReport_ = nullptr;
  QAction* exit_ = nullptr;
  QAction* skip_ = nullptr;
  QAction* resume_ = nullptr;
  QAction* pause_ = nullptr;
  QAction* stop_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* find_ = nullptr;
  QAction* font_ = nullptr;
  QAction* print_ = nullptr;
  QAction* penwick_ = nullptr;
  QAction* tallyfold_ = nullptr;
  QAction* helpTopics_ = nullptr;
  QAction* onTheWeb_ = nullptr;
  QAction* about_ = nullptr;
};
