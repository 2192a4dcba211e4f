// Oracle's SQL functions that PL/SQL offers and the interpreter has no code
// of its own for (REGEXP_REPLACE, ADD_MONTHS, SYSTIMESTAMP, EXTRACT ...).
// The server evaluates them, so a block and a query give the same answers:
// the call becomes "SELECT f(:b1, ...) FROM DUAL", its PL/SQL operands the
// binds. Nested calls, and timestamps and intervals the interpreter holds
// as text, stay inside the one SQL expression so that they keep their types.
#include <cstdio>

#include "sandbox/plsql/DescribeBinds.h"
#include "sandbox/plsql/Parser.h"

namespace sandbox::plsql {

namespace {

// SQL has them; PL/SQL refuses them (PLS-00204).
bool IsSqlOnly(const Token& name) {
  return name.IsAny({"DUMP",          "VSIZE",
                     "LNNVL",         "BIN_TO_NUM",
                     "WIDTH_BUCKET",  "SYS_TYPEID",
                     "CUBE_TABLE",    "DATAOBJ_TO_PARTITION",
                     "COUNT",         "SUM",
                     "AVG",           "MIN",
                     "MAX",           "LISTAGG",
                     "STDDEV",        "VARIANCE",
                     "MEDIAN",        "RANK",
                     "DENSE_RANK",    "ROW_NUMBER",
                     "LAG",           "LEAD",
                     "FIRST_VALUE",   "LAST_VALUE",
                     "NTILE",         "RATIO_TO_REPORT",
                     "CUME_DIST",     "PERCENT_RANK",
                     "COLLECT",       "XMLAGG",
                     "JSON_ARRAYAGG", "JSON_OBJECTAGG",
                     "DEREF",         "MAKE_REF",
                     "REFTOHEX",      "SYS_CONNECT_BY_PATH"});
}

// Written without parentheses.
bool IsBareFunction(const Token& name) {
  return name.IsAny({"SYSTIMESTAMP", "CURRENT_TIMESTAMP", "LOCALTIMESTAMP", "CURRENT_DATE",
                     "SESSIONTIMEZONE", "DBTIMEZONE", "UID"});
}

// SQLT codes of the values the interpreter holds as text but SQL as
// timestamps and intervals.
bool IsTemporalType(int sqlType) {
  return sqlType == 187 || sqlType == 188 || sqlType == 232 || sqlType == 189 || sqlType == 190;
}

// A condition over the operands QM_A1, QM_A2 ... as a value: 1, 0, or NULL
// when it is unknown. The operands are named once, so each stays one bind.
std::string ConditionText(const std::string& condition, const std::vector<std::string>& operands) {
  std::string columns;
  for (size_t i = 0; i < operands.size(); ++i)
    columns += (i ? ", " : "") + operands[i] + " QM_A" + std::to_string(i + 1);
  return "(SELECT CASE WHEN " + condition + " THEN 1 WHEN NOT (" + condition +
         ") THEN 0 END FROM (SELECT " + columns + " FROM DUAL))";
}

}  // namespace

bool IsTemporalOperand(const Expr& e) {
  if (e.kind == Expr::Kind::SqlFunction)
    return IsTemporalType(e.sqlType);
  return e.kind == Expr::Kind::Variable && e.variable != nullptr &&
         !e.variable->type.temporalType.empty();
}

std::string Parser::SqlOperand(ExprPtr operand, Expr& call) {
  if (operand->kind == Expr::Kind::SqlFunction) {
    for (ExprPtr& inner : operand->args)
      call.args.push_back(std::move(inner));
    return operand->name;
  }
  std::string text(1, kSqlOperandMark);
  if (operand->kind == Expr::Kind::Variable && operand->variable != nullptr &&
      !operand->variable->type.temporalType.empty())
    text = "CAST(" + text + " AS " + operand->variable->type.temporalType + ")";
  call.args.push_back(std::move(operand));
  return text;
}

ExprPtr Parser::ParseSqlFunction(const Token& name) {
  if (name.kind != Token::Kind::Identifier || Peek().Is("."))
    return nullptr;
  const bool bare = IsBareFunction(name);
  if (!bare && !Peek().Is("("))
    return nullptr;
  if (IsSqlOnly(name)) {
    SemanticError(name, "PLS-00204: function or pseudo-column '" + name.text +
                            "' may be used inside a SQL statement only");
  }
  auto call = NewExpr(Expr::Kind::SqlFunction, name);
  std::string text = name.text;
  std::vector<std::string> operands;
  if (!bare) {
    Expect("(", "(");
    text += "(";
    if (name.Is("EXTRACT")) {
      const Token& field = ExpectIdentifier("year month day hour minute second timezone_hour");
      Expect("FROM", "from");
      text += field.text + " FROM " + SqlOperand(ParseExpression(), *call);
    } else if (name.Is("CAST")) {
      text += SqlOperand(ParseExpression(), *call);
      Expect("AS", "as");
      text += " AS";
      for (int depth = 0; !(depth == 0 && Peek().Is(")"));) {
        const Token& t = Take();
        if (t.kind == Token::Kind::End)
          SyntaxError(t, ")");
        depth += t.Is("(") ? 1 : t.Is(")") ? -1 : 0;
        text += " " + t.text;
      }
    } else if (!Peek().Is(")")) {
      do {
        operands.push_back(SqlOperand(ParseExpression(), *call));
        text += (text.back() == '(' ? "" : ", ") + operands.back();
      } while (Accept(","));
    }
    Expect(")", ", )");
    text += ")";
  }
  if (name.Is("REGEXP_LIKE")) {
    std::string named;
    for (size_t i = 0; i < operands.size(); ++i)
      named += (i ? ", QM_A" : "QM_A") + std::to_string(i + 1);
    text = ConditionText("REGEXP_LIKE(" + named + ")", operands);
    call->condition = true;
  }
  call->name = std::move(text);
  DescribeSqlFunction(name, *call);
  return call;
}

ExprPtr Parser::ParseDatetimeLiteral() {
  const Token& kind = Take();
  const Token& quoted = Take();
  std::string text = kind.text + " '";
  for (char c : quoted.text)
    text += c == '\'' ? std::string("''") : std::string(1, c);
  text += "'";
  if (kind.Is("INTERVAL")) {
    while (Peek().IsAny({"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND", "TO"})) {
      text += " " + Take().text;
      if (Peek().Is("(") && Peek(1).kind == Token::Kind::Number && Peek(2).Is(")")) {
        text += "(" + Peek(1).text + ")";
        Take(), Take(), Take();
      }
    }
  }
  auto literal = NewExpr(Expr::Kind::SqlFunction, kind);
  literal->name = text;
  // A DATE is a value of the interpreter's own: the server checks the text
  // once and gives its internal form.
  const std::string query =
      kind.Is("DATE") ? "TO_CHAR(" + text + ", 'YYYY-MM-DD HH24:MI:SS')" : text;
  DescribeBinds binds;
  OraError error;
  std::vector<Value> row;
  const auto cursor = session_.OpenQuery("SELECT " + query + " FROM DUAL", binds, error);
  if (!cursor || !cursor->Next(row, error) || row.empty())
    SemanticError(kind, "PLS-00166: bad format for date, time, timestamp or interval literal");
  if (kind.Is("DATE")) {
    auto e = NewExpr(Expr::Kind::Literal, kind);
    e->value = PlValue::Date(row[0].text);
    return e;
  }
  literal->sqlType = cursor->Columns().empty() ? 0 : cursor->Columns()[0].dataType;
  return literal;
}

ExprPtr Parser::SqlFunctionOf(const Token& at, const std::string& function,
                              std::vector<ExprPtr> args) {
  auto call = NewExpr(Expr::Kind::SqlFunction, at);
  std::string text = function + "(";
  for (ExprPtr& arg : args)
    text += (text.back() == '(' ? "" : ", ") + SqlOperand(std::move(arg), *call);
  call->name = text + ")";
  DescribeSqlFunction(at, *call);
  return call;
}

ExprPtr Parser::SqlArithmeticOf(const Token& at, const std::string& op, ExprPtr left,
                                ExprPtr right) {
  auto call = NewExpr(Expr::Kind::SqlFunction, at);
  std::string text = "(" + SqlOperand(std::move(left), *call);
  text += " " + op + " " + SqlOperand(std::move(right), *call) + ")";
  call->name = std::move(text);
  DescribeSqlFunction(at, *call);
  return call;
}

ExprPtr Parser::SqlComparisonOf(const Token& at, const std::string& op, ExprPtr left,
                                ExprPtr right) {
  auto call = NewExpr(Expr::Kind::SqlFunction, at);
  std::vector<std::string> operands;
  operands.push_back(SqlOperand(std::move(left), *call));
  operands.push_back(SqlOperand(std::move(right), *call));
  call->name = ConditionText("QM_A1 " + op + " QM_A2", operands);
  call->condition = true;
  DescribeSqlFunction(at, *call);
  return call;
}

void Parser::FitTemporal(const TypeSpec* to, ExprPtr& value) {
  if (to == nullptr || to->temporalType.empty() || value->kind != Expr::Kind::SqlFunction)
    return;
  const int line = value->line, column = value->column;
  auto cast = std::make_unique<Expr>();
  cast->kind = Expr::Kind::SqlFunction;
  cast->line = line;
  cast->column = column;
  cast->name = "CAST(" + SqlOperand(std::move(value), *cast) + " AS " + to->temporalType + ")";
  // The cast's type is the target's: no need to ask the server.
  const std::string& type = to->temporalType;
  cast->sqlType = type.rfind("INTERVAL YEAR", 0) == 0                 ? 189
                  : type.rfind("INTERVAL", 0) == 0                    ? 190
                  : type.find("LOCAL TIME ZONE") != std::string::npos ? 232
                  : type.find("TIME ZONE") != std::string::npos       ? 188
                                                                      : 187;
  value = std::move(cast);
}

void Parser::DescribeSqlFunction(const Token& name, Expr& call) {
  DescribeBinds binds;
  OraError error;
  const std::vector<ColumnInfo> columns =
      session_.DescribeQuery("SELECT " + SqlFunctionText(call) + " FROM DUAL", binds, error);
  if (error.IsSet() || columns.empty()) {
    if (error.code == 909 || error.code == 938 || error.code == 939)
      SemanticError(name,
                    "PLS-00306: wrong number or types of arguments in call to '" + name.text + "'");
    SemanticError(name, "PLS-00201: identifier '" + name.text + "' must be declared",
                  IsBareFunction(name));
  }
  call.sqlType = columns[0].dataType;
}

std::string SqlFunctionText(const Expr& call) {
  std::string text;
  size_t bound = 0;
  for (char c : call.name) {
    if (c == kSqlOperandMark)
      text += ":" + PlaceholderName(bound++);
    else
      text += c;
  }
  return text;
}

}  // namespace sandbox::plsql
