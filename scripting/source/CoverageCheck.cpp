// The coverage check at the end of a scripting run.
#include "scripting/source/CoverageCheck.h"

#include <string_view>
#include <utility>
#include <vector>

#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/source/DictionaryQuery.h"
#include "scripting/source/PhaseWriter.h"
#include "scripting/source/SourceKinds.h"
#include "scripting/tables/ServerRelease.h"

namespace {

constexpr int NameWidth = 128;
constexpr int TypeWidth = 23;

// Object types that are parts of other objects and come with them.
constexpr std::string_view PartTypes[] = {
    "INDEX",         "INDEX PARTITION",  "INDEX SUBPARTITION", "LOB",
    "LOB PARTITION", "LOB SUBPARTITION", "TABLE PARTITION",    "TABLE SUBPARTITION",
};

struct CoveredType {
  const char* type;
  int RunSettings::*flag;
  std::vector<std::string> RunSettings::*excluded;  // null: no exclusion list
};

// The types a phase of its own writes, other than stored source.
const CoveredType CoveredTypes[] = {
    {"TABLE", &RunSettings::DoTable, &RunSettings::ExcludedTables},
    {"SEQUENCE", &RunSettings::DoSequence, nullptr},
    {"SYNONYM", &RunSettings::DoSynonym, nullptr},
    {"DATABASE LINK", &RunSettings::DoDatabaseLink, nullptr},
    {"MATERIALIZED VIEW", &RunSettings::DoMaterializedView, nullptr},
};

// The prefix Oracle gives the table of a materialized view log.
constexpr std::string_view LogTablePrefix = "MLOG$_";

// The source code of the stored-source kind of a dictionary type.
const char* SourceCodeOf(const std::string& type) {
  for (const char* code : {"TRIG", "VIEW", "FUNC", "PKG", "PKGBD", "STP", "TYPE", "TYPEB"}) {
    if (type == FindSourceKind(code)->dictionaryType) {
      return code;
    }
  }
  return nullptr;
}

}  // namespace

CoverageCheck::CoverageCheck(const RunSettings& settings, PhaseWriter& writer,
                             UnscriptedObjects& record, OracleSession& session, std::string owner)
    : settings_(settings),
      writer_(writer),
      record_(record),
      session_(session),
      owner_(std::move(owner)) {}

CoverageCheck::Coverage CoverageCheck::CoverageOf(const RunSettings& settings,
                                                  const std::string& type, const std::string& name,
                                                  const std::set<std::string>& materializedViews) {
  for (std::string_view part : PartTypes) {
    if (type == part) {
      return Coverage::NotListed;
    }
  }
  if (type == "TABLE" && materializedViews.count(name) != 0) {
    return CoverageOf(settings, "MATERIALIZED VIEW", name, materializedViews);
  }
  if (type == "TABLE" && name.rfind(LogTablePrefix, 0) == 0) {
    return settings.DoMviewLog != 0 ? Coverage::Expected : Coverage::NotListed;
  }
  if (const char* code = SourceCodeOf(type)) {
    const bool chosen = settings.*FindSourceKind(code)->doFlag != 0;
    return chosen && !IsSourceExcluded(settings, code, name) ? Coverage::Expected
                                                             : Coverage::NotListed;
  }
  for (const CoveredType& covered : CoveredTypes) {
    if (type == covered.type) {
      const bool excluded =
          covered.excluded != nullptr && ContainsIgnoringCase(settings.*covered.excluded, name);
      return settings.*covered.flag != 0 && !excluded ? Coverage::Expected : Coverage::NotListed;
    }
  }
  return Coverage::Unsupported;
}

void CoverageCheck::Run() {
  writer_.Announce("Coverage");
  // Names the server generated belong to objects that are scripted with
  // their owners (constraint indexes, nested tables, log tables), and so
  // do the sequence of an identity column and a nested table's storage.
  const int release = ServerRelease(session_);
  const std::string identitySequences =
      ReleaseHas(release, dictionary_since::IdentityColumns)
          ? "and not (object_type = 'SEQUENCE' and object_name in (select sequence_name "
            "from all_tab_identity_cols where owner = :owner)) "
          : "";
  // The storage table of a nested table column comes with its table.
  const std::string nestedTables =
      ReleaseHas(release, dictionary_since::ObjectTypes)
          ? "and not (object_type = 'TABLE' and object_name in (select table_name "
            "from all_nested_tables where owner = :owner)) "
          : "";
  DictionaryQuery query(session_,
                        "select object_type, object_name from all_objects where owner = :owner "
                        "and generated = 'N' and secondary = 'N' " +
                            identitySequences + nestedTables + "order by object_type, object_name",
                        {TypeWidth, NameWidth});
  query.Bind(":owner", owner_);
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  if (!query.ReadAll(rows, error)) {
    writer_.ErrorBlock("checking which objects the report holds", error);
    writer_.NoteUnscripted("LIST OF OBJECTS", owner_, error);
    return;
  }
  std::set<std::string> materializedViews;
  for (const DictionaryQuery::Row& row : rows) {
    if (row[0] == "MATERIALIZED VIEW") {
      materializedViews.insert(row[1]);
    }
  }
  for (const DictionaryQuery::Row& row : rows) {
    const std::string& type = row[0];
    const std::string& name = row[1];
    switch (CoverageOf(settings_, type, name, materializedViews)) {
      case Coverage::Unsupported:
        record_.AddUncovered(type, name, "the tool does not script objects of this kind");
        break;
      case Coverage::Expected:
        if (!record_.IsAccountedFor(type, name)) {
          record_.AddUncovered(type, name, "no phase of the run wrote it");
        }
        break;
      case Coverage::NotListed:
        break;
    }
  }
}
