// The DBMS_SQL cursors of a session: each one's statement, binds, defined
// columns and open rows. They belong to the session, not to the block that
// opened them, and stay open across calls until CLOSE_CURSOR.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// What a bound value, a defined column or an OUT argument holds, for
// Oracle's rule that an OUT argument matches its column or bind (ORA-06562).
enum class SqlValueKind { Text, Number, Date, Binary };

struct SqlDefine {
  SqlValueKind kind = SqlValueKind::Text;
  long long size = 0;  // VARCHAR2 and RAW: the most a value keeps; 0 for no limit
  // DEFINE_ARRAY: the rows a fetch gives (0 for a column of one value), and
  // the index of the table where COLUMN_VALUE puts the next one.
  long long count = 0;
  long long lowerBound = 1;
  long long next = 1;
};

// BIND_ARRAY: the elements EXECUTE runs the statement for, one after another.
struct SqlArray {
  SqlValueKind kind = SqlValueKind::Text;
  std::vector<Value> values;
};

struct DbmsSqlCursor {
  enum class Kind { Unparsed, Query, Dml, Block, Ddl };
  Kind kind = Kind::Unparsed;
  std::string text;
  std::vector<std::string> placeholders;  // distinct names, upper case, without the colon
  DynamicBinds binds;                     // values by placeholder, OUT values after EXECUTE
  std::map<std::string, SqlValueKind> bindKinds;
  std::map<std::string, SqlArray> arrays;   // by placeholder
  std::vector<ColumnInfo> columns;          // of a query, described at PARSE
  std::map<long long, SqlDefine> defines;   // by position from 1
  std::unique_ptr<Cursor> rows;             // an executed query
  std::optional<std::vector<Value>> ahead;  // a row read to see whether another follows
  std::vector<Value> row;                   // the row the last fetch gave
  bool hasRow = false;
  std::vector<std::vector<Value>> batch;  // the rows the last fetch gave array defines
  long long fetched = 0;
  std::uint16_t functionCode = 0;
};

struct DbmsSqlSession {
  // Shared so that a call running a cursor's statement keeps it while a
  // block that statement runs closes it.
  std::map<long long, std::shared_ptr<DbmsSqlCursor>> cursors;
  // Set by a call with a cursor number the session never opened: from then
  // on every call is refused, as Oracle guards against guessed numbers.
  bool denied = false;
  long long lastRowCount = 0;
  long long lastErrorPosition = 0;
  std::uint16_t lastFunctionCode = 0;
  std::mt19937 numbers{std::random_device{}()};
};

}  // namespace sandbox::plsql
