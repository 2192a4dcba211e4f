// DictionaryQuery: one query of the data dictionary whose values are bound by
// name and whose columns are read as text, 20 rows per round trip. Names reach
// the server as bound values, never pasted into the text, so that quotes or
// blanks in a name cannot change the statement. The rows are read whole: a
// connection lost on the way is restored once, silently, and the query read
// again from its start, so that a list is never cut short unnoticed.
#pragma once

#include <string>
#include <vector>

class OracleSession;

class DictionaryQuery {
 public:
  using Row = std::vector<std::string>;

  // columnWidths holds the longest text of each select-list column, in order.
  DictionaryQuery(OracleSession& session, std::string sql, std::vector<int> columnWidths);

  // Binds value to ":name" (the name with its colon).
  void Bind(const std::string& name, const std::string& value);

  // Every row of the query into rows. False with the server's error text
  // in error when the query failed (no rows is success).
  bool ReadAll(std::vector<Row>& rows, std::string& error);

 private:
  struct BoundValue {
    std::string name;
    std::vector<char> buffer;
  };

  // One attempt; false with the error code and text of the failure.
  bool ReadOnce(std::vector<Row>& rows, int& code, std::string& error);

  OracleSession& session_;
  std::string sql_;
  std::vector<int> widths_;
  std::vector<BoundValue> binds_;
};
