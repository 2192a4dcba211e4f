// The stored source phase of a scripting run.
#include "scripting/source/SourcePhase.h"

#include <algorithm>
#include <cctype>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunControl.h"
#include "engine/RunHost.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/data/ToolLines.h"
#include "scripting/source/DependencyOrder.h"
#include "scripting/source/DependencySource.h"
#include "scripting/source/MaterializedViewWriter.h"
#include "scripting/source/OracleNames.h"
#include "scripting/source/SourceKinds.h"
#include "scripting/source/SourceListSource.h"
#include "scripting/source/SourceNames.h"
#include "scripting/source/SourceTextSource.h"

namespace {

// Three progress steps per object: the script loop, the not-processed loop
// and the end of the kind.
constexpr int ProgressStepsPerObject = 3;
// The range shown while the kind's list is read.
constexpr int ListingProgressRange = 1000;

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// text with every line but the first behind prefix as well, so that a
// multi-line error stays a comment.
std::string CommentedLines(const std::string& prefix, const std::string& text) {
  std::string commented = prefix;
  for (const char c : text) {
    if (c == '\r') {
      continue;
    }
    commented += c == '\n' ? "\r\n" + prefix : std::string(1, c);
  }
  return commented;
}

}  // namespace

SourcePhase::SourcePhase(const RunSettings& settings, ReportOutput& output, RunHost* host,
                         RunControl& control, SourceListSource& lists, SourceTextSource& texts,
                         UnscriptedObjects& unscripted, DependencySource* dependencies)
    : PhaseOutput(output, host),
      settings_(settings),
      control_(control),
      lists_(lists),
      texts_(texts),
      unscripted_(unscripted),
      dependencies_(dependencies) {}

void SourcePhase::ScriptSourceSection(const std::vector<std::string>& codes, SourcePass pass) {
  std::vector<const SourceKind*> kinds;
  for (const std::string& code : codes) {
    if (const SourceKind* kind = FindSourceKind(code)) {
      kinds.push_back(kind);
    }
  }
  sourceCount_ = 0;
  const bool banners = pass != SourcePass::OnMaterializedViews;
  for (const SourceKind* kind : kinds) {
    if (!banners) {
      sourceCount_ += ReadList(*kind);
      continue;
    }
    const std::string label = kind->label;
    if (host_ != nullptr) {
      host_->SetCaption(CaptionFor("Analyzing " + label));
    }
    Status("Analyzing " + label + " ...");
    if (host_ != nullptr) {
      host_->SetProgressStep(1);
      host_->SetProgressPosition(0);
      host_->SetProgressRange(0, ListingProgressRange);
      host_->StepProgress();
    }
    const int count = ReadList(*kind);
    sourceCount_ += count;
    if (host_ != nullptr) {
      host_->SetProgressRange(0, ProgressStepsPerObject * count);
    }
    WriteSummaryBanner(*kind, count);
  }
  if (host_ != nullptr) {
    host_->SetProgressPosition(0);
    host_->SetProgressRange(0, ProgressStepsPerObject * sourceCount_);
  }
  const std::string owner = lists_.SchemaOwner();
  for (const SectionObject& object : OrderedObjects(kinds, pass)) {
    control_.CheckStop();
    StepProgress();
    if (object.kind == nullptr) {
      materializedViews_->Write(object.name);
    } else {
      WriteObjectScript(*object.kind, owner, object.name);
    }
  }
  for (const SourceKind* kind : kinds) {
    if (banners && settings_.*kind->doFlag != 0 && settings_.*kind->notProcessedFlag != 0) {
      WriteNotProcessed(*kind);
    }
  }
  if (host_ != nullptr) {
    host_->SetProgressPosition(ProgressStepsPerObject * sourceCount_);
  }
}

int SourcePhase::ReadList(const SourceKind& kind) {
  return lists_.ListLoaded(kind) ? static_cast<int>(lists_.List(kind).size())
                                 : lists_.ReloadList(kind);
}

std::string SourcePhase::CountedNoun(const SourceKind& kind, int count) {
  std::string noun = LowerCase(kind.dictionaryType);  // "type body"
  if (noun == "procedure") {
    noun = "stored procedure";
  }
  if (count == 1) {
    return noun;
  }
  if (noun.back() == 'y') {
    noun.pop_back();
    noun += "ies";
  } else {
    noun += 's';
  }
  return noun;
}

