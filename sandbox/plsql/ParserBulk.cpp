// Bulk binds: BULK COLLECT INTO collections and FORALL over a range or the
// indices of a collection.
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

bool Parser::IntoFits(const std::vector<ExprPtr>& targets, bool bulk, size_t columns) const {
  if (!bulk)
    return IsSingleRecordTarget(targets) || targets.size() == columns;
  if (targets.size() == 1) {
    const TypeSpec& element = *TypeOf(*targets[0])->element;
    if (element.base == TypeSpec::Base::Record)
      return element.fields.size() == columns;
  }
  return targets.size() == columns;
}

void Parser::CheckBulkTargets(const std::vector<ExprPtr>& targets, const Token& at) const {
  for (const auto& target : targets) {
    const TypeSpec* type = TypeOf(*target);
    Token where = at;  // Oracle points at the target
    where.line = target->line;
    where.column = target->column;
    if (type == nullptr || type->base != TypeSpec::Base::Collection) {
      SemanticError(where,
                    "PLS-00497: cannot mix between single row and multi-row (BULK) in INTO "
                    "list");
    }
    if (type->textKeys) {
      SemanticError(where,
                    "PLS-00657: Implementation restriction: bulk SQL with associative arrays "
                    "with VARCHAR2 key is not supported.");
    }
  }
}

// After FORALL: index IN low .. high | INDICES OF collection, then one
// INSERT, UPDATE, DELETE, MERGE or EXECUTE IMMEDIATE.
std::unique_ptr<Stmt> Parser::ParseForAll() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::ForAll;
  const Token& indexName = ExpectIdentifier("an identifier");
  Expect("IN", "in");
  if (Accept("INDICES")) {
    Expect("OF", "of");
    const Token& at = Peek();
    stmt->name = "INDICES";
    stmt->exprs.push_back(ParseExpression());
    const TypeSpec* type = TypeOf(*stmt->exprs[0]);
    if (type == nullptr || type->base != TypeSpec::Base::Collection)
      SemanticError(at, "PLS-00382: expression is of wrong type");
  } else {
    stmt->exprs.push_back(ParseExpression());
    Expect("..", "..");
    stmt->exprs.push_back(ParseExpression());
  }
  auto loopVariable = std::make_unique<VarDecl>();
  loopVariable->name = indexName.text;
  loopVariable->line = indexName.line;
  loopVariable->type.base = TypeSpec::Base::Number;
  loopVariable->type.precision = 10;
  loopVariable->constant = true;
  PushScope();
  Declare(indexName, indexName.text, Symbol::Kind::Variable, loopVariable.get());
  const Token& start = Peek();
  std::unique_ptr<Stmt> body;
  if (start.IsAny({"INSERT", "UPDATE", "DELETE", "MERGE"})) {
    body = std::make_unique<Stmt>();
    body->kind = Stmt::Kind::Sql;
    body->sql = ParseSql(false, nullptr);
  } else if (start.Is("EXECUTE") && Peek(1).Is("IMMEDIATE")) {
    Take();
    Take();
    body = ParseExecuteImmediate();
  } else {
    SyntaxError(start,
                ". ( * @ % & - + / at mod remainder rem select update with delete "
                "insert merge execute");
  }
  PopScope();
  body->line = start.line;
  stmt->bodies.emplace_back();
  stmt->bodies[0].push_back(std::move(body));
  stmt->loopVariable = std::move(loopVariable);
  return stmt;
}

}  // namespace sandbox::plsql
