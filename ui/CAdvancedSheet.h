// CAdvancedSheet: "Advanced Object Options", the tabbed sheet behind the
// parameters dialog's Objects "Advanced..." button: privileges and sequence
// switches, the tables taking part and the ignored column names. OK writes
// the pages into the run settings; Cancel writes nothing.
#pragma once

#include <QDialog>
#include <memory>

struct RunSettings;
class ColumnPatternsPage;
class DatabaseChoice;
class QCheckBox;
class QTabWidget;
class SelectionPage;
class UserPrompts;

class CAdvancedSheet : public QDialog {
  Q_OBJECT

 public:
  CAdvancedSheet(RunSettings& settings, DatabaseChoice& database, UserPrompts& prompts,
                 QWidget* parent = nullptr);
  ~CAdvancedSheet() override;

  QTabWidget* Tabs() const { return tabs_; }
  SelectionPage* TablesPage() const { return tablesPage_; }
  ColumnPatternsPage* ColumnsPage() const { return columnsPage_; }

  void accept() override;

 private:
  QWidget* PrivilegesPage();
  QWidget* SequencesPage();

  RunSettings& settings_;
  // The pages edit this copy; OK copies it back.
  std::unique_ptr<RunSettings> edited_;
  QTabWidget* tabs_ = nullptr;
  SelectionPage* tablesPage_ = nullptr;
  ColumnPatternsPage* columnsPage_ = nullptr;
};
