// Compiles the tokens of an anonymous block into a tree (Ast.h). Names are
// resolved while parsing, as PL/SQL requires a declaration before use, so an
// undeclared name fails the whole block before anything runs. Embedded SQL is
// rewritten with binds for the PL/SQL names it uses and described through the
// session, so a wrong query also fails at compile time, as on Oracle.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct CompileError {
  int line = 0;
  int column = 0;
  std::string message;  // "PLS-00201: identifier 'X' must be declared"
  // Oracle's second message, "PL/SQL: Statement ignored", at the start of the
  // statement or declaration that was dropped; empty for syntax errors.
  std::string trailer;
  int trailerLine = 0;
  int trailerColumn = 0;
  // An error in what the code says (a call no declaration matches, a
  // subprogram the body lacks ...), not in a construct this compiler lacks:
  // the dictionary lists it and keeps the unit INVALID.
  bool inCode = false;
};

// The PL/SQL type of a described column, and the fields of a record of such
// columns. Unconstrained types are used for computed select-list columns,
// whose sizes the server only estimates.
TypeSpec TypeOfColumn(const ColumnInfo& column, bool constrained);
std::vector<RecordField> FieldsOfColumns(const std::vector<ColumnInfo>& columns, bool constrained);

// Whether an OUT argument can take the value: a variable, a field or a bind.
bool IsAssignable(const Expr& e);

class Parser {
 public:
  Parser(const std::string& source, const std::vector<Token>& tokens, Session& session);

  // Returns the compiled block, or nullptr with error set.
  std::unique_ptr<Block> Parse(CompileError& error);
  // Compiles a stored unit's text into unit: PROCEDURE, FUNCTION or PACKAGE
  // (the declaration). False with error set when it does not compile.
  bool ParseUnit(StoredUnit& unit, CompileError& error);
  // Compiles a package body, this parser's text, against the declaration
  // that spec compiled into unit.
  bool ParsePackageBody(const Parser& spec, StoredUnit& unit, CompileError& error);
  // Compiles an object type's body, this parser's text, into unit: its
  // methods are unit's members (ParserTypeBody.cpp).
  bool ParseTypeBody(StoredUnit& unit, CompileError& error);
  // Names of the :placeholders the block uses, upper case.
  const std::set<std::string>& BindNames() const { return bindNames_; }

 private:
  using Symbol = NamedItem;
  // The collection methods (and, of objects, the member methods) a name may
  // end with: none, functions only, or procedures only.
  enum class MethodUse { None, Function, Procedure };
  struct Actual {      // an argument of a call as written
    std::string name;  // the parameter it names (=>), or empty
    ExprPtr value;
    const Token* at = nullptr;
    size_t end = 0;  // source offset after its last token
  };

