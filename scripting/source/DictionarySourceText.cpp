// Stored unit, view and trigger definitions from the data dictionary.
#include "scripting/source/DictionarySourceText.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "oracle/BindValues.h"
#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"
#include "scripting/source/OracleNames.h"
#include "scripting/source/SourceNames.h"
#include "scripting/tables/ServerRelease.h"

namespace {

// Widths of the trigger columns read as text.
constexpr int DescriptionLength = 4000;
constexpr int StatusLength = 8;

std::string WithoutTrailingWhiteSpace(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The text in row of an array define of slots of slotSize bytes.
std::string SlotText(const std::vector<char>& slots, int row, std::size_t slotSize) {
  const char* slot = &slots[static_cast<std::size_t>(row) * slotSize];
  return std::string(slot, strnlen(slot, slotSize));
}

}  // namespace

DictionarySourceText::DictionarySourceText(OracleSession& session,
                                           std::function<void()> stepProgress)
    : session_(session), stepProgress_(std::move(stepProgress)) {}

std::string DictionarySourceText::FetchSourceText(const std::string& owner, const std::string& name,
                                                  const std::string& dictionaryType,
                                                  SourceDefinition& definition) {
  const std::string type = UpperCase(dictionaryType);
  std::string error = FetchDefinition(owner, name, type, definition);
  // A lost connection is logged on again once, silently, and the object read
  // again from its start, so that the run goes on without a gap.
  if (!error.empty() && OracleSession::IsConnectionLost(lastErrorCode_) &&
      session_.ReportError(false, true, nullptr)) {
    definition = SourceDefinition();
    error = FetchDefinition(owner, name, type, definition);
  }
  return error;
}

std::string DictionarySourceText::FetchDefinition(const std::string& owner, const std::string& name,
                                                  const std::string& type,
                                                  SourceDefinition& definition) {
  lastErrorCode_ = 0;
  if (type == "VIEW") {
    return FetchView(owner, name, definition.text);
  }
  if (type == "TRIGGER") {
    return FetchTrigger(owner, name, definition);
  }
  return FetchStoredUnit(owner, name, type, definition.text);
}

std::string DictionarySourceText::ErrorOfFailure() {
  std::string text = session_.LastError(&lastErrorCode_);
  return lastErrorCode_ == 1403 || lastErrorCode_ == 24344 ? std::string() : text;
}

std::string DictionarySourceText::FetchLong(const std::string& sql, const std::string& owner,
                                            const std::string& name, std::string& value) {
  std::string failure;
  value = session_.FetchLongText(sql, owner, name, &failure);
  if (failure.empty()) {
    return {};
  }
  const std::string error = ErrorOfFailure();  // for its code
  return error.empty() ? failure : error;
}

std::string DictionarySourceText::FetchRows(OracleStatement& statement,
                                            const std::function<void(int)>& onRow) {
  if (!statement.Execute()) {
    return ErrorOfFailure();
  }
  do {
    for (int row = 0; row < statement.RowsInBatch(); ++row) {
      onRow(row);
    }
    if (stepProgress_) {
      stepProgress_();
    }
  } while (statement.FetchNext());
  return statement.FetchFailed() ? ErrorOfFailure() : std::string();
}

std::string DictionarySourceText::FetchStoredUnit(const std::string& owner, const std::string& name,
                                                  const std::string& type, std::string& text) {
  OracleStatement statement(session_);
  statement.Prepare(
      "select text from all_source where owner = :owner and name = :name and type = :type "
      "order by line asc");
  BindValues binds;
  binds.BindAll(statement, {":owner", ":name", ":type"}, {owner, name, type});
  std::vector<char> lines(static_cast<std::size_t>(LineBufferSize) * LinesPerFetch, '\0');
  statement.DefineStringArray(1, lines.data(), LineBufferSize - 1, LinesPerFetch);
  // Each row is one line with its line feed, kept byte for byte.
  const std::string error =
      FetchRows(statement, [&](int row) { text += SlotText(lines, row, LineBufferSize); });
  text = UnitWithoutOwnerPrefix(text, type);
  return error;
}

std::string DictionarySourceText::FetchView(const std::string& owner, const std::string& name,
                                            std::string& text) {
  std::string columns;
  {
    OracleStatement statement(session_);
    statement.Prepare(
        "select column_name from all_tab_columns where owner = :owner and table_name = :name "
        "order by column_id asc");
    BindValues binds;
    binds.BindAll(statement, {":owner", ":name"}, {owner, name});
    constexpr std::size_t slotSize = MaxNameLength + 1;
    std::vector<char> names(slotSize * LinesPerFetch, '\0');
    statement.DefineStringArray(1, names.data(), MaxNameLength, LinesPerFetch);
    const std::string error = FetchRows(statement, [&](int row) {
      columns += (columns.empty() ? "" : ", ") + StatementName(SlotText(names, row, slotSize));
    });
    if (!error.empty()) {
      return error;
    }
  }
  std::string query;
  const std::string error = FetchLong(
      "SELECT text FROM all_views WHERE owner = :bind1 and view_name= :bind2", owner, name, query);
  if (!error.empty()) {
    return error;
  }
  if (columns.empty() || query.empty()) {
    return {};  // the view is gone: nothing to script
  }
  std::string objectClause;
  if (std::string clauseError = FetchObjectViewClause(owner, name, objectClause);
      !clauseError.empty()) {
    return clauseError;
  }
  // An object view's columns are its type's attributes: it names none.
  text = "VIEW " + StatementName(name) +
         (objectClause.empty() ? " (" + columns + " )" : objectClause) + " AS\n" + query;
  return {};
}

std::string DictionarySourceText::FetchObjectViewClause(const std::string& owner,
                                                        const std::string& name,
                                                        std::string& clause) {
  if (!ReleaseHas(ServerRelease(session_), dictionary_since::ObjectTypes)) {
    return {};
  }
  OracleStatement statement(session_);
  statement.Prepare(
      "select view_type_owner, view_type, oid_text from all_views where owner = :owner and "
      "view_name = :name");
  BindValues binds;
  binds.BindAll(statement, {":owner", ":name"}, {owner, name});
  std::vector<char> typeOwner(MaxNameLength + 1, '\0');
  std::vector<char> type(MaxNameLength + 1, '\0');
  std::vector<char> identifier(DescriptionLength + 1, '\0');
  sb2 indicators[3] = {0, 0, 0};
  statement.DefineString(1, typeOwner.data(), MaxNameLength, &indicators[0]);
  statement.DefineString(2, type.data(), MaxNameLength, &indicators[1]);
  statement.DefineString(3, identifier.data(), DescriptionLength, &indicators[2]);
  if (!statement.Execute()) {
    return ErrorOfFailure();
  }
  if (indicators[1] == -1 || type[0] == '\0') {
    return {};
  }
  const std::string typeName = StatementName(type.data());
  clause =
      " OF " +
      (owner == typeOwner.data() ? typeName : StatementName(typeOwner.data()) + "." + typeName) +
      " WITH OBJECT IDENTIFIER " +
      (indicators[2] == -1 || identifier[0] == '\0'
           ? std::string("DEFAULT")
           : "(" + WithoutTrailingWhiteSpace(identifier.data()) + ")");
  return {};
}

std::string DictionarySourceText::FetchTrigger(const std::string& owner, const std::string& name,
                                               SourceDefinition& definition) {
  std::vector<char> description(DescriptionLength + 1, '\0');
  std::vector<char> condition(DescriptionLength + 1, '\0');
  std::vector<char> status(StatusLength + 1, '\0');
  {
    OracleStatement statement(session_);
    statement.Prepare(
        "select description, when_clause, status from all_triggers where owner = :owner and "
        "trigger_name = :objname");
    BindValues binds;
    binds.BindAll(statement, {":owner", ":objname"}, {owner, name});
    sb2 indicators[3] = {0, 0, 0};
    statement.DefineString(1, description.data(), DescriptionLength, &indicators[0]);
    statement.DefineString(2, condition.data(), DescriptionLength, &indicators[1]);
    statement.DefineString(3, status.data(), StatusLength, &indicators[2]);
    if (!statement.Execute()) {
      return ErrorOfFailure();
    }
  }
  definition.disabled = std::string(status.data()) == "DISABLED";
  // all_source holds the whole trigger as it was created; releases that keep
  // no trigger there leave it to be rebuilt from all_triggers.
  if (std::string error = FetchStoredUnit(owner, name, "TRIGGER", definition.text);
      !error.empty() || !definition.text.empty()) {
    return error;
  }
  std::string body;
  const std::string error =
      FetchLong("SELECT trigger_body FROM all_triggers WHERE owner=:bind1 and trigger_name=:bind2",
                owner, name, body);
  if (!error.empty()) {
    return error;
  }
  const std::string header = WithoutTrailingWhiteSpace(WithoutOwnerPrefix(description.data()));
  if (header.empty() || body.empty()) {
    return {};
  }
  // The server keeps the WHEN condition apart from the description: without
  // it the trigger would fire for every row.
  const std::string when = WithoutTrailingWhiteSpace(condition.data());
  definition.text =
      "TRIGGER " + header + "\n" + (when.empty() ? "" : "WHEN (" + when + ")\n") + body;
  return {};
}
