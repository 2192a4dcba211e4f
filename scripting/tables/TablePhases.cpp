// The table, index and constraint phases of a scripting run.
#include "scripting/tables/TablePhases.h"

#include <unordered_set>
#include <vector>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunControl.h"
#include "engine/RunHost.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/tables/TableDdlSource.h"
#include "scripting/tables/TableListSource.h"

namespace {

// Three progress steps per table: the script loop, the not-processed loop
// and the end of the phase.
constexpr int ProgressStepsPerTable = 3;

// The names are copied at the start of a loop: the list belongs to the
// connection, which the user-interface thread may list again meanwhile.
std::vector<std::string> TableNames(TableListSource& tables) {
  std::vector<std::string> names;
  for (const CatalogItem& item : tables.TableList()) {
    names.push_back(item.Name());
  }
  return names;
}

// The excluded table names of the settings, upper-cased once per loop: a
// look-up in the settings' own list costs the length of that list per table.
class ExcludedNames {
 public:
  explicit ExcludedNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      names_.insert(Upper(name));
    }
  }
  bool Contains(const std::string& name) const { return names_.count(Upper(name)) != 0; }

 private:
  static std::string Upper(std::string text) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
      }
    }
    return text;
  }
  std::unordered_set<std::string> names_;
};

std::string WithoutTrailingWhiteSpace(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

TablePhases::TablePhases(const RunSettings& settings, ReportOutput& output, RunHost* host,
                         RunControl& control, TableListSource& tables, TableDdlSource& ddl,
                         UnscriptedObjects& unscripted)
    : PhaseOutput(output, host),
      settings_(settings),
      control_(control),
      tables_(tables),
      ddl_(ddl),
      unscripted_(unscripted) {}

bool TablePhases::NoteFailure(const char* objectKind, const std::string& table,
                              const std::string& failure) {
  if (failure.empty()) {
    return false;
  }
  control_.StopIfStopped();
  unscripted_.Add(objectKind, table, failure);
  output_.OutputLine("\r\n" + settings_.SqlCommentPrefix + objectKind + " script of " + table +
                         " could not be generated: " + WithoutTrailingWhiteSpace(failure) + "\r\n",
                     NoticeColour, false, true);
  return true;
}

void TablePhases::RunTablePhase() {
  Status("Analyzing Databases ...");
  if (host_ != nullptr) {
    host_->SetCaption(CaptionFor("Analyzing Databases"));
  }
  if (!tables_.TableListLoaded()) {
    Status("Retrieving table information ...");
    tables_.ReloadTableList();
  }
  tableCount_ = static_cast<int>(tables_.TableList().size());
  WriteSummaryBanner();
  if (host_ != nullptr) {
    host_->SetProgressStep(1);
    host_->SetProgressRange(0, ProgressStepsPerTable * tableCount_);
  }
  if (settings_.DoTable) {
    WriteTableScripts();
    if (settings_.DoTableSkipped) {
      WriteTablesNotProcessed();
    }
  }
  if (host_ != nullptr) {
    host_->SetProgressPosition(ProgressStepsPerTable * tableCount_);
  }
}

void TablePhases::WriteSummaryBanner() {
  Comment("\r\n\r\n\r\n" + BannerOpen);
  Comment("*  tables\r\n*\r\n*  ");
  Name(std::to_string(tableCount_), false);
  Comment(tableCount_ == 1 ? " table was found in " : " tables were found in ", false);
  Name(tables_.DatabaseName(), false);
  Comment(BannerClose);
}

void TablePhases::WriteTableScripts() {
  const std::string owner = tables_.SchemaOwner();
  const ExcludedNames excluded(settings_.ExcludedTables);
  for (const std::string& table : TableNames(tables_)) {
    control_.CheckStop();
    StepProgress();
    if (excluded.Contains(table)) {
      continue;
    }
    Comment("\r\n\r\n" + BannerOpen);
    Comment(settings_.CommentPrefix + "The following statement will create the table ", false);
    Name(table);
    Comment(BannerClose);
    Status("Creating script for table: " + table);
    const std::string script = ddl_.GenerateTableDdl(owner, table);
    const std::string failure = ddl_.LastFailure();
    // Every table has a CREATE TABLE statement: a block that printed nothing
    // has lost it.
    if (!NoteFailure("TABLE", table,
                     failure.empty() && WithoutTrailingWhiteSpace(script).empty()
                         ? "the generator printed no statement"
                         : failure)) {
      Name(script);
      unscripted_.NoteScripted("TABLE", table);
    }
  }
}

void TablePhases::WriteTablesNotProcessed() {
  bool listed = false;
  const ExcludedNames excluded(settings_.ExcludedTables);
  for (const std::string& table : TableNames(tables_)) {
    control_.CheckStop();
    StepProgress();
    if (!excluded.Contains(table)) {
      continue;
    }
    if (!listed) {
      Comment("\r\n\r\n\r\n" + BannerOpen);
      Comment(settings_.CommentPrefix + "The following tables were not processed in ", false);
      Name(tables_.DatabaseName() + "\r\n");
      Comment("*");
      listed = true;
    }
    Status("Report unprocessed table: " + table);
    Comment("\r\n" + settings_.CommentPrefix + "\t\t");
    Name(table);
  }
  if (listed) {
    Comment(BannerClose);
  }
}

void TablePhases::RunIndexPhase() {
  static constexpr KeyPhaseTexts texts{
      "Skipping index scripting for table: ", "Creating index scripts for table: ",
      "*  The following statements will create the indexes for table ", "*  No indexes were found.",
      "INDEX"};
  RunKeyPhase(texts, [this](const std::string& owner, const std::string& table) {
    return ddl_.GenerateIndexDdl(owner, table, nullptr);
  });
}

// Keys and checks of every table come before any foreign key, so that a
// replay finds each referenced key, whatever the order of the tables.
void TablePhases::RunConstraintPhase() {
  static constexpr KeyPhaseTexts keys{
      "Skipping constraint scripting for table: ", "Creating constraint scripts for table: ",
      "*  The following statements will create the constraints for table ", nullptr, "CONSTRAINT"};
  static constexpr KeyPhaseTexts foreignKeys{
      nullptr, "Creating foreign key scripts for table: ",
      "*  The following statements will create the foreign keys for table ",
      "*  No constraints were found.", "FOREIGN KEY"};
  const bool keysWritten =
      RunKeyPhase(keys, [this](const std::string& owner, const std::string& table) {
        return ddl_.GenerateConstraintDdl(owner, table);
      });
  RunKeyPhase(
      foreignKeys,
      [this](const std::string& owner, const std::string& table) {
        return ddl_.GenerateForeignKeyDdl(owner, table);
      },
      keysWritten);
}

template <typename Generate>
bool TablePhases::RunKeyPhase(const KeyPhaseTexts& texts, Generate generate,
                              bool somethingWritten) {
  const std::string owner = tables_.SchemaOwner();
  bool nothingWritten = !somethingWritten;
  const ExcludedNames excluded(settings_.ExcludedTables);
  for (const std::string& table : TableNames(tables_)) {
    control_.CheckStop();
    StepProgress();
    if (excluded.Contains(table)) {
      if (texts.skippingStatus != nullptr) {
        Status(texts.skippingStatus + table);
      }
      continue;
    }
    Status(texts.creatingStatus + table);
    const std::string script = WithoutTrailingWhiteSpace(generate(owner, table));
    if (NoteFailure(texts.objectKind, table, ddl_.LastFailure())) {
      nothingWritten = false;
      continue;
    }
    if (script.empty()) {
      continue;
    }
    Comment("\r\n\r\n\r\n" + BannerOpen);
    Comment(texts.bannerSentence, false);
    Name(table);
    Comment(BannerClose);
    Name(script + "\r\n");
    nothingWritten = false;
  }
  if (nothingWritten && texts.noneFound != nullptr) {
    Comment("\r\n\r\n\r\n" + BannerOpen);
    Comment(texts.noneFound);
    Comment(BannerClose);
  }
  return !nothingWritten;
}
