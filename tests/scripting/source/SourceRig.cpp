// The stored source phase's test rig and catalog lists.
#include "tests/scripting/source/SourceRig.h"

#include "scripting/source/SourceKinds.h"

SourceRig::SourceRig(SourceListSource& lists, SourceTextSource& texts,
                     DependencySource* dependencies)
    : output(model, settings, flags, host, store),
      control(settings, flags, output, host),
      phase(settings, output, &host, control, lists, texts, unscripted, dependencies) {
  settings.RunMode = ScriptingRunMode;
  settings.UpdateCommentPrefixes();
  flags.Running = 1;
}

std::string SourceRig::Script(const std::vector<std::string>& codes) {
  for (const std::string& code : codes) {
    phase.ScriptSourceKind(code);
  }
  return Report();
}

int SourceRig::Count(const std::string& text) const {
  int count = 0;
  const std::string report = Report();
  for (std::size_t at = report.find(text); at != std::string::npos;
       at = report.find(text, at + 1)) {
    ++count;
  }
  return count;
}

CatalogSourceLists::CatalogSourceLists(OracleSession& session, const std::string& owner,
                                       const std::string& databaseName)
    : output_(model_, settings_, flags_, host_, store_),
      catalog_(session, output_, settings_, owner, databaseName, maxima_),
      owner_(owner),
      databaseName_(databaseName) {}

int CatalogSourceLists::ReloadList(const SourceKind& kind) {
  CatalogList& list = lists_[kind.code];
  list.clear();
  return catalog_.ListObjects(true, &list, kind.dictionaryType);
}

const CatalogList& CatalogSourceLists::List(const SourceKind& kind) {
  return lists_[kind.code];
}
