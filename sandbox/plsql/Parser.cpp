// Blocks, declarations and statements of the PL/SQL compiler.
#include "sandbox/plsql/Parser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "sandbox/plsql/Builtins.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

TypeSpec NumberType(int precision, int scale) {
  TypeSpec t;
  t.base = TypeSpec::Base::Number;
  t.precision = precision;
  t.scale = scale;
  return t;
}

TypeSpec TextType(TypeSpec::Base base, int length) {
  TypeSpec t;
  t.base = base;
  t.length = length;
  return t;
}

}  // namespace

// The PL/SQL type of a described column. Select-list columns of cursors are
// left unconstrained: the server's sizes of computed columns are estimates.
TypeSpec TypeOfColumn(const ColumnInfo& column, bool constrained) {
  switch (column.dataType) {
    case 2: {
      // FLOAT columns carry scale -127 and a binary precision: no decimal
      // constraint applies to them.
      const bool decimal = column.precision > 0 && column.precision <= 38 && column.scale != -127;
      return constrained && decimal ? NumberType(column.precision, column.scale) : NumberType(0, 0);
    }
    case 12:
      return TextType(TypeSpec::Base::Date, 0);
    case 100:
    case 101:
      return NumberType(0, 0);
    case 96:
      return TextType(constrained ? TypeSpec::Base::Char : TypeSpec::Base::Varchar2,
                      constrained ? column.dataSize : 0);
    case 1:
      return TextType(TypeSpec::Base::Varchar2, constrained ? column.dataSize : 0);
    default:
      return TextType(TypeSpec::Base::Varchar2, 0);
  }
}

std::vector<RecordField> FieldsOfColumns(const std::vector<ColumnInfo>& columns, bool constrained) {
  std::vector<RecordField> fields;
  for (const ColumnInfo& c : columns) {
    std::string name = c.name;
    for (char& ch : name)
      ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    fields.push_back({name, TypeOfColumn(c, constrained)});
  }
  return fields;
}

// The value of an integer literal in a declaration; anything that is not a
// small whole number is refused rather than overflowing.
int Parser::IntegerToken(const Token& t) const {
  long double n = 0;
  if (t.kind != Token::Kind::Number || !ParseNumber(t.text, n) || n != static_cast<long long>(n) ||
      n > 1e9L) {
    SemanticError(t, "PLS-00491: numeric literal required");
  }
  return static_cast<int>(n);
}

// A bound of SUBTYPE ... RANGE low .. high: an integer literal, signed.
long long Parser::SignedIntegerLiteral() {
  const bool negative = Accept("-");
  const Token& t = Take();
  long double n = 0;
  if (t.kind != Token::Kind::Number || !ParseNumber(t.text, n) || n != std::floor(n) ||
      n > 2147483648.0L) {
    SemanticError(t, "PLS-00491: numeric literal required");
  }
  return negative ? -static_cast<long long>(n) : static_cast<long long>(n);
}

Parser::Parser(const std::string& source, const std::vector<Token>& tokens, Session& session)
    : source_(source), tokens_(tokens), session_(session), owner_(session.CurrentSchema()) {}

std::unique_ptr<Block> Parser::Parse(CompileError& error) {
  try {
    PushStandardScope();
    const Token& first = Peek();
    std::unique_ptr<Block> block;
    if (Accept("DECLARE")) {
      block = ParseBlockBody(true, "");
    } else if (Accept("BEGIN")) {
      block = ParseBlockBody(false, "");
    } else if (Peek().Is("COMPOUND") && Peek(1).Is("TRIGGER")) {
      Take();
      Take();
      block = ParseCompoundTrigger();
    } else {
      SyntaxError(first, "begin declare");
    }
    block->line = first.line;
    Accept(";");
    if (Peek().kind != Token::Kind::End)
      SyntaxError(Peek(), "end-of-file");
    block->units = std::move(usedUnits_);
    KeepSchemaTypes(*block);
    return block;
  } catch (CompileError& e) {
    error = std::move(e);
    return nullptr;
  }
}

// After DECLARE (hasDeclare) or BEGIN: [declarations BEGIN] statements
// [EXCEPTION handlers] END [name]. The closing ";" is left to the caller.
std::unique_ptr<Block> Parser::ParseBlockBody(bool hasDeclare, const std::string& endName) {
  auto block = std::make_unique<Block>();
  PushScope();
  if (hasDeclare) {
    ParseDeclarations(*block);
    Expect("BEGIN", "begin function pragma procedure");
  }
  block->body = ParseStatements({"EXCEPTION", "END"});
  if (block->body.empty())
    SyntaxError(Peek(), "begin case declare exit for goto if loop null");
  if (Accept("EXCEPTION"))
    ParseHandlers(*block);
  Expect("END", "end");
  if (Peek().kind == Token::Kind::Identifier && !Peek().Is("IF") && !Peek().Is("LOOP")) {
    const Token& name = Take();
    if (!endName.empty() && name.text != endName) {
      SemanticError(name, "PLS-00113: END identifier '" + name.text + "' must match '" + endName +
                              "' at line " + std::to_string(block->line) + ", column 1");
    }
  }
  PopScope();
  return block;
}

