// Calls of procedures and functions: arguments by position and by name,
// defaults, OUT targets, the choice among overloads, and the names of stored
// units (standalone, in packages, through synonyms) a call may use.
#include <limits>

#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/UnitLoader.h"

namespace sandbox::plsql {

namespace {

enum class Family { Unknown, Number, Text, Date, Boolean, Record };

Family FamilyOf(const TypeSpec& type) {
  switch (type.base) {
    case TypeSpec::Base::Number:
      return Family::Number;
    case TypeSpec::Base::Varchar2:
    case TypeSpec::Base::Char:
      return Family::Text;
    case TypeSpec::Base::Date:
      return Family::Date;
    case TypeSpec::Base::Boolean:
      return Family::Boolean;
    case TypeSpec::Base::Record:
    case TypeSpec::Base::Collection:
    case TypeSpec::Base::RefCursor:
    case TypeSpec::Base::Json:
      return Family::Record;
  }
  return Family::Unknown;
}

// What the builtins whose result type never varies return; the others
// (NVL, DECODE, ROUND of a date ...) leave the family unknown.
Family FamilyOfBuiltin(const std::string& name) {
  static const char* const kNumbers[] = {"LENGTH",  "INSTR", "TO_NUMBER", "ABS",  "MOD",
                                         "FLOOR",   "CEIL",  "POWER",     "SQRT", "SIGN",
                                         "SQLCODE", "ASCII", "LENGTHB"};
  static const char* const kTexts[] = {"TO_CHAR", "SUBSTR",  "UPPER",   "LOWER", "TRIM",
                                       "LTRIM",   "RTRIM",   "REPLACE", "LPAD",  "RPAD",
                                       "CHR",     "INITCAP", "SQLERRM"};
  static const char* const kDates[] = {"TO_DATE", "SYSDATE", "ADD_MONTHS", "LAST_DAY"};
  for (const char* n : kNumbers)
    if (name == n)
      return Family::Number;
  for (const char* n : kTexts)
    if (name == n)
      return Family::Text;
  for (const char* n : kDates)
    if (name == n)
      return Family::Date;
  return Family::Unknown;
}

// The type family an argument has when the compiler can tell it without
// running it.
Family FamilyOf(const Expr& e) {
  switch (e.kind) {
    case Expr::Kind::Literal:
      switch (e.value.kind()) {
        case PlValue::Kind::Text:
          return Family::Text;
        case PlValue::Kind::Number:
          return Family::Number;
        case PlValue::Kind::Boolean:
          return Family::Boolean;
        case PlValue::Kind::Date:
          return Family::Date;
        case PlValue::Kind::Null:
          return Family::Unknown;
      }
      return Family::Unknown;
    case Expr::Kind::Variable:
      return FamilyOf(e.variable->type);
    case Expr::Kind::Field:
    case Expr::Kind::Element:
    case Expr::Kind::Construct:
      return FamilyOf(*e.type);
    case Expr::Kind::Call:
      return FamilyOf(e.routine->returnType);
    case Expr::Kind::Builtin:
      return FamilyOfBuiltin(e.name);
    case Expr::Kind::Arithmetic:
      return e.name == "||" ? Family::Text : Family::Unknown;
    case Expr::Kind::Negate:
    case Expr::Kind::SequenceValue:
      return Family::Number;
    case Expr::Kind::SqlFunction:
      if (e.condition)
        return Family::Boolean;
      return e.sqlType == 2                      ? Family::Number
             : e.sqlType == 12                   ? Family::Date
             : e.sqlType == 1 || e.sqlType == 96 ? Family::Text
                                                 : Family::Unknown;
    case Expr::Kind::Not:
    case Expr::Kind::Compare:
    case Expr::Kind::And:
    case Expr::Kind::Or:
    case Expr::Kind::IsNull:
    case Expr::Kind::Like:
    case Expr::Kind::Between:
    case Expr::Kind::InList:
      return Family::Boolean;
    default:
      return Family::Unknown;
  }
}

// How far an argument is from a parameter's type: 0 the same family, 1 an
// implicit conversion, -1 none.
int Distance(Family argument, Family parameter) {
  if (argument == Family::Unknown || argument == parameter)
    return 0;
  if (argument == Family::Boolean || parameter == Family::Boolean || argument == Family::Record ||
      parameter == Family::Record)
    return -1;
  if ((argument == Family::Number && parameter == Family::Date) ||
      (argument == Family::Date && parameter == Family::Number))
    return -1;
  return 1;
}

// The parameter each argument goes to, or false when the arguments do not
// fit the routine's parameters.
bool MatchArguments(const RoutineDecl& routine, const std::vector<std::string>& names,
                    std::vector<size_t>& slots) {
  const auto& params = routine.params;
  std::vector<bool> given(params.size(), false);
  slots.clear();
  for (size_t i = 0; i < names.size(); ++i) {
    size_t slot = i;
    if (!names[i].empty()) {
      slot = params.size();
      for (size_t p = 0; p < params.size(); ++p) {
        if (params[p]->name == names[i])
          slot = p;
      }
    }
    if (slot >= params.size() || given[slot])
      return false;
    given[slot] = true;
    slots.push_back(slot);
  }
  for (size_t p = 0; p < params.size(); ++p) {
    if (!given[p] && !params[p]->init)
      return false;
  }
  return true;
}

}  // namespace

bool IsAssignable(const Expr& e) {
  if (e.kind == Expr::Kind::Bind)
    return true;
  // A field of a function's result has no variable to write to.
  return (e.kind == Expr::Kind::Variable || e.kind == Expr::Kind::Field) && e.variable != nullptr &&
         !e.variable->constant;
}

std::vector<Parser::Actual> Parser::ParseActuals() {
  std::vector<Actual> actuals;
  if (!Accept("("))
    return actuals;
  if (Accept(")"))
    return actuals;
  do {
    Actual actual;
    if ((Peek().kind == Token::Kind::Identifier || Peek().kind == Token::Kind::QuotedIdentifier) &&
        Peek(1).Is("=>")) {
      actual.name = Take().text;
      Take();
    } else if (!actuals.empty() && !actuals.back().name.empty()) {
      SemanticError(Peek(),
                    "PLS-00312: a positional parameter association may not follow a named "
                    "association");
    }
    actual.at = &Peek();
    actual.value = ParseExpression();
    actual.end = pos_ > 0 ? tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length : 0;
    actuals.push_back(std::move(actual));
  } while (Accept(","));
  Expect(")", ", )");
  return actuals;
}

std::vector<ExprPtr> Parser::ParseCall(const Token& at, const std::string& name,
                                       const NamedItem& item, bool wantFunction,
                                       const RoutineDecl*& chosen, ExprPtr self) {
  bool anyOfKind = false;
  for (const RoutineDecl* r : item.routines)
    anyOfKind = anyOfKind || r->isFunction == wantFunction;
  if (!anyOfKind) {
    SemanticError(at, wantFunction
                          ? "PLS-00222: no function with name '" + name + "' exists in this scope"
                          : "PLS-00221: '" + name + "' is not a procedure or is undefined");
  }
  std::vector<Actual> actuals = ParseActuals();
  if (self) {
    Actual object;
    object.at = &at;
    object.end = at.offset + at.length;
    object.value = std::move(self);
    actuals.insert(actuals.begin(), std::move(object));
  }
  std::vector<std::string> names;
  for (const Actual& a : actuals)
    names.push_back(a.name);
  // The overload whose parameters the arguments fit with the fewest
  // conversions; two that fit equally well make the call ambiguous.
  chosen = nullptr;
  std::vector<size_t> chosenSlots;
  int best = std::numeric_limits<int>::max();
  bool ambiguous = false;
  for (const RoutineDecl* routine : item.routines) {
    std::vector<size_t> slots;
    if (routine->isFunction != wantFunction || !MatchArguments(*routine, names, slots))
      continue;
    int distance = 0;
    for (size_t i = 0; i < actuals.size() && distance >= 0; ++i) {
      const int d =
          Distance(FamilyOf(*actuals[i].value), FamilyOf(routine->params[slots[i]]->type));
      distance = d < 0 ? -1 : distance + d;
    }
    if (distance < 0)
      continue;
    if (distance < best) {
      best = distance;
      chosen = routine;
      chosenSlots = slots;
      ambiguous = false;
    } else if (distance == best) {
      ambiguous = true;
    }
  }
  if (chosen == nullptr)
    SemanticError(at, "PLS-00306: wrong number or types of arguments in call to '" + name + "'",
                  true);
  if (ambiguous)
    SemanticError(at, "PLS-00307: too many declarations of '" + name + "' match this call");
  std::vector<ExprPtr> args(chosen->params.size());
  for (size_t i = 0; i < actuals.size(); ++i) {
    const VarDecl& param = *chosen->params[chosenSlots[i]];
    if (param.mode != VarDecl::Mode::In && !IsAssignable(*actuals[i].value)) {
      const Token& start = *actuals[i].at;
      SemanticError(start, "PLS-00363: expression '" +
                               source_.substr(start.offset, actuals[i].end - start.offset) +
                               "' cannot be used as an assignment target");
    }
    args[chosenSlots[i]] = std::move(actuals[i].value);
  }
  return args;
}

bool Parser::LinkDefinition(const RoutineDecl& routine) {
  auto sameSignature = [&](const RoutineDecl& forward) {
    if (forward.name != routine.name || forward.isFunction != routine.isFunction ||
        forward.params.size() != routine.params.size() ||
        (routine.isFunction && forward.returnType.base != routine.returnType.base))
      return false;
    for (size_t i = 0; i < routine.params.size(); ++i) {
      const VarDecl& a = *forward.params[i];
      const VarDecl& b = *routine.params[i];
      if (a.name != b.name || a.mode != b.mode || a.type.base != b.type.base)
        return false;
    }
    return true;
  };
  for (RoutineDecl* forward : forwards_) {
    if (forward->definition == nullptr && sameSignature(*forward)) {
      forward->definition = &routine;
      return true;
    }
  }
  return false;
}

const NamedItem* Parser::StoredCursorAhead(const Token*& at) {
  if (Peek().kind != Token::Kind::Identifier || !Peek(1).Is(".") || Lookup(Peek().text) != nullptr)
    return nullptr;
  const size_t start = pos_;
  const Token& first = Take();
  std::string member;
  const NamedItem* item = ResolveStored(first, member);
  if (item != nullptr && item->kind == NamedItem::Kind::Cursor) {
    at = &first;
    return item;
  }
  pos_ = start;
  return nullptr;
}

const NamedItem* Parser::ResolveStored(const Token& first, std::string& name) {
  auto isName = [](const Token& t) {
    return t.kind == Token::Kind::Identifier || t.kind == Token::Kind::QuotedIdentifier;
  };
  // The dotted parts after first: pkg.member, owner.unit, owner.pkg.member.
  std::vector<const Token*> parts{&first};
  for (size_t i = 0; parts.size() < 3 && Peek(i).Is(".") && isName(Peek(i + 1)); i += 2)
    parts.push_back(&Peek(i + 1));
  const StoredUnit* unit = nullptr;
  size_t used = 0;
  // A package body names its own package while the package is compiled.
  if (compiling_ != nullptr && compiling_->IsPackage() && parts.size() >= 2) {
    if (first.text == compiling_->name) {
      unit = compiling_;
      used = 1;
    } else if (parts.size() == 3 && first.text == compiling_->owner &&
               parts[1]->text == compiling_->name) {
      unit = compiling_;
      used = 2;
    }
  }
  LoadedUnit loaded;
  if (unit == nullptr) {
    loaded = LoadStoredUnit(session_, owner_, first.text, true);
    used = 1;
    if (!loaded.unit && loaded.invalid.empty() && parts.size() >= 2) {
      loaded = LoadStoredUnit(session_, first.text, parts[1]->text, false);
      used = 2;
    }
    if (!loaded.invalid.empty())
      SemanticError(first, "PLS-00905: object " + loaded.invalid + " is invalid");
    if (!loaded.unit)
      return nullptr;
    unit = loaded.unit.get();
    usedUnits_.push_back(loaded.unit);
  }
  std::string member = unit->name;
  if (unit->IsPackage()) {
    if (parts.size() <= used) {
      SemanticError(first, "PLS-00221: '" + first.text + "' is not a procedure or is undefined");
    }
    member = parts[used]->text;
    ++used;
  }
  const auto found = unit->members.find(member);
  if (found == unit->members.end())
    SemanticError(*parts[used - 1], "PLS-00302: component '" + member + "' must be declared", true);
  name = member;
  for (size_t i = 1; i < used; ++i) {
    Take();  // "."
    Take();
  }
  return &found->second;
}

}  // namespace sandbox::plsql
