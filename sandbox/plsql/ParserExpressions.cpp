// Expressions of the PL/SQL compiler, by Oracle's operator precedence:
// OR < AND < NOT < comparisons < + - || < * / < unary - < **.
#include <algorithm>

#include "sandbox/plsql/Builtins.h"
#include "sandbox/plsql/DictionaryQuery.h"
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/Preprocessor.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

#include "sandbox/server/EmptyBindSet.h"

namespace sandbox::plsql {

ExprPtr Parser::ParseExpression() {
  EnterNesting();
  ExprPtr e = ParseOr();
  --nestingDepth_;
  return e;
}

ExprPtr Parser::ParseOr() {
  ExprPtr left = ParseAnd();
  while (Peek().Is("OR")) {
    auto e = NewExpr(Expr::Kind::Or, Take());
    e->args.push_back(std::move(left));
    e->args.push_back(ParseAnd());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::ParseAnd() {
  ExprPtr left = ParseNot();
  while (Peek().Is("AND")) {
    auto e = NewExpr(Expr::Kind::And, Take());
    e->args.push_back(std::move(left));
    e->args.push_back(ParseNot());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::ParseNot() {
  if (Peek().Is("NOT")) {
    auto e = NewExpr(Expr::Kind::Not, Take());
    e->args.push_back(ParseNot());
    return e;
  }
  return ParseComparison();
}

ExprPtr Parser::ParseComparison() {
  ExprPtr left = ParseAdditive();
  const Token& op = Peek();
  static const char* const kComparisons[] = {"=", "<>", "!=", "^=", "~=", "<", ">", "<=", ">="};
  for (const char* c : kComparisons) {
    if (op.Is(c)) {
      Take();
      const std::string name =
          (op.text == "!=" || op.text == "^=" || op.text == "~=") ? "<>" : op.text;
      ExprPtr right = ParseAdditive();
      if (IsTemporalOperand(*left) || IsTemporalOperand(*right))
        return SqlComparisonOf(op, name, std::move(left), std::move(right));
      const TypeSpec* type = TypeOf(*left);
      if (type != nullptr && type->IsObject())
        return CompareObjects(std::move(left), std::move(right), op, name);
      auto e = NewExpr(Expr::Kind::Compare, op);
      e->name = name;
      e->args.push_back(std::move(left));
      e->args.push_back(std::move(right));
      return e;
    }
  }
  if (op.Is("IS")) {
    Take();
    auto e = NewExpr(Expr::Kind::IsNull, op);
    e->negated = Accept("NOT");
    Expect("NULL", "null");
    e->args.push_back(std::move(left));
    return e;
  }
  const bool negated = op.Is("NOT") && Peek(1).IsAny({"LIKE", "BETWEEN", "IN"});
  if (negated)
    Take();
  const Token& keyword = Peek();
  if (keyword.Is("LIKE")) {
    Take();
    auto e = NewExpr(Expr::Kind::Like, keyword);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(ParseAdditive());
    if (Accept("ESCAPE"))
      e->args.push_back(ParseAdditive());
    return e;
  }
  if (keyword.Is("BETWEEN")) {
    Take();
    auto e = NewExpr(Expr::Kind::Between, keyword);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(ParseAdditive());
    Expect("AND", "and");
    e->args.push_back(ParseAdditive());
    return e;
  }
  if (keyword.Is("IN")) {
    Take();
    auto e = NewExpr(Expr::Kind::InList, keyword);
    e->negated = negated;
    e->args.push_back(std::move(left));
    for (ExprPtr& item : ParseArguments())
      e->args.push_back(std::move(item));
    if (e->args.size() < 2)
      SyntaxError(Peek(), "an expression");
    return e;
  }
  if (negated)
    SyntaxError(keyword, "like between in");
  return left;
}

ExprPtr Parser::ParseAdditive() {
  ExprPtr left = ParseMultiplicative();
  while (Peek().Is("+") || Peek().Is("-") || Peek().Is("||")) {
    const Token& op = Take();
    ExprPtr right = ParseMultiplicative();
    // Timestamp and interval arithmetic is the server's.
    if (!op.Is("||") && (IsTemporalOperand(*left) || IsTemporalOperand(*right))) {
      left = SqlArithmeticOf(op, op.text, std::move(left), std::move(right));
      continue;
    }
    auto e = NewExpr(Expr::Kind::Arithmetic, op);
    e->name = op.text;
    e->args.push_back(std::move(left));
    e->args.push_back(std::move(right));
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::ParseMultiplicative() {
  ExprPtr left = ParseUnary();
  while (Peek().Is("*") || Peek().Is("/")) {
    const Token& op = Take();
    auto e = NewExpr(Expr::Kind::Arithmetic, op);
    e->name = op.text;
    e->args.push_back(std::move(left));
    e->args.push_back(ParseUnary());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::ParseUnary() {
  if (Peek().Is("-")) {
    auto e = NewExpr(Expr::Kind::Negate, Take());
    e->args.push_back(ParseUnary());
    return e;
  }
  if (Accept("+"))
    return ParseUnary();
  return ParsePower();
}

ExprPtr Parser::ParsePower() {
  ExprPtr base = ParsePrimary();
  if (Peek().Is("**")) {
    auto e = NewExpr(Expr::Kind::Arithmetic, Take());
    e->name = "**";
    e->args.push_back(std::move(base));
    e->args.push_back(ParseUnary());
    return e;
  }
  return base;
}

ExprPtr Parser::ParsePrimary() {
  const Token& t = Peek();
  switch (t.kind) {
    case Token::Kind::Number: {
      Take();
      auto e = NewExpr(Expr::Kind::Literal, t);
      long double n = 0;
      ParseNumber(t.text, n);
      e->value = PlValue::Number(n);
      return e;
    }
    case Token::Kind::String: {
      Take();
      auto e = NewExpr(Expr::Kind::Literal, t);
      e->value = PlValue::Text(t.text, true);  // literals compare as CHAR
      return e;
    }
    case Token::Kind::Bind: {
      Take();
      bindNames_.insert(t.text);
      auto e = NewExpr(Expr::Kind::Bind, t);
      e->name = t.text;
      return e;
    }
    case Token::Kind::Symbol:
      if (t.Is("(") && Peek(1).Is("SELF") && Peek(2).Is("AS"))
        return ParseGeneralizedInvocation();
      if (t.Is("(")) {
        Take();
        ExprPtr inner = ParseExpression();
        Expect(")", ") , * & - + / at mod remainder rem || and or");
        return inner;
      }
      break;
    case Token::Kind::Identifier:
      if (t.Is("NULL")) {
        Take();
        return NewExpr(Expr::Kind::Literal, t);
      }
      if (t.Is("CASE")) {
        Take();
        return ParseCaseExpression(t);
      }
      if (t.IsAny({"DATE", "TIMESTAMP", "INTERVAL"}) && Peek(1).kind == Token::Kind::String)
        return ParseDatetimeLiteral();
      if (t.Is("TRUE") || t.Is("FALSE")) {
        Take();
        auto e = NewExpr(Expr::Kind::Literal, t);
        e->value = PlValue::Boolean(t.Is("TRUE"));
        return e;
      }
      return ParseName();
    case Token::Kind::QuotedIdentifier:
      return ParseName();
    case Token::Kind::Directive:  // the compiler never reads directives
    case Token::Kind::Inquiry:
    case Token::Kind::End:
      break;
  }
  SyntaxError(t,
              "( - + case mod new not null <an identifier> <a double-quoted delimited-"
              "identifier> <a bind variable> <a number> <a single-quoted SQL string>");
}

ExprPtr Parser::ParseName() {
  static const char* const kReserved[] = {
      "BEGIN", "END", "THEN", "ELSE", "ELSIF",   "LOOP",      "IF",     "AND",  "OR",
      "NOT",   "IS",  "IN",   "WHEN", "DECLARE", "EXCEPTION", "SELECT", "FROM", "INTO"};
  const Token& name = Peek();
  if (name.kind == Token::Kind::Identifier) {
    for (const char* word : kReserved) {
      if (name.Is(word)) {
        SyntaxError(name,
                    "( - + case mod new not null <an identifier> <a bind variable> <a "
                    "number> <a single-quoted SQL string>");
      }
    }
  }
  Take();
  if (name.text == "SQL" && name.kind == Token::Kind::Identifier && Peek().Is("%")) {
    Take();
    const char* const expected = "found notfound rowcount isopen bulk_rowcount bulk_exceptions";
    const Token& attribute = ExpectIdentifier(expected);
    if (attribute.Is("BULK_ROWCOUNT"))
      return ParseReference(BulkRowCountDecl(), name, MethodUse::Function);
    if (attribute.Is("BULK_EXCEPTIONS"))
      return ParseReference(BulkExceptionsDecl(), name, MethodUse::Function);
    if (!attribute.IsAny({"FOUND", "NOTFOUND", "ROWCOUNT", "ISOPEN"}))
      SyntaxError(attribute, expected);
    auto e = NewExpr(Expr::Kind::CursorAttr, name);
    e->name = attribute.text;
    return e;
  }
  const Symbol* symbol = Lookup(name.text);
  if (symbol == nullptr) {
    if (ExprPtr attribute = SelfAttribute(name, MethodUse::Function))
      return attribute;
  }
  std::string qualified = name.text;
  // A dotted name that is no local item may be a package member or a
  // schema's unit; a bare one is looked for among the builtins first.
  if (symbol == nullptr && Peek().Is(".")) {
    if (ExprPtr sequence = ParseSequenceValue(name))
      return sequence;
    symbol = ResolveStored(name, qualified);
  }
  if (symbol == nullptr && !Peek().Is(".") &&
      (name.kind != Token::Kind::Identifier || FindBuiltin(name.text) == nullptr))
    symbol = ResolveStored(name, qualified);
  if (const TypeDecl* own = ConstructedType(symbol, name))
    return ParseSuffixes(ParseObjectConstructor(*own, name), name, MethodUse::Function);
  if (symbol != nullptr) {
    switch (symbol->kind) {
      case Symbol::Kind::Variable: {
        const auto* var = static_cast<const VarDecl*>(symbol->decl);
        if (var->type.base == TypeSpec::Base::RefCursor && Peek().Is("%"))
          return ParseCursorVariableAttribute(*var, name);
        return ParseReference(*var, name, MethodUse::Function);
      }
      case Symbol::Kind::Type:
        return ParseConstructor(*static_cast<const TypeDecl*>(symbol->decl), name);
      case Symbol::Kind::Cursor: {
        Expect("%", "%");
        const Token& attribute = ExpectIdentifier("found notfound rowcount isopen");
        if (!attribute.IsAny({"FOUND", "NOTFOUND", "ROWCOUNT", "ISOPEN"})) {
          SyntaxError(attribute, "found notfound rowcount isopen");
        }
        auto e = NewExpr(Expr::Kind::CursorAttr, name);
        e->cursor = static_cast<const CursorDecl*>(symbol->decl);
        e->name = attribute.text;
        return e;
      }
      case Symbol::Kind::Routine: {
        if (ExprPtr call = SelfMethodCall(*symbol, name, MethodUse::Function))
          return call->type != nullptr ? ParseSuffixes(std::move(call), name, MethodUse::Function)
                                       : std::move(call);
        auto e = NewExpr(Expr::Kind::Call, name);
        e->args = ParseCall(name, qualified, *symbol, true, e->routine);
        if (!e->routine->returnType.IsComposite())
          return e;
        e->type = &e->routine->returnType;
        return ParseSuffixes(std::move(e), name, MethodUse::Function);
      }
      case Symbol::Kind::Exception:
        SemanticError(name, "PLS-00321: expression '" + name.text +
                                "' is inappropriate as the left hand side of an assignment "
                                "statement");
    }
  }
  if (ExprPtr sequence = ParseSequenceValue(name))
    return sequence;
  if (const TypeDecl* type = SchemaTypeNamed(name)) {
    if (type->type.base == TypeSpec::Base::Json)
      return ParseSuffixes(ParseJsonType(*type, name), name, MethodUse::Function);
    if (type->type.IsObject() && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier) {
      Take();
      ExprPtr call = ParseMethodCall(nullptr, type->type, Take(), MethodUse::Function);
      return call->type != nullptr ? ParseSuffixes(std::move(call), name, MethodUse::Function)
                                   : std::move(call);
    }
    return ParseSuffixes(ParseObjectConstructor(*type, name), name, MethodUse::Function);
  }
  if (name.Is("DBMS_DB_VERSION") && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier) {
    Take();
    const Token& member = Take();
    auto e = NewExpr(Expr::Kind::Literal, name);
    if (!DbmsDbVersion(member.text, e->value))
      SemanticError(member, "PLS-00302: component '" + member.text + "' must be declared");
    return e;
  }
  if (name.kind == Token::Kind::Identifier && IsSuppliedPackage(name.text) && Peek().Is(".")) {
    auto e = NewExpr(Expr::Kind::Builtin, name);
    e->args = ParseSuppliedCall(name, true, e->name);
    static const TypeSpec kCursorVariable = [] {
      TypeSpec type;
      type.base = TypeSpec::Base::RefCursor;
      return type;
    }();
    if (FindSupplied(e->name)->returnsCursor)
      e->type = &kCursorVariable;
    return e;
  }
  if (name.Is("TREAT") && Peek().Is("(")) {
    if (ExprPtr treat = ParseJsonTreat(name))
      return treat;
  }
  const std::string builtinName = name.text;
  const BuiltinInfo* builtin =
      name.kind == Token::Kind::Identifier ? FindBuiltin(builtinName) : nullptr;
  if (builtin == nullptr) {
    if (ExprPtr sql = ParseSqlFunction(name))
      return sql;
    std::string dotted = name.text;
    if (Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier)
      dotted += "." + Peek(1).text;
    // A plain name is the code's own mistake; a call or a dotted name may be
    // one of Oracle's functions or packages that this compiler lacks.
    const bool plain =
        dotted == name.text && !Peek().Is("(") && !Peek().Is("%") &&
        name.kind == Token::Kind::Identifier &&
        !name.IsAny({"CURRENT_TIMESTAMP", "LOCALTIMESTAMP", "DBTIMEZONE", "SESSIONTIMEZONE",
                     "ORA_INVOKING_USER", "ORA_INVOKING_USERID", "SYSDATE", "SYSTIMESTAMP",
                     "CURRENT_DATE", "UID", "USER", "SQLCODE", "SQLERRM"});
    SemanticError(name, "PLS-00201: identifier '" + dotted + "' must be declared", plain);
  }
  auto e = NewExpr(Expr::Kind::Builtin, name);
  e->name = builtinName;
  if (Peek().Is("(")) {
    e->args = ParseArguments();
  } else if (!builtin->callableBare) {
    SemanticError(name,
                  "PLS-00306: wrong number or types of arguments in call to '" + name.text + "'");
  }
  const size_t maxArgs =
      builtin->maxArgs < 0 ? e->args.size() : static_cast<size_t>(builtin->maxArgs);
  CheckArgumentCount(name, name.text, e->args.size(), static_cast<size_t>(builtin->minArgs),
                     maxArgs);
  // A timestamp or interval is text to the builtins: SQL knows its type.
  const bool temporal = std::any_of(e->args.begin(), e->args.end(),
                                    [](const ExprPtr& a) { return IsTemporalOperand(*a); });
  if (temporal && name.IsAny({"TO_CHAR", "TRUNC", "ROUND", "NVL", "GREATEST", "LEAST"}))
    return SqlFunctionOf(name, builtinName, std::move(e->args));
  return e;
}

ExprPtr Parser::ParseSequenceValue(const Token& name) {
  auto isName = [](const Token& t) {
    return t.kind == Token::Kind::Identifier || t.kind == Token::Kind::QuotedIdentifier;
  };
  auto isPseudoColumn = [](const Token& t) { return t.IsAny({"NEXTVAL", "CURRVAL"}); };
  std::string owner = session_.CurrentSchema();
  std::string sequence = name.text;
  size_t pseudo = 1;
  if (!Peek().Is(".") || !isName(Peek(1)))
    return nullptr;
  if (!isPseudoColumn(Peek(1))) {
    if (!Peek(2).Is(".") || !isPseudoColumn(Peek(3)))
      return nullptr;
    owner = name.text;
    sequence = Peek(1).text;
    pseudo = 3;
  }
  EmptyBindSet noBinds;
  OraError error;
  std::vector<Value> row;
  const auto found =
      session_.OpenQuery("SELECT 1 FROM ALL_SEQUENCES WHERE SEQUENCE_OWNER = " + SqlLiteral(owner) +
                             " AND SEQUENCE_NAME = " + SqlLiteral(sequence),
                         noBinds, error);
  if (!found || !found->Next(row, error)) {
    SemanticError(name, "PLS-00201: identifier '" + (pseudo == 3 ? owner + "." : std::string()) +
                            sequence + "." + Peek(pseudo).text + "' must be declared");
  }
  auto e = NewExpr(Expr::Kind::SequenceValue, name);
  e->name = "\"" + owner + "\".\"" + sequence + "\"." + Peek(pseudo).text;
  for (size_t i = 0; i <= pseudo; ++i)
    Take();
  return e;
}

}  // namespace sandbox::plsql