void Parser::ParseDeclarations(Block& block, const StoredUnit* package) {
  const size_t forwardsBefore = forwards_.size();
  while (!Peek().IsAny({"BEGIN", "END"}) && Peek().kind != Token::Kind::End &&
         !StartsTimingPoint()) {
    trailer_ = "PL/SQL: Item ignored";
    statementStart_ = &Peek();
    if (Accept("CURSOR")) {
      ParseCursorDeclaration(block, package);
      continue;
    }
    if (Accept("FUNCTION")) {
      ParseRoutineDeclaration(block, true, package);
      continue;
    }
    if (Accept("PROCEDURE")) {
      ParseRoutineDeclaration(block, false, package);
      continue;
    }
    if ((Peek().Is("TYPE") || Peek().Is("SUBTYPE")) && Peek(2).IsAny({"IS", "AS"})) {
      ParseTypeDeclaration(block, Take().Is("SUBTYPE"));
      continue;
    }
    if (Accept("PRAGMA")) {
      if (Accept("AUTONOMOUS_TRANSACTION")) {
        block.autonomous = true;
        Expect(";", ";");
        continue;
      }
      // Hints to the compiler that change nothing in what the code does.
      if (Peek().IsAny(
              {"SERIALLY_REUSABLE", "RESTRICT_REFERENCES", "INLINE", "UDF", "DEPRECATED"})) {
        Take();
        if (Accept("(")) {
          int depth = 1;
          while (depth > 0 && Peek().kind != Token::Kind::End) {
            depth += Peek().Is("(") ? 1 : Peek().Is(")") ? -1 : 0;
            Take();
          }
        }
        Expect(";", ";");
        continue;
      }
      Expect("EXCEPTION_INIT", "exception_init");
      Expect("(", "(");
      const Token& name = ExpectIdentifier("identifier");
      const Symbol* symbol = Lookup(name.text);
      if (symbol == nullptr || symbol->kind != Symbol::Kind::Exception) {
        SemanticError(
            name, "PLS-00109: unknown exception name '" + name.text + "' in PRAGMA EXCEPTION_INIT");
      }
      Expect(",", ",");
      const bool negative = Accept("-");
      const Token& code = Take();
      if (code.kind != Token::Kind::Number)
        SyntaxError(code, "an integer");
      Expect(")", ")");
      Expect(";", ";");
      ExceptionDecl* decl = nullptr;
      for (auto& own : block.exceptions) {
        if (own.get() == symbol->decl)
          decl = own.get();
      }
      if (decl == nullptr) {
        SemanticError(
            name, "PLS-00109: unknown exception name '" + name.text + "' in PRAGMA EXCEPTION_INIT");
      }
      const int value = IntegerToken(code);
      decl->code = negative ? value : -value;
      if (decl->code == 100)
        decl->code = 1403;
      continue;
    }
    if (Peek().kind != Token::Kind::Identifier)
      SyntaxError(Peek(), "begin function pragma procedure");
    const Token& name = Take();
    if (Accept("EXCEPTION")) {
      auto decl = std::make_unique<ExceptionDecl>();
      decl->name = name.text;
      Declare(name, name.text, Symbol::Kind::Exception, decl.get());
      block.exceptions.push_back(std::move(decl));
      Expect(";", ";");
      continue;
    }
    auto var = std::make_unique<VarDecl>();
    var->name = name.text;
    var->line = name.line;
    var->constant = Accept("CONSTANT");
    var->type = ParseType(false);
    if (Accept("NOT")) {
      Expect("NULL", "null");
      var->notNull = true;
    }
    if (Accept(":=") || Accept("DEFAULT")) {
      var->init = ParseExpression();
      FitTemporal(&var->type, var->init);
    } else if (var->constant) {
      SemanticError(name, "PLS-00322: declaration of a constant '" + name.text +
                              "' must contain an initialization assignment");
    } else if (var->notNull) {
      SemanticError(name,
                    "PLS-00218: a variable declared NOT NULL must have an initialization "
                    "assignment");
    }
    Expect(";", ";");
    var->package = package;
    Declare(name, name.text, Symbol::Kind::Variable, var.get());
    block.variables.push_back(std::move(var));
  }
  // A block's forward declarations must have their bodies in the same
  // declarations; a package declaration's are defined by its body.
  if (package != nullptr && compiling_ != nullptr && &block == &compiling_->declarations)
    return;
  for (size_t i = forwardsBefore; i < forwards_.size(); ++i) {
    if (forwards_[i]->definition == nullptr) {
      SemanticError(Peek(),
                    "PLS-00328: A subprogram body must be defined for the forward "
                    "declaration of " +
                        forwards_[i]->name + ".");
    }
  }
  forwards_.resize(forwardsBefore);
}

void Parser::ParseCursorDeclaration(Block& block, const StoredUnit* package) {
  const Token& name = ExpectIdentifier("identifier");
  auto cursor = std::make_unique<CursorDecl>();
  cursor->name = name.text;
  cursor->line = name.line;
  cursor->package = package;
  PushScope();  // the parameters are visible in the query only
  if (Peek().Is("("))
    cursor->params = ParseParameters(false);
  Expect("IS", "is");
  if (!Peek().Is("SELECT") && !Peek().Is("WITH") && !Peek().Is("(")) {
    SyntaxError(Peek(), "( select with");
  }
  const Token& queryStart = Peek();
  cursor->query = std::move(*ParseSql(false, nullptr));
  cursor->columns = DescribeQuery(cursor->query, queryStart);
  PopScope();
  Expect(";", ";");
  Declare(name, name.text, Symbol::Kind::Cursor, cursor.get());
  block.cursors.push_back(std::move(cursor));
}

