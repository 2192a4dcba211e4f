// Parameters dialog: database button, schema list and the object-kind boxes.
#include "ui/ParametersDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "scripting/connection/DatabaseConnection.h"
#include "ui/DatabaseChoice.h"
#include "ui/UserPrompts.h"

namespace {

const QString SelectDatabaseText = "Press to select Database";
// After a failed or cancelled logon, so the user sees that the press was taken.
const QString SelectDatabaseAgainText = "Press to select Database 1";
// The first six kinds form the "Objects" group, the rest the "Source" group.
constexpr int ObjectKindCount = 6;

}  // namespace

bool DatabaseChoice::DatabaseSelected() {
  const DatabaseConnection* connection = ViewConnection();
  return connection != nullptr && !connection->NotConnected();
}

const std::array<ParametersDialog::Kind, ParametersDialog::KindCount> ParametersDialog::Kinds = {{
    {&RunSettings::DoPrivilege, "P&rivileges"},
    {&RunSettings::DoSequence, "Se&quences"},
    {&RunSettings::DoTable, "&Tables"},
    {&RunSettings::DoIndex, "&Indexes"},
    {&RunSettings::DoConstraint, "C&onstraints"},
    {&RunSettings::DoData, "&Data"},
    {&RunSettings::DoTrigger, "Tri&ggers"},
    {&RunSettings::DoViewSource, "&Views"},
    {&RunSettings::DoFunction, "&Functions"},
    {&RunSettings::DoPackage, "Pac&kages"},
    {&RunSettings::DoPackageBody, "Packages &Body"},
    {&RunSettings::DoProcedure, "&Procedures"},
    {&RunSettings::DoType, "Type&s"},
    {&RunSettings::DoTypeBody, "Types Bod&y"},
}};

ParametersDialog::ParametersDialog(const RunSettings& settings, SettingsStore& store,
                                   DatabaseChoice& database, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      store_(store),
      database_(database),
      prompts_(prompts),
      general_(GeneralOptions::From(settings)) {
  setWindowTitle("Quillmark for Oracle Parameters");

  databaseButton_ = new QPushButton(SelectDatabaseText, this);
  databaseButton_->setAutoDefault(false);
  schemaList_ = new QComboBox(this);
  schemaList_->setInsertPolicy(QComboBox::InsertAlphabetically);
  schemaList_->setMinimumContentsLength(20);
  auto* schemaLabel = new QLabel("Sc&hema:", this);
  schemaLabel->setBuddy(schemaList_);
  auto* databaseRow = new QHBoxLayout;
  databaseRow->addWidget(databaseButton_, 1);
  databaseRow->addWidget(schemaLabel);
  databaseRow->addWidget(schemaList_, 1);

  auto* objects = new QGroupBox("Objects", this);
  auto* objectGrid = new QGridLayout(objects);
  auto* source = new QGroupBox("Source", this);
  auto* sourceGrid = new QGridLayout(source);
  for (int i = 0; i < KindCount; ++i) {
    QCheckBox* box = AddKind(i, settings);
    QGridLayout* grid = i < ObjectKindCount ? objectGrid : sourceGrid;
    const int place = i < ObjectKindCount ? i : i - ObjectKindCount;
    grid->addWidget(box, place / 2, place % 2);
  }
  auto* frame = new QGroupBox("Select the objects and source that you would like to script:", this);
  auto* frameLayout = new QHBoxLayout(frame);
  frameLayout->addWidget(objects);
  frameLayout->addWidget(source);

  auto* buttons = new QDialogButtonBox(this);
  generalButton_ = buttons->addButton("&General...", QDialogButtonBox::ActionRole);
  generalButton_->setAutoDefault(false);
  startButton_ = buttons->addButton("Start", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  startButton_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(databaseRow);
  layout->addWidget(frame);
  layout->addWidget(buttons);

  connect(databaseButton_, &QPushButton::clicked, this, &ParametersDialog::SelectDatabase);
  connect(schemaList_, &QComboBox::currentTextChanged, this, &ParametersDialog::SchemaChosen);
  connect(generalButton_, &QPushButton::clicked, this, &ParametersDialog::EditGeneralOptions);
  ShowConnection(SelectDatabaseText);
  databaseButton_->setFocus();
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

void ParametersDialog::ShowConnection(const QString& failedText) {
  filling_ = true;
  schemaList_->clear();
  if (database_.DatabaseSelected()) {
    const DatabaseConnection& connection = *database_.ViewConnection();
    databaseButton_->setText(QString::fromStdString(connection.DisplayName()));
    for (const std::string& name : connection.SchemaNames()) {
      schemaList_->addItem(QString::fromStdString(name));
    }
    schemaList_->model()->sort(0);
    schemaList_->setCurrentIndex(schemaList_->findText(
        QString::fromStdString(connection.CurrentSchema()), Qt::MatchStartsWith));
  } else {
    databaseButton_->setText(failedText);
  }
  filling_ = false;
}

void ParametersDialog::SelectDatabase() {
  database_.SelectDatabase();
  ShowConnection(SelectDatabaseAgainText);
}

void ParametersDialog::SchemaChosen(const QString& schema) {
  DatabaseConnection* connection = database_.ViewConnection();
  if (filling_ || connection == nullptr || schema.isEmpty() ||
      schema.toStdString() == connection->CurrentSchema()) {
    return;
  }
  connection->SelectSchema(schema.toStdString());
  databaseButton_->setText(QString::fromStdString(connection->DisplayName()));
}

void ParametersDialog::accept() {
  if (!database_.DatabaseSelected()) {
    prompts_.ShowMessage(this, "You must select a database before you can begin.",
                         MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  QDialog::accept();
}
