// RowSource: the rows of one data query, fetched in arrays of about a
// megabyte (at least 20 rows; one row at a time, with LONG values read in
// pieces, when the query has a LONG column), each
// handed out as the VALUES text of its INSERT statement. It owns the
// statement and the fetch buffers; it is opened by the first fetch and lives
// while rows remain.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "oracle/LobValues.h"
#include "scripting/data/ObjectLiterals.h"
#include "scripting/data/SelectListColumns.h"
#include "scripting/data/ValueLiteral.h"

class OracleSession;
class OracleStatement;

// What one data query is and how its rows are written.
struct DataQueryRequest {
  std::string Query;
  // A table's data query: ignored columns are dropped and Condition applies.
  bool TableFlag = false;
  std::vector<std::string> IgnoredColumnPatterns;
  // The text after WHERE, without the keyword; empty for none.
  std::string Condition;
  // Columns of a table that INSERT statements must not name (virtual and
  // hidden ones); they are left out like ignored columns.
  std::vector<std::string> LeftOutColumns;
  // Object columns, selected as their values' literals.
  std::vector<ObjectColumnLiteral> ObjectColumns;
  // The one column is the whole row (an object table's object): the INSERT
  // statements name no columns.
  bool WholeRows = false;
  // The name the INSERT statements use; empty: the table named after FROM.
  std::string Target;
  // CLOB and BLOB values are written whole; else they are left out as a
  // placeholder.
  bool LobContents = false;
  LiteralFormats Formats;
  // Rows of one fetch; 0: as many as FetchArrayBytes hold, at least 20.
  int RowsPerFetch = 0;
};

class RowSource {
  // Only Open makes a RowSource.
  struct OpenKey {
    explicit OpenKey() = default;
  };

 public:
  // The bytes of fetch buffers that one round trip fills.
  static constexpr std::size_t FetchArrayBytes = 1024 * 1024;
  static constexpr int MinimumRowsPerFetch = 20;

  // Prepares, describes and executes the query. Null with error set when the
  // statement is not a query or the server refused it; a query is executed
  // only after its kind is known, so nothing else is ever run.
  static std::unique_ptr<RowSource> Open(OracleSession& session, const DataQueryRequest& request,
                                         std::string& error);
  // Why query would be refused without being executed (it is not a query),
  // or nothing; prepares it and no more.
  static std::optional<std::string> RefusalOf(OracleSession& session, const std::string& query);
  RowSource(OracleSession& session, OpenKey);
  ~RowSource();
  RowSource(const RowSource&) = delete;
  RowSource& operator=(const RowSource&) = delete;

  // The VALUES text of the next row: "( " + literals joined by ", " + ");"
  // and a line break. False when no row remains; error is set when a fetch
  // failed instead.
  bool NextRow(std::string& values, std::string& error);

  // The table the INSERT statements go into, as named after FROM.
  const std::string& TargetTable() const { return targetTable_; }
  // "( " + the double-quoted column names joined by ", " + ")".
  const std::string& ColumnList() const { return columnList_; }
  const std::vector<DescribedColumn>& Columns() const { return columns_; }
  bool HasLongColumn() const { return longPosition_ != 0; }
  bool HasLobColumn() const { return hasLob_; }
  // Whether LOB values are written whole (else the placeholder).
  bool WritesLobContents() const { return lobContents_; }
  // The 0-based columns of the current row whose values are too large for
  // the INSERT statement: its VALUES text names their block variables
  // (lob_literal::BlockVariable, or LongVariable for the LONG column) and
  // WriteBlockChunks writes their values.
  const std::vector<std::size_t>& BlockColumns() const { return blockColumns_; }
  bool IsCharacterLob(std::size_t column) const;
  bool IsLongColumn(std::size_t column) const {
    return static_cast<int>(column) + 1 == longPosition_;
  }
  // The bytes of the current row's LONG or LONG RAW value when a block
  // cannot bind it (more than lob_literal::LongestBlockLong), else 0: such a
  // row cannot be scripted.
  std::size_t UnscriptableLongBytes() const { return unscriptableLongBytes_; }
  // Writes the chunk statements of a block column of the current row,
  // reading the value piece by piece. False with error set when the value
  // could not be read whole.
  bool WriteBlockChunks(std::size_t column, const std::function<void(const std::string&)>& write,
                        std::string& error);
  int RowsFetched() const { return rowsFetched_; }
  // Rows that one fetch asks for.
  int RowsPerFetch() const { return rowsPerFetch_; }

 private:
  bool Start(const DataQueryRequest& request, std::string& error);
  bool PrepareQuery(const std::string& text, std::string& error);
  bool DefineBuffers(int rowsPerFetch, std::string& error);
  bool ExecuteQuery(std::string& error);
  bool NextBatch(std::string& error);
  bool FetchLongRow(std::string& error);
  bool AppendRow(std::string& values, int row, std::string& error);
  bool AppendLob(std::string& values, std::size_t column, int row, std::string& error);
  std::string ServerError();

  struct Buffer {
    std::unique_ptr<char[]> data;
    int slotSize = 0;  // bytes of one row's value, terminator included
  };

  OracleSession& session_;
  std::unique_ptr<OracleStatement> statement_;
  std::vector<DescribedColumn> columns_;
  std::vector<Buffer> buffers_;
  LiteralFormats formats_;
  std::string targetTable_;
  std::string columnList_;
  int longPosition_ = 0;  // 1-based, among the kept columns
  std::string longValue_;
  bool hasLob_ = false;
  bool lobContents_ = false;
  // Per column: its locators when its LOB values are written whole.
  std::vector<std::unique_ptr<LobLocatorArray>> locators_;
  std::vector<std::size_t> blockColumns_;
  std::size_t unscriptableLongBytes_ = 0;
  int currentRow_ = 0;
  int rowInBatch_ = 0;
  int rowsInBatch_ = 0;
  bool exhausted_ = false;
  int rowsFetched_ = 0;
  int rowsPerFetch_ = 1;
};
