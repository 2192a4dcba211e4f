// Opening a data query and handing out its rows as VALUES texts.
#include "scripting/data/RowSource.h"

#include <algorithm>
#include <cstring>

#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"
#include "oracle/SqlComments.h"
#include "scripting/data/DataQueryText.h"
#include "scripting/data/LobLiteral.h"

namespace {

constexpr int NoDataFoundCode = 1403;
// Fetched text of a character column may take up to four bytes per byte of
// the server's own character set; temporal text depends on the format.
constexpr int BytesPerDescribedByte = 4;
constexpr int SmallestValueBuffer = 127;
// The text an SQL expression of VARCHAR2 gives at most (an object literal).
constexpr int MaxLiteralBytes = 4000;
constexpr const char* LobPlaceholder = "'-lob not shown-'";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// The query as it is sent: without comments and surrounding blanks.
std::string QueryText(const std::string& query) {
  return Trimmed(StripSqlComments(StripBlockComments(query)));
}

bool IsLongType(int type) {
  return type == ValueType::Long || type == ValueType::LongRaw;
}

// A CLOB or BLOB whose contents are read through locators, or a BFILE whose
// directory and file name are.
bool IsContentLob(int type, bool lobContents) {
  return lobContents &&
         (type == ValueType::Clob || type == ValueType::Blob || type == ValueType::Bfile);
}

ub2 LocatorDefineType(int type) {
  switch (type) {
    case ValueType::Clob:
      return SQLT_CLOB;
    case ValueType::Bfile:
      return SQLT_BFILEE;
    default:
      return SQLT_BLOB;
  }
}

// A LOB left out keeps whether it is NULL; its contents are not fetched.
std::string SelectItem(const DescribedColumn& column, bool lobContents) {
  if (!column.LiteralSql.empty()) {
    return column.LiteralSql;
  }
  const std::string name = QuotedName(column.Name);
  if (IsLobType(column.Type) && !IsContentLob(column.Type, lobContents)) {
    return "case when " + name + " is null then null else " + LobPlaceholder + " end";
  }
  return name;
}

bool IsLeftOut(const std::string& name, const std::vector<std::string>& leftOut) {
  return std::find(leftOut.begin(), leftOut.end(), name) != leftOut.end();
}

}  // namespace

RowSource::RowSource(OracleSession& session, OpenKey) : session_(session) {}

RowSource::~RowSource() = default;

std::unique_ptr<RowSource> RowSource::Open(OracleSession& session, const DataQueryRequest& request,
                                           std::string& error) {
  auto source = std::make_unique<RowSource>(session, OpenKey());
  if (!source->Start(request, error)) {
    return nullptr;
  }
  return source;
}

std::string RowSource::ServerError() {
  int code = 0;
  std::string text = Trimmed(session_.LastError(&code));
  return text.empty() ? std::string("The server gave no reason for the failure.") : text;
}

bool RowSource::PrepareQuery(const std::string& text, std::string& error) {
  statement_->Prepare(DoublePercents(text));
  if (!session_.IsConnected()) {
    error = "ORA-01012: not logged on";
    return false;
  }
  if (statement_->StatementType() != static_cast<short>(OCI_STMT_SELECT)) {
    error =
        "Only a query (SELECT) can be scripted as INSERT statements. The statement was not "
        "executed.";
    return false;
  }
  return true;
}

std::optional<std::string> RowSource::RefusalOf(OracleSession& session, const std::string& query) {
  RowSource source(session, OpenKey());
  source.statement_ = std::make_unique<OracleStatement>(session);
  std::string error;
  if (!source.PrepareQuery(QueryText(query), error)) {
    return error;
  }
  return std::nullopt;
}