void Parser::ParseRoutineDeclaration(Block& block, bool isFunction, const StoredUnit* package,
                                     const TypeSpec* self, Method method) {
  const Token& name = ExpectIdentifier("identifier");
  auto routine = std::make_unique<RoutineDecl>();
  routine->name = name.text;
  routine->isFunction = isFunction;
  routine->line = name.line;
  routine->column = name.column;
  routine->package = package;
  if (compiling_ != nullptr)
    routine->unit = compiling_->qualifiedName;
  PushScope();
  if (Peek().Is("("))
    routine->params = ParseParameters(true);
  // A member method's SELF comes first (IN for a function, IN OUT for a
  // procedure) unless the method declares it; a constructor's is its result.
  if (method != Method::None) {
    auto selfParam = std::make_unique<VarDecl>();
    selfParam->name = "SELF";
    selfParam->type = *self;
    selfParam->line = name.line;
    selfParam->mode =
        isFunction && method == Method::Member ? VarDecl::Mode::In : VarDecl::Mode::InOut;
    selfParam->constant = selfParam->mode == VarDecl::Mode::In;
    if (method == Method::Constructor)
      routine->self = std::move(selfParam);
    else if (routine->params.empty() || routine->params[0]->name != "SELF")
      routine->params.insert(routine->params.begin(), std::move(selfParam));
  }
  if (isFunction && method == Method::Constructor) {
    Expect("RETURN", "return");
    Expect("SELF", "self");
    Expect("AS", "as");
    Expect("RESULT", "result");
    routine->returnType = *self;
  } else if (isFunction) {
    Expect("RETURN", "return");
    const Token& returnType = Peek();
    routine->returnType = ParseType(true);
    // Hints to the optimiser that change nothing in what the function does.
    while (Accept("DETERMINISTIC") || Accept("PARALLEL_ENABLE") || Accept("RESULT_CACHE") ||
           Accept("PIPELINED")) {
      if (tokens_[pos_ - 1].Is("PIPELINED"))
        routine->pipelined = true;
    }
    if (routine->pipelined && (routine->returnType.base != TypeSpec::Base::Collection ||
                               routine->returnType.collection == TypeSpec::Collection::IndexBy)) {
      SemanticError(returnType,
                    "PLS-00630: pipelined functions must have a supported collection return type",
                    true);
    }
  }
  if (Accept("AUTHID") && ExpectIdentifier("current_user definer").text == "CURRENT_USER" &&
      compiling_ != nullptr)
    compiling_->invokerRights = true;
  if (compiling_ != nullptr && !compiling_->invokerRights)
    routine->definer = compiling_->owner;
  PopScope();
  if (Accept(";")) {
    Declare(name, name.text, Symbol::Kind::Routine, routine.get());
    forwards_.push_back(routine.get());
    block.routines.push_back(std::move(routine));
    return;
  }
  if (!Accept("IS"))
    Expect("AS", "is as");
  // Declared before the body is read, so the routine may call itself; the
  // body of a forward declaration is called through that declaration.
  if (!LinkDefinition(*routine))
    Declare(name, name.text, Symbol::Kind::Routine, routine.get());
  PushScope();
  for (const auto& p : routine->params)
    Declare(name, p->name, Symbol::Kind::Variable, p.get());
  if (routine->self)
    Declare(name, "SELF", Symbol::Kind::Variable, routine->self.get());
  const RoutineDecl* outerFunction = currentFunction_;
  const VarDecl* outerSelf = self_;
  std::vector<std::string> outerLoopLabels;
  outerLoopLabels.swap(loopLabels_);
  currentFunction_ = routine.get();
  self_ = routine->self              ? routine->self.get()
          : method == Method::Member ? routine->params[0].get()
                                     : nullptr;
  routine->body = ParseBlockBody(true, name.text);
  routine->body->line = name.line;
  currentFunction_ = outerFunction;
  self_ = outerSelf;
  loopLabels_.swap(outerLoopLabels);
  PopScope();
  Expect(";", ";");
  block.routines.push_back(std::move(routine));
  trailer_ = "PL/SQL: Item ignored";
}

std::vector<std::unique_ptr<VarDecl>> Parser::ParseParameters(bool withModes) {
  std::vector<std::unique_ptr<VarDecl>> params;
  Expect("(", "(");
  do {
    const Token& name = ExpectIdentifier("identifier");
    auto param = std::make_unique<VarDecl>();
    param->name = name.text;
    param->line = name.line;
    const bool in = Accept("IN");
    if (withModes && Accept("OUT")) {
      param->mode = in ? VarDecl::Mode::InOut : VarDecl::Mode::Out;
      Accept("NOCOPY");
    } else if (Peek().Is("OUT")) {
      SyntaxError(Peek(), ":= . ) , @ % default character");
    }
    param->constant = withModes && param->mode == VarDecl::Mode::In;
    param->type = ParseType(true);
    if (Accept(":=") || Accept("DEFAULT")) {
      param->init = ParseExpression();
      FitTemporal(&param->type, param->init);
    }
    for (const auto& other : params) {
      if (other->name == param->name) {
        SemanticError(name,
                      "PLS-00410: duplicate fields in RECORD,TABLE or argument list are "
                      "not permitted");
      }
    }
    Declare(name, param->name, Symbol::Kind::Variable, param.get());
    params.push_back(std::move(param));
  } while (Accept(","));
  Expect(")", ", )");
  return params;
}

void Parser::ParseHandlers(Block& block) {
  while (Accept("WHEN")) {
    Handler handler;
    do {
      const Token& name = ExpectIdentifier("an exception name");
      if (name.text == "OTHERS") {
        handler.others = true;
        continue;
      }
      handler.exceptions.push_back(ExceptionNamed(name));
    } while (Accept("OR"));
    Expect("THEN", "then or");
    handler.body = ParseStatements({"WHEN", "END"});
    if (handler.body.empty())
      SyntaxError(Peek(), "begin case declare exit for goto if loop null");
    block.handlers.push_back(std::move(handler));
  }
  if (block.handlers.empty())
    SyntaxError(Peek(), "pragma when");
}

