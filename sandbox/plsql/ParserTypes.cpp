// Declared types of the PL/SQL compiler: records, index-by tables, nested
// tables and varrays, and the names that reach into them (fields, elements,
// collection methods, constructors).
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

namespace {

struct MethodInfo {
  const char* name;
  size_t minArgs, maxArgs;
  bool procedure;  // a statement of its own rather than a value
};

const MethodInfo kMethods[] = {
    {"COUNT", 0, 0, false},  {"FIRST", 0, 0, false}, {"LAST", 0, 0, false},  {"LIMIT", 0, 0, false},
    {"EXISTS", 1, 1, false}, {"NEXT", 1, 1, false},  {"PRIOR", 1, 1, false}, {"EXTEND", 0, 2, true},
    {"TRIM", 0, 1, true},    {"DELETE", 0, 2, true}};

const MethodInfo* FindMethod(const Token& t) {
  for (const MethodInfo& m : kMethods) {
    if (t.Is(m.name))
      return &m;
  }
  return nullptr;
}

}  // namespace

void Parser::ParseTypeDeclaration(Block& block, bool subtype) {
  const Token& name = ExpectIdentifier("identifier");
  if (!Accept("IS"))
    Expect("AS", "is");
  auto decl = std::make_unique<TypeDecl>();
  TypeSpec& declared = decl->type;
  if (subtype) {
    declared = ParseType(false);
    if (Accept("NOT"))
      Expect("NULL", "null");
  } else if (Accept("RECORD")) {
    declared.base = TypeSpec::Base::Record;
    Expect("(", "(");
    do {
      const Token& fieldName = ExpectIdentifier("identifier");
      RecordField field;
      field.name = fieldName.text;
      for (const RecordField& other : declared.fields) {
        if (other.name == field.name) {
          SemanticError(fieldName,
                        "PLS-00410: duplicate fields in RECORD,TABLE or argument list are "
                        "not permitted");
        }
      }
      field.type = ParseType(false);
      if (Accept("NOT")) {
        Expect("NULL", "null");
        field.notNull = true;
      }
      if (Accept(":=") || Accept("DEFAULT")) {
        decl->defaults.push_back(ParseExpression());
        field.init = decl->defaults.back().get();
      } else if (field.notNull) {
        SemanticError(fieldName,
                      "PLS-00218: a variable declared NOT NULL must have an initialization "
                      "assignment");
      }
      declared.fields.push_back(std::move(field));
    } while (Accept(","));
    Expect(")", ", )");
  } else if (Accept("REF")) {
    Expect("CURSOR", "cursor");
    declared.base = TypeSpec::Base::RefCursor;
    // The row type a strong cursor type promises; its queries are not checked against it.
    if (Accept("RETURN"))
      declared.fields = ParseType(false).fields;
  } else {
    declared.base = TypeSpec::Base::Collection;
    if (Accept("TABLE")) {
      declared.collection = TypeSpec::Collection::Nested;
    } else {
      if (Accept("VARYING"))
        Expect("ARRAY", "array");
      else
        Expect("VARRAY", "record table varray ref");
      declared.collection = TypeSpec::Collection::Varray;
      Expect("(", "(");
      const Token& limit = Take();
      declared.limit = IntegerToken(limit);
      if (declared.limit < 1)
        SemanticError(limit, "PLS-00325: non-integral numeric literal " + limit.text +
                                 " is inappropriate in this context");
      Expect(")", ")");
    }
    Expect("OF", "of");
    declared.element = std::make_shared<const TypeSpec>(ParseType(false));
    if (Accept("NOT"))
      Expect("NULL", "null");
    if (declared.collection == TypeSpec::Collection::Nested && Accept("INDEX")) {
      Expect("BY", "by");
      declared.collection = TypeSpec::Collection::IndexBy;
      const Token& key = Peek();
      const TypeSpec keyType = ParseType(false);
      if (keyType.base == TypeSpec::Base::Varchar2 && !keyType.binary) {
        declared.textKeys = true;
      } else if (!key.IsAny(
                     {"PLS_INTEGER", "BINARY_INTEGER", "SIMPLE_INTEGER", "NATURAL", "POSITIVE"})) {
        SemanticError(key, "PLS-00315: Implementation restriction: unsupported table index type");
      }
    }
  }
  Expect(";", ";");
  declared.name = name.text;
  Declare(name, name.text, Symbol::Kind::Type, decl.get());
  block.types.push_back(std::move(decl));
}

const TypeDecl* Parser::ResolveTypeName(const Token& first) {
  const Symbol* symbol = Lookup(first.text);
  if (symbol == nullptr && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier &&
      !Peek(2).Is("%")) {
    const size_t start = pos_;
    std::string name;
    symbol = ResolveStored(first, name);
    if (symbol == nullptr || symbol->kind != Symbol::Kind::Type)
      pos_ = start;
  }
  return symbol != nullptr && symbol->kind == Symbol::Kind::Type
             ? static_cast<const TypeDecl*>(symbol->decl)
             : nullptr;
}

