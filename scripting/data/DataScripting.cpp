// The data phase and the rows of one query as INSERT statements.
#include "scripting/data/DataScripting.h"

#include <vector>

#include "config/SettingsStore.h"
#include "engine/LobContentsSetting.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunHost.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "oracle/OracleSession.h"
#include "oracle/SessionFormats.h"
#include "scripting/data/DataQueryText.h"
#include "scripting/data/LobLiteral.h"
#include "scripting/data/RowSource.h"
#include "scripting/tables/ServerRelease.h"
#include "scripting/tables/TableListSource.h"

namespace {

// Each line of the statement as a comment line of the header.
std::string StatementAsComment(const std::string& statement) {
  std::string text;
  for (const char c : statement) {
    if (c == '\n') {
      text += "\r\n*  ";
    } else if (c != '\r') {
      text += c;
    }
  }
  return text;
}

}  // namespace

DataScripting::DataScripting(const RunSettings& settings, RunFlags& flags, ReportOutput& output,
                             RunHost* host, RunControl& control, OracleSession& session,
                             TableListSource& tables, SettingsStore& store,
                             UnscriptedObjects& unscripted)
    : settings_(settings),
      flags_(flags),
      output_(output),
      host_(host),
      control_(control),
      session_(session),
      tables_(tables),
      store_(store),
      unscripted_(unscripted) {}

std::string DataScripting::TableQuery(const std::string& schema, const std::string& table,
                                      const std::vector<std::string>& invisibleColumns,
                                      bool aliased) {
  if (invisibleColumns.empty() && !aliased) {
    return "select * from " + SqlName(schema) + "." + SqlName(table);
  }
  const std::string alias = TableAlias;
  std::string query = "select " + alias + ".*";
  for (const std::string& column : invisibleColumns) {
    query += ", " + alias + "." + QuotedName(column);
  }
  return query + " from " + SqlName(schema) + "." + SqlName(table) + " " + alias;
}

void DataScripting::Status(const std::string& text) {
  if (host_ != nullptr) {
    host_->SetStatusText(text);
  }
}

void DataScripting::Caption() {
  if (host_ != nullptr) {
    host_->SetCaption(CaptionFor("Analyzing Data"));
  }
}

void DataScripting::Write(std::string_view text, ReportColour colour, bool countForAutoSave) {
  output_.OutputLine(text, colour, false, countForAutoSave);
}

// The literals name the formats the session gives its text in; the date
// format is the user's current choice, so the session is set to it again.
void DataScripting::ApplySessionFormats() {
  formats_.Date = store_.GetString(SettingsSection, "DateFormat", DefaultDateFormat);
  formats_.Timestamp = SessionTimestampFormat;
  formats_.TimestampWithZone = SessionTimestampZoneFormat;
  lobContents_ = store_.GetString(SettingsSection, LobContentsKey, "Y") != "N";
  session_.ExecuteSql("alter session set nls_date_format = " + QuotedLiteral(formats_.Date));
  session_.ExecuteSql(OracleSession::FixedFormatsStatement());
}

// True when the last error was a lost connection and a new session is
// logged on.
bool DataScripting::Reconnected() {
  int code = 0;
  session_.LastError(&code);
  return OracleSession::IsConnectionLost(code) && session_.ReportError(false, true, nullptr);
}

void DataScripting::RunDataPhase() {
  Status("Analyzing Data ...");
  SetProgress(0, 0);
  flags_.SkipRequested = 0;
  flags_.SkipAllowed = 1;
  Caption();
  if (!tables_.TableListLoaded()) {
    Status("Retrieving table information ...");
    tables_.ReloadTableList();
  }
  ApplySessionFormats();
  // Copied: the list belongs to the connection, which the user-interface
  // thread may list again meanwhile.
  std::vector<std::string> names;
  for (const CatalogItem& item : tables_.TableList()) {
    names.push_back(item.Name());
  }
  const std::string schema = tables_.SchemaOwner();
  // One step per table: the bar is full exactly when the last table is done.
  const int count = static_cast<int>(names.size());
  int done = 0;
  for (const std::string& table : names) {
    control_.CheckStop();
    SetProgress(done++, count);
    if (settings_.IsTableExcluded(table)) {
      Status("Skipping data scripting for table: " + table);
      continue;
    }
    ScriptRows(TableQuery(schema, table, {}), std::string(), table);
  }
  SetProgress(count, count);
  flags_.SkipAllowed = 0;
}

