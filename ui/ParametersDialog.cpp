// Parameters dialog: database button, schema list and the object-kind boxes.
#include "ui/ParametersDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/CAdvancedSheet.h"
#include "ui/CSourceSheet.h"
#include "ui/DataConditionsDialog.h"
#include "ui/DatabaseChoice.h"
#include "ui/DatabaseSchemaRow.h"
#include "ui/HelpPages.h"
#include "ui/UserPrompts.h"

namespace {

// The first six kinds form the "Objects" group, the next eight the "Source"
// group and the rest the "Other objects" group.
constexpr int ObjectKindCount = 6;
constexpr int OtherKindStart = 14;

}  // namespace

const std::array<ParametersDialog::Kind, ParametersDialog::KindCount> ParametersDialog::Kinds = {{
    {&RunSettings::DoPrivilege, "P&rivileges"},
    {&RunSettings::DoSequence, "Se&quences"},
    {&RunSettings::DoTable, "&Tables"},
    {&RunSettings::DoIndex, "&Indexes"},
    {&RunSettings::DoConstraint, "C&onstraints"},
    {&RunSettings::DoData, "&Data"},
    {&RunSettings::DoTrigger, "Tri&ggers"},
    {&RunSettings::DoViewSource, "Vie&ws"},
    {&RunSettings::DoFunction, "&Functions"},
    {&RunSettings::DoPackage, "Pac&kages"},
    {&RunSettings::DoPackageBody, "Packages &Body"},
    {&RunSettings::DoProcedure, "&Procedures"},
    {&RunSettings::DoType, "Type&s"},
    {&RunSettings::DoTypeBody, "Types Bod&y"},
    {&RunSettings::DoSynonym, "Synony&ms"},
    {&RunSettings::DoObjectGrant, "Ob&ject Grants"},
    {&RunSettings::DoDatabaseLink, "Database &Links"},
    {&RunSettings::DoMaterializedView, "Materialized Vi&ews"},
    {&RunSettings::DoMviewLog, "Materiali&zed View Logs"},
}};

