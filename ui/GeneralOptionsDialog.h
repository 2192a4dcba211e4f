// GeneralOptionsDialog: where the report goes (screen, a file, or incremental
// saving to a file), the report file name and portion size, the session's
// date format and the physical clauses of table scripts. The run options are
// edited as a copy the caller takes back on OK; the date format and clause
// switches are settings-store values, written when the dialog ends with OK.
#pragma once

#include <QDialog>
#include <string>

struct RunSettings;
class DatabaseChoice;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsStore;
class UserPrompts;

// The run options the dialog edits. The last three have no control; they
// pass through unchanged.
struct GeneralOptions {
  int AutoSave = 0;
  int ReportToFile = 0;
  std::string ReportFileName;
  int AutoSaveLines = 500;
  int SpecialNameMode = 0;
  int UseOdbcDataTypes = 0;
  int OwnTablesOnly = 1;
  // Not empty: scripting runs write one file per object into this folder.
  std::string SplitFolder;

  static GeneralOptions From(const RunSettings& settings);
  void CopyTo(RunSettings& settings) const;
};

class GeneralOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int MinimumLines = 1;
  static constexpr int MaximumLines = 999999;

  GeneralOptionsDialog(const GeneralOptions& options, SettingsStore& store,
                       DatabaseChoice& database, UserPrompts& prompts, QWidget* parent = nullptr);

  // The options as accepted; meaningful after OK.
  const GeneralOptions& Options() const { return options_; }

  QRadioButton* ToScreen() const { return toScreen_; }
  QRadioButton* ToFile() const { return toFile_; }
  QRadioButton* AutoSaveRadio() const { return autoSave_; }
  QLineEdit* FileNameEdit() const { return fileName_; }
  QPushButton* BrowseButton() const { return browse_; }
  QLineEdit* LinesEdit() const { return lines_; }
  QLineEdit* DateFormatEdit() const { return dateFormat_; }
  QCheckBox* PctBox() const { return pct_; }
  QCheckBox* StorageBox() const { return storage_; }
  QCheckBox* LobContentsBox() const { return lobContents_; }
  QLineEdit* SplitFolderEdit() const { return splitFolder_; }
  QPushButton* OkButton() const { return ok_; }

  void accept() override;

 private:
  void ApplyEnabling();
  void Browse();
  bool Refuse(const QString& text, QWidget* focus);
  // The date format checked against the view's session, when it has one.
  bool DateFormatAccepted();

  GeneralOptions options_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  UserPrompts& prompts_;
  QRadioButton* toScreen_ = nullptr;
  QRadioButton* toFile_ = nullptr;
  QRadioButton* autoSave_ = nullptr;
  QGroupBox* saveGroup_ = nullptr;
  QLabel* linesBefore_ = nullptr;
  QLineEdit* lines_ = nullptr;
  QLabel* linesAfter_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  QLineEdit* fileName_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* dateFormat_ = nullptr;
  QCheckBox* pct_ = nullptr;
  QCheckBox* storage_ = nullptr;
  QCheckBox* lobContents_ = nullptr;
  QLineEdit* splitFolder_ = nullptr;
  QPushButton* ok_ = nullptr;
};