void DataScripting::SetProgress(int position, int count) {
  if (host_ != nullptr) {
    host_->SetProgressRange(0, count);
    host_->SetProgressPosition(position);
  }
}

std::string DataScripting::FetchRows(const std::string& query, std::unique_ptr<RowSource>& source,
                                     std::string& values, const std::string& table) {
  values.clear();
  std::string error;
  if (!source) {
    DataQueryRequest request;
    request.Query = query;
    request.TableFlag = !table.empty();
    if (request.TableFlag) {
      request.IgnoredColumnPatterns = settings_.IgnoredColumnPatterns;
      request.LeftOutColumns = rules_.LeftOutColumns;
      request.ObjectColumns = rules_.ObjectColumns;
      if (rules_.RowObject) {
        request.ObjectColumns = {*rules_.RowObject};
        request.WholeRows = true;
      }
      // Named as the table scripts name it, so that the rows follow the
      // table into whichever schema the script is run in.
      request.Target = SqlName(table);
      settings_.GetDataCondition(table, request.Condition);
    }
    request.Formats = formats_;
    request.LobContents = lobContents_;
    source = RowSource::Open(session_, request, error);
    if (!source) {
      return error;
    }
  }
  if (!source->NextRow(values, error)) {
    source.reset();
  }
  return error;
}

void DataScripting::ScriptRows(const std::string& query, const std::string&,
                               const std::string& table) {
  if (!table.empty()) {
    Status("Creating data scripts for table: " + table);
  } else {
    ApplySessionFormats();
  }
  flags_.SkipRequested = 0;
  flags_.SkipAllowed = 1;
  Caption();
  rules_ = TableDataRules{};
  if (!table.empty()) {
    std::string error;
    if (!ReadTableDataRules(session_, Release(), tables_.SchemaOwner(), table, rules_, error)) {
      WriteErrorBlock(table, error);
      flags_.SkipAllowed = 0;
      return;
    }
  }

  // A value that no INSERT can put back leaves the table's rows unscripted,
  // never scripted without it.
  if (!rules_.UnscriptableColumns.empty()) {
    WriteUnscriptableBanner(table);
    flags_.SkipAllowed = 0;
    return;
  }
  // "*" leaves a table's invisible columns out: the query names them;
  // attributes of object columns are read through the table's alias.
  // An object table whose rows may be of subtypes is read row by row as
  // objects, each the constructor call of its own type.
  const std::string rowsQuery =
      rules_.RowObject
          ? "select value(" + std::string(TableAlias) + ") " + RowObjectColumn + " from " +
                SqlName(tables_.SchemaOwner()) + "." + SqlName(table) + " " + TableAlias
      : rules_.InvisibleColumns.empty() && rules_.ObjectColumns.empty()
          ? query
          : TableQuery(tables_.SchemaOwner(), table, rules_.InvisibleColumns,
                       !rules_.ObjectColumns.empty());
  std::unique_ptr<RowSource> source;
  std::string values;
  // One lost connection is restored: the query runs again on the new session
  // and the rows already scripted are passed over.
  bool reconnected = false;
  const auto fetchAfterReconnect = [&](long long rowsDone) {
    reconnected = true;
    source.reset();
    std::string error = FetchRows(rowsQuery, source, values, table);
    for (long long row = 0; row < rowsDone && error.empty() && source; ++row) {
      error = FetchRows(rowsQuery, source, values, table);
    }
    return error;
  };
  std::string error = FetchRows(rowsQuery, source, values, table);
  if (!error.empty() && !reconnected && Reconnected()) {
    error = fetchAfterReconnect(0);
  }
  if (!error.empty()) {
    WriteErrorBlock(table, WithDataCondition(table, error));
    flags_.SkipAllowed = 0;
    return;
  }
  long long scripted = 0;
  bool rowsRemain = true;
  bool firstPass = true;
  while (rowsRemain) {
    control_.CheckStop();
    if (flags_.SkipRequested) {
      flags_.SkipRequested = 0;
      Write("\r\n" + settings_.SqlCommentPrefix +
                (table.empty() ? "Statement Skipped ..." : "Table Skipped ..."),
            NoticeColour, true);
      WriteTableEnd(table, scripted);
      flags_.SkipAllowed = 0;
      return;
    }
    if (!firstPass) {
      error = FetchRows(rowsQuery, source, values, table);
      if (!error.empty() && !reconnected && Reconnected()) {
        error = fetchAfterReconnect(scripted);
      }
      if (!error.empty()) {
        // A failure part way through is reported: a silently shorter script
        // would pass for the whole table.
        WriteErrorBlock(table, error);
        WriteTableEnd(table, scripted);
        flags_.SkipAllowed = 0;
        return;
      }
    }
    firstPass = false;
    if (!source) {
      rowsRemain = false;
    }
    if (!values.empty() && source) {
      if (scripted == 0) {
        WriteDataHeader(table, rowsQuery, *source);
        WriteIdentityLoads(table);
      }
      WriteInsert(*source, values);
      ++scripted;
      if (!table.empty() && CommitPortion() > 0 && scripted % CommitPortion() == 0) {
        WriteCommit();
      }
    }
  }
  WriteTableEnd(table, scripted);
  if (scripted == 0 && settings_.NoDiffData) {
    WriteNoDataBanner(table);
  }
  flags_.SkipAllowed = 0;
}

