// Main frame: commands, menus, toolbar, status bar and the end of the window.
#include "ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "engine/ReportText.h"
#include "oracle/OracleSession.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/ScriptingPhases.h"
#include "scripting/tables/ObjectCatalog.h"
#include "ui/CFindDialog.h"
#include "ui/CTallyfoldView.h"
#include "ui/ControlPanelDialog.h"
#include "ui/DrawnIcons.h"
#include "ui/HelpPages.h"
#include "ui/SiblingTools.h"
#include "ui/SplashScreen.h"
#include "ui/SqlLibraryMenu.h"
#include "ui/StartUpSettings.h"
#include "ui/UserPrompts.h"

namespace {

QString AboutText(const DatabaseConnection* connection) {
  QString text = QString("Quillmark for Oracle\nVersion %1").arg(QUILLMARK_VERSION);
  const OracleSession* session = connection != nullptr ? connection->Session() : nullptr;
  if (session == nullptr || connection->NotConnected()) {
    return text + "\n\nNot connected to a database.";
  }
  // Read at logon: asking the server now could meet a run using the session.
  return text +
         "\n\nOracle client library: " + QString::fromStdString(session->Library().FileName()) +
         "\nServer: " + QString::fromStdString(session->ServerBanner()) + "\nConnected to " +
         QString::fromStdString(connection->DisplayName());
}

QString FullCaption(std::string_view text) {
  return QString::fromStdString(CaptionFor(text));
}

}  // namespace

CMainFrame::CMainFrame(SettingsStore& store, UserPrompts& prompts, RunPhases& phases)
    : prompts_(prompts),
      host_(*this, prompts, [this] { return engine_.Flags().Running != 0; }),
      dialogs_(
          *this, store, *this, prompts, [this] { document_->SaveReport(); },
          [this]() -> RunSettings& { return engine_.Settings(); },
          [this](const std::string& path) {
            configuration_.Load(QString::fromStdString(path), true);
          }),
      engine_(store, host_, phases, dialogs_),
      view_(new CTallyfoldView(engine_.Model(), this)),
      findDialog_(new CFindDialog(this)),
      clientMessages_(host_),
      logonPrompts_(store, clientMessages_, prompts, this),
      configuration_(
          engine_, prompts, this,
          {[this] { return HasUsableConnection() ? connection_->ConnectString() : ""; },
           [this] { return !connectionState_.NoConnection && connection_ != nullptr; },
           [this](const std::string& connectString) { ReplaceConnection(connectString); }}) {
  setCentralWidget(view_);
  host_.SetView(view_);
  document_ = std::make_unique<CTallyfoldDoc>(*this, *view_, engine_.Model(), engine_.Flags(),
                                              store, prompts_);
  finder_ = std::make_unique<ReportFinder>(
      *view_, engine_.Flags().FindFromTop,
      [this](const QString& question) {
        return prompts_.ShowMessage(findDialog_, question, MessageButtons::YesNo,
                                    MessageIcon::Question) == MessageAnswer::Yes;
      },
      [this](const QString& text) {
        prompts_.ShowMessage(findDialog_, text, MessageButtons::Ok, MessageIcon::Information);
      });
  connect(findDialog_, &CFindDialog::FindNextRequested, this,
          [this](const QString& text, QTextDocument::FindFlags flags) {
            view_->CatchUp();
            finder_->FindNext(text, flags);
          });

  setWindowTitle(FullCaption("Ready"));
  // The icon installed with the desktop entry, else the platform's own.
  setWindowIcon(QIcon::fromTheme("quillmark", style()->standardIcon(QStyle::SP_ComputerIcon)));
  resize(800, 600);
  CreateActions();
  ShowShortcutsInToolTips();
  CreateMenus();
  CreateToolBar();
  CreateLaterMenus();
  CreateStatusBar();
  connect(&commandTimer_, &QTimer::timeout, this, &CMainFrame::UpdateCommands);
  commandTimer_.start(CommandUpdateIntervalMs);
  UpdateCommands();
}

CMainFrame::CMainFrame(SettingsStore& store, UserPrompts& prompts, ScriptingPhases& phases)
    : CMainFrame(store, prompts, static_cast<RunPhases&>(phases)) {
  scripting_ = &phases;
  phases.AttachEngine(engine_);
  phases.AttachHost(host_);
}

CMainFrame::~CMainFrame() {
  // The worker may be waiting on this window: stop it without asking and let it
  // end while the window can still answer.
  commandTimer_.stop();
  if (engine_.Driver().IsWorkerActive()) {
    engine_.Control().RequestStop();
    WaitForWorker();
  }
  // The sessions report through this window's host: they log off before it goes.
  if (scripting_ != nullptr) {
    scripting_->ReleaseConnections();
  }
  connection_.reset();
}

