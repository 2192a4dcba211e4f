// Option sheet layout shared by the advanced object and source sheets.
#include "ui/OptionSheetLayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/HelpPages.h"

void LayOutOptionSheet(QDialog& sheet, QTabWidget* tabs) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &sheet);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
  AddHelp(sheet, *buttons, "parameters");  // the page tells of both sheets
  // Every tab stays in sight rather than behind scroll arrows.
  tabs->setUsesScrollButtons(false);
  auto* layout = new QVBoxLayout(&sheet);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}
