// Database button and schema list of the run dialogs.
#include "ui/DatabaseSchemaRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "scripting/connection/DatabaseConnection.h"
#include "ui/DatabaseChoice.h"

bool DatabaseChoice::DatabaseSelected() {
  const DatabaseConnection* connection = ViewConnection();
  return connection != nullptr && !connection->NotConnected();
}

DatabaseSchemaRow::DatabaseSchemaRow(DatabaseChoice& database, QString failedText, QWidget* parent)
    : QWidget(parent), database_(database), failedText_(std::move(failedText)) {
  button_ = new QPushButton(this);
  button_->setAutoDefault(false);
  schemaList_ = new QComboBox(this);
  schemaList_->setMinimumContentsLength(20);
  auto* schemaLabel = new QLabel("Sc&hema:", this);
  schemaLabel->setBuddy(schemaList_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(button_, 1);
  layout->addWidget(schemaLabel);
  layout->addWidget(schemaList_, 1);

  connect(button_, &QPushButton::clicked, this, &DatabaseSchemaRow::SelectDatabase);
  connect(schemaList_, &QComboBox::currentTextChanged, this, &DatabaseSchemaRow::SchemaChosen);
  ShowConnection("Press to select Database");
}

void DatabaseSchemaRow::ShowConnection(const QString& notSelectedText) {
  filling_ = true;
  schemaList_->clear();
  if (database_.DatabaseSelected()) {
    const DatabaseConnection& connection = *database_.ViewConnection();
    button_->setText(QString::fromStdString(connection.DisplayName()));
    for (const std::string& name : connection.SchemaNames()) {
      schemaList_->addItem(QString::fromStdString(name));
    }
    schemaList_->model()->sort(0);
    schemaList_->setCurrentIndex(schemaList_->findText(
        QString::fromStdString(connection.CurrentSchema()), Qt::MatchStartsWith));
  } else {
    button_->setText(notSelectedText);
  }
  filling_ = false;
}

void DatabaseSchemaRow::SelectDatabase() {
  database_.SelectDatabase();
  ShowConnection(failedText_);
}

void DatabaseSchemaRow::SchemaChosen(const QString& schema) {
  DatabaseConnection* connection = database_.ViewConnection();
  if (filling_ || connection == nullptr || schema.isEmpty() ||
      schema.toStdString() == connection->CurrentSchema()) {
    return;
  }
  connection->SelectSchema(schema.toStdString());
  button_->setText(QString::fromStdString(connection->DisplayName()));
}