TypeSpec Parser::ParseType(bool forParameter) {
  const Token& t = Take();
  if (t.kind != Token::Kind::Identifier)
    SyntaxError(t, "a type name");
  auto lengthClause = [&](int defaultLength) {
    if (!Peek().Is("("))
      return defaultLength;
    if (forParameter)
      SyntaxError(Peek(), ":= . ) , @ % default character");
    Take();
    const Token& n = Take();
    if (n.kind != Token::Kind::Number)
      SyntaxError(n, "an integer");
    const int length = IntegerToken(n);
    if (length < 1 || length > 32767) {
      SemanticError(n, "PLS-00215: String length constraints must be in range (1 .. 32767)");
    }
    if (!Accept("CHAR"))
      Accept("BYTE");
    Expect(")", ")");
    return length;
  };
  if (t.IsAny({"VARCHAR2", "VARCHAR", "NVARCHAR2", "STRING"})) {
    const int length = lengthClause(0);
    if (length == 0 && !forParameter) {
      SemanticError(t, "PLS-00215: String length constraints must be in range (1 .. 32767)");
    }
    return TextType(TypeSpec::Base::Varchar2, length);
  }
  if (t.IsAny({"CHAR", "NCHAR", "CHARACTER"})) {
    return TextType(TypeSpec::Base::Char, lengthClause(forParameter ? 0 : 1));
  }
  if (t.IsAny({"LONG", "CLOB", "NCLOB"}))
    return TextType(TypeSpec::Base::Varchar2, 0);
  if (t.IsAny({"BLOB", "RAW"})) {
    // Held as hexadecimal text: two digits for each byte of RAW(n).
    TypeSpec binary = TextType(TypeSpec::Base::Varchar2, t.Is("RAW") ? 2 * lengthClause(0) : 0);
    if (t.Is("RAW") && binary.length == 0 && !forParameter)
      SemanticError(t, "PLS-00215: String length constraints must be in range (1 .. 32767)");
    binary.binary = true;
    return binary;
  }
  if (t.IsAny({"NUMBER", "NUMERIC", "DECIMAL", "DEC"})) {
    int precision = 0, scale = 0;
    if (Peek().Is("(")) {
      if (forParameter)
        SyntaxError(Peek(), ":= . ) , @ % default character");
      Take();
      const Token& p = Take();
      if (p.kind != Token::Kind::Number)
        SyntaxError(p, "an integer");
      precision = IntegerToken(p);
      if (precision < 1 || precision > 38) {
        SemanticError(p, "PLS-00216: NUMBER precision constraint must be in range (1 .. 38)");
      }
      if (Accept(",")) {
        const bool negative = Accept("-");
        const Token& s = Take();
        if (s.kind != Token::Kind::Number)
          SyntaxError(s, "an integer");
        scale = negative ? -IntegerToken(s) : IntegerToken(s);
      }
      Expect(")", ")");
    }
    return NumberType(precision, scale);
  }
  if (t.IsAny({"INTEGER", "INT", "SMALLINT"}))
    return NumberType(38, 0);
  if (t.IsAny({"PLS_INTEGER", "BINARY_INTEGER", "SIMPLE_INTEGER"}))
    return NumberType(10, 0);
  if (t.IsAny({"NATURAL", "NATURALN", "POSITIVE", "POSITIVEN", "SIGNTYPE"})) {
    TypeSpec integer = NumberType(10, 0);
    integer.ranged = true;
    integer.low = t.Is("SIGNTYPE") ? -1 : t.IsAny({"POSITIVE", "POSITIVEN"}) ? 1 : 0;
    integer.high = t.Is("SIGNTYPE") ? 1 : 2147483647;
    return integer;
  }
  if (t.IsAny({"FLOAT", "REAL", "BINARY_DOUBLE", "BINARY_FLOAT"}))
    return NumberType(0, 0);
  if (t.Is("BOOLEAN"))
    return TextType(TypeSpec::Base::Boolean, 0);
  if (t.Is("SYS_REFCURSOR"))
    return TextType(TypeSpec::Base::RefCursor, 0);
  if (t.Is("DATE"))
    return TextType(TypeSpec::Base::Date, 0);
  if (t.IsAny({"TIMESTAMP", "INTERVAL"})) {
    // Timestamps and intervals are held as their text in the session's formats.
    std::string temporalType = t.text;
    while (Peek().IsAny(
        {"(", "WITH", "LOCAL", "TIME", "ZONE", "YEAR", "MONTH", "DAY", "TO", "SECOND"})) {
      if (Accept("(")) {
        const Token& digits = Take();
        if (digits.kind != Token::Kind::Number)
          SyntaxError(digits, "an integer");
        Expect(")", ")");
      } else {
        temporalType += " " + Take().text;
      }
    }
    TypeSpec type = TextType(TypeSpec::Base::Varchar2, 0);
    type.temporalType = std::move(temporalType);
    return type;
  }
  if (const TypeDecl* declared = ResolveTypeName(t))
    return declared->type;
  return ParseAnchoredType(t);
}

// name%TYPE, record.field%TYPE, table.column%TYPE, owner.table.column%TYPE,
// cursor%ROWTYPE, table%ROWTYPE, owner.table%ROWTYPE.
TypeSpec Parser::ParseAnchoredType(const Token& first) {
  if (!Peek().Is(".") && !Peek().Is("%")) {
    SemanticError(first, "PLS-00201: identifier '" + first.text + "' must be declared");
  }
  // pkg.cursor%ROWTYPE and pkg.variable%TYPE from outside the package.
  std::string member;
  const Symbol* stored =
      Lookup(first.text) == nullptr && Peek().Is(".") ? ResolveStored(first, member) : nullptr;
  if (stored != nullptr) {
    Expect("%", "%");
    const Token& attribute = ExpectIdentifier("type rowtype");
    if (stored->kind == Symbol::Kind::Cursor && attribute.Is("ROWTYPE")) {
      TypeSpec record;
      record.base = TypeSpec::Base::Record;
      record.fields = static_cast<const CursorDecl*>(stored->decl)->columns;
      return record;
    }
    if (stored->kind == Symbol::Kind::Variable && attribute.Is("TYPE"))
      return static_cast<const VarDecl*>(stored->decl)->type;
    SemanticError(first,
                  "PLS-00201: identifier '" + first.text + "." + member + "' must be declared");
  }
  std::vector<const Token*> parts{&first};
  while (Accept("."))
    parts.push_back(&ExpectIdentifier("identifier"));
  Expect("%", "%");
  const Token& attribute = ExpectIdentifier("type rowtype");
  std::string dotted;
  for (const Token* p : parts)
    dotted += (dotted.empty() ? "" : ".") + p->text;
  const Symbol* symbol = Lookup(first.text);
  if (attribute.Is("TYPE")) {
    if (symbol != nullptr && symbol->kind == Symbol::Kind::Variable && parts.size() <= 2) {
      const auto* var = static_cast<const VarDecl*>(symbol->decl);
      if (parts.size() == 1)
        return var->type;
      for (const RecordField& f : var->type.fields) {
        if (f.name == parts[1]->text)
          return f.type;
      }
      SemanticError(*parts[1], "PLS-00302: component '" + parts[1]->text + "' must be declared");
    }
    if (parts.size() < 2 || parts.size() > 3) {
      SemanticError(first, "PLS-00201: identifier '" + dotted + "' must be declared");
    }
    std::string table = parts[0]->text;
    if (parts.size() == 3)
      table += "." + parts[1]->text;
    const auto columns = session_.DescribeTable(table);
    if (columns.empty())
      SemanticError(first, "PLS-00201: identifier '" + table + "' must be declared");
    const Token& column = *parts.back();
    for (const ColumnInfo& c : columns) {
      if (c.name == column.text)
        return TypeOfColumn(c, true);
    }
    SemanticError(column, "PLS-00302: component '" + column.text + "' must be declared");
  }
  if (!attribute.Is("ROWTYPE"))
    SyntaxError(attribute, "type rowtype");
  TypeSpec record;
  record.base = TypeSpec::Base::Record;
  if (symbol != nullptr && symbol->kind == Symbol::Kind::Cursor && parts.size() == 1) {
    record.fields = static_cast<const CursorDecl*>(symbol->decl)->columns;
    return record;
  }
  if (parts.size() > 2)
    SemanticError(first, "PLS-00201: identifier '" + dotted + "' must be declared");
  const auto columns = session_.DescribeTable(dotted);
  if (columns.empty())
    SemanticError(first, "PLS-00201: identifier '" + dotted + "' must be declared");
  record.fields = FieldsOfColumns(columns, true);
  return record;
}

