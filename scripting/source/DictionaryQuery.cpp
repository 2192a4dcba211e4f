// Dictionary queries with bound names and text columns.
#include "scripting/source/DictionaryQuery.h"

#include <algorithm>

#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"

namespace {

bool IsNoRowsCode(int code) {
  return code == 1403 || code == 24344;
}

}  // namespace

DictionaryQuery::DictionaryQuery(OracleSession& session, std::string sql,
                                 std::vector<int> columnWidths)
    : session_(session), sql_(std::move(sql)), widths_(std::move(columnWidths)) {
  for (int& width : widths_) {
    width = std::max(width, 1);
  }
}

void DictionaryQuery::Bind(const std::string& name, const std::string& value) {
  BoundValue bound{name, std::vector<char>(value.begin(), value.end())};
  bound.buffer.push_back('\0');
  binds_.push_back(std::move(bound));
}

bool DictionaryQuery::ReadAll(std::vector<Row>& rows, std::string& error) {
  for (bool mayReconnect = true;; mayReconnect = false) {
    int code = 0;
    if (ReadOnce(rows, code, error)) {
      return true;
    }
    if (!mayReconnect || !OracleSession::IsConnectionLost(code) ||
        !session_.ReportError(false, true, nullptr)) {
      return false;
    }
  }
}

bool DictionaryQuery::ReadOnce(std::vector<Row>& rows, int& code, std::string& error) {
  rows.clear();
  error.clear();
  constexpr int batchRows = OracleStatement::MaxRowsPerFetch;
  std::vector<std::vector<char>> columns;
  OracleStatement statement(session_);
  statement.Prepare(sql_);
  for (BoundValue& bound : binds_) {
    statement.BindString(bound.name, bound.buffer.data(),
                         static_cast<int>(bound.buffer.size() - 1));
  }
  for (std::size_t column = 0; column < widths_.size(); ++column) {
    const std::size_t slot = static_cast<std::size_t>(widths_[column]) + 1;
    columns.emplace_back(slot * batchRows, '\0');
    statement.DefineStringArray(static_cast<int>(column + 1), columns.back().data(),
                                widths_[column], batchRows);
  }
  bool failed = !statement.Execute();
  if (!failed) {
    do {
      for (int row = 0; row < statement.RowsInBatch(); ++row) {
        Row values;
        for (std::size_t column = 0; column < columns.size(); ++column) {
          const std::size_t slot = static_cast<std::size_t>(widths_[column]) + 1;
          values.emplace_back(&columns[column][static_cast<std::size_t>(row) * slot]);
        }
        rows.push_back(std::move(values));
      }
    } while (statement.FetchNext());
    failed = statement.FetchFailed();
  }
  if (!failed) {
    return true;
  }
  std::string text = session_.LastError(&code);
  if (IsNoRowsCode(code)) {
    rows.clear();
    return true;
  }
  rows.clear();
  error = text.empty() ? std::string("The dictionary query failed.") : text;
  return false;
}
