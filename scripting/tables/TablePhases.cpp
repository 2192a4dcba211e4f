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
                         RunControl& control, TableListSource& tables, TableDdlSource& ddl)
    : settings_(settings),
      output_(output),
      host_(host),
      control_(control),
      tables_(tables),
      ddl_(ddl) {}

void TablePhases::Status(const std::string& text) {
  if (host_ != nullptr) {
    host_->SetStatusText(text);
  }
}

void TablePhases::StepProgress() {
  if (host_ != nullptr) {
    host_->StepProgress();
  }
}

void TablePhases::Comment(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, CommentColour, false, countForAutoSave);
}

void TablePhases::Name(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, NameColour, false, countForAutoSave);
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
    Name(ddl_.GenerateTableDdl(owner, table));
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
      "*  The following statements will create the indexes for table ",
      "*  No indexes were found."};
  RunKeyPhase(texts, [this](const std::string& owner, const std::string& table) {
    return ddl_.GenerateIndexDdl(owner, table, nullptr);
  });
}

void TablePhases::RunConstraintPhase() {
  static constexpr KeyPhaseTexts texts{
      "Skipping constraint scripting for table: ", "Creating constraint scripts for table: ",
      "*  The following statements will create the constraints for table ",
      "*  No constraints were found."};
  RunKeyPhase(texts, [this](const std::string& owner, const std::string& table) {
    return ddl_.GenerateConstraintDdl(owner, table);
  });
}

template <typename Generate>
void TablePhases::RunKeyPhase(const KeyPhaseTexts& texts, Generate generate) {
  const std::string owner = tables_.SchemaOwner();
  bool nothingWritten = true;
  const ExcludedNames excluded(settings_.ExcludedTables);
  for (const std::string& table : TableNames(tables_)) {
    control_.CheckStop();
    if (excluded.Contains(table)) {
      Status(texts.skippingStatus + table);
      continue;
    }
    Status(texts.creatingStatus + table);
    const std::string script = WithoutTrailingWhiteSpace(generate(owner, table));
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
  if (nothingWritten) {
    Comment("\r\n\r\n\r\n" + BannerOpen);
    Comment(texts.noneFound);
    Comment(BannerClose);
  }
}
