// RunSettings: the record of every choice that shapes a scripting run (object
// kinds, per-kind options, exclusion lists, data conditions, output mode and
// auto-save), with its load and save through the settings store. Many fields
// serve only the comparing tools of the same family: they are kept, stored and
// serialised unchanged but no scripting step reads them (marked compare-only).
#pragma once

#include <map>
#include <string>
#include <vector>

class SettingsStore;

// The section of the store that holds the run settings.
inline constexpr const char* SettingsSection = "Settings";
// The string key of RunSettings::SplitFolder in that section.
inline constexpr const char* SplitFolderKey = "SplitFolder";
// RunMode of this program: scripting.
inline constexpr int ScriptingRunMode = 2;

struct RunSettings {
  // Object kinds to script.
  int DoTable = 1;        // dst
  int DoIndex = 1;        // din
  int DoConstraint = 1;   // dct
  int DoData = 1;         // dda
  int DoPrivilege = 1;    // dpr
  int DoSequence = 1;     // dsq
  int DoTrigger = 1;      // dtr
  int DoViewSource = 1;   // DoViewSource
  int DoProcedure = 1;    // dsc
  int DoFunction = 1;     // dfn
  int DoPackage = 1;      // dpk
  int DoPackageBody = 1;  // dpb
  int DoType = 1;         // DoType
  int DoTypeBody = 1;     // DoTypeBody
  // Other objects of the schema.
  int DoSynonym = 1;           // DoSynonym
  int DoObjectGrant = 1;       // DoObjectGrant: grants the schema made to others
  int DoDatabaseLink = 1;      // DoDatabaseLink
  int DoMaterializedView = 1;  // DoMaterializedView, with their comments
  int DoMviewLog = 1;          // DoMviewLog

  // Per-kind report lists: common-list and no-difference flags are compare-only;
  // the skipped flags ask for the list of objects left out of the run.
  int DoTableCommon = 1;         // doc
  int DoTableSkipped = 1;        // dos
  int NoDiffColumns = 1;         // ndc
  int DoViewCommon = 1;          // dvc
  int DoViewSkipped = 1;         // dvsk
  int NoDiffView = 1;            // ndv
  int DoProcedureCommon = 1;     // dstc
  int DoProcedureSkipped = 1;    // dss
  int NoDiffProcedure = 1;       // nds
  int DoFunctionCommon = 1;      // dfc
  int DoFunctionSkipped = 1;     // dfs
  int NoDiffFunction = 1;        // ndf
  int DoPackageCommon = 1;       // dpc
  int DoPackageSkipped = 1;      // dps
  int NoDiffPackage = 1;         // ndp
  int DoPackageBodyCommon = 1;   // dpbc
  int DoPackageBodySkipped = 1;  // dpbs
  int NoDiffPackageBody = 1;     // ndpb
  int DoTypeCommon = 1;          // DoTypeCommon
  int DoTypeSkipped = 1;         // DoTypeSkipped
  int NoDiffType = 1;            // NoDiffType
  int DoTypeBodyCommon = 1;      // DoTypeBodyCommon
  int DoTypeBodySkipped = 1;     // DoTypeBodySkipped
  int NoDiffTypeBody = 1;        // NoDiffTypeBody
  int DoTriggerCommon = 1;       // DoTriggerCommon
  int DoTriggerSkipped = 1;      // DoTriggerSkipped
  int NoDiffTrigger = 1;         // ndt
  int DoViewSourceCommon = 1;    // DoViewSourceCommon
  int DoViewSourceSkipped = 1;   // DoViewSourceSkipped
  int NoDiffViewSource = 1;      // NoDiffViewSource
  int NoDiffData = 1;            // ndd

