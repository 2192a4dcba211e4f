// DataConditionsDialog: the row filters of the data scripting. For each table
// (or view) of the schema the user may type a condition that the data run
// appends after "where". Every keystroke is stored in the run settings at
// once, so Close has nothing to save and nothing to discard.
#pragma once

#include <QDialog>

struct RunSettings;
class DatabaseChoice;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class SettingsStore;

class DataConditionsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* ConditionTip = "This object has a data condition";
  DataConditionsDialog(RunSettings& settings, SettingsStore& store, DatabaseChoice& database,
                       QWidget* parent = nullptr);

  QListWidget* NameList() const { return names_; }
  QPlainTextEdit* ConditionEdit() const { return condition_; }
  // Tables or views; kept hidden, the choice lives in the settings store.
  QRadioButton* ShowTables() const { return showTables_; }
  QRadioButton* ShowViews() const { return showViews_; }
  QPushButton* ClearAllButton() const { return clearAll_; }

 private:
  void FillList();
  void ShowKind(bool tables);
  void NameChosen();
  void ConditionEdited();
  void ClearAll();
  // Shows in bold the names that have a condition.
  void MarkAll();
  void Mark(QListWidgetItem& item);

  RunSettings& settings_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  QListWidget* names_ = nullptr;
  QPlainTextEdit* condition_ = nullptr;
  QRadioButton* showTables_ = nullptr;
  QRadioButton* showViews_ = nullptr;
  QPushButton* clearAll_ = nullptr;
  bool showing_ = false;
};
