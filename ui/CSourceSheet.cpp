// Advanced source options sheet: the eight source selection pages.
#include "ui/CSourceSheet.h"

#include <QTabWidget>

#include "engine/RunSettings.h"
#include "ui/DatabaseChoice.h"
#include "ui/OptionSheetLayout.h"
#include "ui/SelectionPage.h"

namespace {

struct SourceKind {
  const char* caption;
  const char* plural;  // as the page's texts name the kind
  const char* objectType;
  std::vector<std::string> RunSettings::*excluded;
  int RunSettings::*notProcessed;
};

const SourceKind SourceKinds[] = {
    {"Triggers", "triggers", "TRIGGER", &RunSettings::ExcludedTriggers,
     &RunSettings::DoTriggerSkipped},
    {"Views", "views", "VIEW", &RunSettings::ExcludedViewSources,
     &RunSettings::DoViewSourceSkipped},
    {"Functions", "functions", "FUNCTION", &RunSettings::ExcludedFunctions,
     &RunSettings::DoFunctionSkipped},
    {"Packages", "packages", "PACKAGE", &RunSettings::ExcludedPackages,
     &RunSettings::DoPackageSkipped},
    {"Package Body", "package bodies", "PACKAGE BODY", &RunSettings::ExcludedPackageBodies,
     &RunSettings::DoPackageBodySkipped},
    {"Stored Procedures", "procedures", "PROCEDURE", &RunSettings::ExcludedProcedures,
     &RunSettings::DoProcedureSkipped},
    {"Types", "types", "TYPE", &RunSettings::ExcludedTypes, &RunSettings::DoTypeSkipped},
    {"Type Body", "type bodies", "TYPE BODY", &RunSettings::ExcludedTypeBodies,
     &RunSettings::DoTypeBodySkipped},
};

}  // namespace

CSourceSheet::CSourceSheet(RunSettings& settings, DatabaseChoice& database, QWidget* parent)
    : QDialog(parent), settings_(settings), edited_(std::make_unique<RunSettings>(settings)) {
  setWindowTitle("Advanced Source Options");
  tabs_ = new QTabWidget(this);
  for (const SourceKind& kind : SourceKinds) {
    const std::string objectType = kind.objectType;
    auto* page = new SelectionPage(
        QString("Include the following &%1 in the process:").arg(kind.plural),
        QString("Include list of not processed %1 in report").arg(kind.plural),
        [&database, objectType] { return database.ObjectNames(objectType); },
        (*edited_).*kind.excluded, (*edited_).*kind.notProcessed, this);
    pages_.push_back(page);
    tabs_->addTab(page, kind.caption);
  }
  LayOutOptionSheet(*this, tabs_);
}

CSourceSheet::~CSourceSheet() = default;

void CSourceSheet::accept() {
  for (SelectionPage* page : pages_) {
    page->Apply();
  }
  settings_ = *edited_;
  QDialog::accept();
}