StmtList Parser::ParseStatements(std::initializer_list<const char*> terminators) {
  StmtList list;
  while (!Peek().IsAny(terminators) && Peek().kind != Token::Kind::End) {
    std::string label;
    while (Accept("<<")) {
      label = ExpectIdentifier("a label").text;
      Expect(">>", ">>");
    }
    trailer_ = "PL/SQL: Statement ignored";
    statementStart_ = &Peek();
    nextLoopLabel_ = label;
    list.push_back(ParseStatement());
  }
  return list;
}

// Deep nesting of blocks, loops or parentheses would otherwise exhaust the
// stack of this recursive parser.
void Parser::EnterNesting() {
  if (nestingDepth_ >= 200)
    SemanticError(Peek(), "PLS-00123: program too large (Diana nodes)");
  ++nestingDepth_;
}

std::unique_ptr<Stmt> Parser::ParseStatement() {
  EnterNesting();
  const Token& start = Peek();
  auto stmt = std::make_unique<Stmt>();
  stmt->line = start.line;
  const std::string label = std::exchange(nextLoopLabel_, std::string());
  if (Accept("IF")) {
    stmt = ParseIf();
  } else if (Accept("LOOP")) {
    stmt->kind = Stmt::Kind::Loop;
    stmt->label = label;
    stmt->bodies.push_back(ParseLoopBody(label));
  } else if (Accept("WHILE")) {
    stmt->kind = Stmt::Kind::While;
    stmt->label = label;
    stmt->exprs.push_back(ParseExpression());
    Expect("LOOP", "loop");
    stmt->bodies.push_back(ParseLoopBody(label));
  } else if (Accept("FOR")) {
    stmt = ParseFor(start, label);
  } else if (Peek().IsAny({"EXIT", "CONTINUE"}) && !Peek(1).IsAny({":=", "(", "."})) {
    const bool exit = Take().Is("EXIT");
    if (loopLabels_.empty()) {
      SemanticError(start,
                    "PLS-00376: illegal EXIT/CONTINUE statement; it must appear inside a "
                    "loop");
    }
    stmt->kind = exit ? Stmt::Kind::Exit : Stmt::Kind::Continue;
    if (Peek().kind == Token::Kind::Identifier && !Peek().Is("WHEN")) {
      const Token& target = Take();
      if (std::find(loopLabels_.begin(), loopLabels_.end(), target.text) == loopLabels_.end()) {
        SemanticError(target,
                      "PLS-00373: EXIT label '" + target.text + "' must label a LOOP statement");
      }
      stmt->name = target.text;
    }
    if (Accept("WHEN"))
      stmt->exprs.push_back(ParseExpression());
  } else if (Accept("OPEN")) {
    stmt = ParseCursorCommand(Stmt::Kind::Open);
  } else if (Accept("FETCH")) {
    stmt = ParseCursorCommand(Stmt::Kind::Fetch);
  } else if (Accept("CLOSE")) {
    stmt = ParseCursorCommand(Stmt::Kind::Close);
  } else if (Accept("RETURN")) {
    stmt->kind = Stmt::Kind::Return;
    if (!Peek().Is(";")) {
      if (currentFunction_ == nullptr) {
        SemanticError(start,
                      "PLS-00372: In a procedure, RETURN statement cannot contain an "
                      "expression");
      }
      if (currentFunction_->pipelined) {
        SemanticError(start,
                      "PLS-00633: RETURN statement in a pipelined function cannot contain an "
                      "expression",
                      true);
      }
      stmt->exprs.push_back(ParseExpression());
      if (currentFunction_->isFunction) {
        CheckTypes(start, &currentFunction_->returnType, *stmt->exprs[0]);
        FitTemporal(&currentFunction_->returnType, stmt->exprs[0]);
      }
    } else if (currentFunction_ != nullptr && currentFunction_->isFunction &&
               !currentFunction_->self &&  // a constructor returns its SELF
               !currentFunction_->pipelined) {
      SemanticError(start,
                    "PLS-00503: RETURN <value> statement required for this return from "
                    "function");
    }
  } else if (Peek().Is("PIPE") && Peek(1).Is("ROW")) {
    Take();
    Take();
    if (currentFunction_ == nullptr || !currentFunction_->pipelined) {
      SemanticError(start, "PLS-00629: PIPE statement cannot be used in non-pipelined functions",
                    true);
    }
    stmt->kind = Stmt::Kind::PipeRow;
    Expect("(", "(");
    const Token& row = Peek();
    stmt->exprs.push_back(ParseExpression());
    CheckTypes(row, currentFunction_->returnType.element.get(), *stmt->exprs[0]);
    Expect(")", ")");
  } else if (Accept("NULL")) {
    stmt->kind = Stmt::Kind::Null;
  } else if (Accept("RAISE")) {
    stmt = ParseRaise();
  } else if (Accept("CASE")) {
    stmt = ParseCaseStatement();
  } else if (Accept("FORALL")) {
    stmt = ParseForAll();
  } else if (start.Is("EXECUTE") && Peek(1).Is("IMMEDIATE")) {
    Take();
    Take();
    stmt = ParseExecuteImmediate();
  } else if (Accept("DECLARE")) {
    stmt->kind = Stmt::Kind::Block;
    stmt->block = ParseBlockBody(true, "");
  } else if (Accept("BEGIN")) {
    stmt->kind = Stmt::Kind::Block;
    stmt->block = ParseBlockBody(false, "");
  } else if (start.IsAny({"SELECT", "WITH"})) {
    stmt->kind = Stmt::Kind::Sql;
    stmt->sql = ParseSql(false, &stmt->exprs);
    if (stmt->exprs.empty()) {
      SemanticError(start, "PLS-00428: an INTO clause is expected in this SELECT statement");
    }
    if (stmt->sql->bulkInto)
      CheckBulkTargets(stmt->exprs, start);
    const auto columns = DescribeQuery(*stmt->sql, start);
    if (!IntoFits(stmt->exprs, stmt->sql->bulkInto, columns.size())) {
      SqlError(start, stmt->exprs.size() < columns.size() ? "ORA-00913: too many values"
                                                          : "ORA-00947: not enough values");
    }
  } else if (start.IsAny({"INSERT", "UPDATE", "DELETE", "MERGE", "COMMIT", "ROLLBACK", "SAVEPOINT",
                          "LOCK"})) {
    stmt->kind = Stmt::Kind::Sql;
    stmt->sql = ParseSql(false, nullptr);
  } else if (start.kind == Token::Kind::Identifier || start.kind == Token::Kind::Bind) {
    stmt = ParseNameStatement();
  } else {
    SyntaxError(start,
                "begin case declare exit for goto if loop null pragma raise return "
                "select update while with <an identifier>");
  }
  stmt->line = start.line;
  if (stmt->kind == Stmt::Kind::Block) {
    if (stmt->block)
      stmt->block->line = start.line;
  }
  Expect(";", ";");
  --nestingDepth_;
  return stmt;
}

