// Declared types of the PL/SQL compiler: records, index-by tables, nested
// tables and varrays, and the names that reach into them (fields, elements,
// collection methods, constructors).
#include <algorithm>

#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/SchemaTypes.h"
#include "sandbox/plsql/json/JsonTypes.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

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
    if (Accept("RANGE")) {
      if (declared.base != TypeSpec::Base::Number || declared.scale != 0)
        SemanticError(name, "PLS-00572: improper constraint form used");
      declared.ranged = true;
      declared.low = SignedIntegerLiteral();
      Expect("..", "..");
      declared.high = SignedIntegerLiteral();
    }
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
  if (symbol == nullptr && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier) {
    if (const TypeDecl* supplied = SuppliedType(first.text, Peek(1).text)) {
      Take();
      Take();
      return supplied;
    }
  }
  if (symbol == nullptr && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier &&
      !Peek(2).Is("%")) {
    const size_t start = pos_;
    std::string name;
    symbol = ResolveStored(first, name);
    if (symbol == nullptr || symbol->kind != Symbol::Kind::Type)
      pos_ = start;
  }
  if (symbol == nullptr)
    return SchemaTypeNamed(first);
  if (const TypeDecl* own = ConstructedType(symbol, first))
    return own;
  return symbol->kind == Symbol::Kind::Type ? static_cast<const TypeDecl*>(symbol->decl) : nullptr;
}

const TypeDecl* Parser::SchemaType(const std::string& owner, const std::string& name) {
  const std::string key = owner + "." + name;
  auto found = schemaTypes_.find(key);
  if (found == schemaTypes_.end())
    found = schemaTypes_.emplace(key, LoadSchemaType(session_, owner, name)).first;
  // SYS's JSON types, which every schema sees through their public synonyms.
  if (!found->second && (owner == owner_ || owner == "SYS"))
    return json::JsonTypeNamed(name);
  return found->second.get();
}

const TypeDecl* Parser::SchemaTypeNamed(const Token& first) {
  const bool dotted = Peek().Is(".") && (Peek(1).kind == Token::Kind::Identifier ||
                                         Peek(1).kind == Token::Kind::QuotedIdentifier);
  if (dotted) {
    if (const TypeDecl* owned = SchemaType(first.text, Peek(1).text)) {
      Take();
      Take();
      return owned;
    }
  }
  return SchemaType(owner_, first.text);
}

void Parser::KeepSchemaTypes(Block& block) {
  for (auto& [name, type] : schemaTypes_) {
    if (type)
      block.schemaTypes.push_back(type);
  }
}

ExprPtr Parser::ParseReference(const VarDecl& variable, const Token& at, MethodUse use) {
  auto e = NewExpr(Expr::Kind::Variable, at);
  e->variable = &variable;
  return ParseSuffixes(std::move(e), at, use);
}

ExprPtr Parser::FieldOf(ExprPtr record, size_t index, const Token& at) const {
  const TypeSpec& type = *TypeOf(*record);
  auto f = NewExpr(Expr::Kind::Field, at);
  f->variable = record->variable;
  f->fieldIndex = static_cast<int>(index);
  f->type = &type.fields[index].type;
  if (record->kind != Expr::Kind::Variable)
    f->args.push_back(std::move(record));
  return f;
}

