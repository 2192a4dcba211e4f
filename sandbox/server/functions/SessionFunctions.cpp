// Functions of the session and the instance: USERENV, UID (ora_uid),
// SYS_GUID, and the LNNVL condition.
#include <atomic>
#include <cctype>
#include <memory>
#include <random>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

namespace {

// USERENV(parameter): the parameters release 19 still answers.
void UserEnv(sqlite3_context* ctx, int, sqlite3_value** argv) {
  std::string name = TextArg(argv[0]);
  for (char& c : name)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const SqlFunctionContext& context = ContextOf(ctx);
  if (name == "SESSIONID")
    sqlite3_result_int64(ctx, context.sessionId);
  else if (name == "LANG" || name == "LANGUAGE" || name == "TERMINAL" || name == "ISDBA")
    ResultText(ctx, FixedUserEnvValue(name));
  else
    ResultOraError(ctx, "ORA-02003: invalid USERENV parameter");
}

// UID: the session user's number in ALL_USERS.
void Uid(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3* db = sqlite3_context_db_handle(ctx);
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT USER_ID FROM \"SYS.ALL_USERS\" WHERE USERNAME = ?", -1, &raw,
                         nullptr) != SQLITE_OK)
    return sqlite3_result_null(ctx);
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
  const std::string& user = ContextOf(ctx).userName;
  sqlite3_bind_text(raw, 1, user.data(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(raw) == SQLITE_ROW)
    sqlite3_result_value(ctx, sqlite3_column_value(raw, 0));
  else
    sqlite3_result_null(ctx);
}

// SYS_GUID(): 16 bytes, never the same twice: a random stem drawn once per
// process and a counter.
void SysGuid(sqlite3_context* ctx, int, sqlite3_value**) {
  static const unsigned long long stem = [] {
    std::random_device device;
    return (static_cast<unsigned long long>(device()) << 32) ^ device();
  }();
  static std::atomic<unsigned long long> counter{0};
  const unsigned long long next = counter.fetch_add(1) + 1;
  unsigned char bytes[16];
  for (int i = 0; i < 8; ++i) {
    bytes[i] = static_cast<unsigned char>(stem >> (56 - 8 * i));
    bytes[8 + i] = static_cast<unsigned char>(next >> (56 - 8 * i));
  }
  sqlite3_result_blob(ctx, bytes, sizeof bytes, SQLITE_TRANSIENT);
}

// LNNVL(condition): true when the condition is false or unknown.
void Lnnvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const bool holds =
      sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0;
  sqlite3_result_int(ctx, holds ? 0 : 1);
}

}  // namespace

void RegisterSessionFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const FunctionEntry kFunctions[] = {
      {"userenv", 1, UserEnv, false},
      {"ora_uid", 0, Uid, false},
      {"sys_guid", 0, SysGuid, false},
      {"lnnvl", 1, Lnnvl, true},
  };
  RegisterFunctions(db, context, kFunctions);
}

}  // namespace sandbox
