// Data conditions dialog: name list, condition editor, Clear all conditions.
#include "ui/DataConditionsDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/SettingsStore.h"
#include "engine/RunSettings.h"
#include "ui/DatabaseChoice.h"
#include "ui/HelpPages.h"

namespace {

constexpr const char* WhereTabKey = "WhereTab";

}  // namespace

DataConditionsDialog::DataConditionsDialog(RunSettings& settings, SettingsStore& store,
                                           DatabaseChoice& database, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), database_(database) {
  setWindowTitle("Data Conditions");
  auto* intro = new QLabel(
      "Use this dialog to enter conditions for the retrieval and scripting of data.\n\nThe "
      "statement in the box below will be appended to the select statement for the "
      "corresponding table after the \"where\" clause.",
      this);
  intro->setWordWrap(true);
  names_ = new QListWidget(this);
  names_->setSortingEnabled(true);
  names_->setSelectionMode(QAbstractItemView::SingleSelection);
  condition_ = new QPlainTextEdit(this);
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(8.5);
  condition_->setFont(font);
  condition_->setTabChangesFocus(true);
  auto* conditionLabel = new QLabel("&Condition:", this);
  conditionLabel->setBuddy(condition_);
  auto* example = new QLabel("( Example: ABC_ID = 123 and ABC_CODE = 'hello' )", this);
  example->setAlignment(Qt::AlignCenter);
  showTables_ = new QRadioButton("Show Tables", this);
  showViews_ = new QRadioButton("Show Views", this);
  showTables_->hide();
  showViews_->hide();
  clearAll_ = new QPushButton("C&lear all conditions", this);
  clearAll_->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  AddHelp(*this, *buttons, "data-conditions");
  buttons->addButton(clearAll_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  auto* namesLabel = new QLabel("&Objects:", this);
  namesLabel->setBuddy(names_);
  layout->addWidget(namesLabel);
  layout->addWidget(names_, 1);
  layout->addWidget(conditionLabel);
  layout->addWidget(condition_, 1);
  layout->addWidget(example);
  layout->addWidget(buttons);

  const bool tables = store_.GetInt(SettingsSection, WhereTabKey, 1) != 0;
  (tables ? showTables_ : showViews_)->setChecked(true);
  FillList();
  connect(names_, &QListWidget::currentItemChanged, this, &DataConditionsDialog::NameChosen);
  connect(condition_, &QPlainTextEdit::textChanged, this, &DataConditionsDialog::ConditionEdited);
  connect(showTables_, &QRadioButton::clicked, this, [this] { ShowKind(true); });
  connect(showViews_, &QRadioButton::clicked, this, [this] { ShowKind(false); });
  connect(clearAll_, &QPushButton::clicked, this, &DataConditionsDialog::ClearAll);
}

void DataConditionsDialog::FillList() {
  names_->clear();
  for (const std::string& name :
       database_.ObjectNames(showTables_->isChecked() ? "TABLE" : "VIEW")) {
    const QString shown = QString::fromStdString(name);
    if (names_->findItems(shown, Qt::MatchFixedString).isEmpty()) {
      names_->addItem(shown);
    }
  }
  MarkAll();
}

void DataConditionsDialog::MarkAll() {
  for (int row = 0; row < names_->count(); ++row) {
    Mark(*names_->item(row));
  }
}

void DataConditionsDialog::Mark(QListWidgetItem& item) {
  // The names that have a condition stand out, so that none is forgotten.
  const bool hasCondition = settings_.DataConditions.count(item.text().toStdString()) != 0;
  QFont font = item.font();
  font.setBold(hasCondition);
  item.setFont(font);
  item.setToolTip(hasCondition ? ConditionTip : QString());
}

void DataConditionsDialog::ShowKind(bool tables) {
  FillList();
  showing_ = true;
  condition_->clear();
  showing_ = false;
  store_.SetInt(SettingsSection, WhereTabKey, tables ? 1 : 0);
}

void DataConditionsDialog::NameChosen() {
  const QListWidgetItem* item = names_->currentItem();
  QString text;
  if (item != nullptr) {
    const auto found = settings_.DataConditions.find(item->text().toStdString());
    if (found != settings_.DataConditions.end()) {
      text = QString::fromStdString(found->second);
    }
  }
  showing_ = true;
  condition_->setPlainText(text);
  showing_ = false;
}

void DataConditionsDialog::ConditionEdited() {
  const QListWidgetItem* item = names_->currentItem();
  if (showing_ || item == nullptr) {
    return;
  }
  const std::string name = item->text().toStdString();
  QString text = condition_->toPlainText();
  qsizetype start = 0;
  while (start < text.size() && text[start].isSpace()) {
    ++start;
  }
  text.remove(0, start);
  settings_.DataConditions.erase(name);
  if (!text.isEmpty()) {
    settings_.DataConditions[name] = text.toStdString();
  }
  Mark(*names_->currentItem());
}

void DataConditionsDialog::ClearAll() {
  showing_ = true;
  condition_->clear();
  showing_ = false;
  settings_.DataConditions.clear();
  MarkAll();
}
