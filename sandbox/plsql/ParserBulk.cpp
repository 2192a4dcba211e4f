// Bulk binds: BULK COLLECT INTO collections, FORALL over a range, the
// indices or the values of a collection, and the SQL%BULK_ attributes.
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

namespace {

const char* const kTextKeysRestriction =
    "PLS-00657: Implementation restriction: bulk SQL with associative arrays with VARCHAR2 key "
    "is not supported.";

VarDecl MakeBulkAttribute(const char* name, TypeSpec element) {
  VarDecl decl;
  decl.name = name;
  decl.constant = true;
  decl.type.base = TypeSpec::Base::Collection;
  decl.type.collection = TypeSpec::Collection::IndexBy;
  decl.type.element = std::make_shared<const TypeSpec>(std::move(element));
  return decl;
}

TypeSpec NumberType() {
  TypeSpec type;
  type.base = TypeSpec::Base::Number;
  return type;
}

}  // namespace

const VarDecl& BulkRowCountDecl() {
  static const VarDecl decl = MakeBulkAttribute("SQL%BULK_ROWCOUNT", NumberType());
  return decl;
}

const VarDecl& BulkExceptionsDecl() {
  static const VarDecl decl = [] {
    TypeSpec record;
    record.base = TypeSpec::Base::Record;
    record.fields.push_back(RecordField{"ERROR_INDEX", NumberType()});
    record.fields.push_back(RecordField{"ERROR_CODE", NumberType()});
    return MakeBulkAttribute("SQL%BULK_EXCEPTIONS", std::move(record));
  }();
  return decl;
}

bool Parser::IntoFits(const std::vector<ExprPtr>& targets, bool bulk, size_t columns) const {
  if (!bulk)
    return IsSingleRecordTarget(targets) || targets.size() == columns;
  if (targets.size() == 1) {
    const TypeSpec& element = *TypeOf(*targets[0])->element;
    if (element.base == TypeSpec::Base::Record && !element.IsObject())
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
      SemanticError(where, kTextKeysRestriction);
    }
  }
}

// After FORALL: index IN low .. high | INDICES OF collection [BETWEEN low
// AND high] | VALUES OF collection, [SAVE EXCEPTIONS], then one INSERT,
// UPDATE, DELETE, MERGE or EXECUTE IMMEDIATE.
std::unique_ptr<Stmt> Parser::ParseForAll() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::ForAll;
  const Token& indexName = ExpectIdentifier("an identifier");
  Expect("IN", "in");
  if (Peek().IsAny({"INDICES", "VALUES"}) && Peek(1).Is("OF")) {
    stmt->name = Take().text;
    Take();
    const Token& at = Peek();
    // Not ParseExpression: BETWEEN belongs to the FORALL.
    stmt->exprs.push_back(ParseAdditive());
    const TypeSpec* type = TypeOf(*stmt->exprs[0]);
    if (type == nullptr || type->base != TypeSpec::Base::Collection)
      SemanticError(at, "PLS-00382: expression is of wrong type");
    if (type->textKeys) {
      SemanticError(at, kTextKeysRestriction);
    }
    if (stmt->name == "INDICES" && Accept("BETWEEN")) {
      stmt->exprs.push_back(ParseAdditive());
      Expect("AND", "and");
      stmt->exprs.push_back(ParseAdditive());
    }
  } else {
    stmt->exprs.push_back(ParseExpression());
    Expect("..", "..");
    stmt->exprs.push_back(ParseExpression());
  }
  if (Accept("SAVE")) {
    Expect("EXCEPTIONS", "exceptions");
    stmt->saveExceptions = true;
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
