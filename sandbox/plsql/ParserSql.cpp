// Embedded SQL of the PL/SQL compiler: the statement's text is copied with
// every PL/SQL variable it names replaced by a placeholder, as Oracle passes
// them, and the INTO list of a SELECT is taken out. A name that is a column
// of a table the statement reads stays a column, as on Oracle.
#include <cstdio>

#include "sandbox/plsql/DescribeBinds.h"
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/Preprocessor.h"

namespace sandbox::plsql {

namespace {

// Words after which a name is an operand, not a column or table alias.
bool IsSqlKeyword(const Token& t) {
  return t.IsAny({"SELECT",    "DISTINCT", "UNIQUE", "ALL",     "FROM",   "WHERE",   "AND",
                  "OR",        "NOT",      "IN",     "IS",      "LIKE",   "BETWEEN", "ESCAPE",
                  "BY",        "ON",       "SET",    "VALUES",  "INTO",   "WHEN",    "THEN",
                  "ELSE",      "CASE",     "HAVING", "PRIOR",   "JOIN",   "UNION",   "MINUS",
                  "INTERSECT", "EXISTS",   "ANY",    "SOME",    "UPDATE", "DELETE",  "INSERT",
                  "RETURNING", "WITH",     "START",  "CONNECT", "ORDER",  "GROUP",   "USING"});
}

// A name written right after an expression or a table is its alias:
// "select count(*) n", "from all_tables t", "x as y".
bool IsAliasPosition(const std::vector<Token>& tokens, size_t i, size_t begin) {
  if (i == begin)
    return false;
  const Token& previous = tokens[i - 1];
  if (previous.Is("AS") || previous.Is(")"))
    return true;
  switch (previous.kind) {
    case Token::Kind::Number:
    case Token::Kind::String:
    case Token::Kind::QuotedIdentifier:
      return true;
    case Token::Kind::Identifier:
      return !IsSqlKeyword(previous);
    default:
      return false;
  }
}

}  // namespace

std::string PlaceholderName(size_t index) {
  return "PLSQL_B" + std::to_string(index + 1);
}

std::string ReturningPlaceholderName(size_t index) {
  return "PLSQL_R" + std::to_string(index + 1);
}

size_t Parser::SqlEnd(size_t begin, bool insideParentheses) const {
  int depth = 0;
  for (size_t i = begin; i < tokens_.size(); ++i) {
    const Token& t = tokens_[i];
    if (t.kind == Token::Kind::End)
      return i;
    if (t.Is("("))
      ++depth;
    if (t.Is(")")) {
      if (depth == 0 && insideParentheses)
        return i;
      --depth;
    }
    if (t.Is(";") && depth <= 0)
      return i;
  }
  return tokens_.size() - 1;
}

// Column names of the tables the statement in [begin, end) reads or changes
// in place: the names after FROM, JOIN, UPDATE and MERGE INTO, and after
// commas of a FROM list.
std::set<std::string> Parser::ColumnsOfReferencedTables(size_t begin, size_t end) {
  std::set<std::string> columns;
  std::map<int, bool> inFromList;
  int depth = 0;
  bool expectTable = false;
  for (size_t i = begin; i < end; ++i) {
    const Token& t = tokens_[i];
    if (t.Is("(")) {
      ++depth;
      expectTable = false;
      continue;
    }
    if (t.Is(")")) {
      inFromList[depth] = false;
      --depth;
      continue;
    }
    // An INSERT's target is no source of names: its VALUES and its query see
    // other columns only, so a variable named as one of its columns is the
    // variable there. MERGE INTO's target is one.
    if (t.IsAny({"FROM", "JOIN", "UPDATE"}) ||
        (t.Is("INTO") && i > begin && tokens_[i - 1].Is("MERGE"))) {
      expectTable = true;
      if (t.Is("FROM"))
        inFromList[depth] = true;
      continue;
    }
    if (t.IsAny({"WHERE", "GROUP", "ORDER", "HAVING", "CONNECT", "START", "UNION", "MINUS",
                 "INTERSECT", "SET", "VALUES", "ON"})) {
      inFromList[depth] = false;
      expectTable = false;
      continue;
    }
    if (t.Is(",") && inFromList[depth]) {
      expectTable = true;
      continue;
    }
    if (expectTable &&
        (t.kind == Token::Kind::Identifier || t.kind == Token::Kind::QuotedIdentifier)) {
      std::string table = t.text;
      if (i + 2 < end && tokens_[i + 1].Is("."))
        table += "." + tokens_[i + 2].text;
      for (const ColumnInfo& c : session_.DescribeTable(table))
        columns.insert(c.name);
    }
    expectTable = false;
  }
  return columns;
}

std::unique_ptr<SqlText> Parser::ParseSql(bool insideParentheses,
                                          std::vector<ExprPtr>* intoTargets) {
  auto sql = std::make_unique<SqlText>();
  const size_t begin = pos_;
  const size_t end = SqlEnd(begin, insideParentheses);
  sql->isQuery = tokens_[begin].IsAny({"SELECT", "WITH", "("});
  const std::set<std::string> columns = ColumnsOfReferencedTables(begin, end);
  size_t previousEnd = tokens_[begin].offset;
  int depth = 0;
  bool returning = false;  // after the RETURNING of a DML statement
  auto append = [&](const std::string& text, const Token& t) {
    if (t.offset > previousEnd && !sql->text.empty())
      sql->text += ' ';
    sql->text += text;
  };
  while (pos_ < end) {
    const Token& t = tokens_[pos_];
    if (t.Is("("))
      ++depth;
    if (t.Is(")"))
      --depth;
    if (intoTargets != nullptr && depth == 0 && t.Is("BULK") && Peek(1).Is("COLLECT") &&
        Peek(2).Is("INTO")) {
      Take();
      Take();
      sql->bulkInto = true;
      continue;
    }
    if (!sql->isQuery && depth == 0 && t.IsAny({"RETURNING", "RETURN"}))
      returning = true;
    if (returning && depth == 0 && t.Is("BULK") && Peek(1).Is("COLLECT") && Peek(2).Is("INTO")) {
      Take();
      Take();
      sql->bulkReturning = true;
      continue;
    }
    if (returning && depth == 0 && t.Is("INTO")) {
      append("INTO", t);
      Take();
      ParseReturningTargets(*sql, t);
      previousEnd = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length;
      continue;
    }
    if (depth == 0 && tokens_[begin].Is("UPDATE") && t.Is("SET") && Peek(1).Is("ROW") &&
        Peek(2).Is("=")) {
      append("SET", t);
      Take();
      Take();
      Take();
      SetRow(*sql, begin);
      previousEnd = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length;
      continue;
    }
    if (intoTargets != nullptr && depth == 0 && t.Is("INTO")) {
      Take();
      do {
        intoTargets->push_back(ParseTarget());
      } while (Accept(","));
      if (!Peek().Is("FROM"))
        SyntaxError(Peek(), ", from");
      previousEnd = t.offset + t.length;
      continue;
    }
    // INSERT ... VALUES record: a value for each field, in order.
    if (!sql->isQuery && depth == 0 && t.Is("VALUES") && !Peek(1).Is("(")) {
      append("VALUES (", t);
      Take();
      const Token& at = Peek();
      const size_t start = pos_;
      const TypeSpec& record = RecordAhead(at);
      for (size_t i = 0; i < record.fields.size(); ++i) {
        pos_ = start;
        sql->text += (i == 0 ? ":" : ", :") + PlaceholderName(sql->binds.size());
        sql->binds.push_back(FieldOf(ParsePrimary(), i, at));
      }
      sql->text += ")";
      previousEnd = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length;
      continue;
    }
    if (t.kind == Token::Kind::Bind)
      bindNames_.insert(t.text);
    const bool afterDot = pos_ > begin && tokens_[pos_ - 1].Is(".");
    const Symbol* symbol = nullptr;
    if (t.kind == Token::Kind::Identifier && !afterDot && columns.count(t.text) == 0 &&
        !IsAliasPosition(tokens_, pos_, begin)) {
      symbol = Lookup(t.text);
      // Before "(" only a collection's element is PL/SQL; anything else is a
      // SQL function.
      if (symbol != nullptr && Peek(1).Is("(") &&
          (symbol->kind != Symbol::Kind::Variable ||
           static_cast<const VarDecl*>(symbol->decl)->type.base != TypeSpec::Base::Collection))
        symbol = nullptr;
    }
    // A package's variable or constant, pkg.v or owner.pkg.v, is bound as
    // the block's own variables are; anything else dotted stays SQL.
    if (t.kind == Token::Kind::Identifier && !afterDot && Peek(1).Is(".") &&
        columns.count(t.text) == 0 && Lookup(t.text) == nullptr) {
      const size_t start = pos_;
      Take();
      PlValue constant;
      if (t.Is("DBMS_DB_VERSION") && Peek(1).kind == Token::Kind::Identifier &&
          DbmsDbVersion(Peek(1).text, constant)) {
        Take();
        const Token& member = Take();
        auto bind = NewExpr(Expr::Kind::Literal, t);
        bind->value = constant;
        append(":" + PlaceholderName(sql->binds.size()), t);
        sql->binds.push_back(std::move(bind));
        previousEnd = member.offset + member.length;
        continue;
      }
      std::string member;
      const Symbol* stored = ResolveStored(t, member);
      if (stored != nullptr && stored->kind == Symbol::Kind::Variable) {
        auto bind = NewExpr(Expr::Kind::Variable, t);
        bind->variable = static_cast<const VarDecl*>(stored->decl);
        append(":" + PlaceholderName(sql->binds.size()), t);
        sql->binds.push_back(std::move(bind));
        previousEnd = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length;
        continue;
      }
      pos_ = start;
    }
    if (symbol != nullptr && symbol->kind == Symbol::Kind::Variable) {
      const auto* var = static_cast<const VarDecl*>(symbol->decl);
      ExprPtr bind;
      const bool composite = var->type.IsComposite();
      // A schema-level type's value is bound whole, as its column holds it;
      // a JSON document is bound too, for the run to refuse (ORA-40573).
      const bool document = var->type.base == TypeSpec::Base::Json;
      const bool whole = !var->type.sqlType.empty() || document;
      if (composite ? whole || Peek(1).IsAny({".", "("}) : !Peek(1).Is(".")) {
        Take();
        bind = ParseReference(*var, t, MethodUse::Function);
        if (IsComposite(*bind) && !IsSqlTyped(*bind) && TypeOf(*bind)->base != TypeSpec::Base::Json)
          SemanticError(t, "PLS-00382: expression is of wrong type");
      }
      if (bind) {
        append(":" + PlaceholderName(sql->binds.size()), t);
        sql->binds.push_back(std::move(bind));
        previousEnd = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].length;
        continue;
      }
    }
    append(source_.substr(t.offset, t.length), t);
    previousEnd = t.offset + t.length;
    Take();
  }
  return sql;
}