ExprPtr Parser::ParseReference(const VarDecl& variable, const Token& at, MethodUse use) {
  auto e = NewExpr(Expr::Kind::Variable, at);
  e->variable = &variable;
  while (true) {
    const TypeSpec& type = *TypeOf(*e);
    if (type.base == TypeSpec::Base::Record && Peek().Is(".")) {
      Take();
      const Token& field = ExpectIdentifier("a field name");
      int index = -1;
      for (size_t i = 0; i < type.fields.size(); ++i) {
        if (type.fields[i].name == field.text)
          index = static_cast<int>(i);
      }
      if (index < 0)
        SemanticError(field, "PLS-00302: component '" + field.text + "' must be declared");
      auto f = NewExpr(Expr::Kind::Field, at);
      f->variable = &variable;
      f->fieldIndex = index;
      f->type = &type.fields[static_cast<size_t>(index)].type;
      if (e->kind != Expr::Kind::Variable)
        f->args.push_back(std::move(e));
      e = std::move(f);
      continue;
    }
    if (type.base != TypeSpec::Base::Collection)
      return e;
    if (Peek().Is("(")) {
      Take();
      auto element = NewExpr(Expr::Kind::Element, at);
      element->variable = &variable;
      element->type = type.element.get();
      element->args.push_back(std::move(e));
      element->args.push_back(ParseExpression());
      Expect(")", ")");
      e = std::move(element);
      continue;
    }
    if (!Peek().Is(".") || use == MethodUse::None)
      return e;
    Take();
    const Token& name = ExpectIdentifier("a collection method");
    const MethodInfo* method = FindMethod(name);
    if (method == nullptr)
      SemanticError(name, "PLS-00302: component '" + name.text + "' must be declared");
    if (method->procedure && use == MethodUse::Function) {
      SemanticError(name,
                    "PLS-00222: no function with name '" + name.text + "' exists in this scope");
    }
    if (!method->procedure && use == MethodUse::Procedure)
      SemanticError(name, "PLS-00221: '" + name.text + "' is not a procedure or is undefined");
    if (type.collection == TypeSpec::Collection::IndexBy && name.IsAny({"EXTEND", "TRIM"})) {
      SemanticError(name,
                    "PLS-00306: wrong number or types of arguments in call to '" + name.text + "'");
    }
    auto call = NewExpr(Expr::Kind::Method, name);
    call->variable = &variable;
    call->name = name.text;
    call->args.push_back(std::move(e));
    if (Peek().Is("(")) {
      for (auto& arg : ParseArguments())
        call->args.push_back(std::move(arg));
    }
    CheckArgumentCount(name, name.text, call->args.size() - 1, method->minArgs, method->maxArgs);
    return call;
  }
}

ExprPtr Parser::ParseConstructor(const TypeDecl& decl, const Token& at) {
  if (decl.type.base != TypeSpec::Base::Collection ||
      decl.type.collection == TypeSpec::Collection::IndexBy) {
    SemanticError(at,
                  "PLS-00222: no function with name '" + decl.type.name + "' exists in this scope");
  }
  auto e = NewExpr(Expr::Kind::Construct, at);
  e->type = &decl.type;
  if (Peek().Is("("))
    e->args = ParseArguments();
  return e;
}

void Parser::CheckTypes(const Token& at, const TypeSpec* to, const Expr& value) {
  const TypeSpec* from = TypeOf(value);
  const bool compositeTarget = to != nullptr && to->IsComposite();
  const bool compositeValue = from != nullptr && from->IsComposite();
  if (!compositeTarget && !compositeValue)
    return;
  // Cursor variables of any cursor type take one another's cursors, and a
  // client's placeholder (untyped here) takes one as its statement handle.
  if (compositeValue && from->base == TypeSpec::Base::RefCursor &&
      (to == nullptr || (compositeTarget && to->base == TypeSpec::Base::RefCursor)))
    return;
  // NULL makes a nested table or varray null again.
  if (compositeTarget && to->base == TypeSpec::Base::Collection &&
      to->collection != TypeSpec::Collection::IndexBy && value.kind == Expr::Kind::Literal &&
      value.value.IsNull())
    return;
  if (compositeTarget && compositeValue && to->base == from->base &&
      (to->name.empty() || from->name.empty() || to->name == from->name) &&
      to->fields.size() == from->fields.size())
    return;
  Token where = at;  // Oracle points at the value
  where.line = value.line;
  where.column = value.column;
  SemanticError(where, "PLS-00382: expression is of wrong type");
}

ExprPtr Parser::ParseTargetOrMethod() {
  const Token& at = Peek();
  if (at.kind != Token::Kind::Identifier)
    return ParseTarget();
  const Symbol* symbol = Lookup(at.text);
  if (symbol == nullptr || symbol->kind != Symbol::Kind::Variable)
    return ParseTarget();
  const auto* var = static_cast<const VarDecl*>(symbol->decl);
  Take();
  // EXTEND, TRIM and DELETE change the collection as an assignment does.
  if (var->constant) {
    SemanticError(at,
                  "PLS-00363: expression '" + at.text + "' cannot be used as an assignment target");
  }
  return ParseReference(*var, at, MethodUse::Procedure);
}

}  // namespace sandbox::plsql
