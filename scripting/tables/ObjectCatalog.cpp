// The schema listings and one-column queries of the object catalog.
#include "scripting/tables/ObjectCatalog.h"

#include <algorithm>
#include <cctype>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"
#include "scripting/data/ValueLiteral.h"
#include "scripting/tables/ServerRelease.h"

namespace {

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

bool IsNoRowsCode(int code) {
  return code == 1403 || code == 24344;
}

}  // namespace

ObjectCatalog::ObjectCatalog(OracleSession& session, ReportOutput& output,
                             const RunSettings& settings, std::string schema,
                             std::string databaseName, CatalogNameMaxima& maxima)
    : session_(session),
      output_(output),
      settings_(settings),
      schema_(std::move(schema)),
      databaseName_(std::move(databaseName)),
      maxima_(maxima) {}

int ObjectCatalog::ListTablesOrViews(bool firstSlot, CatalogList& out, bool tables) {
  const std::string owner = QuotedLiteral(schema_);
  std::string sql = "SELECT table_name from all_catalog where owner = " + owner + " " +
                    (tables ? "and table_type = 'TABLE'" : "and table_type = 'VIEW'");
  // The container table of a materialized view and the table of a log are
  // scripted with the view and the log, never as tables of their own.
  // The storage table of a nested table column is written with its table.
  if (tables && ReleaseHas(ServerRelease(session_), dictionary_since::ObjectTypes)) {
    sql +=
        " and table_name not in (select table_name from all_nested_tables where owner = " + owner +
        ")";
  }
  if (tables && ReleaseHas(ServerRelease(session_), dictionary_since::MaterializedViews)) {
    sql += " and table_name not in (select container_name from all_mviews where owner = " + owner +
           ") and table_name not in (select log_table from all_mview_logs where " +
           "log_owner = " + owner + ")";
  }
  return ListNames(sql, firstSlot, out,
                   tables ? maxima_.MaxTableNameLength : maxima_.MaxViewNameLength,
                   tables ? "tables" : "views");
}

int ObjectCatalog::ListObjects(bool firstSlot, CatalogList* out, const std::string& objectType) {
  if (out == nullptr) {
    return 0;
  }
  const std::string sql =
      "select object_name from all_objects where owner = " + QuotedLiteral(schema_) +
      " and object_type = " + QuotedLiteral(objectType) + " order by object_name";
  return ListNames(sql, firstSlot, *out, maxima_.MaxObjectNameLength, LowerCase(objectType));
}

int ObjectCatalog::ListNames(const std::string& sql, bool firstSlot, CatalogList& out, int& maximum,
                             const std::string& what) {
  constexpr int slotSize = MaxNameLength + 1;
  const std::size_t firstNew = out.size();
  // A listing cut short by a lost connection is read again whole, once.
  for (bool mayReconnect = true;; mayReconnect = false) {
    std::vector<char> names(static_cast<std::size_t>(slotSize * ListingBatchRows));
    OracleStatement statement(session_);
    statement.Prepare(sql);
    statement.DefineStringArray(1, names.data(), MaxNameLength, ListingBatchRows);
    out.resize(firstNew);
    bool failed = !statement.Execute();
    if (!failed) {
      do {
        for (int row = 0; row < statement.RowsInBatch(); ++row) {
          CatalogItem item;
          std::string& name = item.Names[firstSlot ? 0 : 1];
          name = &names[static_cast<std::size_t>(row * slotSize)];
          maximum = std::max(maximum, static_cast<int>(name.size()));
          out.push_back(std::move(item));
        }
      } while (statement.FetchNext());
      failed = statement.FetchFailed();
    }
    if (!failed) {
      return static_cast<int>(out.size() - firstNew);
    }
    int code = 0;
    const std::string error = session_.LastError(&code);
    if (IsNoRowsCode(code)) {
      return 0;
    }
    if (mayReconnect && OracleSession::IsConnectionLost(code) &&
        session_.ReportError(false, true, nullptr)) {
      continue;
    }
    out.resize(firstNew);
    if (control_ != nullptr) {
      control_->StopIfStopped();
    }
    WriteListingRemark(firstSlot, what, error);
    if (unscripted_ != nullptr) {
      unscripted_->Add("LIST OF " + UpperCase(what), schema_, error);
    }
    return 0;
  }
}

std::string ObjectCatalog::ErrorTextOfFailure() {
  int code = 0;
  std::string text = session_.LastError(&code);
  return IsNoRowsCode(code) ? std::string() : text;
}

void ObjectCatalog::WriteListingRemark(bool firstSlot, const std::string& what,
                                       const std::string& error) {
  const std::string& prefix = settings_.SqlCommentPrefix;
  output_.OutputLine("\r\n\r\n\r\n" + prefix +
                         "The following error ocurred when trying to process " + what +
                         " in database ",
                     NoticeColour, false, false);
  output_.OutputLine(databaseName_, firstSlot ? NameColour : AlertColour, false, false);
  output_.OutputLine("\r\n" + prefix + error, NoticeColour, false, true);
}

std::string ObjectCatalog::QueryLines(const std::string& sql, int columnWidth,
                                      std::vector<std::string>& out) {
  const int width = std::max(columnWidth, 1);
  const std::size_t slotSize = static_cast<std::size_t>(width) + 1;
  std::vector<char> rows(slotSize * ListingBatchRows);
  OracleStatement statement(session_);
  statement.Prepare(sql);
  statement.DefineStringArray(1, rows.data(), width, ListingBatchRows);
  if (!statement.Execute()) {
    return ErrorTextOfFailure();
  }
  do {
    for (int row = 0; row < statement.RowsInBatch(); ++row) {
      out.push_back(std::string(&rows[static_cast<std::size_t>(row) * slotSize]) + "\r\n");
    }
  } while (statement.FetchNext());
  return {};
}

bool ObjectCatalog::QueryText(OracleStatement& statement, const std::string& sql, int maxLength,
                              std::string& error) {
  const int length = maxLength < 0 ? DefaultTextLength : maxLength;
  statement.Prepare(sql);
  char* buffer = statement.AllocateAuxiliaryBuffer(static_cast<std::size_t>(length) + 1);
  statement.DefineStringArray(1, buffer, length, 1);
  int functionCode = 0;
  int count = 0;
  if (statement.Execute(&functionCode, &count)) {
    error.clear();
    return true;
  }
  error = ErrorTextOfFailure();
  return false;
}
