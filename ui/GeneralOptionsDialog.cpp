// General options dialog: output radios, file name, portion size, date format.
#include "ui/GeneralOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/SettingsStore.h"
#include "engine/LobContentsSetting.h"
#include "engine/RunSettings.h"
#include "oracle/OracleSession.h"
#include "oracle/SessionFormats.h"
#include "scripting/connection/DatabaseConnection.h"
#include "ui/DatabaseChoice.h"
#include "ui/HelpPages.h"
#include "ui/UserPrompts.h"

namespace {

constexpr const char* Section = "Settings";

QString TrimmedEnd(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) {
    --end;
  }
  return text.left(end);
}

const char* YesNo(bool on) {
  return on ? "Y" : "N";
}

}  // namespace

GeneralOptions GeneralOptions::From(const RunSettings& settings) {
  return {settings.AutoSave,      settings.ReportToFile,    settings.ReportFileName,
          settings.AutoSaveLines, settings.SpecialNameMode, settings.UseOdbcDataTypes,
          settings.OwnTablesOnly, settings.SplitFolder};
}

void GeneralOptions::CopyTo(RunSettings& settings) const {
  settings.AutoSave = AutoSave;
  settings.ReportToFile = ReportToFile;
  settings.ReportFileName = ReportFileName;
  settings.AutoSaveLines = AutoSaveLines;
  settings.SpecialNameMode = SpecialNameMode;
  settings.UseOdbcDataTypes = UseOdbcDataTypes;
  settings.OwnTablesOnly = OwnTablesOnly;
  settings.SplitFolder = SplitFolder;
}

