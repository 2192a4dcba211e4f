// The DBMS_LOB procedure calls a block may make; the LOB argument is written
// back, so it must be a variable.
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

std::unique_ptr<Stmt> Parser::ParseDbmsLobCall(std::unique_ptr<Stmt> stmt) {
  Take();  // DBMS_LOB
  Take();  // .
  const Token& member = ExpectIdentifier("a procedure name");
  std::size_t arguments = 0;
  if (member.Is("APPEND")) {
    arguments = 2;
  } else if (member.Is("WRITEAPPEND")) {
    arguments = 3;
  } else {
    SemanticError(member, "PLS-00302: component '" + member.text + "' must be declared");
  }
  stmt->kind = Stmt::Kind::CallPackage;
  stmt->name = "DBMS_LOB." + member.text;
  Expect("(", "(");
  stmt->exprs.push_back(ParseTarget());
  while (Accept(",")) {
    stmt->exprs.push_back(ParseExpression());
  }
  Expect(")", ")");
  CheckArgumentCount(member, member.text, stmt->exprs.size(), arguments, arguments);
  return stmt;
}

}  // namespace sandbox::plsql