  // Blocks and declarations.
  std::unique_ptr<Block> ParseBlockBody(bool hasDeclare, const std::string& endName);
  // package: the package whose state holds these declarations (its
  // declaration's or body's), or null for a block's.
  void ParseDeclarations(Block& block, const StoredUnit* package = nullptr);
  void ParseCursorDeclaration(Block& block, const StoredUnit* package);
  // self: the object type of a member method (whose first parameter is
  // SELF) or constructor; null for other routines.
  enum class Method { None, Member, Constructor };
  void ParseRoutineDeclaration(Block& block, bool isFunction, const StoredUnit* package,
                               const TypeSpec* self = nullptr, Method method = Method::None);
  // Finds the forward or package declaration that routine defines.
  bool LinkDefinition(const RoutineDecl& routine);
  std::vector<std::unique_ptr<VarDecl>> ParseParameters(bool withModes);
  void ParseHandlers(Block& block);
  // After COMPOUND TRIGGER: the shared declarations and the timing sections
  // (ParserCompound.cpp).
  std::unique_ptr<Block> ParseCompoundTrigger();
  // Whether a timing section of a compound trigger starts at the next token.
  bool StartsTimingPoint() const;
  TypeSpec ParseType(bool forParameter);
  // TYPE name IS RECORD | TABLE OF | VARRAY ..., SUBTYPE name IS type; after
  // the keyword.
  void ParseTypeDeclaration(Block& block, bool subtype);
  // The declared type a name (first, already taken) or pkg.name stands for;
  // null when it names none.
  const TypeDecl* ResolveTypeName(const Token& first);
  // A schema-level type named by first (already taken) or first.name (an
  // owner's), its tokens taken; null, nothing more taken, when none is.
  const TypeDecl* SchemaTypeNamed(const Token& first);
  const TypeDecl* SchemaType(const std::string& owner, const std::string& name);
  // The schema-level types compiled so far, now kept by block.
  void KeepSchemaTypes(Block& block);
  // Methods of object types (ParserTypeBody.cpp). The methods of type
  // called name; null when it has none.
  const NamedItem* MethodsNamed(const TypeSpec& type, const std::string& name);
  // Every method of type by name; null when it has no body.
  const std::map<std::string, NamedItem>* MethodsOf(const TypeSpec& type);
  // object.name(args) after the name was taken: a member method of type
  // (object null: a STATIC one, type.name(args)); a procedure when use is
  // Procedure. PLS-00302 when type has no such method.
  ExprPtr ParseMethodCall(ExprPtr object, const TypeSpec& type, const Token& name, MethodUse use);
  // type(args): a user-defined constructor the arguments fit, else the
  // default constructor.
  ExprPtr ParseObjectConstructor(const TypeDecl& decl, const Token& at);
  // An attribute of SELF named without it inside a member method; null when
  // name is none.
  ExprPtr SelfAttribute(const Token& name, MethodUse use);
  // A member method of SELF called without it inside a member method (its
  // name taken); null when the routines of item are no member methods.
  // Whether the object type type ("OWNER.NAME") is under super.
  bool IsSubtypeOf(std::string type, const std::string& super);
  // (SELF AS supertype).method(args) in a member method of a subtype.
  ExprPtr ParseGeneralizedInvocation();
  ExprPtr SelfMethodCall(const NamedItem& item, const Token& name, MethodUse use);
  // left op right where left is an object: a comparison through its type's
  // MAP method (of both values) or ORDER method (of left, given right,
  // against 0); as written when the type has neither.
  ExprPtr CompareObjects(ExprPtr left, ExprPtr right, const Token& op, const std::string& name);
  // Inside a type body, the type's name stands for its constructors: the
  // type it names there, else null.
  const TypeDecl* ConstructedType(const NamedItem* item, const Token& name);
  TypeSpec ParseAnchoredType(const Token& first);

