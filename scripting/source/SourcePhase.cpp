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
                         UnscriptedObjects& unscripted)
    : PhaseOutput(output, host),
      settings_(settings),
      control_(control),
      lists_(lists),
      texts_(texts),
      unscripted_(unscripted) {}

void SourcePhase::ScriptSourceKind(const std::string& code) {
  const SourceKind* kind = FindSourceKind(code);
  if (kind == nullptr) {
    return;
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
  ReadList(*kind);
  if (host_ != nullptr) {
    host_->SetProgressRange(0, ProgressStepsPerObject * sourceCount_);
  }
  WriteSummaryBanner(*kind);
  if (settings_.*kind->doFlag != 0) {
    WriteObjectScripts(*kind);
    if (settings_.*kind->notProcessedFlag != 0) {
      WriteNotProcessed(*kind);
    }
  }
  if (host_ != nullptr) {
    host_->SetProgressPosition(ProgressStepsPerObject * sourceCount_);
  }
}

void SourcePhase::ReadList(const SourceKind& kind) {
  if (lists_.ListLoaded(kind)) {
    sourceCount_ = static_cast<int>(lists_.List(kind).size());
  } else {
    sourceCount_ = lists_.ReloadList(kind);
  }
}

void SourcePhase::WriteSummaryBanner(const SourceKind& kind) {
  const std::string label = LowerCase(kind.label);
  Comment("\r\n\r\n\r\n" + BannerOpen);
  Comment("*  " + label + "\r\n*\r\n*  ");
  Name(std::to_string(sourceCount_) + " ", false);
  Comment(label + " were found in ", false);
  Name(lists_.DatabaseName(), false);
  Comment(BannerClose);
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

void SourcePhase::WriteObjectScripts(const SourceKind& kind) {
  const std::string owner = lists_.SchemaOwner();
  for (const std::string& name : ObjectNames(kind)) {
    control_.CheckStop();
    StepProgress();
    if (IsSourceExcluded(settings_, kind.code, name)) {
      continue;
    }
    WriteObjectScript(kind, owner, name);
  }
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
    const std::string reason = error.empty() ? "the dictionary holds no source" : error;
    unscripted_.Add(kind.dictionaryType, name, reason);
    const std::string remark =
        error.empty() ? "The dictionary holds no source for the " + type + " " + name
                      : "The source of the " + type + " " + name + " could not be read: " + error;
    output_.OutputLine(CommentedLines(settings_.SqlCommentPrefix, remark) + "\r\n", NoticeColour,
                       false, true);
    return;
  }
  Name("CREATE OR REPLACE " + definition.text + "\r\n/\r\n");
  unscripted_.NoteScripted(kind.dictionaryType, name);
  if (definition.disabled) {
    Name("ALTER TRIGGER " + QuotedName(name) + " DISABLE\r\n/\r\n");
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