void CMainFrame::StartUp(const QString& configurationFile) {
  ShowFrameAsSaved(engine_.Store(), *this, !configurationFile.isEmpty());
  if (configurationFile.isEmpty()) {
    ShowSplash(*this);  // an unattended run keeps out of the way
  }
  QTimer::singleShot(FirstCommandDelayMs, this, [this, configurationFile] {
    if (configurationFile.isEmpty()) {
      ConnectCommand();
    } else {
      engine_.Driver().StartAutomaticRun(configurationFile.toStdString());
    }
  });
}

void CMainFrame::CreateActions() {
  RunControl& control = engine_.Control();
  RunDriver& driver = engine_.Driver();
  QStyle* look = style();

  connect_ =
      new QAction(look->standardIcon(QStyle::SP_DriveNetIcon), "&Connect to a database", this);
  connect_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  connect(connect_, &QAction::triggered, this, &CMainFrame::ConnectCommand);

  start_ =
      new QAction(look->standardIcon(QStyle::SP_MediaPlay), "&Start Quillmark for Oracle", this);
  start_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(start_, &QAction::triggered, this, [&driver] { driver.StartCommand(); });

  rerunLast_ = new QAction(look->standardIcon(QStyle::SP_BrowserReload), "Re&run Last", this);
  rerunLast_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  connect(rerunLast_, &QAction::triggered, this, [&driver] { driver.RerunLastCommand(); });

  startSqlScript_ =
      new QAction(look->standardIcon(QStyle::SP_FileDialogDetailedView), "Start S&QL Script", this);
  startSqlScript_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
  connect(startSqlScript_, &QAction::triggered, this,
          [&driver] { driver.StartStatementCommand(); });

  openConfiguration_ =
      new QAction(look->standardIcon(QStyle::SP_DialogOpenButton), "&Open Configuration", this);
  openConfiguration_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(openConfiguration_, &QAction::triggered, this, [this] { configuration_.OpenCommand(); });

  saveConfiguration_ =
      new QAction(look->standardIcon(QStyle::SP_DriveFDIcon), "Save Confi&guration as...", this);
  connect(saveConfiguration_, &QAction::triggered, this, [this] { configuration_.SaveCommand(); });

  saveReport_ = new QAction(look->standardIcon(QStyle::SP_DialogSaveButton), "S&ave Report", this);
  saveReport_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(saveReport_, &QAction::triggered, this, [this] { document_->SaveReportCommand(); });

  exit_ = new QAction("E&xit", this);
  connect(exit_, &QAction::triggered, this, &QWidget::close);

  skip_ = new QAction(look->standardIcon(QStyle::SP_MediaSkipForward), "S&kip...", this);
  skip_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  connect(skip_, &QAction::triggered, this, [this, &control] {
    control.SkipCommand();
    UpdateCommands();  // the other run keys follow at once
  });

  resume_ = new QAction(look->standardIcon(QStyle::SP_MediaSeekForward), "&Resume...", this);
  resume_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(resume_, &QAction::triggered, this, [this, &control] {
    control.ResumeCommand();
    UpdateCommands();  // the other run keys follow at once
  });

  pause_ = new QAction(look->standardIcon(QStyle::SP_MediaPause), "&Pause...", this);
  pause_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(pause_, &QAction::triggered, this, [this, &control] {
    control.PauseCommand();
    UpdateCommands();  // the other run keys follow at once
  });

  stop_ = new QAction(look->standardIcon(QStyle::SP_MediaStop), "&Stop...", this);
  stop_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  connect(stop_, &QAction::triggered, this, [this, &control] {
    control.StopCommand();
    UpdateCommands();  // the other run keys follow at once
  });
  // The run's keys work also while the control panel is the active window.
  for (QAction* runKey : {skip_, resume_, pause_, stop_}) {
    runKey->setShortcutContext(Qt::ApplicationShortcut);
  }

  copy_ = new QAction(CopyIcon(), "&Copy", this);
  copy_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  connect(copy_, &QAction::triggered, view_, &QPlainTextEdit::copy);

  find_ = new QAction(look->standardIcon(QStyle::SP_FileDialogContentsView), "&Find", this);
  find_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  connect(find_, &QAction::triggered, this, &CMainFrame::FindCommand);

  font_ = new QAction("F&ont...", this);
  connect(font_, &QAction::triggered, this, [this] { document_->FontCommand(); });

  print_ = new QAction(PrintIcon(), "&Print...", this);
  connect(print_, &QAction::triggered, this, [this] { document_->PrintCommand(); });

  penwick_ = new QAction(PenwickTool().MenuText, this);
  connect(penwick_, &QAction::triggered, this,
          [this] { LaunchTool(PenwickTool(), prompts_, this); });
  tallyfold_ = new QAction(TallyfoldTool().MenuText, this);
  connect(tallyfold_, &QAction::triggered, this,
          [this] { LaunchTool(TallyfoldTool(), prompts_, this); });

  helpTopics_ = new QAction(look->standardIcon(QStyle::SP_DialogHelpButton), "&Help Topics", this);
  helpTopics_->setShortcut(QKeySequence(Qt::Key_F1));
  connect(helpTopics_, &QAction::triggered, this, [] { ShowHelpPage("index"); });
  onTheWeb_ = new QAction("On the &Web...", this);
  connect(onTheWeb_, &QAction::triggered, this, [this] {
    const QString address = QString::fromUtf8(ProductWebAddress);
    if (!QDesktopServices::openUrl(QUrl(address))) {
      prompts_.ShowMessage(this, "No web browser could be started. The address is " + address,
                           MessageButtons::Ok, MessageIcon::Information);
    }
  });
  about_ = new QAction(look->standardIcon(QStyle::SP_MessageBoxInformation),
                       "&About Quillmark for Oracle...", this);
  connect(about_, &QAction::triggered, this, [this] {
    prompts_.ShowMessage(this, AboutText(HasUsableConnection() ? connection_.get() : nullptr),
                         MessageButtons::Ok, MessageIcon::Information);
  });
}

