// Stored functions called in SQL: which names of a statement are calls of
// them, and running one through the PL/SQL interpreter.
#include <set>
#include <utility>

#include "sandbox/plsql/Interpreter.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

namespace {

constexpr int kSynonymHops = 8;
constexpr int kMaxRecursiveSql = 50;

// Whether a statement that changes data is running: a function it calls may
// change data too, one that a query calls may not.
bool WriterRunning(sqlite3* db) {
  for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s != nullptr;
       s = sqlite3_next_stmt(db, s)) {
    if (sqlite3_stmt_busy(s) != 0 && sqlite3_stmt_readonly(s) == 0)
      return true;
  }
  return false;
}

}  // namespace

bool ServerSession::ResolveFunction(const std::vector<std::string>& parts, std::string& owner,
                                    std::string& unit, std::string& member) {
  // The supplied packages' functions are SYS's, named through public synonyms.
  const std::size_t first = parts.size() == 3 && parts[0] == "SYS" ? 1 : 0;
  if (parts.size() == first + 2) {
    const plsql::SuppliedRoutine* routine = plsql::FindSupplied(parts[first], parts[first + 1]);
    if (routine != nullptr && routine->function) {
      owner = "SYS";
      unit = parts[first];
      member = parts[first + 1];
      return true;
    }
  }
  // Most calls are of Oracle's own functions: a name that no function,
  // package or synonym has is passed over without asking the catalog more.
  if (SchemaChangedSince(callableView_)) {
    callableNames_.clear();
    SqliteRunner runner(database_->Handle());
    std::vector<std::vector<std::string>> rows;
    runner.Query(
        "SELECT DISTINCT OBJECT_NAME FROM \"SYS.ALL_OBJECTS\" WHERE OBJECT_TYPE IN "
        "('FUNCTION', 'PACKAGE', 'SYNONYM')",
        {}, rows);
    for (const auto& row : rows)
      callableNames_.insert(row[0]);
  }
  if (parts.empty() || parts.size() > 3 ||
      (callableNames_.count(parts[0]) == 0 &&
       (parts.size() < 2 || callableNames_.count(parts[1]) == 0)))
    return false;
  SqliteRunner runner(database_->Handle());
  // The function or package o.n names, through synonyms.
  auto unitOf = [&](std::string o, std::string n, bool publicToo, std::string& type) {
    for (int hop = 0; hop < kSynonymHops; ++hop) {
      std::vector<std::vector<std::string>> rows;
      runner.Query(
          "SELECT OBJECT_TYPE FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND "
          "OBJECT_NAME = ? AND OBJECT_TYPE IN ('FUNCTION', 'PACKAGE', 'SYNONYM')",
          {Value::Text(o), Value::Text(n)}, rows);
      type = rows.empty() ? std::string() : rows[0][0];
      if (type == "FUNCTION" || type == "PACKAGE") {
        owner = o;
        unit = n;
        return true;
      }
      if (!FollowSynonym(o, n, publicToo && hop == 0))
        return false;
    }
    return false;
  };
  std::string type;
  member.clear();
  if (parts.size() == 1)
    return unitOf(schema_, parts[0], true, type) && type == "FUNCTION";
  if (parts.size() == 2 && unitOf(schema_, parts[0], true, type) && type == "PACKAGE") {
    member = parts[1];
    return true;
  }
  if (parts.size() == 2)
    return unitOf(parts[0], parts[1], false, type) && type == "FUNCTION";
  if (unitOf(parts[0], parts[1], false, type) && type == "PACKAGE") {
    member = parts[2];
    return true;
  }
  return false;
}

bool ServerSession::CallStoredFunction(const std::string& owner, const std::string& unit,
                                       const std::string& member,
                                       const std::vector<Value>& arguments, Value& result,
                                       std::string& message) {
  // A function whose queries call functions again nests the interpreter on
  // the stack; Oracle stops recursive SQL at 50 levels too.
  if (storedFunctionDepth_ >= kMaxRecursiveSql) {
    message = "ORA-00036: maximum number of recursive SQL levels (" +
              std::to_string(kMaxRecursiveSql) + ") exceeded";
    return false;
  }
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
  } depthGuard(storedFunctionDepth_);
  // A query's later rows are fetched outside any call: the function's own
  // statements are still no client's calls.
  const ClientCall client(*this);
  const CallContextGuard context(*this, WriterRunning(database_->Handle()) || dmlRowReads_ > 0
                                            ? CallContext::Dml
                                            : CallContext::Query);
  // The function's own queries are queries again.
  const int rowReads = std::exchange(dmlRowReads_, 0);
  struct RowReadsGuard {
    int& reads;
    int saved;
    ~RowReadsGuard() { reads = saved; }
  } rowReadsGuard{dmlRowReads_, rowReads};
  OraError error;
  if (plsql::CallStoredFunction(*this, owner, unit, member, arguments, result, error))
    return true;
  char code[16];
  std::snprintf(code, sizeof code, "ORA-%05d: ", error.code);
  message = code + error.message;
  return false;
}

std::optional<ObjectTypeShape> ServerSession::FunctionResultType(
    const std::vector<std::string>& parts, std::size_t arguments) {
  std::string owner, unit, member;
  if (!ResolveFunction(parts, owner, unit, member))
    return std::nullopt;
  const std::string type = plsql::StoredFunctionResultType(*this, owner, unit, member, arguments);
  const std::size_t dot = type.find('.');
  if (dot == std::string::npos)
    return std::nullopt;
  return ResolveObjectType({type.substr(0, dot), type.substr(dot + 1)});
}

}  // namespace sandbox
