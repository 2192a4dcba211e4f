// Calls of the supplied packages' routines (supplied/SuppliedPackages):
// arguments by position and by name, the overload they fit, OUT arguments
// that can be assigned, and Oracle's errors for a routine the package lacks
// or a call that does not fit it.
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

// The parameter slot of each actual for routine; false when they do not fit
// it (too many, a name it lacks, a parameter given twice or left out, a
// record, collection or cursor variable where a value goes or the reverse).
bool FitActuals(const SuppliedRoutine& routine, const std::vector<std::string>& names,
                const std::vector<bool>& composite, std::vector<size_t>& slots) {
  const size_t count = routine.params.size();
  std::vector<bool> given(count, false);
  slots.clear();
  for (size_t position = 0; position < names.size(); ++position) {
    size_t slot = position;
    if (!names[position].empty()) {
      slot = count;
      for (size_t i = 0; i < count; ++i)
        if (names[position] == routine.params[i].name)
          slot = i;
    }
    if (slot >= count || given[slot] || routine.params[slot].byReference != composite[position])
      return false;
    given[slot] = true;
    slots.push_back(slot);
  }
  for (size_t i = 0; i < count; ++i)
    if (!given[i] && !routine.params[i].optional)
      return false;
  return true;
}

}  // namespace

std::vector<ExprPtr> Parser::ParseSuppliedCall(const Token& package, bool wantFunction,
                                               std::string& qualified) {
  Expect(".", ".");
  const Token& member = ExpectIdentifier("a subprogram name");
  const auto overloads = SuppliedOverloads(package.text, member.text);
  if (overloads.empty())
    SemanticError(member, "PLS-00302: component '" + member.text + "' must be declared");
  if (overloads.front()->function != wantFunction) {
    SemanticError(
        member, wantFunction
                    ? "PLS-00222: no function with name '" + member.text + "' exists in this scope"
                    : "PLS-00221: '" + member.text + "' is not a procedure or is undefined");
  }
  std::vector<Actual> actuals = ParseActuals();
  std::vector<std::string> names;
  std::vector<bool> composite;
  for (const Actual& actual : actuals) {
    names.push_back(actual.name);
    composite.push_back(IsComposite(*actual.value));
  }
  std::vector<size_t> slots;
  size_t chosen = 0;
  while (chosen < overloads.size() && !FitActuals(*overloads[chosen], names, composite, slots))
    ++chosen;
  if (chosen == overloads.size())
    SemanticError(member,
                  "PLS-00306: wrong number or types of arguments in call to '" + member.text + "'");
  const SuppliedRoutine& routine = *overloads[chosen];
  qualified = package.text + "." + member.text;
  if (chosen > 0)
    qualified += "#" + std::to_string(chosen);
  std::vector<ExprPtr> args(routine.params.size());
  for (size_t i = 0; i < actuals.size(); ++i) {
    Actual& actual = actuals[i];
    if (routine.params[slots[i]].out && !IsAssignable(*actual.value)) {
      const Token& start = *actual.at;
      SemanticError(start, "PLS-00363: expression '" +
                               source_.substr(start.offset, actual.end - start.offset) +
                               "' cannot be used as an assignment target");
    }
    args[slots[i]] = std::move(actual.value);
  }
  return args;
}

}  // namespace sandbox::plsql
