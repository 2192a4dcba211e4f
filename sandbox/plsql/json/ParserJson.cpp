// Calls of the JSON object types' methods, their constructors and PARSE,
// and TREAT(value AS type) between them: checked against the methods each
// type has (PLS-00302, PLS-00221, PLS-00222, PLS-00306), compiled into
// JsonMethod expressions.
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/json/JsonTypes.h"

namespace sandbox::plsql {

namespace {

bool IsJsonValue(const Expr& e) {
  const TypeSpec* type = TypeOf(e);
  return type != nullptr && type->base == TypeSpec::Base::Json;
}

// The type of a call's result when it is a JSON object type or the key
// list; null for a scalar or none.
const TypeSpec* ResultType(const json::JsonMethod& method, const TypeSpec& own) {
  using R = json::JsonMethod::Result;
  switch (method.result) {
    case R::Element:
      return &json::JsonTypeOf(json::JsonKind::Element);
    case R::Object:
      return &json::JsonTypeOf(json::JsonKind::Object);
    case R::Array:
      return &json::JsonTypeOf(json::JsonKind::Array);
    case R::KeyList:
      return &json::KeyListType();
    case R::Own:
      return &json::JsonTypeOf(json::KindOfType(own));
    default:
      return nullptr;
  }
}

}  // namespace

ExprPtr Parser::ParseJsonMethod(ExprPtr object, const TypeSpec& type, const Token& name,
                                MethodUse use) {
  const int index = json::FindJsonMethod(json::KindOfType(type), name.text, object == nullptr,
                                         use == MethodUse::Procedure);
  if (index < 0)
    SemanticError(name, "PLS-00302: component '" + name.text + "' must be declared", true);
  return FinishJsonCall(index, std::move(object), type, name, use);
}

ExprPtr Parser::ParseJsonType(const TypeDecl& decl, const Token& at) {
  if (Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier) {
    Take();
    const Token& name = Take();
    return ParseJsonMethod(nullptr, decl.type, name, MethodUse::Function);
  }
  const int index = json::FindJsonMethod(json::KindOfType(decl.type), decl.type.name, true);
  if (index < 0)  // JSON_ELEMENT_T has no constructor
    SemanticError(
        at, "PLS-00306: wrong number or types of arguments in call to '" + decl.type.name + "'",
        true);
  return FinishJsonCall(index, nullptr, decl.type, at, MethodUse::Function);
}

ExprPtr Parser::FinishJsonCall(int index, ExprPtr object, const TypeSpec& own, const Token& name,
                               MethodUse use) {
  const json::JsonMethod& method = json::JsonMethods()[static_cast<size_t>(index)];
  auto e = NewExpr(Expr::Kind::JsonMethod, name);
  e->name = method.name;
  e->fieldIndex = index;
  if (object)
    e->args.push_back(std::move(object));
  // Arguments by position, or by the parameters' names; none may be left
  // out before one that is given.
  const std::string wrongCall =
      "PLS-00306: wrong number or types of arguments in call to '" + name.text + "'";
  std::vector<ExprPtr> args;
  for (Actual& actual : ParseActuals()) {
    size_t slot = args.size();
    if (!actual.name.empty()) {
      slot = method.params.size();
      for (size_t i = 0; i < method.params.size(); ++i) {
        const std::string param = method.params[i];
        if (actual.name == param || (param == "KEY" && actual.name == "POS"))
          slot = i;
      }
    }
    if (slot >= method.params.size() && slot >= static_cast<size_t>(method.maxArgs))
      SemanticError(*actual.at, wrongCall, true);
    if (slot >= args.size())
      args.resize(slot + 1);
    if (args[slot])
      SemanticError(*actual.at, wrongCall, true);
    if (method.result == json::JsonMethod::Result::IntoArgument && !IsAssignable(*actual.value)) {
      const Token& start = *actual.at;
      SemanticError(start, "PLS-00363: expression '" +
                               source_.substr(start.offset, actual.end - start.offset) +
                               "' cannot be used as an assignment target");
    }
    args[slot] = std::move(actual.value);
  }
  for (const ExprPtr& arg : args) {
    if (!arg)
      SemanticError(name, wrongCall, true);
  }
  CheckArgumentCount(name, name.text, args.size(), static_cast<size_t>(method.minArgs),
                     static_cast<size_t>(method.maxArgs));
  // Documents are the values of PUT, APPEND and the constructors alone.
  const std::string called = method.name;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool takesDocument =
        (called == "PUT" && i == 1) || called == "APPEND" || (method.isStatic && called != "PARSE");
    if ((IsComposite(*args[i]) && !IsJsonValue(*args[i])) ||
        (IsJsonValue(*args[i]) && !takesDocument))
      SemanticError(name, wrongCall, true);
    e->args.push_back(std::move(args[i]));
  }
  e->type = ResultType(method, own);
  // A call with more of the chain after it gives the object the chain goes on from.
  const bool procedure = json::IsProcedure(method);
  if (Peek().Is("."))
    use = MethodUse::Function;
  if (procedure && use == MethodUse::Function)
    SemanticError(name,
                  "PLS-00222: no function with name '" + name.text + "' exists in this scope");
  if (!procedure && use == MethodUse::Procedure)
    SemanticError(name, "PLS-00221: '" + name.text + "' is not a procedure or is undefined");
  return e;
}

ExprPtr Parser::ParseJsonTreat(const Token& at) {
  const size_t start = pos_;
  Expect("(", "(");
  ExprPtr value = ParseExpression();
  const TypeDecl* target = nullptr;
  if (Accept("AS") && Peek().kind == Token::Kind::Identifier)
    target = SchemaTypeNamed(Take());
  if (target == nullptr || target->type.base != TypeSpec::Base::Json) {
    pos_ = start;  // not between JSON types: left to what TREAT is elsewhere
    return nullptr;
  }
  Expect(")", ")");
  if (!IsJsonValue(*value))
    SemanticError(at, "PLS-00382: expression is of wrong type");
  auto e = NewExpr(Expr::Kind::JsonMethod, at);
  e->name = "TREAT";
  e->fieldIndex = json::TreatMethod();
  e->type = &target->type;
  e->args.push_back(std::move(value));
  return ParseSuffixes(std::move(e), at, MethodUse::Function);
}

}  // namespace sandbox::plsql