const TypeSpec& Parser::RecordAhead(const Token& at) {
  const size_t start = pos_;
  const ExprPtr record = ParsePrimary();
  const TypeSpec* type = TypeOf(*record);
  if (type == nullptr || type->base != TypeSpec::Base::Record)
    SemanticError(at, "PLS-00382: expression is of wrong type");
  pos_ = start;
  return *type;
}

void Parser::ParseReturningTargets(SqlText& sql, const Token& into) {
  do {
    sql.returningInto.push_back(ParseTarget());
  } while (Accept(","));
  if (sql.bulkReturning)
    CheckBulkTargets(sql.returningInto, into);
  // One record, or one collection of records, takes a value per field.
  sql.returningValues = sql.returningInto.size();
  if (sql.returningInto.size() == 1) {
    const TypeSpec* type = TypeOf(*sql.returningInto[0]);
    if (sql.bulkReturning)
      type = type->element.get();
    if (type != nullptr && type->base == TypeSpec::Base::Record)
      sql.returningValues = type->fields.size();
  }
  for (size_t i = 0; i < sql.returningValues; ++i)
    sql.text += (i == 0 ? " :" : ", :") + ReturningPlaceholderName(i);
}

// UPDATE t SET ROW = record: each of the table's columns takes the field
// in its place.
void Parser::SetRow(SqlText& sql, size_t begin) {
  const Token& at = Peek();
  std::string table = tokens_[begin + 1].text;
  if (tokens_[begin + 2].Is("."))
    table += "." + tokens_[begin + 3].text;
  const std::vector<ColumnInfo> columns = session_.DescribeTable(table);
  if (columns.empty())
    SqlError(tokens_[begin + 1], "ORA-00942: table or view does not exist");
  const size_t start = pos_;
  const TypeSpec& record = RecordAhead(at);
  if (record.fields.size() != columns.size()) {
    SqlError(tokens_[begin], record.fields.size() > columns.size()
                                 ? "ORA-00913: too many values"
                                 : "ORA-00947: not enough values");
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    pos_ = start;
    std::string quoted = "\"";
    for (char c : columns[i].name)
      quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    sql.text += (i == 0 ? " " : ", ") + quoted + "\" = :" + PlaceholderName(sql.binds.size());
    sql.binds.push_back(FieldOf(ParsePrimary(), i, at));
  }
}

std::vector<RecordField> Parser::DescribeQuery(const SqlText& sql, const Token& at) {
  DescribeBinds binds;
  OraError error;
  const std::vector<ColumnInfo> columns = session_.DescribeQuery(sql.text, binds, error);
  if (error.IsSet()) {
    char code[16];
    std::snprintf(code, sizeof code, "ORA-%05d: ", error.code);
    SqlError(at, code + error.message);
  }
  return FieldsOfColumns(columns, false);
}

}  // namespace sandbox::plsql
