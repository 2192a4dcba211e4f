// The registry of supplied routines: every package file's list, found by
// package and routine name.
#include "sandbox/plsql/supplied/SuppliedPackages.h"

#include "sandbox/plsql/Conversions.h"

namespace sandbox::plsql {

namespace {

const std::vector<const std::vector<SuppliedRoutine>*>& AllLists() {
  static const std::vector<const std::vector<SuppliedRoutine>*> lists = {
      &DbmsUtilityRoutines(), &DbmsAssertRoutines(), &SessionInfoRoutines(),
      &DbmsRandomRoutines(),  &DbmsLobRoutines(),    &UtlCallStackRoutines(),
      &DbmsSqlRoutines(),     &DbmsLobProcedures(),  &UtlRawRoutines(),
      &UtlEncodeRoutines(),   &UtlI18nRoutines()};
  return lists;
}

}  // namespace

bool IsSuppliedPackage(const std::string& name) {
  for (const auto* list : AllLists())
    for (const SuppliedRoutine& routine : *list)
      if (name == routine.package)
        return true;
  return false;
}

std::vector<const SuppliedRoutine*> SuppliedOverloads(const std::string& package,
                                                      const std::string& name) {
  std::vector<const SuppliedRoutine*> overloads;
  for (const auto* list : AllLists())
    for (const SuppliedRoutine& routine : *list)
      if (package == routine.package && name == routine.name)
        overloads.push_back(&routine);
  return overloads;
}

const SuppliedRoutine* FindSupplied(const std::string& package, const std::string& name) {
  const auto overloads = SuppliedOverloads(package, name);
  return overloads.empty() ? nullptr : overloads.front();
}

const SuppliedRoutine* FindSupplied(const std::string& qualified) {
  const size_t dot = qualified.find('.');
  if (dot == std::string::npos)
    return nullptr;
  const size_t mark = qualified.find('#', dot);
  const auto overloads =
      SuppliedOverloads(qualified.substr(0, dot), qualified.substr(dot + 1, mark - dot - 1));
  const size_t n = mark == std::string::npos ? 0 : std::stoul(qualified.substr(mark + 1));
  return n < overloads.size() ? overloads[n] : nullptr;
}

std::string SuppliedText(const SuppliedCall& call, size_t i) {
  return i < call.args.size() && !call.args[i].IsNull() ? TextOf(call.args[i], call.session)
                                                        : std::string();
}

}  // namespace sandbox::plsql
