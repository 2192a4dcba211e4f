// Loading, saving and the lookups of the run settings.
#include "engine/RunSettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "config/SettingsStore.h"

namespace {

struct StoredInt {
  const char* key;
  int RunSettings::*field;
};

// The stored integers in the order in which they are read and written.
constexpr std::array<StoredInt, 71> StoredInts{{
    {"asn", &RunSettings::SpecialNameMode},
    {"ilsn", &RunSettings::IgnoreLastSequenceValue},
    {"as", &RunSettings::AutoSave},
    {"asl", &RunSettings::AutoSaveLines},
    {"tbl", &RunSettings::TriggerSourceLimit},
    {"ccl", &RunSettings::ColumnIgnoreLengthDifferences},
    {"cdc", &RunSettings::DataIgnoreCase},
    {"cdt", &RunSettings::DataIgnoreTrailingSpaces},
    {"cdf", &RunSettings::DataIgnoreFractionalSeconds},
    {"cdv", &RunSettings::DataCompareNumericByValue},
    {"cds", &RunSettings::DataIgnoreSeconds},
    {"cdl", &RunSettings::DataIgnoreLeadingSpaces},
    {"doc", &RunSettings::DoTableCommon},
    {"dvc", &RunSettings::DoViewCommon},
    {"dpbc", &RunSettings::DoPackageBodyCommon},
    {"dpc", &RunSettings::DoPackageCommon},
    {"DoTypeCommon", &RunSettings::DoTypeCommon},
    {"DoTypeBodyCommon", &RunSettings::DoTypeBodyCommon},
    {"DoTriggerCommon", &RunSettings::DoTriggerCommon},
    {"DoViewSourceCommon", &RunSettings::DoViewSourceCommon},
    {"DoingUpgradeScript", &RunSettings::RunMode},
    {"dfc", &RunSettings::DoFunctionCommon},
    {"dstc", &RunSettings::DoProcedureCommon},
    {"dos", &RunSettings::DoTableSkipped},
    {"dvsk", &RunSettings::DoViewSkipped},
    {"dfs", &RunSettings::DoFunctionSkipped},
    {"dps", &RunSettings::DoPackageSkipped},
    {"DoTypeSkipped", &RunSettings::DoTypeSkipped},
    {"DoTypeBodySkipped", &RunSettings::DoTypeBodySkipped},
    {"DoTriggerSkipped", &RunSettings::DoTriggerSkipped},
    {"DoViewSourceSkipped", &RunSettings::DoViewSourceSkipped},
    {"dpbs", &RunSettings::DoPackageBodySkipped},
    {"dss", &RunSettings::DoProcedureSkipped},
    {"dsp", &RunSettings::DoSystemPrivileges},
    {"drp", &RunSettings::DoRolePrivileges},
    {"dcc", &RunSettings::CompareConstraintColumns},
    {"dcn", &RunSettings::ConstraintNameMode},
    {"dtb", &RunSettings::CompareTriggerBody},
    {"dop", &RunSettings::DoObjectPrivileges},
    {"dst", &RunSettings::DoTable},
    {"dpr", &RunSettings::DoPrivilege},
    {"dsq", &RunSettings::DoSequence},
    {"dct", &RunSettings::DoConstraint},
    {"dtr", &RunSettings::DoTrigger},
    {"dsc", &RunSettings::DoProcedure},
    {"DoType", &RunSettings::DoType},
    {"DoTypeBody", &RunSettings::DoTypeBody},
    {"DoViewSource", &RunSettings::DoViewSource},
    {"dfn", &RunSettings::DoFunction},
    {"dpk", &RunSettings::DoPackage},
    {"dpb", &RunSettings::DoPackageBody},
    {"din", &RunSettings::DoIndex},
    {"dda", &RunSettings::DoData},
    {"ndd", &RunSettings::NoDiffData},
    {"ndv", &RunSettings::NoDiffView},
    {"ndc", &RunSettings::NoDiffColumns},
    {"ndt", &RunSettings::NoDiffTrigger},
    {"ndf", &RunSettings::NoDiffFunction},
    {"ndp", &RunSettings::NoDiffPackage},
    {"ndpb", &RunSettings::NoDiffPackageBody},
    {"NoDiffType", &RunSettings::NoDiffType},
    {"NoDiffTypeBody", &RunSettings::NoDiffTypeBody},
    {"NoDiffViewSource", &RunSettings::NoDiffViewSource},
    {"nds", &RunSettings::NoDiffProcedure},
    {"bdt", &RunSettings::UseOdbcDataTypes},
    {"iss", &RunSettings::PrivilegeTrimSpaces},
    {"DoSynonym", &RunSettings::DoSynonym},
    {"DoObjectGrant", &RunSettings::DoObjectGrant},
    {"DoDatabaseLink", &RunSettings::DoDatabaseLink},
    {"DoMaterializedView", &RunSettings::DoMaterializedView},
    {"DoMviewLog", &RunSettings::DoMviewLog},
}};

struct IntRange {
  int RunSettings::*field;
  int low;
  int high;
};

// The documented ranges of stored integers: a value out of range (an edited
// settings or configuration file) is taken as the nearest end.
constexpr IntRange StoredRanges[] = {
    {&RunSettings::AutoSaveLines, 1, 999999},
    {&RunSettings::TriggerSourceLimit, 100, 64000},
    {&RunSettings::ConstraintNameMode, 0, 2},
};

char UpperAscii(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void RunSettings::LoadRunSettings(SettingsStore& store) {
  static const RunSettings defaults;
  for (const StoredInt& stored : StoredInts) {
    this->*stored.field = store.GetInt(SettingsSection, stored.key, defaults.*stored.field);
  }
  for (const IntRange& range : StoredRanges) {
    this->*range.field = std::clamp(this->*range.field, range.low, range.high);
  }
  SplitFolder = store.GetString(SettingsSection, SplitFolderKey, "");
  UpdateCommentPrefixes();
}

void RunSettings::SaveRunSettings(SettingsStore& store) const {
  for (const StoredInt& stored : StoredInts) {
    store.SetInt(SettingsSection, stored.key, this->*stored.field);
  }
}

const std::vector<std::string>& RunSettings::StoredKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> list;
    for (const StoredInt& stored : StoredInts) {
      list.emplace_back(stored.key);
    }
    return list;
  }();
  return keys;
}

