// Oracle's SQL functions as SQLite user functions: DECODE, NVL, SUBSTR from
// position 0, TO_CHAR, TO_DATE and the rest, all returning NULL where Oracle
// would produce an empty string.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

namespace sandbox {

// What the functions need to know of the session running the statement.
struct SqlFunctionContext {
  std::string dateFormat = "DD-MON-RR";
  std::string userName;
  std::string release = "19";  // the server release, for release-dependent errors
  // Sequence access for seq.NEXTVAL / seq.CURRVAL: returns false with an
  // "ORA-nnnnn: text" message on failure.
  std::function<bool(const std::string& owner, const std::string& name, bool next,
                     std::string& value, std::string& error)>
      sequenceValue;
  // The user's standing in the dictionary (DictionaryVisibility.h): the
  // grantees it acts as and whether it sees every schema's rows.
  std::vector<std::string> grantees;
  bool seesWholeDictionary = false;
};

// Registers every function on db; context must outlive the connection.
void RegisterOracleFunctions(sqlite3* db, SqlFunctionContext* context);

// Text of a SQLite value as Oracle's implicit conversion to character gives
// it; false for NULL.
bool OracleTextOf(sqlite3_value* value, std::string& text);

}  // namespace sandbox
