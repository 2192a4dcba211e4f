// DataScripting: the data phase of a scripting run and the rows of a
// free-form statement, written as INSERT statements (worker thread). Every
// table of the run's list that is not excluded gets one data query; its rows
// come from a RowSource and are framed by a header banner, a no-data banner
// or an error block. Pause, Stop and Skip are honoured before every row; a
// stopped run leaves through RunControl::StopRun.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/ReportColour.h"
#include "scripting/data/TableDataRules.h"
#include "scripting/data/ValueLiteral.h"

class OracleSession;
class ReportOutput;
class RowSource;
class RunControl;
class RunHost;
class SettingsStore;
class TableListSource;
class UnscriptedObjects;
struct RunFlags;
struct RunSettings;

class DataScripting {
 public:
  // host shows status, progress and caption; it may be null. A table or
  // statement whose rows are not all scripted is noted in unscripted.
  DataScripting(const RunSettings& settings, RunFlags& flags, ReportOutput& output, RunHost* host,
                RunControl& control, OracleSession& session, TableListSource& tables,
                SettingsStore& store, UnscriptedObjects& unscripted);

  void RunDataPhase();
  // Scripts the rows of query; an empty table selects the statement variant.
  // The second query belongs to comparing and is not used.
  void ScriptRows(const std::string& query, const std::string& secondQuery,
                  const std::string& table);
  // The first call (no source yet) opens the query and delivers its first
  // row's VALUES text; later calls deliver the next row. When the rows are
  // exhausted, or a fetch fails, source is released and values left empty.
  // Returns the server's error text, or an empty text.
  std::string FetchRows(const std::string& query, std::unique_ptr<RowSource>& source,
                        std::string& values, const std::string& table);

  // The data query of a table of the schema.
  // "select *" of the table, with its invisible columns named after the star;
  // the table takes its alias (TableAlias) when aliased or when it has any.
  static std::string TableQuery(const std::string& schema, const std::string& table,
                                const std::vector<std::string>& invisibleColumns,
                                bool aliased = false);

 private:
  void ApplySessionFormats();
  bool Reconnected();
  void WriteDataHeader(const std::string& table, const std::string& query, const RowSource& source);
  void WriteInsert(RowSource& source, const std::string& values);
  // A row with LOB values too large for one statement: an anonymous block
  // builds them in variables and inserts the row. Returns the error of a
  // value that could not be read (the block then fails when run).
  std::string WriteLobBlock(RowSource& source, const std::string& values);
  // Before a table's first row: ALWAYS identity columns take explicit values.
  void WriteIdentityLoads(const std::string& table);
  // After a table's last row: COMMIT (unless the last portion ended with
  // one) and every identity column's own generation and counter again.
  void WriteTableEnd(const std::string& table, long long rows);
  void WriteCommit();
  // Rows between COMMIT statements; 0 for one COMMIT after the table.
  long long CommitPortion() const;
  int Release();
  // The bar of the control panel at position of count tables.
  void SetProgress(int position, int count);
  // error, followed by the table's data condition when it has one.
  std::string WithDataCondition(const std::string& table, const std::string& error) const;
  void WriteErrorBlock(const std::string& table, const std::string& error);
  void WriteNoDataBanner(const std::string& table);
  // A table with columns whose values no INSERT can put back: a comment
  // naming them, and the table among the objects not scripted.
  void WriteUnscriptableBanner(const std::string& table);
  // A row whose LONG value no block can bind: a comment naming it, and its
  // table among the objects not scripted.
  void WriteUnscriptableRow(const RowSource& source);
  void Status(const std::string& text);
  void Caption();
  void Write(std::string_view text, ReportColour colour, bool countForAutoSave);

  const RunSettings& settings_;
  RunFlags& flags_;
  ReportOutput& output_;
  RunHost* host_;
  RunControl& control_;
  OracleSession& session_;
  TableListSource& tables_;
  SettingsStore& store_;
  UnscriptedObjects& unscripted_;
  LiteralFormats formats_;
  bool lobContents_ = true;  // the user's choice, read with the formats
  // The rules of the table being scripted (empty for a statement).
  TableDataRules rules_;
  int release_ = -1;  // the server's, read once
};