std::unique_ptr<Stmt> Parser::ParseIf() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::If;
  do {
    stmt->exprs.push_back(ParseExpression());
    Expect("THEN", "then and or");
    stmt->bodies.push_back(ParseStatements({"ELSIF", "ELSE", "END"}));
    if (stmt->bodies.back().empty())
      SyntaxError(Peek(), "begin case declare exit for if loop null");
  } while (Accept("ELSIF"));
  if (Accept("ELSE")) {
    stmt->hasElse = true;
    stmt->bodies.push_back(ParseStatements({"END"}));
    if (stmt->bodies.back().empty())
      SyntaxError(Peek(), "begin case declare exit for if loop null");
  }
  Expect("END", "end elsif else");
  Expect("IF", "if");
  return stmt;
}

StmtList Parser::ParseLoopBody(const std::string& label) {
  loopLabels_.push_back(label);
  StmtList body = ParseStatements({"END"});
  loopLabels_.pop_back();
  if (body.empty())
    SyntaxError(Peek(), "begin case declare exit for goto if loop null");
  Expect("END", "end");
  Expect("LOOP", "loop");
  if (Peek().kind == Token::Kind::Identifier)
    Take();  // END LOOP label
  return body;
}

std::unique_ptr<Stmt> Parser::ParseFor(const Token& start, const std::string& label) {
  auto stmt = std::make_unique<Stmt>();
  stmt->label = label;
  const Token& indexName = ExpectIdentifier("an identifier");
  Expect("IN", "in");
  auto loopVariable = std::make_unique<VarDecl>();
  loopVariable->name = indexName.text;
  loopVariable->line = indexName.line;
  const Token* storedName = nullptr;
  const Symbol* stored = StoredCursorAhead(storedName);
  const Symbol* symbol = stored != nullptr                        ? stored
                         : Peek().kind == Token::Kind::Identifier ? Lookup(Peek().text)
                                                                  : nullptr;
  if (symbol != nullptr && symbol->kind == Symbol::Kind::Cursor) {
    stmt->kind = Stmt::Kind::ForCursor;
    const Token& cursorName = stored != nullptr ? *storedName : Take();
    stmt->cursor = static_cast<const CursorDecl*>(symbol->decl);
    if (Peek().Is("("))
      stmt->exprs = ParseArguments();
    CheckArgumentCount(cursorName, stmt->cursor->name, stmt->exprs.size(), 0,
                       stmt->cursor->params.size());
    loopVariable->type.base = TypeSpec::Base::Record;
    loopVariable->type.fields = stmt->cursor->columns;
  } else if (Peek().Is("(") && Peek(1).IsAny({"SELECT", "WITH"})) {
    stmt->kind = Stmt::Kind::ForCursor;
    Take();
    const Token& queryStart = Peek();
    auto cursor = std::make_unique<CursorDecl>();
    cursor->name = "SQL";
    cursor->line = start.line;
    cursor->query = std::move(*ParseSql(true, nullptr));
    cursor->columns = DescribeQuery(cursor->query, queryStart);
    Expect(")", ")");
    loopVariable->type.base = TypeSpec::Base::Record;
    loopVariable->type.fields = cursor->columns;
    stmt->cursor = cursor.get();
    stmt->inlineCursor = std::move(cursor);
  } else {
    stmt->kind = Stmt::Kind::ForRange;
    stmt->reverse = Accept("REVERSE");
    stmt->exprs.push_back(ParseExpression());
    Expect("..", "..");
    stmt->exprs.push_back(ParseExpression());
    loopVariable->type = NumberType(10, 0);
  }
  loopVariable->constant = true;  // the loop index cannot be assigned
  Expect("LOOP", "loop");
  PushScope();
  Declare(indexName, indexName.text, Symbol::Kind::Variable, loopVariable.get());
  stmt->bodies.push_back(ParseLoopBody(label));
  PopScope();
  stmt->loopVariable = std::move(loopVariable);
  return stmt;
}

std::unique_ptr<Stmt> Parser::ParseCursorCommand(Stmt::Kind kind) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = kind;
  const Token* storedName = nullptr;
  const Symbol* stored = StoredCursorAhead(storedName);
  const Token& name = stored != nullptr ? *storedName : ExpectIdentifier("a cursor name");
  const Symbol* symbol = stored != nullptr ? stored : Lookup(name.text);
  if (symbol == nullptr)
    SemanticError(name, "PLS-00201: identifier '" + name.text + "' must be declared");
  if (symbol->kind == Symbol::Kind::Variable &&
      static_cast<const VarDecl*>(symbol->decl)->type.base == TypeSpec::Base::RefCursor)
    return ParseCursorVariableCommand(kind, name, *static_cast<const VarDecl*>(symbol->decl));
  if (symbol->kind != Symbol::Kind::Cursor) {
    SemanticError(name, "PLS-00456: item '" + name.text + "' is not a cursor");
  }
  stmt->cursor = static_cast<const CursorDecl*>(symbol->decl);
  if (kind == Stmt::Kind::Open) {
    if (Peek().Is("("))
      stmt->exprs = ParseArguments();
    CheckArgumentCount(name, name.text, stmt->exprs.size(), 0, stmt->cursor->params.size());
  } else if (kind == Stmt::Kind::Fetch) {
    ParseFetchTargets(*stmt, name);
    if (!IntoFits(stmt->exprs, stmt->bulk, stmt->cursor->columns.size())) {
      SemanticError(name,
                    "PLS-00394: wrong number of values in the INTO list of a FETCH "
                    "statement");
    }
  }
  return stmt;
}

void Parser::ParseFetchTargets(Stmt& stmt, const Token& name) {
  if (Accept("BULK")) {
    Expect("COLLECT", "collect");
    stmt.bulk = true;
  }
  Expect("INTO", "into bulk");
  do {
    stmt.exprs.push_back(ParseTarget());
  } while (Accept(","));
  if (stmt.bulk) {
    CheckBulkTargets(stmt.exprs, name);
    if (Accept("LIMIT"))
      stmt.limit = ParseExpression();
  }
}