  // Other per-kind options.
  int DoSystemPrivileges = 1;             // dsp
  int DoRolePrivileges = 1;               // drp
  int DoObjectPrivileges = 1;             // dop
  int IgnoreLastSequenceValue = 0;        // ilsn
  int CompareTriggerBody = 1;             // dtb
  int TriggerSourceLimit = 2000;          // tbl; the page accepts 100 to 64000
  int CompareConstraintColumns = 1;       // dcc, compare-only
  int ConstraintNameMode = 1;             // dcn: 0 ignore names, 1 ignore SYS_C%, 2 ignore none
  int ColumnIgnoreLengthDifferences = 0;  // ccl, compare-only
  int ColumnIgnoreNameCase = 0;           // not stored, compare-only
  int DataIgnoreCase = 0;                 // cdc, compare-only
  int DataIgnoreTrailingSpaces = 0;       // cdt
  int DataIgnoreFractionalSeconds = 0;    // cdf, compare-only
  int DataCompareNumericByValue = 1;      // cdv
  int DataIgnoreSeconds = 0;              // cds, compare-only
  int DataIgnoreLeadingSpaces = 0;        // cdl
  int PrivilegeTrimSpaces = 1;            // iss

  // Output and general options.
  int ReportToFile = 0;        // not stored: "Process complete report to a file"
  int AutoSave = 0;            // as: "Save incremental report to file automatically"
  int AutoSaveLines = 500;     // asl; the dialog accepts 1 to 999999
  std::string ReportFileName;  // not stored; used by both file modes
  int SpecialNameMode = 0;     // asn; kept, no phase reads it
  int UseOdbcDataTypes = 0;    // bdt; kept, no phase reads it
  int OwnTablesOnly = 1;       // not stored; no phase reads it
  // Not stored: a report that is the same for the same schema (no date, no
  // elapsed time), for keeping it under version control.
  int StableOutput = 0;
  // Not stored: lines end in LF rather than CR LF.
  int LfLineBreaks = 0;
  // Not empty: a scripting run writes one file per object into this folder
  // (see SplitRun). Kept under the string key SplitFolder, read with the
  // stored integers.
  std::string SplitFolder;
  // Not stored: the files of a split run end their lines in CR LF.
  int SplitCrLf = 0;
  // String keys, written by the general options dialog and read at the time of
  // use; not part of the load and save sequence.
  std::string IncludePctClauses = "Y";      // InclPct
  std::string IncludeStorageClauses = "Y";  // InclStorage

  // Run mode (DoingUpgradeScript) and the comment prefixes derived from it.
  int RunMode = 0;
  std::string CommentPrefix;     // "*  " when RunMode is nonzero
  std::string SqlCommentPrefix;  // "-- " when RunMode is nonzero

  // Selections and conditions.
  std::vector<std::string> ExcludedTables;
  std::vector<std::string> ExcludedViews;
  std::vector<std::string> ExcludedProcedures;
  std::vector<std::string> ExcludedFunctions;
  std::vector<std::string> ExcludedPackages;
  std::vector<std::string> ExcludedPackageBodies;
  std::vector<std::string> ExcludedTypes;
  std::vector<std::string> ExcludedTypeBodies;
  std::vector<std::string> ExcludedTriggers;
  std::vector<std::string> ExcludedViewSources;
  // Column name patterns; a pattern may hold one "%" for any run of characters.
  std::vector<std::string> IgnoredColumnPatterns;
  // Table name to the text that follows WHERE in its data query.
  std::map<std::string, std::string> DataConditions;
  // The statement of the last free-form statement run.
  std::string StatementText;

  // Reads the 71 stored integers in their fixed order (missing keys give their
  // defaults, nothing is validated), then recomputes the comment prefixes. The
  // caller then forces RunMode to ScriptingRunMode.
  void LoadRunSettings(SettingsStore& store);
  // Writes the same 71 integers in the same order.
  void SaveRunSettings(SettingsStore& store) const;
  // The stored keys in their fixed order.
  static const std::vector<std::string>& StoredKeys();

  void UpdateCommentPrefixes();

  // True when ExcludedTables holds name without regard to case.
  bool IsTableExcluded(const std::string& name) const;
  // True when DataConditions holds a non-empty text for table (exact key);
  // condition receives it without a leading WHERE keyword ("WHERE" and a blank
  // or a tab, in any case, after leading blanks), so that the user may type the
  // keyword or leave it out.
  bool GetDataCondition(const std::string& table, std::string& condition) const;
};

// True when list holds name without regard to case; the rule of every
// exclusion list.
bool ContainsIgnoringCase(const std::vector<std::string>& list, const std::string& name);
