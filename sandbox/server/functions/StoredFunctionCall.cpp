// ora_plsql_call(owner, unit, member, arguments...): a stored function called
// in SQL, run by the session's PL/SQL interpreter for each row.
#include <cstdlib>

#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

namespace {

Value ArgumentValue(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      return Value::Null();
    case SQLITE_INTEGER:
      return Value::Integer(sqlite3_value_int64(value));
    case SQLITE_FLOAT: {
      std::string text;
      OracleTextOf(value, text);
      return Value::Number(text);
    }
    case SQLITE_BLOB:
      return Value::Binary(std::string(static_cast<const char*>(sqlite3_value_blob(value)),
                                       static_cast<size_t>(sqlite3_value_bytes(value))));
    default:
      return Value::Text(TextArg(value));
  }
}

void SetResult(sqlite3_context* ctx, const Value& result) {
  switch (result.kind) {
    case Value::Kind::Null:
      sqlite3_result_null(ctx);
      return;
    case Value::Kind::Number: {
      char* end = nullptr;
      const long long whole = std::strtoll(result.text.c_str(), &end, 10);
      if (end != nullptr && *end == '\0' && !result.text.empty())
        sqlite3_result_int64(ctx, whole);
      else
        ResultNumber(ctx, std::strtod(result.text.c_str(), nullptr));
      return;
    }
    case Value::Kind::Binary:
      sqlite3_result_blob(ctx, result.text.data(), static_cast<int>(result.text.size()),
                          SQLITE_TRANSIENT);
      return;
    default:
      ResultText(ctx, result.text);
  }
}

void PlsqlCall(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  SqlFunctionContext& context = ContextOf(ctx);
  if (argc < 3 || !context.storedFunction) {
    ResultOraError(ctx, "ORA-00904: invalid identifier");
    return;
  }
  std::vector<Value> arguments;
  for (int i = 3; i < argc; ++i)
    arguments.push_back(ArgumentValue(argv[i]));
  // The function's own statements set the context for themselves; the
  // statement calling it goes on with its own.
  const SqlFunctionContext saved = context;
  Value result;
  std::string message;
  const bool done = context.storedFunction(TextArg(argv[0]), TextArg(argv[1]), TextArg(argv[2]),
                                           arguments, result, message);
  context = saved;
  if (!done) {
    ResultOraError(ctx, message.c_str());
    return;
  }
  SetResult(ctx, result);
}

}  // namespace

void RegisterStoredFunctionCall(sqlite3* db, SqlFunctionContext* context) {
  // Not deterministic: a function may read tables or keep package state.
  sqlite3_create_function_v2(db, "ora_plsql_call", -1, SQLITE_UTF8, context, PlsqlCall, nullptr,
                             nullptr, nullptr);
}

}  // namespace sandbox
