// DictionaryQuery: one query of the data dictionary whose values are bound by
// name and whose columns are read as text, row after row, 20 rows per round
// trip. Names reach the server as bound values, never pasted into the text,
// so that quotes or blanks in a name cannot change the statement.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "oracle/OracleStatement.h"

class OracleSession;

class DictionaryQuery {
 public:
  // columnWidths holds the longest text of each select-list column, in order.
  DictionaryQuery(OracleSession& session, std::string sql, std::vector<int> columnWidths);
  DictionaryQuery(const DictionaryQuery&) = delete;
  DictionaryQuery& operator=(const DictionaryQuery&) = delete;

  // Binds value to ":name" when the query is opened.
  void Bind(const std::string& name, const std::string& value);

  // Runs the query. True when it ran (with or without rows); false with the
  // server's error text in error.
  bool Open(std::string& error);
  // The next row's columns; false when no row is left.
  bool Next(std::vector<std::string>& row);

 private:
  struct BoundValue {
    std::string name;
    std::vector<char> buffer;
  };

  std::size_t SlotSize(std::size_t column) const;

  OracleSession& session_;
  std::string sql_;
  std::vector<int> widths_;
  std::vector<BoundValue> binds_;
  std::vector<std::vector<char>> columns_;
  std::unique_ptr<OracleStatement> statement_;
  int rowInBatch_ = 0;
  bool exhausted_ = true;
};
