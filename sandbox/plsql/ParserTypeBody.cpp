// Methods of object types: the body that defines them (CREATE TYPE BODY),
// SELF and its attributes inside them, and calls of member and static
// methods and of user-defined constructors.
#include "sandbox/plsql/DictionaryQuery.h"
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/UnitLoader.h"

namespace sandbox::plsql {

bool Parser::ParseTypeBody(StoredUnit& unit, CompileError& error) {
  try {
    compiling_ = &unit;
    owner_ = unit.owner;
    PushStandardScope();
    PushScope();
    typeBodyScope_ = scopes_.size() - 1;
    const TypeDecl* self = SchemaType(unit.owner, unit.name);
    if (Peek().kind != Token::Kind::End) {  // a type without a body has no methods
      Expect("TYPE", "type");
      Expect("BODY", "body");
      SkipUnitHeader();
      if (!Accept("IS"))
        Expect("AS", "is as");
      while (!Peek().Is("END")) {
        // MAP and ORDER methods are member functions that comparisons call.
        auto comparison = RoutineDecl::Comparison::None;
        // What the declaration says of overriding and inheriting the
        // method; the body may repeat it.
        for (bool modifier = true; modifier;) {
          const bool negated = Accept("NOT");
          modifier = Accept("OVERRIDING") || Accept("FINAL") || Accept("INSTANTIABLE");
          if (negated && !modifier)
            Expect("OVERRIDING", "overriding final instantiable");
        }
        if (Accept("MAP"))
          comparison = RoutineDecl::Comparison::Map;
        else if (Accept("ORDER"))
          comparison = RoutineDecl::Comparison::Order;
        Method method = Method::Member;
        if (Accept("STATIC"))
          method = Method::None;
        else if (Accept("CONSTRUCTOR"))
          method = Method::Constructor;
        else
          Expect("MEMBER", "member static constructor map order");
        const bool isFunction = Accept("FUNCTION");
        if (!isFunction)
          Expect("PROCEDURE", "function procedure");
        if (self == nullptr || !self->type.IsObject())
          SemanticError(Peek(), "PLS-00201: identifier '" + unit.name + "' must be declared");
        ParseRoutineDeclaration(unit.declarations, isFunction, nullptr, &self->type, method);
        unit.declarations.routines.back()->comparison = comparison;
      }
      ExpectUnitEnd(unit.name);
    }
    unit.members = scopes_.back();
    unit.uses = std::move(usedUnits_);
    KeepSchemaTypes(unit.declarations);
    return true;
  } catch (CompileError& e) {
    error = std::move(e);
    return false;
  }
}

const std::map<std::string, NamedItem>* Parser::MethodsOf(const TypeSpec& type) {
  const size_t dot = type.sqlType.find('.');
  const std::string owner = type.sqlType.substr(0, dot), typeName = type.sqlType.substr(dot + 1);
  // A method of the type being compiled calls those declared before it.
  if (typeBodyScope_ != 0 && compiling_->owner == owner && compiling_->name == typeName)
    return &scopes_[typeBodyScope_];
  const LoadedUnit loaded = LoadTypeBody(session_, owner, typeName);
  if (!loaded.invalid.empty())
    SemanticError(Peek(), "PLS-00905: object " + loaded.invalid + " is invalid");
  if (!loaded.unit)
    return nullptr;
  usedUnits_.push_back(loaded.unit);
  return &loaded.unit->members;
}

const NamedItem* Parser::MethodsNamed(const TypeSpec& type, const std::string& name) {
  const auto* methods = MethodsOf(type);
  const auto found =
      methods != nullptr ? methods->find(name) : std::map<std::string, NamedItem>::const_iterator();
  if (methods != nullptr && found != methods->end())
    return &found->second;
  // A subtype inherits the methods it does not override; constructors are
  // each type's own.
  const size_t dot = type.sqlType.find('.');
  if (dot == std::string::npos || name == type.sqlType.substr(dot + 1))
    return nullptr;
  const auto rows = DictionaryRows(
      session_, "SELECT SUPERTYPE_OWNER, SUPERTYPE_NAME FROM ALL_TYPES WHERE OWNER = " +
                    SqlLiteral(type.sqlType.substr(0, dot)) + " AND TYPE_NAME = " +
                    SqlLiteral(type.sqlType.substr(dot + 1)) + " AND SUPERTYPE_NAME IS NOT NULL");
  const TypeDecl* super = rows.empty() ? nullptr : SchemaType(rows[0][0].text, rows[0][1].text);
  return super != nullptr && super->type.IsObject() ? MethodsNamed(super->type, name) : nullptr;
}

ExprPtr Parser::CompareObjects(ExprPtr left, ExprPtr right, const Token& op,
                               const std::string& name) {
  const TypeSpec& type = *TypeOf(*left);
  const RoutineDecl* method = nullptr;
  if (const auto* methods = MethodsOf(type)) {
    for (const auto& [member, item] : *methods) {
      for (const RoutineDecl* routine : item.routines) {
        if (routine->comparison != RoutineDecl::Comparison::None)
          method = routine;
      }
    }
  }
  auto compare = NewExpr(Expr::Kind::Compare, op);
  compare->name = name;
  if (method == nullptr) {
    compare->args.push_back(std::move(left));
    compare->args.push_back(std::move(right));
    return compare;
  }
  CheckTypes(op, &type, *right);
  auto call = [&](ExprPtr self) {
    auto e = NewExpr(Expr::Kind::Call, op);
    e->routine = method;
    e->args.push_back(std::move(self));
    return e;
  };
  // MAP takes SELF alone; ORDER SELF and the other object.
  const bool map = method->comparison == RoutineDecl::Comparison::Map;
  if (method->params.size() != (map ? 1u : 2u))
    SemanticError(
        op, "PLS-00306: wrong number or types of arguments in call to '" + method->name + "'");
  if (map) {
    compare->args.push_back(call(std::move(left)));
    compare->args.push_back(call(std::move(right)));
    return compare;
  }
  // ORDER: negative, zero or positive as left sorts before, with or after right.
  auto order = call(std::move(left));
  order->args.push_back(std::move(right));
  compare->args.push_back(std::move(order));
  auto zero = NewExpr(Expr::Kind::Literal, op);
  zero->value = PlValue::Number(0);
  compare->args.push_back(std::move(zero));
  return compare;
}

ExprPtr Parser::ParseMethodCall(ExprPtr object, const TypeSpec& type, const Token& name,
                                MethodUse use) {
  const NamedItem* methods = MethodsNamed(type, name.text);
  // Member methods are called on an object, STATIC ones on the type;
  // constructors are called by the type's name alone.
  NamedItem item;
  item.kind = NamedItem::Kind::Routine;
  if (methods != nullptr && methods->kind == NamedItem::Kind::Routine) {
    for (const RoutineDecl* routine : methods->routines) {
      const bool member = !routine->params.empty() && routine->params[0]->name == "SELF";
      if (!routine->self && member == (object != nullptr))
        item.routines.push_back(routine);
    }
  }
  if (item.routines.empty())
    SemanticError(name, "PLS-00302: component '" + name.text + "' must be declared", true);
  auto e = NewExpr(Expr::Kind::Call, name);
  e->args =
      ParseCall(name, name.text, item, use != MethodUse::Procedure, e->routine, std::move(object));
  if (e->routine->isFunction && e->routine->returnType.IsComposite())
    e->type = &e->routine->returnType;
  return e;
}

ExprPtr Parser::ParseObjectConstructor(const TypeDecl& decl, const Token& at) {
  // Arguments that fit no user-defined constructor go to the default one,
  // which needs no body.
  const size_t start = pos_;
  try {
    const NamedItem* constructors =
        decl.type.IsObject() && Peek().Is("(") ? MethodsNamed(decl.type, decl.type.name) : nullptr;
    NamedItem item;
    item.kind = NamedItem::Kind::Routine;
    if (constructors != nullptr && constructors->kind == NamedItem::Kind::Routine) {
      for (const RoutineDecl* routine : constructors->routines) {
        if (routine->self)
          item.routines.push_back(routine);
      }
    }
    if (!item.routines.empty()) {
      auto e = NewExpr(Expr::Kind::Call, at);
      e->args = ParseCall(at, decl.type.name, item, true, e->routine);
      e->type = &e->routine->returnType;
      return e;
    }
  } catch (const CompileError&) {
    pos_ = start;
  }
  return ParseConstructor(decl, at);
}

ExprPtr Parser::SelfMethodCall(const NamedItem& item, const Token& name, MethodUse use) {
  if (self_ == nullptr || item.kind != NamedItem::Kind::Routine || item.routines.empty() ||
      item.routines[0]->params.empty() || item.routines[0]->params[0]->name != "SELF")
    return nullptr;
  auto self = NewExpr(Expr::Kind::Variable, name);
  self->variable = self_;
  return ParseMethodCall(std::move(self), self_->type, name, use);
}

bool Parser::IsSubtypeOf(std::string type, const std::string& super) {
  for (int depth = 0; depth < 64 && !type.empty(); ++depth) {
    const size_t dot = type.find('.');
    if (dot == std::string::npos)
      return false;
    const auto rows = DictionaryRows(
        session_, "SELECT SUPERTYPE_OWNER || '.' || SUPERTYPE_NAME FROM ALL_TYPES WHERE OWNER = " +
                      SqlLiteral(type.substr(0, dot)) + " AND TYPE_NAME = " +
                      SqlLiteral(type.substr(dot + 1)) + " AND SUPERTYPE_NAME IS NOT NULL");
    type = rows.empty() ? std::string() : rows[0][0].text;
    if (type == super)
      return true;
  }
  return false;
}

ExprPtr Parser::ParseGeneralizedInvocation() {
  const Token& open = Take();
  Take();  // SELF
  Take();  // AS
  const Token& first = ExpectIdentifier("a type name");
  std::string owner = owner_, name = first.text;
  if (Accept(".")) {
    owner = name;
    name = ExpectIdentifier("a type name").text;
  }
  Expect(")", ")");
  Expect(".", ".");
  const Token& method = ExpectIdentifier("a method name");
  if (self_ == nullptr)
    SemanticError(open, "PLS-00201: identifier 'SELF' must be declared");
  const TypeDecl* type = SchemaType(owner, name);
  if (type == nullptr || !type->type.IsObject())
    SemanticError(first, "PLS-00201: identifier '" + name + "' must be declared");
  // SELF as its supertype runs that type's method, not the override: the
  // argument's type marks the call as one the executor does not dispatch.
  auto self = NewExpr(Expr::Kind::Variable, open);
  self->variable = self_;
  self->type = &type->type;
  return ParseMethodCall(std::move(self), type->type, method, MethodUse::Function);
}

const TypeDecl* Parser::ConstructedType(const NamedItem* item, const Token& name) {
  if (typeBodyScope_ == 0 || item == nullptr || item->kind != NamedItem::Kind::Routine ||
      name.text != compiling_->name)
    return nullptr;
  return SchemaType(compiling_->owner, compiling_->name);
}

ExprPtr Parser::SelfAttribute(const Token& name, MethodUse use) {
  if (self_ == nullptr || name.kind != Token::Kind::Identifier)
    return nullptr;
  const auto& fields = self_->type.fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name != name.text)
      continue;
    auto self = NewExpr(Expr::Kind::Variable, name);
    self->variable = self_;
    return ParseSuffixes(FieldOf(std::move(self), i, name), name, use);
  }
  return nullptr;
}

}  // namespace sandbox::plsql
