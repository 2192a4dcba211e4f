// Advanced object options sheet: privileges, sequences, tables and columns.
#include "ui/CAdvancedSheet.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "engine/RunSettings.h"
#include "ui/ColumnPatternsPage.h"
#include "ui/DatabaseChoice.h"
#include "ui/OptionSheetLayout.h"
#include "ui/SelectionPage.h"

namespace {

// A check box that writes its state into field.
QCheckBox* BoundBox(const QString& text, int& field, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(field != 0);
  QObject::connect(box, &QCheckBox::toggled, parent, [&field](bool on) { field = on ? 1 : 0; });
  return box;
}

}  // namespace

CAdvancedSheet::CAdvancedSheet(RunSettings& settings, DatabaseChoice& database,
                               UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), edited_(std::make_unique<RunSettings>(settings)) {
  setWindowTitle("Advanced Object Options");
  tabs_ = new QTabWidget(this);
  tabs_->addTab(PrivilegesPage(), "Privileges");
  tabs_->addTab(SequencesPage(), "Sequences");
  tablesPage_ = new SelectionPage(
      "Include the following &tables in the process:",
      "Include list of not processed tables in report",
      [&database] { return database.ObjectNames("TABLE"); }, edited_->ExcludedTables,
      edited_->DoTableSkipped, this);
  tabs_->addTab(tablesPage_, "Tables");
  columnsPage_ = new ColumnPatternsPage(edited_->IgnoredColumnPatterns, prompts, this);
  tabs_->addTab(columnsPage_, "Columns");

  LayOutOptionSheet(*this, tabs_);
}

CAdvancedSheet::~CAdvancedSheet() = default;

QWidget* CAdvancedSheet::PrivilegesPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(BoundBox("Script &System Privileges", edited_->DoSystemPrivileges, page));
  layout->addWidget(BoundBox("Script &Role Privileges", edited_->DoRolePrivileges, page));
  layout->addWidget(BoundBox("Script &Object Privileges", edited_->DoObjectPrivileges, page));
  layout->addStretch();
  return page;
}

QWidget* CAdvancedSheet::SequencesPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(BoundBox("&Ignore Last Sequence Value when scripting",
                             edited_->IgnoreLastSequenceValue, page));
  auto* note = new QLabel(
      "If you choose to ignore the last value, all sequences will be created with the \"start "
      "with\" value set to the original value when the sequence was first created (usually 1).",
      page);
  note->setWordWrap(true);
  layout->addWidget(note);
  layout->addStretch();
  return page;
}

void CAdvancedSheet::accept() {
  if (!columnsPage_->Apply()) {
    tabs_->setCurrentWidget(columnsPage_);
    return;
  }
  tablesPage_->Apply();
  settings_ = *edited_;
  QDialog::accept();
}