bool RowSource::Start(const DataQueryRequest& request, std::string& error) {
  formats_ = request.Formats;
  lobContents_ = request.LobContents;
  statement_ = std::make_unique<OracleStatement>(session_);
  const std::string text = QueryText(request.Query);
  if (!PrepareQuery(text, error)) {
    return false;
  }
  int count = 0;
  if (!statement_->Execute(nullptr, &count)) {
    error = ServerError();
    return false;
  }
  std::vector<DescribedColumn> described;
  if (!DescribeSelectList(session_, *statement_, count, described)) {
    error = ServerError();
    return false;
  }
  bool rebuild = false;
  for (DescribedColumn& column : described) {
    if (request.TableFlag && (IsColumnIgnored(column.Name, request.IgnoredColumnPatterns) ||
                              IsLeftOut(column.Name, request.LeftOutColumns))) {
      rebuild = true;
      continue;
    }
    if (const auto object = std::find_if(
            request.ObjectColumns.begin(), request.ObjectColumns.end(),
            [&](const ObjectColumnLiteral& literal) { return literal.Column == column.Name; });
        object != request.ObjectColumns.end()) {
      // The literal is text of up to the longest VARCHAR2 an SQL expression gives.
      column.LiteralSql = object->Sql;
      column.Type = ValueType::Char;
      column.Size = MaxLiteralBytes;
      rebuild = true;
    }
    rebuild = rebuild || (IsLobType(column.Type) && !IsContentLob(column.Type, lobContents_));
    hasLob_ = hasLob_ || IsLobType(column.Type);
    columns_.push_back(std::move(column));
  }
  if (columns_.empty()) {
    error = "Every column of the query is in the ignored columns list: there is nothing to script.";
    return false;
  }

  const std::size_t from = FindFromKeyword(text);
  if (from != std::string::npos) {
    targetTable_ = TargetTableAfter(text, from);
  }
  if (!request.Target.empty()) {
    targetTable_ = request.Target;
  }
  if (targetTable_.empty()) {
    error = "The query names no table after FROM, so its rows have no table to go into.";
    return false;
  }
  std::string query = text;
  if (rebuild) {
    // The query is rebuilt only to drop columns or hide LOB contents: a select
    // list of expressions has no names that could be selected again.
    const std::string head = SelectHead(text, from);
    if (head.empty()) {
      error = "The select list of the query could not be rebuilt: no SELECT keyword was found.";
      return false;
    }
    query = head;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      query += (i == 0 ? " " : ", ") + SelectItem(columns_[i], lobContents_);
    }
    query += " " + text.substr(from);
  }
  if (request.TableFlag && !request.Condition.empty()) {
    query += " where " + request.Condition;
  }
  if (!request.WholeRows) {
    columnList_ = "(";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      columnList_ += (i == 0 ? " " : ", ") + QuotedName(columns_[i].Name);
    }
    columnList_ += ")";
  }

  if (query != text && !PrepareQuery(query, error)) {
    return false;
  }
  return DefineBuffers(request.RowsPerFetch, error) && ExecuteQuery(error);
}