void CMainFrame::ShowShortcutsInToolTips() {
  for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
    if (action->shortcut().isEmpty()) {
      continue;
    }
    QString name = action->text().remove('&');
    if (name.endsWith("...")) {
      name.chop(3);
    }
    action->setToolTip(
        QString("%1 (%2)").arg(name, action->shortcut().toString(QKeySequence::NativeText)));
  }
}

void CMainFrame::CreateMenus() {
  QMenu* main = menuBar()->addMenu("&Quillmark");
  main->addAction(connect_);
  main->addSeparator();
  main->addAction(start_);
  main->addAction(rerunLast_);
  main->addAction(startSqlScript_);
  main->addAction(saveReport_);
  main->addSeparator();
  main->addAction(openConfiguration_);
  main->addAction(saveConfiguration_);
  main->addSeparator();
  main->addAction(exit_);

  QMenu* action = menuBar()->addMenu("&Action");
  action->addAction(skip_);
  action->addAction(resume_);
  action->addAction(pause_);
  action->addAction(stop_);

  library_ = new SqlLibraryMenu(
      *menuBar()->addMenu("SQL &Library"), engine_, prompts_,
      [this] { return LibraryDirectory(engine_.Store()); },
      [this] { return HasUsableConnection(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->addAction(copy_);
  edit->addSeparator();
  edit->addAction(find_);
  edit->addSeparator();
  edit->addAction(font_);
  edit->addAction(print_);
}

void CMainFrame::CreateLaterMenus() {
  QMenu* tools = menuBar()->addMenu("&Tools");
  tools->addAction(penwick_);
  tools->addAction(tallyfold_);

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(helpTopics_);
  help->addAction(onTheWeb_);
  help->addAction(about_);
}

void CMainFrame::CreateToolBar() {
  QToolBar* bar = addToolBar("Toolbar");
  bar->setObjectName("Toolbar");
  bar->setIconSize(QSize(24, 24));
  bar->addAction(connect_);
  bar->addSeparator();
  bar->addAction(start_);
  bar->addAction(rerunLast_);
  bar->addAction(startSqlScript_);
  bar->addAction(saveReport_);
  bar->addSeparator();
  bar->addAction(openConfiguration_);
  bar->addAction(saveConfiguration_);
  bar->addSeparator();
  bar->addAction(copy_);
  bar->addAction(find_);
  bar->addSeparator();
  bar->addAction(print_);
  bar->addSeparator();
  bar->addAction(about_);
  bar->addAction(helpTopics_);
  bar->addSeparator();
  bar->addAction(skip_);
  bar->addAction(resume_);
  bar->addAction(pause_);
  bar->addAction(stop_);

  QMenu* view = menuBar()->addMenu("&View");
  bar->toggleViewAction()->setText("&Toolbar");
  view->addAction(bar->toggleViewAction());
  QAction* statusToggle = view->addAction("&Status Bar");
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  connect(statusToggle, &QAction::toggled, this,
          [this](bool shown) { statusBar()->setVisible(shown); });
}

void CMainFrame::CreateStatusBar() {
  // The database pane keeps its text until a connection names the database.
  databasePane_ = new QLabel("Database:    Not available", this);
  databasePane_->setStyleSheet("QLabel { color: #2A2AFF; background: white; padding: 0 4px; }");
  statusBar()->addPermanentWidget(databasePane_);
  statusBar()->showMessage(RunStateText());
  // A hovered menu item clears the message pane; the run's state comes back
  // after it.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
    if (message.isEmpty()) {
      statusBar()->showMessage(RunStateText());
    }
  });
}

void CMainFrame::UpdateCommands() {
  const RunControl& control = engine_.Control();
  const RunDriver& driver = engine_.Driver();
  start_->setEnabled(driver.CanStart());
  rerunLast_->setEnabled(driver.CanRerunLast());
  startSqlScript_->setEnabled(driver.CanStart());
  skip_->setEnabled(control.CanSkip());
  resume_->setEnabled(control.CanResume());
  pause_->setEnabled(control.CanPause());
  stop_->setEnabled(control.CanStop());
  copy_->setEnabled(view_->textCursor().hasSelection());
  ShowRunState();
  if (HasUsableConnection()) {
    databasePane_->setText(
        QString::fromStdString("Source Database:  " + connection_->DisplayName()));
  }
}

QString CMainFrame::RunStateText() {
  const RunFlags& flags = engine_.Flags();
  return flags.Paused ? PausedStateText : flags.Running ? RunningStateText : ReadyStateText;
}

void CMainFrame::ShowRunState() {
  const QString state = RunStateText();
  const QString shown = statusBar()->currentMessage();
  // A menu item's help text stays until the pointer leaves it.
  if (shown != state && (shown == ReadyStateText || shown == RunningStateText ||
                         shown == PausedStateText || shown.isEmpty())) {
    statusBar()->showMessage(state);
  }
  RunFlags& flags = engine_.Flags();
  if (ControlPanelDialog* panel = host_.ControlPanel()) {
    panel->ShowPaused(flags.Paused != 0);
  }
  // A phase may name its step after Pause was chosen and before it stops at
  // the pause: the title keeps saying Paused, and Resume brings the newest
  // caption back.
  const QString paused = FullCaption("Paused");
  if (flags.Paused && windowTitle() != paused) {
    flags.SavedCaption = windowTitle().toStdString();
    setWindowTitle(paused);
  }
}

bool CMainFrame::HasUsableConnection() const {
  return !connectionState_.NoConnection && connection_ && !connection_->NotConnected();
}

void CMainFrame::ConnectCommand() {
  auto fresh =
      std::make_shared<DatabaseConnection>(engine_.Store(), clientMessages_, logonPrompts_, "");
  if (fresh->NotConnected() || fresh->Session() == nullptr) {
    return;  // the previous connection stays as it was
  }
  AdoptConnection(std::move(fresh));
}

void CMainFrame::SelectDatabase() {
  connection_.reset();
  AdoptConnection(
      std::make_shared<DatabaseConnection>(engine_.Store(), clientMessages_, logonPrompts_, ""));
}

std::vector<std::string> CMainFrame::ObjectNames(const std::string& objectType) {
  std::vector<std::string> names;
  if (!DatabaseSelected() || connection_->Session() == nullptr) {
    return names;
  }
  CatalogNameMaxima maxima;
  ObjectCatalog catalog(*connection_->Session(), engine_.Output(), engine_.Settings(),
                        connection_->CurrentSchema(), connection_->DisplayName(), maxima);
  CatalogList list;
  if (objectType == "TABLE" || objectType == "VIEW") {
    catalog.ListTablesOrViews(true, list, objectType == "TABLE");
  } else {
    catalog.ListObjects(true, &list, objectType);
  }
  names.reserve(list.size());
  for (const CatalogItem& item : list) {
    names.push_back(item.Name());
  }
  return names;
}

void CMainFrame::ReplaceConnection(const std::string& connectString) {
  // The old session ends before the new one logs on.
  if (scripting_ != nullptr) {
    scripting_->SetConnection(nullptr);
  }
  connection_.reset();
  AdoptConnection(std::make_shared<DatabaseConnection>(engine_.Store(), clientMessages_,
                                                       logonPrompts_, connectString));
}

void CMainFrame::AdoptConnection(std::shared_ptr<DatabaseConnection> connection) {
  connection_ = std::move(connection);
  connectionState_.MarkListsStale();
  connection_->SetViewState(&connectionState_);
  if (scripting_ != nullptr) {
    scripting_->SetConnection(connection_);
  }
  UpdateCommands();
}

void CMainFrame::FindCommand() {
  finder_->Begin();
  findDialog_->Open();
}

void CMainFrame::WaitForWorker() {
  engine_.Driver().WaitForWorker(
      [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
}

bool CMainFrame::EndRunForExit() {
  if (engine_.Flags().Running) {
    engine_.Control().StopCommand();
    if (engine_.Flags().Running) {
      return false;
    }
  }
  if (engine_.Driver().IsWorkerActive()) {
    WaitForWorker();
  }
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!EndRunForExit() || !document_->CanCloseReport()) {
    event->ignore();
    return;
  }
  findDialog_->hide();
  SaveFramePlacement(engine_.Store(), *this);
  event->accept();
}
