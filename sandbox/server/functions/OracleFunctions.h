// Oracle's SQL functions as SQLite user functions: DECODE, NVL, SUBSTR from
// position 0, TO_CHAR, TO_DATE and the rest, all returning NULL where Oracle
// would produce an empty string.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox {

// What the functions need to know of the session running the statement.
struct SqlFunctionContext {
  std::string dateFormat = "DD-MON-RR";
  std::string timestampFormat = "DD-MON-RR HH.MI.SSXFF AM";
  std::string timestampTzFormat = "DD-MON-RR HH.MI.SSXFF AM TZR";
  std::string timeZone = "+00:00";   // the session's, as ALTER SESSION SET TIME_ZONE gives it
  std::map<int, long long> rownums;  // rows numbered so far, per query block of the statement
  std::string userName;
  std::string currentUser;    // the owner of a definer's rights unit running now, else the user
  std::string currentSchema;  // ALTER SESSION SET CURRENT_SCHEMA, else the user
  std::string databaseName;   // the global name, as SYS_CONTEXT gives DB_NAME
  long long sessionId = 0;    // USERENV('SESSIONID'): the session's audit number
  // What DBMS_APPLICATION_INFO and DBMS_SESSION set (MODULE, ACTION,
  // CLIENT_INFO, CLIENT_IDENTIFIER) for SYS_CONTEXT; null outside a session.
  const std::map<std::string, std::string>* sessionAttributes = nullptr;
  SystemEvent systemEvent;     // of the system trigger running, for ora_event_attribute
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
  // A stored function called in SQL (ora_plsql_call): member is empty for a
  // standalone function. False with an "ORA-nnnnn: text" message on failure.
  std::function<bool(const std::string& owner, const std::string& unit, const std::string& member,
                     const std::vector<Value>& arguments, Value& result, std::string& error)>
      storedFunction;
  // The partition an interval table makes for a row beyond its range
  // partitions (ora_interval_partition); key and transition are stored
  // values. False with an "ORA-nnnnn: text" message on failure.
  std::function<bool(const std::string& owner, const std::string& table, const std::string& key,
                     const std::string& transition, std::string& error)>
      intervalPartition;
};

// Registers every function on db; context must outlive the connection.
void RegisterOracleFunctions(sqlite3* db, SqlFunctionContext* context);

// TRANSLATE(text, from, to) on non-NULL texts: each character of from
// becomes the one at its place in to, or goes when to is shorter.
std::string TranslateText(const std::string& text, const std::string& from, const std::string& to);

// Text of a SQLite value as Oracle's implicit conversion to character gives
// it; false for NULL.
bool OracleTextOf(sqlite3_value* value, std::string& text);

// Shared by the function families: the session behind a call, results with
// Oracle's rules (empty text is NULL, integral numbers as integers), errors
// as "ORA-nnnnn: text", and arguments read as Oracle converts them.
SqlFunctionContext& ContextOf(sqlite3_context* ctx);
void ResultText(sqlite3_context* ctx, const std::string& text);
void ResultNumber(sqlite3_context* ctx, double value);
void ResultOraError(sqlite3_context* ctx, const char* message);
std::optional<double> NumberArg(sqlite3_context* ctx, sqlite3_value* value);  // ORA-01722
std::string TextArg(sqlite3_value* value);
bool AnyNull(int argc, sqlite3_value** argv);

// One row of a family's table of functions, registered on a connection with
// the session's context as their user data.
struct FunctionEntry {
  const char* name;
  int argumentCount;  // -1: any
  void (*function)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};
template <std::size_t N>
void RegisterFunctions(sqlite3* db, SqlFunctionContext* context,
                       const FunctionEntry (&entries)[N]) {
  for (const FunctionEntry& entry : entries)
    sqlite3_create_function_v2(db, entry.name, entry.argumentCount,
                               SQLITE_UTF8 | (entry.deterministic ? SQLITE_DETERMINISTIC : 0),
                               context, entry.function, nullptr, nullptr, nullptr);
}

// USERENV parameters that describe the machine the sandbox stands for
// ("" for one that is NULL there); null for a parameter of the session.
const char* FixedUserEnvValue(const std::string& name);
// Bytes of hexadecimal text as HEXTORAW reads it; false for a character that
// is not a hexadecimal digit.
bool HexToBytes(const std::string& hex, std::string& bytes);
// EMPTY_CLOB, EMPTY_BLOB, TO_CLOB and TO_BLOB (LobFunctions.cpp).
void RegisterLobFunctions(sqlite3* db, SqlFunctionContext* context);
// Stored functions called in SQL (StoredFunctionCall.cpp).
void RegisterStoredFunctionCall(sqlite3* db, SqlFunctionContext* context);
// ROWNUM, LISTAGG and UTL_RAW.CAST_TO_RAW (QueryFunctions.cpp).
void RegisterQueryFunctions(sqlite3* db, SqlFunctionContext* context);
// The timestamp, interval and binary floating point functions (DateTimeFunctions.cpp).
void RegisterDateTimeFunctions(sqlite3* db, SqlFunctionContext* context);
// ADD_MONTHS, MONTHS_BETWEEN, NUMTODSINTERVAL, FROM_TZ, AT TIME ZONE and the
// other calendar and time zone functions (CalendarFunctions.cpp).
void RegisterCalendarFunctions(sqlite3* db, SqlFunctionContext* context);
// REGEXP_LIKE, REGEXP_REPLACE, REGEXP_SUBSTR, REGEXP_INSTR, REGEXP_COUNT
// (RegexpFunctions.cpp).
void RegisterRegexpFunctions(sqlite3* db, SqlFunctionContext* context);
// BITAND, REMAINDER, NANVL, WIDTH_BUCKET, TO_NUMBER with a model (NumberFunctions.cpp).
void RegisterNumberFunctions(sqlite3* db, SqlFunctionContext* context);
// UPPER, LOWER, INITCAP and their NLS_ forms, NCHR, ASCIISTR, UNISTR,
// SOUNDEX (TextFunctions.cpp).
void RegisterTextFunctions(sqlite3* db, SqlFunctionContext* context);
// CARDINALITY and the multiset operators and conditions of nested tables
// (MultisetFunctions.cpp).
void RegisterMultisetFunctions(sqlite3* db, SqlFunctionContext* context);
// DUMP, VSIZE, ORA_HASH, STANDARD_HASH (ValueBytesFunctions.cpp).
void RegisterValueBytesFunctions(sqlite3* db, SqlFunctionContext* context);
// USERENV, UID, SYS_GUID, LNNVL (SessionFunctions.cpp).
void RegisterSessionFunctions(sqlite3* db, SqlFunctionContext* context);
// Column conversion of stored values: kind T, Z, L (timestamps), Y, S
// (intervals), F, B (binary float, double); text in the session's formats
// becomes the internal form, set as ctx's result. False with message set
// (and no result) when the value cannot be stored.
bool ConvertStoredValue(sqlite3_context* ctx, sqlite3_value* value, char kind, int precision,
                        int scale, std::string& message);

}  // namespace sandbox