bool RowSource::DefineBuffers(int rowsPerFetch, std::string& error) {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (!IsLongType(columns_[i].Type)) {
      continue;
    }
    if (longPosition_ != 0) {
      error = "The query has more than one LONG column; only one can be fetched.";
      return false;
    }
    longPosition_ = static_cast<int>(i) + 1;
  }
  buffers_.resize(columns_.size());
  locators_.resize(columns_.size());
  std::size_t rowBytes = 0;
  bool contentLob = false;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (IsContentLob(columns_[i].Type, lobContents_)) {
      contentLob = true;
    } else if (static_cast<int>(i) + 1 != longPosition_) {
      buffers_[i].slotSize =
          std::max(SmallestValueBuffer, columns_[i].Size * BytesPerDescribedByte) + 1;
      rowBytes += static_cast<std::size_t>(buffers_[i].slotSize);
    }
  }
  int rows = 1;
  if (longPosition_ == 0) {
    // One round trip fills about a megabyte of buffers, whatever the row's
    // width. Each LOB value is read with calls of its own, so a large array of
    // locators would save nothing.
    const std::size_t byBytes = FetchArrayBytes / std::max<std::size_t>(rowBytes, 1);
    rows = rowsPerFetch > 0 ? rowsPerFetch
           : contentLob     ? MinimumRowsPerFetch
                            : static_cast<int>(std::clamp<std::size_t>(byBytes, MinimumRowsPerFetch,
                                                                   OracleStatement::MaxArrayRows));
    statement_->SetPrefetch(static_cast<ub4>(rows), static_cast<ub4>(FetchArrayBytes));
  }
  rowsPerFetch_ = rows;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    Buffer& buffer = buffers_[i];
    if (static_cast<int>(i) + 1 == longPosition_) {
      continue;
    }
    if (IsContentLob(columns_[i].Type, lobContents_)) {
      locators_[i] = std::make_unique<LobLocatorArray>(
          session_, rows, columns_[i].Type == ValueType::Bfile ? OCI_DTYPE_FILE : OCI_DTYPE_LOB);
      if (!locators_[i]->IsValid()) {
        error = "The Oracle client could not allocate LOB locators for column " + columns_[i].Name +
                ".";
        return false;
      }
      statement_->DefineLobArray(static_cast<int>(i) + 1, locators_[i]->Data(),
                                 LocatorDefineType(columns_[i].Type), rows);
      continue;
    }
    buffer.data = std::make_unique<char[]>(static_cast<std::size_t>(buffer.slotSize) *
                                           static_cast<std::size_t>(rows));
    statement_->DefineStringArray(static_cast<int>(i) + 1, buffer.data.get(), buffer.slotSize - 1,
                                  rows);
  }
  return true;
}

bool RowSource::ExecuteQuery(std::string& error) {
  if (longPosition_ != 0) {
    // Rows are read one by one with the LONG value in pieces.
    const sword rc = statement_->ExecuteWithIterations(0);
    if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO) {
      error = ServerError();
      return false;
    }
    return true;
  }
  int status = OCI_SUCCESS;
  if (!statement_->Execute(nullptr, nullptr, &status)) {
    if (status != OCI_NO_DATA) {
      error = ServerError();
      return false;
    }
    exhausted_ = true;
  }
  rowsInBatch_ = statement_->RowsInBatch();
  return true;
}

bool RowSource::NextBatch(std::string& error) {
  rowInBatch_ = 0;
  rowsInBatch_ = 0;
  if (statement_->FetchNext()) {
    rowsInBatch_ = statement_->RowsInBatch();
    return true;
  }
  exhausted_ = true;
  if (statement_->FetchFailed()) {
    error = ServerError();
  }
  return false;
}

bool RowSource::FetchLongRow(std::string& error) {
  longValue_.clear();
  if (statement_->FetchLongPieces(longPosition_, longValue_, [] {})) {
    return true;
  }
  exhausted_ = true;
  int code = 0;
  session_.LastError(&code);
  if (code != 0 && code != NoDataFoundCode) {
    error = ServerError();
  }
  return false;
}

bool RowSource::NextRow(std::string& values, std::string& error) {
  values.clear();
  if (longPosition_ != 0) {
    if (exhausted_ || !FetchLongRow(error)) {
      return false;
    }
    rowInBatch_ = 0;
    rowsInBatch_ = 1;
  } else if (rowInBatch_ >= rowsInBatch_) {
    if (exhausted_ || !NextBatch(error)) {
      return false;
    }
  }
  const int row = rowInBatch_++;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const sb2 indicator = statement_->Indicator(static_cast<int>(i) + 1, row);
    if (static_cast<int>(i) + 1 != longPosition_ && (indicator > 0 || indicator == -2)) {
      // A value cut short would be scripted as a different value.
      error = "ORA-01406: fetched column value was truncated (column " + columns_[i].Name + ")";
      exhausted_ = true;
      return false;
    }
  }
  if (!AppendRow(values, row, error)) {
    values.clear();
    exhausted_ = true;
    return false;
  }
  ++rowsFetched_;
  return true;
}