  // Statements.
  StmtList ParseStatements(std::initializer_list<const char*> terminators);
  std::unique_ptr<Stmt> ParseStatement();
  std::unique_ptr<Stmt> ParseIf();
  std::unique_ptr<Stmt> ParseFor(const Token& start, const std::string& label);
  std::unique_ptr<Stmt> ParseNameStatement();
  std::unique_ptr<Stmt> ParseCursorCommand(Stmt::Kind kind);
  std::unique_ptr<Stmt> ParseRaise();
  std::unique_ptr<Stmt> ParseExecuteImmediate();
  std::unique_ptr<Stmt> ParseForAll();
  // After CASE, as an expression or as a statement.
  ExprPtr ParseCaseExpression(const Token& at);
  std::unique_ptr<Stmt> ParseCaseStatement();
  // Whether INTO targets (collections when bulk) take rows of columns
  // columns: one per column, or one record (or collection of records).
  bool IntoFits(const std::vector<ExprPtr>& targets, bool bulk, size_t columns) const;
  // BULK COLLECT INTO takes collections indexed by number only.
  void CheckBulkTargets(const std::vector<ExprPtr>& targets, const Token& at) const;
  StmtList ParseLoopBody(const std::string& label);
  std::vector<ExprPtr> ParseArguments();
  // A call of one of item's routines (a function when wantFunction): its
  // arguments by position or by name, matched to the overload they fit.
  // Returns one argument per parameter of chosen, null where its default
  // applies.
  // self, when given, is the object a member method is called on: the
  // first argument, before those written.
  std::vector<ExprPtr> ParseCall(const Token& at, const std::string& name, const NamedItem& item,
                                 bool wantFunction, const RoutineDecl*& chosen,
                                 ExprPtr self = nullptr);
  std::vector<Actual> ParseActuals();
  // A stored unit's name starting at first (already taken): proc,
  // owner.proc, pkg.member, owner.pkg.member, through synonyms too. Takes
  // the name's tokens and returns the member it names; null, taking nothing,
  // when no stored unit has the name.
  const NamedItem* ResolveStored(const Token& first, std::string& name);
  // A package's cursor named from outside it (pkg.c, owner.pkg.c) at the
  // next token: taken, at set to its first token; null, nothing taken, when
  // the name is no such cursor.
  const NamedItem* StoredCursorAhead(const Token*& at);
  void CheckArgumentCount(const Token& at, const std::string& name, size_t given, size_t min,
                          size_t max);
  ExprPtr ParseTarget();
  // PLS-00382 when a record or collection meets a value of another kind.
  void CheckAssignment(const Token& at, const Expr& target, const Expr& value) {
    CheckTypes(at, TypeOf(target), value);
  }
  void CheckTypes(const Token& at, const TypeSpec* to, const Expr& value);
  // ParseTarget that also takes t.EXTEND, t.TRIM and t.DELETE.
  ExprPtr ParseTargetOrMethod();
  // A SQL function the interpreter leaves to the server (ParserSqlFunctions):
  // null, nothing taken, when name is none; PLS-00204 for one of SQL only.
  ExprPtr ParseSqlFunction(const Token& name);
  // A builtin call, + and - or a comparison of a timestamp or interval,
  // made over to the server because an operand is one.
  ExprPtr SqlFunctionOf(const Token& at, const std::string& function, std::vector<ExprPtr> args);
  ExprPtr SqlArithmeticOf(const Token& at, const std::string& op, ExprPtr left, ExprPtr right);
  ExprPtr SqlComparisonOf(const Token& at, const std::string& op, ExprPtr left, ExprPtr right);
  // DATE '...' (a value), TIMESTAMP '...' and INTERVAL '...' unit [TO unit]
  // (SQL the server evaluates, as it knows their types).
  ExprPtr ParseDatetimeLiteral();
  // A SQL value stored where a timestamp or interval is kept as text is
  // first converted to that type by the server, as an assignment would.
  void FitTemporal(const TypeSpec* to, ExprPtr& value);
  // The operand's SQL text within call, whose args take its PL/SQL values.
  std::string SqlOperand(ExprPtr operand, Expr& call);
  // Its result type; PLS-00201 or PLS-00306 when the server knows no such call.
  void DescribeSqlFunction(const Token& name, Expr& call);
  // A supplied package's routine after its package name (ParserSupplied):
  // one argument per parameter, null where the call gives none.
  std::vector<ExprPtr> ParseSuppliedCall(const Token& package, bool wantFunction,
                                         std::string& qualified);
  // The JSON object types (json/ParserJson.cpp): object.name(args) after the
  // name was taken (object null: a static function of type); the type's
  // constructor or type.PARSE(...) after its name; TREAT(value AS type)
  // after TREAT, null with nothing taken when type is no JSON type.
  ExprPtr ParseJsonMethod(ExprPtr object, const TypeSpec& type, const Token& name, MethodUse use);
  ExprPtr ParseJsonType(const TypeDecl& decl, const Token& at);
  ExprPtr FinishJsonCall(int index, ExprPtr object, const TypeSpec& own, const Token& name,
                         MethodUse use);
  ExprPtr ParseJsonTreat(const Token& at);

  // Expressions.
  ExprPtr ParseExpression();
  ExprPtr ParseOr();
  ExprPtr ParseAnd();
  ExprPtr ParseNot();
  ExprPtr ParseComparison();
  ExprPtr ParseAdditive();
  ExprPtr ParseMultiplicative();
  ExprPtr ParseUnary();
  ExprPtr ParsePower();
  ExprPtr ParsePrimary();
  ExprPtr ParseName();
  // seq.NEXTVAL, owner.seq.CURRVAL ... after name; null when the tokens are
  // not a sequence pseudo-column.
  ExprPtr ParseSequenceValue(const Token& name);
  // What follows a variable's name: fields of records, elements of
  // collections and a collection method of the kind use allows, which ends
  // the chain.
  ExprPtr ParseReference(const VarDecl& variable, const Token& at, MethodUse use);
  // The fields, elements and method after e, a record or collection value:
  // a variable, or a function's result (f(x).field, f(x)(i)).
  ExprPtr ParseSuffixes(ExprPtr e, const Token& at, MethodUse use);
  // The field index of record, a record value.
  ExprPtr FieldOf(ExprPtr record, size_t index, const Token& at) const;
  // A collection's constructor or a qualified expression of a record or
  // index-by table type.
  ExprPtr ParseConstructor(const TypeDecl& decl, const Token& at);
  ExprPtr ParseRecordAggregate(const TypeSpec& type, const Token& at);
  ExprPtr ParseIndexedAggregate(const TypeSpec& type, const Token& at);

