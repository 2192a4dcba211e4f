// Cursor variables (SYS_REFCURSOR and REF CURSOR types): OPEN ... FOR a
// query or a text, FETCH, CLOSE and the cursor attributes. The query a
// variable runs is known only when it opens, so a FETCH's INTO list is
// checked against the row at run time.
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

std::unique_ptr<Stmt> Parser::ParseCursorVariableCommand(Stmt::Kind kind, const Token& name,
                                                         const VarDecl& variable) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = kind;
  stmt->cursorVariable = ParseReference(variable, name, MethodUse::None);
  if (kind == Stmt::Kind::Fetch) {
    ParseFetchTargets(*stmt, name);
    return stmt;
  }
  if (kind != Stmt::Kind::Open)
    return stmt;
  Expect("FOR", "for");
  if (Peek().IsAny({"SELECT", "WITH"}) || (Peek().Is("(") && Peek(1).IsAny({"SELECT", "WITH"}))) {
    const Token& queryStart = Peek();
    auto cursor = std::make_unique<CursorDecl>();
    cursor->name = name.text;
    cursor->line = name.line;
    cursor->query = std::move(*ParseSql(false, nullptr));
    cursor->columns = DescribeQuery(cursor->query, queryStart);
    stmt->inlineCursor = std::move(cursor);
    return stmt;
  }
  stmt->exprs.push_back(ParseExpression());
  if (Accept("USING")) {
    do {
      // A query's placeholders are read, never written.
      if (Accept("IN") && Peek().Is("OUT"))
        SemanticError(Peek(), "PLS-00254: OUT and IN/OUT modes cannot be used in this context");
      if (Peek().Is("OUT"))
        SemanticError(Peek(), "PLS-00254: OUT and IN/OUT modes cannot be used in this context");
      stmt->exprs.push_back(ParseExpression());
      stmt->bindModes.push_back(VarDecl::Mode::In);
    } while (Accept(","));
  }
  return stmt;
}

ExprPtr Parser::ParseCursorVariableAttribute(const VarDecl& variable, const Token& name) {
  auto e = NewExpr(Expr::Kind::CursorAttr, name);
  auto reference = NewExpr(Expr::Kind::Variable, name);
  reference->variable = &variable;
  e->args.push_back(std::move(reference));
  Expect("%", "%");
  const Token& attribute = ExpectIdentifier("found notfound rowcount isopen");
  if (!attribute.IsAny({"FOUND", "NOTFOUND", "ROWCOUNT", "ISOPEN"}))
    SyntaxError(attribute, "found notfound rowcount isopen");
  e->name = attribute.text;
  return e;
}

}  // namespace sandbox::plsql