void SourcePhase::WriteSummaryBanner(const SourceKind& kind, int count) {
  const std::string label = LowerCase(kind.label);
  Comment("\r\n\r\n\r\n" + BannerOpen);
  Comment("*  " + label + "\r\n*\r\n*  ");
  Name(std::to_string(count) + " ", false);
  Comment(CountedNoun(kind, count) + (count == 1 ? " was found in " : " were found in "), false);
  Name(lists_.DatabaseName(), false);
  Comment(BannerClose);
}

std::vector<SourcePhase::SectionObject> SourcePhase::OrderedObjects(
    const std::vector<const SourceKind*>& kinds, SourcePass pass) {
  std::vector<SectionObject> objects;
  for (const SourceKind* kind : kinds) {
    if (settings_.*kind->doFlag == 0) {
      continue;
    }
    for (std::string& name : ObjectNames(*kind)) {
      if (!IsSourceExcluded(settings_, kind->code, name)) {
        objects.push_back({kind, std::move(name)});
      }
    }
  }
  if (pass == SourcePass::OnMaterializedViews && materializedViews_ != nullptr) {
    for (std::string& name : materializedViews_->Names()) {
      objects.push_back({nullptr, std::move(name)});
    }
  }
  if (dependencies_ == nullptr) {
    if (pass == SourcePass::OnMaterializedViews) {
      std::erase_if(objects, [](const SectionObject& object) { return object.kind != nullptr; });
    }
    return objects;
  }
  if (objects.size() < 2 && pass == SourcePass::Whole) {
    return objects;
  }
  return InDependencyOrder(std::move(objects), pass);
}

std::vector<SourcePhase::SectionObject> SourcePhase::InDependencyOrder(
    std::vector<SectionObject> objects, SourcePass pass) {
  const auto any = [&objects](const char* type) {
    return std::any_of(objects.begin(), objects.end(),
                       [type](const SectionObject& object) { return object.Type() == type; });
  };
  std::vector<ObjectDependency> dependencies;
  const std::string failure =
      dependencies_->ReadDependencies(lists_.SchemaOwner(),
                                      {.supertypes = any("TYPE"),
                                       .triggerFiring = any("TRIGGER"),
                                       .materializedViews = pass != SourcePass::Whole},
                                      dependencies);
  const auto keysOf = [](const std::vector<SectionObject>& of) {
    std::vector<ObjectKey> keys;
    for (const SectionObject& object : of) {
      keys.push_back({object.Type(), object.name});
    }
    return keys;
  };
  if (pass != SourcePass::Whole) {
    const std::set<std::size_t> onViews =
        ObjectsNeedingType(keysOf(objects), dependencies, "MATERIALIZED VIEW");
    std::vector<SectionObject> kept;
    for (std::size_t at = 0; at < objects.size(); ++at) {
      // Materialized views come only in the second pass.
      const bool second = onViews.count(at) != 0 || objects[at].kind == nullptr;
      if (second == (pass == SourcePass::OnMaterializedViews)) {
        kept.push_back(std::move(objects[at]));
      }
    }
    objects = std::move(kept);
  }
  // The pass after the materialized views repeats no remark of the first.
  if (!failure.empty() && pass != SourcePass::OnMaterializedViews) {
    WriteRemark("The dependencies between these objects could not all be read (" + failure +
                "); objects without them stand in the order of their kinds and names.");
  }
  const DependencyOrder order = OrderByDependencies(keysOf(objects), dependencies);
  const auto describe = [&objects](std::size_t at) {
    return LowerCase(objects[at].Type()) + " " + objects[at].name;
  };
  for (const std::vector<std::size_t>& cycle : order.cycles) {
    std::string chain;
    for (const std::size_t at : cycle) {
      chain += describe(at) + " -> ";
    }
    WriteRemark("These objects depend on each other in a cycle: " + chain +
                describe(cycle.front()) +
                ". They are written all the same; the target server may have to compile them "
                "again once all of them exist.");
  }
  std::vector<SectionObject> types;
  for (const std::size_t at : order.neededEarly) {
    if (objects[at].Type() == "TYPE") {
      types.push_back(objects[at]);
    }
  }
  WriteForwardDeclarations(types);
  std::vector<SectionObject> ordered;
  for (const std::size_t at : order.order) {
    ordered.push_back(std::move(objects[at]));
  }
  return ordered;
}

