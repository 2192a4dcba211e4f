// Calls of the supplied packages' routines (supplied/SuppliedPackages):
// arguments by position and by name, OUT arguments that can be assigned,
// and Oracle's errors for a routine the package lacks or a call that does
// not fit it.
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

std::vector<ExprPtr> Parser::ParseSuppliedCall(const Token& package, bool wantFunction,
                                               std::string& qualified) {
  Expect(".", ".");
  const Token& member = ExpectIdentifier("a subprogram name");
  const SuppliedRoutine* routine = FindSupplied(package.text, member.text);
  if (routine == nullptr)
    SemanticError(member, "PLS-00302: component '" + member.text + "' must be declared");
  if (routine->function != wantFunction) {
    SemanticError(
        member, wantFunction
                    ? "PLS-00222: no function with name '" + member.text + "' exists in this scope"
                    : "PLS-00221: '" + member.text + "' is not a procedure or is undefined");
  }
  qualified = package.text + "." + member.text;
  const std::string wrongCall =
      "PLS-00306: wrong number or types of arguments in call to '" + member.text + "'";
  std::vector<ExprPtr> args(routine->params.size());
  size_t position = 0;
  for (Actual& actual : ParseActuals()) {
    size_t slot = position++;
    if (!actual.name.empty()) {
      slot = args.size();
      for (size_t i = 0; i < routine->params.size(); ++i)
        if (actual.name == routine->params[i].name)
          slot = i;
    }
    if (slot >= args.size() || args[slot])
      SemanticError(*actual.at, wrongCall);
    if (routine->params[slot].out && !IsAssignable(*actual.value)) {
      const Token& start = *actual.at;
      SemanticError(start, "PLS-00363: expression '" +
                               source_.substr(start.offset, actual.end - start.offset) +
                               "' cannot be used as an assignment target");
    }
    args[slot] = std::move(actual.value);
  }
  for (size_t i = 0; i < args.size(); ++i)
    if (!args[i] && !routine->params[i].optional)
      SemanticError(member, wrongCall);
  return args;
}

}  // namespace sandbox::plsql
