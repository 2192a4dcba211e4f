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
      &DbmsLobProcedures(),   &UtlRawRoutines(),     &UtlEncodeRoutines(),
      &UtlI18nRoutines()};
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

const SuppliedRoutine* FindSupplied(const std::string& package, const std::string& name) {
  for (const auto* list : AllLists())
    for (const SuppliedRoutine& routine : *list)
      if (package == routine.package && name == routine.name)
        return &routine;
  return nullptr;
}

const SuppliedRoutine* FindSupplied(const std::string& qualified) {
  const size_t dot = qualified.find('.');
  if (dot == std::string::npos)
    return nullptr;
  return FindSupplied(qualified.substr(0, dot), qualified.substr(dot + 1));
}

std::string SuppliedText(const SuppliedCall& call, size_t i) {
  return i < call.args.size() && !call.args[i].IsNull() ? TextOf(call.args[i], call.session)
                                                        : std::string();
}

}  // namespace sandbox::plsql