  // Embedded SQL.
  std::unique_ptr<SqlText> ParseSql(bool insideParentheses, std::vector<ExprPtr>* intoTargets);
  // The type of the record expression at the next token, which is not
  // taken (PLS-00382 for another kind of value).
  const TypeSpec& RecordAhead(const Token& at);
  // The targets after a DML statement's RETURNING ... INTO, with their
  // placeholders.
  void ParseReturningTargets(SqlText& sql, const Token& into);
  // After UPDATE t SET ROW =: the record, as a column = field list.
  void SetRow(SqlText& sql, size_t begin);
  // FETCH ... [BULK COLLECT] INTO targets [LIMIT n] after the cursor's name.
  void ParseFetchTargets(Stmt& stmt, const Token& name);
  // Cursor variables (ParserRefCursor.cpp): OPEN c FOR query | text [USING
  // ...], FETCH and CLOSE of one, and c%FOUND ...
  std::unique_ptr<Stmt> ParseCursorVariableCommand(Stmt::Kind kind, const Token& name,
                                                   const VarDecl& variable);
  ExprPtr ParseCursorVariableAttribute(const VarDecl& variable, const Token& name);
  std::set<std::string> ColumnsOfReferencedTables(size_t begin, size_t end);
  size_t SqlEnd(size_t begin, bool insideParentheses) const;
  std::vector<RecordField> DescribeQuery(const SqlText& sql, const Token& at);

  // Stored units.
  void PushStandardScope();
  void SkipUnitHeader();
  void ExpectUnitEnd(const std::string& name);

  // Scopes.
  void PushScope() { scopes_.emplace_back(); }
  void PopScope() { scopes_.pop_back(); }
  void Declare(const Token& at, const std::string& name, Symbol::Kind kind, const void* decl);
  const Symbol* Lookup(const std::string& name) const;
  const ExceptionDecl* ExceptionNamed(const Token& name);

  // Tokens.
  const Token& Peek(size_t ahead = 0) const;
  const Token& Take();
  bool Accept(const char* word);
  const Token& Expect(const char* word, const char* expected);
  const Token& ExpectIdentifier(const char* expected);
  [[noreturn]] void SyntaxError(const Token& at, const char* expected) const;
  [[noreturn]] void SemanticError(const Token& at, const std::string& message,
                                  bool inCode = false) const;
  // An embedded SQL statement the server rejects: "PL/SQL: ORA-nnnnn ...".
  [[noreturn]] void SqlError(const Token& at, const std::string& message) const;
  ExprPtr NewExpr(Expr::Kind kind, const Token& at) const;
  int IntegerToken(const Token& t) const;
  long long SignedIntegerLiteral();
  void EnterNesting();

  const std::string& source_;
  const std::vector<Token>& tokens_;
  Session& session_;
  size_t pos_ = 0;
  std::vector<std::map<std::string, Symbol>> scopes_;
  std::set<std::string> bindNames_;
  // The labels of the loops around the statement being read ("" for an
  // unlabelled one), and the label read just before the next statement.
  std::vector<std::string> loopLabels_;
  std::string nextLoopLabel_;
  int nestingDepth_ = 0;  // bounds the recursion of nested expressions and statements
  const RoutineDecl* currentFunction_ = nullptr;
  const VarDecl* self_ = nullptr;  // SELF of the member method being compiled
  size_t typeBodyScope_ = 0;       // where a type body's methods are declared; 0 outside one
  const Token* statementStart_ = nullptr;
  const char* trailer_ = "PL/SQL: Statement ignored";
  // Stored units: the schema names resolve in (the unit's owner), the unit
  // being compiled, forward declarations awaiting their bodies and the units
  // the text calls.
  std::string owner_;
  StoredUnit* compiling_ = nullptr;
  std::vector<RoutineDecl*> forwards_;
  std::vector<std::shared_ptr<const StoredUnit>> usedUnits_;
  // Schema-level types by "OWNER.NAME" (null: no such type), read once.
  std::map<std::string, std::shared_ptr<const TypeDecl>> schemaTypes_;
};

}  // namespace sandbox::plsql