ExprPtr Parser::ParseSuffixes(ExprPtr e, const Token& at, MethodUse use) {
  while (true) {
    const TypeSpec& type = *TypeOf(*e);
    if (type.base == TypeSpec::Base::Json) {
      if (!Peek().Is(".") || use == MethodUse::None)
        return e;
      Take();
      e = ParseJsonMethod(std::move(e), type, ExpectIdentifier("a method name"), use);
      if (e->type == nullptr)
        return e;  // a procedure, or a function of a scalar result
      continue;
    }
    if (type.base == TypeSpec::Base::Record && Peek().Is(".")) {
      Take();
      const Token& field = ExpectIdentifier("a field name");
      int index = -1;
      for (size_t i = 0; i < type.fields.size(); ++i) {
        if (type.fields[i].name == field.text)
          index = static_cast<int>(i);
      }
      if (index < 0 && type.IsObject() && use != MethodUse::None) {
        e = ParseMethodCall(std::move(e), type, field, use);
        if (e->kind != Expr::Kind::Call || e->type == nullptr)
          return e;  // a procedure, or a function of a scalar result
        continue;
      }
      if (index < 0)
        SemanticError(field, "PLS-00302: component '" + field.text + "' must be declared");
      e = FieldOf(std::move(e), static_cast<size_t>(index), at);
      continue;
    }
    if (type.base != TypeSpec::Base::Collection)
      return e;
    if (Peek().Is("(")) {
      Take();
      auto element = NewExpr(Expr::Kind::Element, at);
      element->variable = e->variable;
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
    call->variable = e->variable;
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
  const TypeSpec& type = decl.type;
  const bool indexBy =
      type.base == TypeSpec::Base::Collection && type.collection == TypeSpec::Collection::IndexBy;
  if (type.base == TypeSpec::Base::Record || indexBy) {
    if (!Peek().Is("("))
      SyntaxError(Peek(), "(");
    if (type.base != TypeSpec::Base::Record)
      return ParseIndexedAggregate(type, at);
    auto e = ParseRecordAggregate(type, at);
    // An object's constructor takes every attribute, and no OTHERS.
    if (type.IsObject() && (e->args.size() != type.fields.size() ||
                            std::find(e->args.begin(), e->args.end(), nullptr) != e->args.end()))
      SemanticError(at,
                    "PLS-00306: wrong number or types of arguments in call to '" + type.name + "'");
    return e;
  }
  if (type.base != TypeSpec::Base::Collection) {
    SemanticError(at,
                  "PLS-00222: no function with name '" + decl.type.name + "' exists in this scope");
  }
  auto e = NewExpr(Expr::Kind::Construct, at);
  e->type = &decl.type;
  if (Peek().Is("("))
    e->args = ParseArguments();
  return e;
}

// t_rec(1, 'x'), t_rec(a => 1, b => 'x'), t_rec(a => 1, OTHERS => NULL):
// positional values first, then named ones.
ExprPtr Parser::ParseRecordAggregate(const TypeSpec& type, const Token& at) {
  auto e = NewExpr(Expr::Kind::Construct, at);
  e->type = &type;
  e->args.resize(type.fields.size());
  Expect("(", "(");
  bool named = false;
  ExprPtr others;
  size_t position = 0;
  // An object's constructor is a call: Oracle points at its name.
  auto wrongArguments = [&](const Token& where) {
    SemanticError(type.IsObject() ? at : where,
                  "PLS-00306: wrong number or types of arguments in call to '" + type.name + "'");
  };
  while (!Peek().Is(")")) {
    const Token& choice = Peek();
    size_t field = position;
    if (others)
      SyntaxError(choice, ")");
    if (choice.Is("OTHERS") && Peek(1).Is("=>") && !type.IsObject()) {
      Take();
      Take();
      others = ParseExpression();
    } else if (choice.kind == Token::Kind::Identifier && Peek(1).Is("=>")) {
      Take();
      Take();
      named = true;
      field = type.fields.size();
      for (size_t i = 0; i < type.fields.size(); ++i) {
        if (type.fields[i].name == choice.text)
          field = i;
      }
      if (field == type.fields.size() && type.IsObject())
        wrongArguments(choice);
      if (field == type.fields.size())
        SemanticError(choice, "PLS-00302: component '" + choice.text + "' must be declared");
      if (e->args[field])
        wrongArguments(choice);
    } else {
      // A positional value may not follow a named one.
      if (named)
        SyntaxError(choice, "an identifier =>");
      if (position >= type.fields.size())
        wrongArguments(choice);
      ++position;
    }
    if (!others) {
      e->args[field] = ParseExpression();
      CheckTypes(choice, &type.fields[field].type, *e->args[field]);
    }
    if (!Accept(","))
      break;
  }
  Expect(")", ", )");
  if (others)
    e->args.push_back(std::move(others));
  return e;
}

// t_assoc(1 => 'a', 2 => 'b'), t_assoc('k' => 1): index => value pairs.
ExprPtr Parser::ParseIndexedAggregate(const TypeSpec& type, const Token& at) {
  auto e = NewExpr(Expr::Kind::Construct, at);
  e->type = &type;
  Expect("(", "(");
  while (!Peek().Is(")")) {
    e->args.push_back(ParseExpression());
    // Without an index, t(x) would be a constructor, which index-by tables lack.
    if (!Peek().Is("=>")) {
      SemanticError(at,
                    "PLS-00222: no function with name '" + type.name + "' exists in this scope");
    }
    Take();
    const Token& value = Peek();
    e->args.push_back(ParseExpression());
    CheckTypes(value, type.element.get(), *e->args.back());
    if (!Accept(","))
      break;
  }
  Expect(")", ", )");
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
  // NULL makes a nested table, varray or object null again.
  if (compositeTarget &&
      ((to->base == TypeSpec::Base::Collection &&
        to->collection != TypeSpec::Collection::IndexBy) ||
       to->IsObject()) &&
      value.kind == Expr::Kind::Literal && value.value.IsNull())
    return;
  if (compositeTarget && to->base == TypeSpec::Base::Json &&
      ((value.kind == Expr::Kind::Literal && value.value.IsNull()) ||
       (compositeValue && json::JsonAssignable(*to, *from))))
    return;
  if (compositeTarget && compositeValue && to->base == from->base && to->sqlType == from->sqlType &&
      (to->name.empty() || from->name.empty() || to->name == from->name) &&
      to->fields.size() == from->fields.size())
    return;
  // A subtype's instance is an instance of each of its supertypes.
  if (compositeTarget && compositeValue && to->IsObject() && from->IsObject() &&
      IsSubtypeOf(from->sqlType, to->sqlType))
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
  // An attribute of a member procedure's SELF: lines.EXTEND.
  if (symbol == nullptr && self_ != nullptr && !self_->constant) {
    const size_t start = pos_;
    Take();
    if (ExprPtr attribute = SelfAttribute(at, MethodUse::Procedure))
      return attribute;
    pos_ = start;
  }
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
