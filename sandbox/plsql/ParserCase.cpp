// CASE expressions and statements, simple (CASE selector WHEN value) and
// searched (CASE WHEN condition).
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

ExprPtr Parser::ParseCaseExpression(const Token& at) {
  auto e = NewExpr(Expr::Kind::Case, at);
  e->name = Peek().Is("WHEN") ? "SEARCHED" : "SIMPLE";
  if (e->name == "SIMPLE")
    e->args.push_back(ParseExpression());
  if (!Peek().Is("WHEN"))
    SyntaxError(Peek(), "when");
  while (Accept("WHEN")) {
    e->args.push_back(ParseExpression());
    Expect("THEN", "then");
    e->args.push_back(ParseExpression());
  }
  if (Accept("ELSE"))
    e->args.push_back(ParseExpression());
  Expect("END", "end else when");
  return e;
}

std::unique_ptr<Stmt> Parser::ParseCaseStatement() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::Case;
  stmt->name = Peek().Is("WHEN") ? "SEARCHED" : "SIMPLE";
  if (stmt->name == "SIMPLE")
    stmt->exprs.push_back(ParseExpression());
  if (!Peek().Is("WHEN"))
    SyntaxError(Peek(), "when");
  auto body = [&] {
    stmt->bodies.push_back(ParseStatements({"WHEN", "ELSE", "END"}));
    if (stmt->bodies.back().empty())
      SyntaxError(Peek(), "begin case declare exit for goto if loop null");
  };
  while (Accept("WHEN")) {
    stmt->exprs.push_back(ParseExpression());
    Expect("THEN", "then");
    body();
  }
  if (Accept("ELSE")) {
    stmt->hasElse = true;
    body();
  }
  Expect("END", "end else when");
  Expect("CASE", "case");
  if (Peek().kind == Token::Kind::Identifier)
    Take();  // END CASE label
  return stmt;
}

}  // namespace sandbox::plsql
