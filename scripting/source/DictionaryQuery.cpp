// Dictionary queries with bound names and text columns.
#include "scripting/source/DictionaryQuery.h"

#include <algorithm>

#include "oracle/OracleSession.h"

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

std::size_t DictionaryQuery::SlotSize(std::size_t column) const {
  return static_cast<std::size_t>(widths_[column]) + 1;
}

bool DictionaryQuery::Open(std::string& error) {
  error.clear();
  statement_ = std::make_unique<OracleStatement>(session_);
  statement_->Prepare(sql_);
  for (BoundValue& bound : binds_) {
    statement_->BindString(bound.name, bound.buffer.data(),
                           static_cast<int>(bound.buffer.size() - 1));
  }
  columns_.assign(widths_.size(), {});
  for (std::size_t column = 0; column < widths_.size(); ++column) {
    columns_[column].assign(SlotSize(column) * OracleStatement::MaxRowsPerFetch, '\0');
    statement_->DefineStringArray(static_cast<int>(column + 1), columns_[column].data(),
                                  widths_[column], OracleStatement::MaxRowsPerFetch);
  }
  rowInBatch_ = 0;
  exhausted_ = !statement_->Execute();
  if (!exhausted_) {
    return true;
  }
  int code = 0;
  std::string text = session_.LastError(&code);
  if (IsNoRowsCode(code)) {
    return true;
  }
  error = text.empty() ? std::string("The dictionary query failed.") : text;
  return false;
}

bool DictionaryQuery::Next(std::vector<std::string>& row) {
  if (exhausted_) {
    return false;
  }
  if (rowInBatch_ >= statement_->RowsInBatch()) {
    if (!statement_->FetchNext() || statement_->RowsInBatch() == 0) {
      exhausted_ = true;
      return false;
    }
    rowInBatch_ = 0;
  }
  row.clear();
  for (std::size_t column = 0; column < columns_.size(); ++column) {
    row.emplace_back(&columns_[column][static_cast<std::size_t>(rowInBatch_) * SlotSize(column)]);
  }
  ++rowInBatch_;
  return true;
}
