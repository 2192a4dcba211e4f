// Member methods called on a value of a subtype held where its supertype is
// declared: the call runs the override of the value's own type.
#include "sandbox/plsql/DictionaryQuery.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/UnitLoader.h"

namespace sandbox::plsql {

namespace {

constexpr int kMaxTypeDepth = 64;

bool IsMember(const RoutineDecl& routine) {
  return !routine.self && !routine.params.empty() && routine.params[0]->name == "SELF";
}

}  // namespace

const RoutineDecl* Executor::Override(const RoutineDecl& routine, const std::vector<ExprPtr>& args,
                                      std::shared_ptr<const StoredUnit>& unit) {
  if (!IsMember(routine) || args.empty() || !args[0])
    return nullptr;
  // SELF is read here only when reading it has no side effect.
  const Expr& self = *args[0];
  if (self.kind != Expr::Kind::Variable && self.kind != Expr::Kind::Field &&
      self.kind != Expr::Kind::Element)
    return nullptr;
  // (SELF AS type).method(): a variable read as a named type runs that
  // type's method.
  if (self.kind == Expr::Kind::Variable && self.type != nullptr)
    return nullptr;
  const std::string& declared = routine.params[0]->type.sqlType;
  std::string type = Locate(self, false).objectType;
  if (type.empty() || type == declared)
    return nullptr;
  for (int depth = 0; depth < kMaxTypeDepth && !type.empty() && type != declared; ++depth) {
    const std::size_t dot = type.find('.');
    const std::string owner = type.substr(0, dot), name = type.substr(dot + 1);
    const LoadedUnit loaded = LoadTypeBody(session_, owner, name);
    if (loaded.unit) {
      const auto found = loaded.unit->members.find(routine.name);
      if (found != loaded.unit->members.end())
        for (const RoutineDecl* candidate : found->second.routines)
          if (IsMember(*candidate) && candidate->params.size() == routine.params.size()) {
            unit = loaded.unit;
            return candidate;
          }
    }
    const auto rows = DictionaryRows(
        session_, "SELECT SUPERTYPE_OWNER || '.' || SUPERTYPE_NAME FROM ALL_TYPES WHERE OWNER = " +
                      SqlLiteral(owner) + " AND TYPE_NAME = " + SqlLiteral(name) +
                      " AND SUPERTYPE_NAME IS NOT NULL");
    type = rows.empty() ? std::string() : rows[0][0].text;
  }
  return nullptr;
}

}  // namespace sandbox::plsql