void RunSettings::UpdateCommentPrefixes() {
  CommentPrefix = RunMode != 0 ? "*  " : "";
  SqlCommentPrefix = RunMode != 0 ? "-- " : "";
}

bool ContainsIgnoringCase(const std::vector<std::string>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return EqualsIgnoringCase(entry, name); });
}

bool RunSettings::IsTableExcluded(const std::string& name) const {
  return ContainsIgnoringCase(ExcludedTables, name);
}

bool RunSettings::GetDataCondition(const std::string& table, std::string& condition) const {
  const auto found = DataConditions.find(table);
  if (found == DataConditions.end() || found->second.empty()) {
    return false;
  }
  const std::string& stored = found->second;
  const std::string_view text(stored);
  const std::size_t first = std::min(text.size(), text.find_first_not_of(" \t\r\n"));
  const std::string_view trimmed = text.substr(first);
  constexpr std::string_view Keyword = "WHERE";
  if (trimmed.size() > Keyword.size() && EqualsIgnoringCase(trimmed.substr(0, 5), Keyword) &&
      (trimmed[5] == ' ' || trimmed[5] == '\t')) {
    condition = std::string(trimmed.substr(Keyword.size() + 1));
  } else {
    condition = stored;
  }
  // A bare keyword or blanks would make the data query end in "where ".
  if (std::all_of(condition.begin(), condition.end(), IsBlank)) {
    condition.clear();
    return false;
  }
  return true;
}
