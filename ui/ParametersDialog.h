// ParametersDialog: asks, just before a scripting run, which database and
// schema to script, which kinds of object to write and the general options.
// It edits copies of the kind flags and general options and hands them back
// only when the user presses Start; the database and schema change at once,
// as they belong to the report view.
#pragma once

#include <QDialog>
#include <array>

#include "engine/RunSettings.h"
#include "ui/GeneralOptionsDialog.h"

class DatabaseChoice;
class DatabaseSchemaRow;
class QCheckBox;
class QComboBox;
class QPushButton;
class SettingsStore;
class UserPrompts;

class ParametersDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int KindCount = 19;

  // The data conditions are edited in settings at once; the rest on Start.
  ParametersDialog(RunSettings& settings, SettingsStore& store, DatabaseChoice& database,
                   UserPrompts& prompts, QWidget* parent = nullptr);

  // Copies the kind flags as the check boxes show them, and the general
  // options, into settings.
  void CopyChoicesTo(RunSettings& settings) const;

  QPushButton* DatabaseButton() const;
  QComboBox* SchemaList() const;
  QPushButton* StartButton() const { return startButton_; }
  QPushButton* GeneralButton() const { return generalButton_; }
  QPushButton* ConditionsButton() const { return conditionsButton_; }
  QPushButton* ObjectsAdvancedButton() const { return objectsAdvanced_; }
  QPushButton* SourceAdvancedButton() const { return sourceAdvanced_; }
  // The check box of one kind flag, such as &RunSettings::DoData.
  QCheckBox* KindBox(int RunSettings::*kind) const;

  void accept() override;

 private:
  struct Kind {
    int RunSettings::*flag;
    const char* text;
  };
  static const std::array<Kind, KindCount> Kinds;

  QCheckBox* AddKind(int index, const RunSettings& settings);
  void EditGeneralOptions();
  void EditDataConditions();
  void EditObjectOptions();
  void EditSourceOptions();
  // False, with the message, when no database is selected.
  bool CheckDatabaseFor(const char* purpose);

  RunSettings& settings_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  UserPrompts& prompts_;
  std::array<QCheckBox*, KindCount> boxes_{};
  DatabaseSchemaRow* databaseRow_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* generalButton_ = nullptr;
  QPushButton* conditionsButton_ = nullptr;
  QPushButton* objectsAdvanced_ = nullptr;
  QPushButton* sourceAdvanced_ = nullptr;
  GeneralOptions general_;
};