GeneralOptionsDialog::GeneralOptionsDialog(const GeneralOptions& options, SettingsStore& store,
                                           DatabaseChoice& database, UserPrompts& prompts,
                                           QWidget* parent)
    : QDialog(parent), options_(options), store_(store), database_(database), prompts_(prompts) {
  setWindowTitle("General Options");

  toScreen_ = new QRadioButton("Process complete report to &screen", this);
  toFile_ = new QRadioButton("Process complete report to a &file", this);
  autoSave_ = new QRadioButton("Save &incremental report to file automatically", this);
  toFile_->setChecked(options.ReportToFile != 0);
  autoSave_->setChecked(options.AutoSave != 0 && options.ReportToFile == 0);
  toScreen_->setChecked(options.AutoSave == 0 && options.ReportToFile == 0);
  auto* output = new QGroupBox("Output", this);
  auto* outputLayout = new QVBoxLayout(output);
  outputLayout->addWidget(toScreen_);
  outputLayout->addWidget(toFile_);
  outputLayout->addWidget(autoSave_);

  saveGroup_ = new QGroupBox("Automatic Save", this);
  linesBefore_ = new QLabel("Save report &portion every", saveGroup_);
  lines_ = new QLineEdit(QString::number(options.AutoSaveLines), saveGroup_);
  linesBefore_->setBuddy(lines_);
  linesAfter_ = new QLabel("lines", saveGroup_);
  fileLabel_ = new QLabel("Report file &name", saveGroup_);
  fileName_ = new QLineEdit(QString::fromStdString(options.ReportFileName), saveGroup_);
  fileLabel_->setBuddy(fileName_);
  browse_ = new QPushButton("&Browse...", saveGroup_);
  browse_->setAutoDefault(false);
  auto* saveLayout = new QGridLayout(saveGroup_);
  auto* linesRow = new QHBoxLayout;
  linesRow->addWidget(linesBefore_);
  linesRow->addWidget(lines_);
  linesRow->addWidget(linesAfter_);
  linesRow->addStretch();
  saveLayout->addLayout(linesRow, 0, 0, 1, 3);
  saveLayout->addWidget(fileLabel_, 1, 0);
  saveLayout->addWidget(fileName_, 1, 1);
  saveLayout->addWidget(browse_, 1, 2);

  auto* dateGroup = new QGroupBox("Date Format", this);
  dateFormat_ = new QLineEdit(
      QString::fromStdString(store.GetString(Section, "DateFormat", DefaultDateFormat)), dateGroup);
  auto* dateLayout = new QFormLayout(dateGroup);
  auto* dateLabel = new QLabel("&Dates in data:", dateGroup);
  dateLabel->setBuddy(dateFormat_);
  dateLayout->addRow(dateLabel, dateFormat_);

  pct_ = new QCheckBox("Include PCTFREE, PCTUSED, INITRANS and &MAXTRANS clauses", this);
  pct_->setChecked(store.GetString(Section, "InclPct", "Y") == "Y");
  storage_ = new QCheckBox("Include s&torage clauses", this);
  storage_->setChecked(store.GetString(Section, "InclStorage", "Y") == "Y");
  lobContents_ = new QCheckBox("Write the contents of &LOB columns in table data", this);
  lobContents_->setChecked(store.GetString(Section, LobContentsKey, "Y") != "N");

  auto* splitGroup = new QGroupBox("One File per Object", this);
  splitFolder_ = new QLineEdit(QString::fromStdString(options.SplitFolder), splitGroup);
  splitFolder_->setPlaceholderText("empty: one report");
  auto* splitLayout = new QFormLayout(splitGroup);
  auto* splitLabel = new QLabel("Write one file per object into f&older:", splitGroup);
  splitLabel->setBuddy(splitFolder_);
  splitLayout->addRow(splitLabel, splitFolder_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  AddHelp(*this, *buttons, "general-options");
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(output);
  layout->addWidget(saveGroup_);
  layout->addWidget(dateGroup);
  layout->addWidget(pct_);
  layout->addWidget(storage_);
  layout->addWidget(lobContents_);
  layout->addWidget(splitGroup);
  layout->addWidget(buttons);

  for (QRadioButton* radio : {toScreen_, toFile_, autoSave_}) {
    connect(radio, &QRadioButton::toggled, this, &GeneralOptionsDialog::ApplyEnabling);
  }
  connect(browse_, &QPushButton::clicked, this, &GeneralOptionsDialog::Browse);
  ApplyEnabling();
}

void GeneralOptionsDialog::ApplyEnabling() {
  options_.AutoSave = autoSave_->isChecked() ? 1 : 0;
  options_.ReportToFile = toFile_->isChecked() ? 1 : 0;
  saveGroup_->setEnabled(options_.AutoSave || options_.ReportToFile);
  for (QWidget* part : {static_cast<QWidget*>(linesBefore_), static_cast<QWidget*>(lines_),
                        static_cast<QWidget*>(linesAfter_)}) {
    part->setEnabled(options_.AutoSave != 0);
  }
}

void GeneralOptionsDialog::Browse() {
  if (const std::optional<QString> path = prompts_.ChooseReportFile(this)) {
    fileName_->setText(*path);
  }
}

bool GeneralOptionsDialog::Refuse(const QString& text, QWidget* focus) {
  prompts_.ShowMessage(this, text, MessageButtons::Ok, MessageIcon::Warning);
  focus->setFocus();
  return false;
}

bool GeneralOptionsDialog::DateFormatAccepted() {
  const DatabaseConnection* connection = database_.ViewConnection();
  if (connection == nullptr || connection->NotConnected() || connection->Session() == nullptr) {
    return true;  // checked by the next logon instead
  }
  if (connection->Session()->SetDateFormat(dateFormat_->text().toStdString())) {
    return true;
  }
  dateFormat_->setFocus();
  return false;
}

void GeneralOptionsDialog::accept() {
  const bool toFile = options_.AutoSave || options_.ReportToFile;
  if (toFile && fileName_->text().trimmed().isEmpty()) {
    Refuse("Please enter a file name to save report", fileName_);
    return;
  }
  dateFormat_->setText(TrimmedEnd(dateFormat_->text()));
  if (dateFormat_->text().isEmpty()) {
    Refuse("Please enter a date format.", dateFormat_);
    return;
  }
  if (!DateFormatAccepted()) {
    return;
  }
  bool isNumber = false;
  const int lines = lines_->text().trimmed().toInt(&isNumber);
  if (!isNumber) {
    Refuse("Please enter an integer.", lines_);
    return;
  }
  if (lines < MinimumLines || lines > MaximumLines) {
    Refuse(
        QString("Please enter an integer between %1 and %2.").arg(MinimumLines).arg(MaximumLines),
        lines_);
    return;
  }
  options_.AutoSaveLines = lines;
  options_.ReportFileName = fileName_->text().toStdString();
  options_.SplitFolder = splitFolder_->text().trimmed().toStdString();
  store_.SetString(Section, SplitFolderKey, options_.SplitFolder);
  store_.SetString(Section, "DateFormat", dateFormat_->text().toStdString());
  store_.SetString(Section, "InclPct", YesNo(pct_->isChecked()));
  store_.SetString(Section, "InclStorage", YesNo(storage_->isChecked()));
  store_.SetString(Section, LobContentsKey, YesNo(lobContents_->isChecked()));
  QDialog::accept();
}
