// The LOB constructors and conversions of SQL. A CLOB is kept as text and a
// BLOB as a SQLite blob; an empty LOB is a value of length zero, not NULL,
// as on Oracle.
#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

namespace {

void EmptyClob(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

void EmptyBlob(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3_result_zeroblob(ctx, 0);
}

void ToClob(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_BLOB) {
    ResultOraError(ctx, "ORA-00932: inconsistent datatypes: expected - got BLOB");
    return;
  }
  std::string text;
  if (!OracleTextOf(argv[0], text)) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A RAW argument is taken as it is; character text is read as hexadecimal
// digits, as Oracle converts character to RAW.
void ToBlob(sqlite3_context* ctx, int, sqlite3_value** argv) {
  switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
      sqlite3_result_null(ctx);
      return;
    case SQLITE_BLOB:
      sqlite3_result_value(ctx, argv[0]);
      return;
    default: {
      std::string bytes;
      if (!HexToBytes(TextArg(argv[0]), bytes)) {
        ResultOraError(ctx, "ORA-01465: invalid hex number");
        return;
      }
      sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    }
  }
}

}  // namespace

void RegisterLobFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const FunctionEntry kEntries[] = {
      {"empty_clob", 0, EmptyClob, true}, {"empty_blob", 0, EmptyBlob, true},
      {"to_clob", 1, ToClob, true},       {"to_nclob", 1, ToClob, true},
      {"to_blob", 1, ToBlob, true},
  };
  RegisterFunctions(db, context, kEntries);
}

}  // namespace sandbox