std::string SourcePhase::SectionObject::Type() const {
  return kind != nullptr ? kind->dictionaryType : "MATERIALIZED VIEW";
}

void SourcePhase::WriteRemark(const std::string& text) {
  output_.OutputLine("\r\n" + CommentedLines(settings_.SqlCommentPrefix, text) + "\r\n",
                     NoticeColour, false, true);
}

// A type that another type needs before it can be created is declared
// incomplete first; its CREATE OR REPLACE later completes it.
void SourcePhase::WriteForwardDeclarations(const std::vector<SectionObject>& types) {
  if (types.empty()) {
    return;
  }
  Comment("\r\n\r\n" + BannerOpen);
  Comment(settings_.CommentPrefix +
          "The following statements declare the types that other types need before them");
  Comment(BannerClose);
  for (const SectionObject& type : types) {
    Name("CREATE TYPE " + StatementName(type.name) + ";\r\n/\r\n");
  }
}

// The names are copied at the start of a loop: the list belongs to the
// connection, which the user-interface thread may list again meanwhile.
std::vector<std::string> SourcePhase::ObjectNames(const SourceKind& kind) {
  std::vector<std::string> names;
  for (const CatalogItem& item : lists_.List(kind)) {
    names.push_back(item.Name());
  }
  return names;
}

void SourcePhase::WriteObjectScript(const SourceKind& kind, const std::string& owner,
                                    const std::string& name) {
  const std::string type = LowerCase(kind.dictionaryType);
  Comment("\r\n\r\n" + BannerOpen);
  Comment(settings_.CommentPrefix + "The following statement will create the " + type, false);
  Name(" " + name);
  Comment(BannerClose);
  Status("Creating script for " + type + ": " + name);
  SourceDefinition definition;
  const std::string error = texts_.FetchSourceText(owner, name, kind.dictionaryType, definition);
  if (!error.empty() || definition.text.empty()) {
    control_.StopIfStopped();
    const std::string reason = error.empty() ? "the dictionary holds no source" : error;
    unscripted_.Add(kind.dictionaryType, name, reason);
    const std::string remark =
        error.empty() ? "The dictionary holds no source for the " + type + " " + name
                      : "The source of the " + type + " " + name + " could not be read: " + error;
    output_.OutputLine(CommentedLines(settings_.SqlCommentPrefix, remark) + "\r\n", NoticeColour,
                       false, true);
    return;
  }
  // The definition is written as the server holds it; the line that ends the
  // statement starts on a line of its own. A definition with lines that a
  // command-line SQL tool reads as its own is run from a block instead.
  const std::string statement = "CREATE OR REPLACE " + definition.text;
  const std::size_t end = statement.find_last_not_of("\r\n");
  if (!ToolReadsWhole(std::string_view(statement).substr(0, end + 1),
                      std::string_view(kind.dictionaryType) == "VIEW")) {
    Name(ExecutedStatementBlock(statement));
  } else {
    Name("CREATE OR REPLACE ");
    output_.OutputLine(definition.text, NameColour, false, true, TextOrigin::Server);
    Name(definition.text.back() == '\n' ? "/\r\n" : "\r\n/\r\n");
  }
  unscripted_.NoteScripted(kind.dictionaryType, name);
  if (definition.disabled) {
    Name("ALTER TRIGGER " + StatementName(name) + " DISABLE\r\n/\r\n");
  }
}

void SourcePhase::WriteNotProcessed(const SourceKind& kind) {
  const std::string type = LowerCase(kind.dictionaryType);
  bool listed = false;
  for (const std::string& name : ObjectNames(kind)) {
    control_.CheckStop();
    StepProgress();
    if (!IsSourceExcluded(settings_, kind.code, name)) {
      continue;
    }
    if (!listed) {
      Comment("\r\n\r\n\r\n" + BannerOpen);
      Comment(settings_.CommentPrefix + "The following " + LowerCase(kind.label) +
                  " were not processed in ",
              false);
      Name(lists_.DatabaseName() + "\r\n");
      Comment("*");
      listed = true;
    }
    Status("Report unprocessed " + type + ": " + name);
    Comment("\r\n" + settings_.CommentPrefix + "\t\t");
    Name(name);
  }
  if (listed) {
    Comment(BannerClose);
  }
}