void DataScripting::WriteDataHeader(const std::string& table, const std::string& query,
                                    const RowSource& source) {
  Write("\r\n\r\n\r\n" + BannerOpen, CommentColour, true);
  if (!table.empty()) {
    Write(settings_.CommentPrefix + "The following scripts will create the data as found in table ",
          CommentColour, false);
    Write(table, NameColour, false);
  } else {
    Write(settings_.CommentPrefix +
              "The following scripts were created from the following free form statement:\r\n*"
              "\r\n*\r\n*  ",
          CommentColour, false);
    Write(StatementAsComment(query), NameColour, false);
  }
  if (source.HasLobColumn() && !source.WritesLobContents()) {
    Write("\r\n*\r\n" + settings_.CommentPrefix +
              "LOB contents are not scripted: CLOB values are written as '-lob not shown-', BLOB "
              "values as EMPTY_BLOB() and BFILE values as NULL.",
          CommentColour, false);
  }
  Write(BannerClose, CommentColour, false);
}

// Once per row: pieces of text that exist already, nothing built.
void DataScripting::WriteInsert(RowSource& source, const std::string& values) {
  if (source.UnscriptableLongBytes() > 0) {
    WriteUnscriptableRow(source);
    return;
  }
  if (!source.BlockColumns().empty()) {
    if (const std::string error = WriteLobBlock(source, values); !error.empty()) {
      WriteErrorBlock(source.TargetTable(), error);
    }
    return;
  }
  Write("\r\nINSERT INTO ", CommentColour, true);
  Write(source.TargetTable(), AlertColour, true);
  Write(" ", AlertColour, true);
  Write(source.ColumnList(), NameColour, true);
  Write("\r\n", NameColour, true);
  Write("VALUES ", CommentColour, true);
  output_.OutputLine(values, NameColour, false, true, TextOrigin::DataValues);
}

long long DataScripting::CommitPortion() const {
  return settings_.AutoSave != 0 ? settings_.AutoSaveLines : 0;
}

int DataScripting::Release() {
  if (release_ < 0) {
    release_ = ServerRelease(session_);
  }
  return release_;
}

void DataScripting::WriteCommit() {
  Write("\r\nCOMMIT;\r\n", CommentColour, true);
}

void DataScripting::WriteIdentityLoads(const std::string& table) {
  for (const IdentityColumn& column : rules_.Identities) {
    if (column.Always) {
      Write("\r\n" + IdentityLoadStatement(table, column) + "\r\n", CommentColour, true);
    }
  }
}

void DataScripting::WriteTableEnd(const std::string& table, long long rows) {
  if (table.empty() || rows == 0) {
    return;
  }
  if (CommitPortion() == 0 || rows % CommitPortion() != 0) {
    WriteCommit();
  }
  for (const IdentityColumn& column : rules_.Identities) {
    Write("\r\n" + IdentityRestoreStatement(table, column) + "\r\n", CommentColour, true);
  }
}

