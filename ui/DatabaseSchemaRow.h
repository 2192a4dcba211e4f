// DatabaseSchemaRow: the "Press to select Database" button and the schema list
// that the run dialogs share. The button logs on anew through the view's
// database choice; choosing a schema makes it the connection's schema at once.
#pragma once

#include <QString>
#include <QWidget>

class DatabaseChoice;
class QComboBox;
class QPushButton;

class DatabaseSchemaRow : public QWidget {
  Q_OBJECT

 public:
  // failedText is the button's caption after a logon that failed or was cancelled.
  DatabaseSchemaRow(DatabaseChoice& database, QString failedText, QWidget* parent);

  QPushButton* Button() const { return button_; }
  QComboBox* SchemaList() const { return schemaList_; }

 private:
  // Shows the view's connection; notSelectedText is the caption without one.
  void ShowConnection(const QString& notSelectedText);
  void SelectDatabase();
  void SchemaChosen(const QString& schema);

  DatabaseChoice& database_;
  QString failedText_;
  QPushButton* button_ = nullptr;
  QComboBox* schemaList_ = nullptr;
  bool filling_ = false;
};