ParametersDialog::ParametersDialog(RunSettings& settings, SettingsStore& store,
                                   DatabaseChoice& database, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      store_(store),
      database_(database),
      prompts_(prompts),
      general_(GeneralOptions::From(settings)) {
  setWindowTitle("Quillmark for Oracle Parameters");

  // "1" tells the user that a press that selected nothing was taken.
  databaseRow_ = new DatabaseSchemaRow(database, "Press to select Database 1", this);

  auto* objects = new QGroupBox("Objects", this);
  auto* objectGrid = new QGridLayout(objects);
  auto* source = new QGroupBox("Source", this);
  auto* sourceGrid = new QGridLayout(source);
  auto* other = new QGroupBox("Other objects", this);
  auto* otherGrid = new QGridLayout(other);
  for (int i = 0; i < KindCount; ++i) {
    QCheckBox* box = AddKind(i, settings);
    QGridLayout* grid = i < ObjectKindCount  ? objectGrid
                        : i < OtherKindStart ? sourceGrid
                                             : otherGrid;
    const int place = i < ObjectKindCount  ? i
                      : i < OtherKindStart ? i - ObjectKindCount
                                           : i - OtherKindStart;
    grid->addWidget(box, place / 2, place % 2);
  }
  otherGrid->setRowStretch((KindCount - OtherKindStart + 1) / 2, 1);
  conditionsButton_ = new QPushButton("&Conditions...", objects);
  conditionsButton_->setAutoDefault(false);
  objectGrid->addWidget(conditionsButton_, ObjectKindCount / 2, 0);
  QCheckBox* dataBox = KindBox(&RunSettings::DoData);
  conditionsButton_->setEnabled(dataBox->isChecked());
  connect(dataBox, &QCheckBox::toggled, conditionsButton_, &QPushButton::setEnabled);
  connect(conditionsButton_, &QPushButton::clicked, this, &ParametersDialog::EditDataConditions);
  objectsAdvanced_ = new QPushButton("Ad&vanced...", objects);
  objectsAdvanced_->setAutoDefault(false);
  objectGrid->addWidget(objectsAdvanced_, ObjectKindCount / 2, 1);
  connect(objectsAdvanced_, &QPushButton::clicked, this, &ParametersDialog::EditObjectOptions);
  sourceAdvanced_ = new QPushButton("Adv&anced...", source);
  sourceAdvanced_->setAutoDefault(false);
  sourceGrid->addWidget(sourceAdvanced_, (OtherKindStart - ObjectKindCount) / 2, 1);
  connect(sourceAdvanced_, &QPushButton::clicked, this, &ParametersDialog::EditSourceOptions);
  auto* frame = new QGroupBox("Select the objects and source that you would like to script:", this);
  auto* frameLayout = new QHBoxLayout(frame);
  frameLayout->addWidget(objects);
  frameLayout->addWidget(source);
  frameLayout->addWidget(other);

  auto* buttons = new QDialogButtonBox(this);
  AddHelp(*this, *buttons, "parameters");
  generalButton_ = buttons->addButton("Ge&neral...", QDialogButtonBox::ActionRole);
  generalButton_->setAutoDefault(false);
  startButton_ = buttons->addButton("Start", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  startButton_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(databaseRow_);
  layout->addWidget(frame);
  layout->addWidget(buttons);

  connect(generalButton_, &QPushButton::clicked, this, &ParametersDialog::EditGeneralOptions);
  databaseRow_->Button()->setFocus();
}

QCheckBox* ParametersDialog::AddKind(int index, const RunSettings& settings) {
  auto* box = new QCheckBox(Kinds[index].text, this);
  box->setChecked(settings.*Kinds[index].flag != 0);
  boxes_[index] = box;
  return box;
}

QCheckBox* ParametersDialog::KindBox(int RunSettings::*kind) const {
  for (int i = 0; i < KindCount; ++i) {
    if (Kinds[i].flag == kind) {
      return boxes_[i];
    }
  }
  return nullptr;
}

void ParametersDialog::CopyChoicesTo(RunSettings& settings) const {
  for (int i = 0; i < KindCount; ++i) {
    settings.*Kinds[i].flag = boxes_[i]->isChecked() ? 1 : 0;
  }
  general_.CopyTo(settings);
}

void ParametersDialog::EditGeneralOptions() {
  GeneralOptionsDialog dialog(general_, store_, database_, prompts_, this);
  if (dialog.exec() == QDialog::Accepted) {
    general_ = dialog.Options();
  }
}

bool ParametersDialog::CheckDatabaseFor(const char* purpose) {
  if (database_.DatabaseSelected()) {
    return true;
  }
  prompts_.ShowMessage(
      this, QString("You must select a database before you can setup the %1.").arg(purpose),
      MessageButtons::Ok, MessageIcon::Warning);
  return false;
}

void ParametersDialog::EditObjectOptions() {
  if (!CheckDatabaseFor("advanced options")) {
    return;
  }
  settings_.OwnTablesOnly = general_.OwnTablesOnly;
  CAdvancedSheet sheet(settings_, database_, prompts_, this);
  sheet.exec();
}

void ParametersDialog::EditSourceOptions() {
  if (!CheckDatabaseFor("advanced options")) {
    return;
  }
  settings_.OwnTablesOnly = general_.OwnTablesOnly;
  CSourceSheet sheet(settings_, database_, this);
  sheet.exec();
}

void ParametersDialog::EditDataConditions() {
  if (!CheckDatabaseFor("data conditions")) {
    return;
  }
  DataConditionsDialog dialog(settings_, store_, database_, this);
  dialog.exec();
}

void ParametersDialog::accept() {
  if (!database_.DatabaseSelected()) {
    prompts_.ShowMessage(this, "You must select a database before you can begin.",
                         MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  QDialog::accept();
}

QPushButton* ParametersDialog::DatabaseButton() const {
  return databaseRow_->Button();
}

QComboBox* ParametersDialog::SchemaList() const {
  return databaseRow_->SchemaList();
}
