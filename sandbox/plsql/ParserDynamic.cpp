// EXECUTE IMMEDIATE text [[BULK COLLECT] INTO targets] [USING [IN | OUT | IN
// OUT] args] [RETURNING | RETURN [BULK COLLECT] INTO targets]. The text is only known when it runs,
// so nothing in it is checked here.
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

std::unique_ptr<Stmt> Parser::ParseExecuteImmediate() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::ExecuteImmediate;
  stmt->exprs.push_back(ParseExpression());
  const Token& into = Peek();
  if (Accept("BULK")) {
    Expect("COLLECT", "collect");
    Expect("INTO", "into");
    stmt->bulk = true;
  }
  if (stmt->bulk || Accept("INTO")) {
    do {
      stmt->targets.push_back(ParseTarget());
    } while (Accept(","));
  }
  if (stmt->bulk)
    CheckBulkTargets(stmt->targets, into);
  if (Accept("USING")) {
    do {
      VarDecl::Mode mode = VarDecl::Mode::In;
      if (Accept("IN"))
        mode = Accept("OUT") ? VarDecl::Mode::InOut : VarDecl::Mode::In;
      else if (Accept("OUT"))
        mode = VarDecl::Mode::Out;
      const Token& at = Peek();
      if (mode != VarDecl::Mode::In) {
        stmt->exprs.push_back(ParseTarget());
      } else {
        // A bare NULL has no SQL type to bind it as.
        if (at.Is("NULL") && Peek(1).IsAny({",", ";", "RETURNING", "RETURN"}))
          SemanticError(at, "PLS-00457: expressions have to be of SQL types");
        stmt->exprs.push_back(ParseExpression());
      }
      stmt->bindModes.push_back(mode);
    } while (Accept(","));
  }
  if (Accept("RETURNING") || Accept("RETURN")) {
    const Token& at = Peek();
    const bool bulk = Accept("BULK");
    if (bulk)
      Expect("COLLECT", "collect");
    Expect("INTO", "into");
    if (!stmt->targets.empty())
      SyntaxError(Peek(), ";");
    if (bulk) {
      stmt->name = kReturningBulk;
      do {
        stmt->targets.push_back(ParseTarget());
      } while (Accept(","));
      CheckBulkTargets(stmt->targets, at);
      return stmt;
    }
    do {
      stmt->exprs.push_back(ParseTarget());
      stmt->bindModes.push_back(VarDecl::Mode::Out);
    } while (Accept(","));
  }
  return stmt;
}

}  // namespace sandbox::plsql