std::unique_ptr<Stmt> Parser::ParseRaise() {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = Stmt::Kind::Raise;
  if (Peek().Is(";"))
    return stmt;  // re-raise; only allowed in a handler, checked at run time
  stmt->exception = ExceptionNamed(ExpectIdentifier("an exception name"));
  return stmt;
}

// The exception name stands for: a declared one in scope, else one that a
// package declares (pkg.e, owner.pkg.e).
const ExceptionDecl* Parser::ExceptionNamed(const Token& name) {
  const Symbol* symbol = Lookup(name.text);
  if (symbol != nullptr && symbol->kind == Symbol::Kind::Exception)
    return static_cast<const ExceptionDecl*>(symbol->decl);
  if (symbol == nullptr && Peek().Is(".")) {
    std::string member;
    const NamedItem* item = ResolveStored(name, member);
    if (item != nullptr && item->kind == NamedItem::Kind::Exception)
      return static_cast<const ExceptionDecl*>(item->decl);
  }
  SemanticError(name, "PLS-00201: identifier '" + name.text + "' must be declared");
}

// Assignment or procedure call: x := e; rec.f := e; :bind := e; p(args);
// dbms_output.put_line(x); raise_application_error(n, text).
std::unique_ptr<Stmt> Parser::ParseNameStatement() {
  auto stmt = std::make_unique<Stmt>();
  const Token& first = Peek();
  if (first.kind == Token::Kind::Identifier) {
    if (first.Is("DBMS_OUTPUT") && Peek(1).Is(".")) {
      Take();
      Take();
      const Token& member = ExpectIdentifier("a procedure name");
      struct Signature {
        const char* name;
        size_t min, max;
      };
      static const Signature kMembers[] = {{"ENABLE", 0, 1},   {"DISABLE", 0, 0},
                                           {"PUT_LINE", 1, 1}, {"PUT", 1, 1},
                                           {"NEW_LINE", 0, 0}, {"GET_LINE", 2, 2}};
      const Signature* signature = nullptr;
      for (const Signature& s : kMembers) {
        if (member.text == s.name)
          signature = &s;
      }
      if (signature == nullptr) {
        SemanticError(member, "PLS-00302: component '" + member.text + "' must be declared");
      }
      stmt->kind = Stmt::Kind::CallPackage;
      stmt->name = "DBMS_OUTPUT." + member.text;
      if (member.Is("GET_LINE")) {
        Expect("(", "(");
        stmt->exprs.push_back(ParseTarget());
        Expect(",", ",");
        stmt->exprs.push_back(ParseTarget());
        Expect(")", ")");
      } else if (Peek().Is("(")) {
        stmt->exprs = ParseArguments();
      }
      CheckArgumentCount(member, member.text, stmt->exprs.size(), signature->min, signature->max);
      return stmt;
    }
    if (IsSuppliedPackage(first.text) && Peek(1).Is(".")) {
      Take();
      stmt->kind = Stmt::Kind::CallPackage;
      stmt->exprs = ParseSuppliedCall(first, false, stmt->name);
      return stmt;
    }
    if (first.Is("RAISE_APPLICATION_ERROR")) {
      Take();
      stmt->kind = Stmt::Kind::CallPackage;
      stmt->name = first.text;
      stmt->exprs = ParseArguments();
      CheckArgumentCount(first, first.text, stmt->exprs.size(), 2, 3);
      return stmt;
    }
    const Symbol* symbol = Lookup(first.text);
    std::string name = first.text;
    const bool selfAttribute = self_ != nullptr && symbol == nullptr && [&] {
      for (const RecordField& f : self_->type.fields)
        if (f.name == first.text)
          return true;
      return false;
    }();
    if (symbol == nullptr && !Peek(1).Is(":=") && !selfAttribute) {
      Take();
      symbol = ResolveStored(first, name);
      if (symbol == nullptr && Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier) {
        // type.procedure(args): a STATIC method.
        if (const TypeDecl* type = SchemaTypeNamed(first); type && Peek().Is(".")) {
          Take();
          ExprPtr call = ParseMethodCall(nullptr, type->type, Take(), MethodUse::Procedure);
          stmt->kind = Stmt::Kind::CallRoutine;
          stmt->routine = call->routine;
          stmt->exprs = std::move(call->args);
          return stmt;
        }
      }
      if (symbol == nullptr) {
        std::string dotted = first.text;
        if (Peek().Is(".") && Peek(1).kind == Token::Kind::Identifier)
          dotted += "." + Peek(1).text;
        SemanticError(first, "PLS-00201: identifier '" + dotted + "' must be declared");
      }
      if (symbol->kind != Symbol::Kind::Routine) {
        // A package variable assigned from outside: pkg.v := e.
        stmt->kind = Stmt::Kind::Assign;
        if (symbol->kind != Symbol::Kind::Variable)
          SemanticError(first, "PLS-00221: '" + name + "' is not a procedure or is undefined");
        const auto* var = static_cast<const VarDecl*>(symbol->decl);
        if (var->constant) {
          SemanticError(
              first, "PLS-00363: expression '" + name + "' cannot be used as an assignment target");
        }
        stmt->exprs.push_back(ParseReference(*var, first, MethodUse::None));
        Expect(":=", ":= . ( @ % ;");
        stmt->exprs.push_back(ParseExpression());
        CheckAssignment(first, *stmt->exprs[0], *stmt->exprs[1]);
        FitTemporal(TypeOf(*stmt->exprs[0]), stmt->exprs[1]);
        return stmt;
      }
    } else if (symbol != nullptr && symbol->kind == Symbol::Kind::Routine) {
      Take();
    }
    if (symbol != nullptr && symbol->kind == Symbol::Kind::Routine) {
      stmt->kind = Stmt::Kind::CallRoutine;
      if (ExprPtr call = SelfMethodCall(*symbol, first, MethodUse::Procedure)) {
        stmt->routine = call->routine;
        stmt->exprs = std::move(call->args);
        return stmt;
      }
      stmt->exprs = ParseCall(first, name, *symbol, false, stmt->routine);
      return stmt;
    }
  }
  ExprPtr target = ParseTargetOrMethod();
  if (target->kind == Expr::Kind::Method) {
    stmt->kind = Stmt::Kind::CollectionCall;
    stmt->exprs.push_back(std::move(target));
    return stmt;
  }
  if (target->kind == Expr::Kind::JsonMethod) {  // a JSON object type's procedure
    stmt->kind = Stmt::Kind::JsonCall;
    stmt->exprs.push_back(std::move(target));
    return stmt;
  }
  if (target->kind == Expr::Kind::Call) {  // object.procedure(args)
    stmt->kind = Stmt::Kind::CallRoutine;
    stmt->routine = target->routine;
    stmt->exprs = std::move(target->args);
    return stmt;
  }
  stmt->kind = Stmt::Kind::Assign;
  stmt->exprs.push_back(std::move(target));
  Expect(":=", ":= . ( @ % ;");
  stmt->exprs.push_back(ParseExpression());
  CheckAssignment(first, *stmt->exprs[0], *stmt->exprs[1]);
  FitTemporal(TypeOf(*stmt->exprs[0]), stmt->exprs[1]);
  return stmt;
}