bool RowSource::AppendRow(std::string& values, int row, std::string& error) {
  currentRow_ = row;
  blockColumns_.clear();
  unscriptableLongBytes_ = 0;
  values += "( ";
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (i > 0) {
      values += ", ";
    }
    const int position = static_cast<int>(i) + 1;
    if (locators_[i] && statement_->Indicator(position, row) != -1) {
      if (!AppendLob(values, i, row, error)) {
        return false;
      }
      continue;
    }
    std::string_view value;
    if (position == longPosition_) {
      value = longValue_;
    } else if (statement_->Indicator(position, row) != -1) {
      const Buffer& buffer = buffers_[i];
      const char* slot = buffer.data.get() + static_cast<std::size_t>(row) * buffer.slotSize;
      value = std::string_view(slot, strnlen(slot, static_cast<std::size_t>(buffer.slotSize)));
    }
    if (position == longPosition_ && value.size() > lob_literal::LongestLongLiteral) {
      const bool characters = columns_[i].Type != ValueType::LongRaw;
      const std::size_t bytes = characters ? value.size() : value.size() / 2;
      if (bytes > lob_literal::LongestBlockLong) {
        unscriptableLongBytes_ = bytes;
      }
      values += lob_literal::LongVariable(i);
      blockColumns_.push_back(i);
      continue;
    }
    if (!columns_[i].LiteralSql.empty()) {
      values += value.empty() ? std::string_view("NULL") : value;
      continue;
    }
    AppendValueLiteral(values, value, columns_[i].Type, formats_);
  }
  values += ");\r\n";
  return true;
}

bool RowSource::IsCharacterLob(std::size_t column) const {
  return columns_[column].Type == ValueType::Clob;
}

// Small values are read whole into the statement; a larger one is only
// measured here and written by WriteBlockChunks.
bool RowSource::AppendLob(std::string& values, std::size_t column, int row, std::string& error) {
  if (columns_[column].Type == ValueType::Bfile) {
    // The file stays where it is: the row points at it again by name.
    std::string directory;
    std::string file;
    if (!BfileName(session_, locators_[column]->At(row), directory, file)) {
      error = ServerError();
      return false;
    }
    values += "BFILENAME(" + QuotedLiteral(directory) + ", " + QuotedLiteral(file) + ")";
    return true;
  }
  const bool characters = IsCharacterLob(column);
  LobReader reader(session_, locators_[column]->At(row), characters);
  ub4 length = 0;
  if (!reader.Length(length)) {
    error = ServerError();
    return false;
  }
  if (length == 0) {
    values += characters ? "EMPTY_CLOB()" : "EMPTY_BLOB()";
    return true;
  }
  if (length > (characters ? lob_literal::InlineClobCharacters : lob_literal::InlineBlobBytes)) {
    values += lob_literal::BlockVariable(column);
    blockColumns_.push_back(column);
    return true;
  }
  std::string whole;
  std::string piece;
  while (reader.NextPiece(piece, lob_literal::ClobChunkBytes)) {
    whole += piece;
  }
  if (reader.Failed()) {
    error = ServerError();
    return false;
  }
  values += characters ? lob_literal::InlineClob(whole) : lob_literal::InlineBlob(whole);
  return true;
}

bool RowSource::WriteBlockChunks(std::size_t column,
                                 const std::function<void(const std::string&)>& write,
                                 std::string& error) {
  if (IsLongColumn(column)) {
    const bool characters = columns_[column].Type != ValueType::LongRaw;
    for (std::size_t begin = 0; begin < longValue_.size();) {
      const std::size_t end = TextPieceEnd(longValue_, begin, lob_literal::LongChunkBytes);
      write(lob_literal::LongChunkStatement(
          column, std::string_view(longValue_).substr(begin, end - begin), characters, begin == 0));
      begin = end;
    }
    return true;
  }
  const bool characters = IsCharacterLob(column);
  LobReader reader(session_, locators_[column]->At(currentRow_), characters);
  std::string chunk;
  bool first = true;
  while (reader.NextPiece(chunk,
                          characters ? lob_literal::ClobChunkBytes : lob_literal::BlobChunkBytes)) {
    write(lob_literal::ChunkStatement(column, chunk, characters, first));
    first = false;
  }
  if (reader.Failed()) {
    error = ServerError();
    return false;
  }
  return true;
}
