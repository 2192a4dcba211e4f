// The table of stored source kinds.
#include "scripting/source/SourceKinds.h"

#include "engine/RunSettings.h"

namespace {

constexpr SourceKind Kinds[] = {
    {"STP", "Stored Procedures", "PROCEDURE", &RunSettings::DoProcedure,
     &RunSettings::DoProcedureSkipped, &RunSettings::ExcludedProcedures, &CatalogLists::Procedures},
    {"FUNC", "Functions", "FUNCTION", &RunSettings::DoFunction, &RunSettings::DoFunctionSkipped,
     &RunSettings::ExcludedFunctions, &CatalogLists::Functions},
    {"PKG", "Packages", "PACKAGE", &RunSettings::DoPackage, &RunSettings::DoPackageSkipped,
     &RunSettings::ExcludedPackages, &CatalogLists::Packages},
    {"PKGBD", "Packages Body", "PACKAGE BODY", &RunSettings::DoPackageBody,
     &RunSettings::DoPackageBodySkipped, &RunSettings::ExcludedPackageBodies,
     &CatalogLists::PackageBodies},
    {"TYPE", "Types", "TYPE", &RunSettings::DoType, &RunSettings::DoTypeSkipped,
     &RunSettings::ExcludedTypes, &CatalogLists::Types},
    {"TYPEB", "Types Body", "TYPE BODY", &RunSettings::DoTypeBody, &RunSettings::DoTypeBodySkipped,
     &RunSettings::ExcludedTypeBodies, &CatalogLists::TypeBodies},
    {"TRIG", "Triggers", "TRIGGER", &RunSettings::DoTrigger, &RunSettings::DoTriggerSkipped,
     &RunSettings::ExcludedTriggers, &CatalogLists::Triggers},
    {"VIEW", "Views", "VIEW", &RunSettings::DoViewSource, &RunSettings::DoViewSourceSkipped,
     &RunSettings::ExcludedViewSources, &CatalogLists::ViewSources},
};

}  // namespace

const SourceKind* FindSourceKind(std::string_view code) {
  for (const SourceKind& kind : Kinds) {
    if (code == kind.code) {
      return &kind;
    }
  }
  return nullptr;
}

bool IsSourceExcluded(const RunSettings& settings, std::string_view code, const std::string& name) {
  const SourceKind* kind = FindSourceKind(code);
  return kind != nullptr && ContainsIgnoringCase(settings.*kind->excluded, name);
}