std::vector<ExprPtr> Parser::ParseArguments() {
  std::vector<ExprPtr> args;
  Expect("(", "(");
  if (Accept(")"))
    return args;
  do {
    args.push_back(ParseExpression());
  } while (Accept(","));
  Expect(")", ", )");
  return args;
}

void Parser::CheckArgumentCount(const Token& at, const std::string& name, size_t given, size_t min,
                                size_t max) {
  if (given < min || given > max) {
    SemanticError(at, "PLS-00306: wrong number or types of arguments in call to '" + name + "'");
  }
}

// A variable, a record field or a :placeholder that a value can be stored in.
ExprPtr Parser::ParseTarget() {
  const Token& at = Peek();
  if (at.kind == Token::Kind::Bind) {
    Take();
    bindNames_.insert(at.text);
    auto e = NewExpr(Expr::Kind::Bind, at);
    e->name = at.text;
    return e;
  }
  const Token& name = ExpectIdentifier("an identifier");
  const Symbol* symbol = Lookup(name.text);
  std::string stored = name.text;
  if (symbol == nullptr) {
    if (ExprPtr attribute = SelfAttribute(name, MethodUse::None)) {
      if (self_->constant) {
        SemanticError(name, "PLS-00363: expression '" + name.text +
                                "' cannot be used as an assignment target");
      }
      return attribute;
    }
    symbol = ResolveStored(name, stored);
  }
  // A plain name assigned to that nothing declares is the code's own mistake.
  if (symbol == nullptr)
    SemanticError(name, "PLS-00201: identifier '" + name.text + "' must be declared",
                  name.kind == Token::Kind::Identifier && !Peek().Is("."));
  if (symbol->kind != Symbol::Kind::Variable) {
    SemanticError(
        name, "PLS-00363: expression '" + name.text + "' cannot be used as an assignment target");
  }
  const auto* var = static_cast<const VarDecl*>(symbol->decl);
  if (var->constant) {
    SemanticError(
        name, "PLS-00363: expression '" + name.text + "' cannot be used as an assignment target");
  }
  return ParseReference(*var, name, MethodUse::None);
}

void Parser::Declare(const Token& at, const std::string& name, Symbol::Kind kind,
                     const void* decl) {
  auto& scope = scopes_.back();
  const auto existing = scope.find(name);
  // Routines of one name in one scope are overloads, told apart by their
  // arguments at each call.
  if (existing != scope.end() && kind == Symbol::Kind::Routine &&
      existing->second.kind == Symbol::Kind::Routine) {
    existing->second.routines.push_back(static_cast<const RoutineDecl*>(decl));
    return;
  }
  if (existing != scope.end()) {
    SemanticError(at, "PLS-00371: at most one declaration for '" + name + "' is permitted");
  }
  Symbol symbol;
  symbol.kind = kind;
  symbol.decl = decl;
  if (kind == Symbol::Kind::Routine)
    symbol.routines.push_back(static_cast<const RoutineDecl*>(decl));
  scope[name] = std::move(symbol);
}

const Parser::Symbol* Parser::Lookup(const std::string& name) const {
  for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
    auto found = it->find(name);
    if (found != it->end())
      return &found->second;
  }
  return nullptr;
}

const Token& Parser::Peek(size_t ahead) const {
  const size_t i = pos_ + ahead;
  return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Parser::Take() {
  const Token& t = Peek();
  if (pos_ + 1 < tokens_.size())
    ++pos_;
  return t;
}

bool Parser::Accept(const char* word) {
  if (!Peek().Is(word))
    return false;
  Take();
  return true;
}

const Token& Parser::Expect(const char* word, const char* expected) {
  if (!Peek().Is(word))
    SyntaxError(Peek(), expected);
  return Take();
}

const Token& Parser::ExpectIdentifier(const char* expected) {
  if (Peek().kind != Token::Kind::Identifier && Peek().kind != Token::Kind::QuotedIdentifier) {
    SyntaxError(Peek(), expected);
  }
  return Take();
}

void Parser::SyntaxError(const Token& at, const char* expected) const {
  CompileError e;
  e.line = at.line;
  e.column = at.column;
  std::string symbol = at.kind == Token::Kind::End ? "end-of-file" : at.text;
  if (at.kind == Token::Kind::String)
    symbol = "'" + at.text + "'";
  if (at.kind == Token::Kind::Bind)
    symbol = ":" + at.text;
  e.message = "PLS-00103: Encountered the symbol \"" + symbol +
              "\" when expecting one of the following:\n\n   " + expected;
  throw e;
}

void Parser::SqlError(const Token& at, const std::string& message) const {
  CompileError e;
  e.line = at.line;
  e.column = at.column;
  e.message = "PL/SQL: " + message;
  e.trailer = "PL/SQL: SQL Statement ignored";
  e.trailerLine = at.line;
  e.trailerColumn = at.column;
  throw e;
}

void Parser::SemanticError(const Token& at, const std::string& message, bool inCode) const {
  CompileError e;
  e.line = at.line;
  e.column = at.column;
  e.message = message;
  e.inCode = inCode;
  if (statementStart_ != nullptr) {
    e.trailer = trailer_;
    e.trailerLine = statementStart_->line;
    e.trailerColumn = statementStart_->column;
  }
  throw e;
}

ExprPtr Parser::NewExpr(Expr::Kind kind, const Token& at) const {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->line = at.line;
  e->column = at.column;
  return e;
}

}  // namespace sandbox::plsql