std::string DataScripting::WriteLobBlock(RowSource& source, const std::string& values) {
  Write("\r\nDECLARE\r\n", CommentColour, true);
  for (const std::size_t column : source.BlockColumns()) {
    Write(source.IsLongColumn(column)
              ? lob_literal::LongDeclaration(column,
                                             source.Columns()[column].Type != ValueType::LongRaw)
              : lob_literal::BlockDeclaration(column, source.IsCharacterLob(column)),
          NameColour, true);
  }
  Write("BEGIN\r\n", CommentColour, true);
  std::string error;
  for (const std::size_t column : source.BlockColumns()) {
    const bool whole = source.WriteBlockChunks(
        column,
        [this](const std::string& line) {
          output_.OutputLine(line, NameColour, false, true, TextOrigin::DataValues);
        },
        error);
    if (!whole) {
      // A part of the value must not pass for all of it when the script runs.
      Write("  RAISE_APPLICATION_ERROR(-20001, " +
                QuotedLiteral("A LOB value could not be read whole when this script was written.") +
                ");\r\n",
            AlertColour, true);
      break;
    }
  }
  Write("  INSERT INTO ", CommentColour, true);
  Write(source.TargetTable() + " ", AlertColour, true);
  Write(source.ColumnList() + "\r\n", NameColour, true);
  Write("  VALUES ", CommentColour, true);
  output_.OutputLine(values, NameColour, false, true, TextOrigin::DataValues);
  Write("END;\r\n/\r\n", CommentColour, true);
  return error;
}

std::string DataScripting::WithDataCondition(const std::string& table,
                                             const std::string& error) const {
  // The user's own condition is the likely culprit: name it with the error.
  std::string condition;
  if (table.empty() || !settings_.GetDataCondition(table, condition) || condition.empty()) {
    return error;
  }
  return error + " (data condition: where " + condition + ")";
}

void DataScripting::WriteErrorBlock(const std::string& table, const std::string& error) {
  control_.StopIfStopped();
  Write(table.empty() ? std::string("\r\n\r\n\r\nThe following error was received while processing "
                                    "statement ")
                      : "\r\n\r\n\r\nThe following error was received while processing data "
                        "for table " +
                            table + " ",
        NoticeColour, false);
  Write("in database ", NoticeColour, false);
  Write(tables_.DatabaseName() + " :\r\n", NameColour, false);
  Write(error + "\r\n\r\n", NoticeColour, true);
  if (table.empty()) {
    unscripted_.Add("QUERY", "free form statement", error);
  } else {
    unscripted_.Add("TABLE DATA", table, error);
  }
}

void DataScripting::WriteUnscriptableBanner(const std::string& table) {
  control_.StopIfStopped();
  std::string reasons;
  Write("\r\n\r\n" + BannerOpen, CommentColour, true);
  Write(settings_.CommentPrefix + "The rows of table ", CommentColour, true);
  Write(table, NameColour, true);
  Write(" were not scripted:\r\n", CommentColour, true);
  for (const UnscriptableColumn& column : rules_.UnscriptableColumns) {
    const std::string reason = "column " + column.Column + " cannot be scripted: " + column.Reason;
    Write(settings_.CommentPrefix + reason + ".\r\n", CommentColour, true);
    reasons += (reasons.empty() ? "" : "; ") + reason;
  }
  Write(BannerClose, CommentColour, true);
  unscripted_.Add("TABLE DATA", table, "The rows were not scripted: " + reasons + ".");
}

// A row is left out, never written without its value: the report and the
// run's status say so.
void DataScripting::WriteUnscriptableRow(const RowSource& source) {
  control_.StopIfStopped();
  const std::size_t column = source.BlockColumns().front();
  const std::string reason =
      "row " + std::to_string(source.RowsFetched()) +
      " was not scripted: its LONG value in column " + source.Columns()[column].Name + " holds " +
      std::to_string(source.UnscriptableLongBytes()) + " bytes, more than the " +
      std::to_string(lob_literal::LongestBlockLong) + " that a script can bind";
  Write("\r\n" + settings_.SqlCommentPrefix + "The " + reason + ".\r\n", AlertColour, true);
  if (source.TargetTable().empty()) {
    unscripted_.Add("QUERY", "free form statement", "The " + reason + ".");
  } else {
    unscripted_.Add("TABLE DATA", source.TargetTable(), "The " + reason + ".");
  }
}

void DataScripting::WriteNoDataBanner(const std::string& table) {
  Write("\r\n\r\n" + BannerOpen, CommentColour, true);
  if (!table.empty()) {
    Write(settings_.CommentPrefix + "No data was found in table ", CommentColour, true);
    Write(table, NameColour, true);
  } else {
    Write(settings_.CommentPrefix + "No data was found in statement. ", CommentColour, true);
  }
  Write(BannerClose, CommentColour, true);
}
