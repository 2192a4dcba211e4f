// The deferral decision of the enforcement triggers.
#include "sandbox/server/integrity/IntegrityState.h"

namespace sandbox {

bool IntegrityState::IsDeferred(const std::string& name, bool initiallyDeferred) const {
  if (const auto found = namedDeferred.find(name); found != namedDeferred.end())
    return found->second;
  return allDeferred.value_or(initiallyDeferred);
}

void IntegrityState::EndTransaction() {
  statementChecks.clear();
  commitChecks.clear();
  allDeferred.reset();
  namedDeferred.clear();
}

namespace {

std::string TextOf(sqlite3_value* value) {
  const unsigned char* text = sqlite3_value_text(value);
  return text ? reinterpret_cast<const char*>(text) : "";
}

void ConstraintNow(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto& state = *static_cast<IntegrityState*>(sqlite3_user_data(ctx));
  const std::string name = TextOf(argv[0]);
  const bool deferrable = sqlite3_value_int(argv[2]) != 0;
  if (deferrable && state.IsDeferred(name, sqlite3_value_int(argv[3]) != 0)) {
    state.commitChecks.emplace(name, TextOf(argv[1]));
    sqlite3_result_int(ctx, 0);
  } else if (sqlite3_value_int(argv[4]) != 0) {
    state.statementChecks.emplace(name, TextOf(argv[1]));
    sqlite3_result_int(ctx, 0);
  } else {
    sqlite3_result_int(ctx, 1);
  }
}

}  // namespace

void RegisterIntegrityFunctions(sqlite3* db, IntegrityState* state) {
  sqlite3_create_function_v2(db, "ora_constraint_now", 5, SQLITE_UTF8, state, ConstraintNow,
                             nullptr, nullptr, nullptr);
}

}  // namespace sandbox
