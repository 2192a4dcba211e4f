// The tree of a compiled anonymous block. The parser resolves every name, so
// expressions and statements point straight at their declarations; the
// executor keeps the values of those declarations at run time.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/plsql/PlValue.h"

namespace sandbox::plsql {

struct Expr;

struct RecordField;
struct StoredUnit;

struct TypeSpec {
  // RefCursor: SYS_REFCURSOR and REF CURSOR types, whose values point at an
  // open query. Json: JSON_ELEMENT_T and its subtypes (name tells which),
  // whose values point at a JSON document.
  enum class Base { Varchar2, Char, Number, Boolean, Date, Record, Collection, RefCursor, Json };
  // Index-by tables, nested tables and varrays.
  enum class Collection { IndexBy, Nested, Varray };
  Base base = Base::Varchar2;
  int length = 0;     // VARCHAR2 and CHAR: maximum length; 0 is unconstrained
  int precision = 0;  // NUMBER: 0 is unconstrained
  int scale = 0;
  // NUMBER: the range a PL/SQL integer subtype allows (NATURAL, POSITIVE,
  // SIGNTYPE, SUBTYPE ... RANGE low .. high); a value outside it is ORA-06502.
  bool ranged = false;
  long long low = 0, high = 0;
  bool binary = false;              // BLOB: held as the hexadecimal text of its bytes
  std::vector<RecordField> fields;  // Record
  Collection collection = Collection::IndexBy;
  std::shared_ptr<const TypeSpec> element;  // Collection
  bool textKeys = false;                    // INDEX BY VARCHAR2
  long long limit = 0;                      // Varray
  std::string name;                         // of a declared TYPE; empty for others
  // TIMESTAMP and INTERVAL types, held as text: the SQL type the text
  // stands for ("TIMESTAMP WITH TIME ZONE"), for the SQL functions given it.
  std::string temporalType;
  // A schema-level type (CREATE TYPE): "OWNER.NAME". Its values go to and
  // from SQL in the form its columns hold; a Record of this kind is an
  // object, which is atomically NULL until constructed.
  std::string sqlType;

  // Held as a Variable rather than a PlValue (a cursor variable holds its
  // cursor there).
  bool IsComposite() const {
    return base == Base::Record || base == Base::Collection || base == Base::RefCursor ||
           base == Base::Json;
  }
  bool IsObject() const { return base == Base::Record && !sqlType.empty(); }
};

struct RecordField {
  std::string name;  // upper case
  TypeSpec type;
  const Expr* init = nullptr;  // a declared record type's default, owned by its TypeDecl
  bool notNull = false;
};

struct Stmt;
struct Block;
using ExprPtr = std::unique_ptr<Expr>;
using StmtList = std::vector<std::unique_ptr<Stmt>>;

struct VarDecl {
  enum class Mode { In, Out, InOut };  // of a parameter
  std::string name;
  TypeSpec type;
  bool constant = false;  // also an IN parameter, which cannot be assigned
  bool notNull = false;
  Mode mode = Mode::In;
  ExprPtr init;  // DEFAULT or := value, or a parameter's default
  int line = 0;
  // The package whose session-lived state holds the variable; null for a
  // variable of a block or routine.
  const StoredUnit* package = nullptr;
};

// SQL text sent to the server, with PL/SQL names replaced by placeholders
// :PLSQL_B1, :PLSQL_B2 ... whose values are the expressions of binds.
struct SqlText {
  std::string text;
  std::vector<ExprPtr> binds;
  bool isQuery = false;
  bool bulkInto = false;  // SELECT ... BULK COLLECT INTO collections
  // DML ... RETURNING ... INTO these, sent as the placeholders
  // ReturningPlaceholderName(0), (1) ... that the server sets.
  std::vector<ExprPtr> returningInto;
  // RETURNING ... BULK COLLECT INTO collections: every changed row.
  bool bulkReturning = false;
  // The returned values, one placeholder each: a record target's (or a
  // collection of records') fields, else one per target.
  size_t returningValues = 0;
};
std::string PlaceholderName(size_t index);           // "PLSQL_B1" for index 0
std::string ReturningPlaceholderName(size_t index);  // "PLSQL_R1" for index 0

struct CursorDecl {
  std::string name;
  std::vector<std::unique_ptr<VarDecl>> params;
  SqlText query;
  std::vector<RecordField> columns;  // the select list, for %ROWTYPE and FOR loops
  int line = 0;
  const StoredUnit* package = nullptr;  // as for VarDecl
};

struct RoutineDecl {
  std::string name;
  bool isFunction = false;
  std::vector<std::unique_ptr<VarDecl>> params;
  TypeSpec returnType;
  std::unique_ptr<Block> body;  // null for a forward or package declaration
  // The body that a forward or package declaration stands for, found
  // when the body is compiled.
  const RoutineDecl* definition = nullptr;
  int line = 0;
  int column = 0;    // of its name
  std::string unit;  // "OWNER.NAME" of the stored unit it is part of; empty in a block
  const StoredUnit* package = nullptr;  // a package's routine runs its initialisation first
  // The owner a stored unit's routine runs as (definer's rights); empty for
  // a block's routine and for AUTHID CURRENT_USER.
  std::string definer;
  // A user-defined constructor of an object type: its SELF, which starts as
  // an object of NULL attributes and is what the call returns. (A member
  // method's SELF is its first parameter.)
  std::unique_ptr<VarDecl> self;
  // A MAP or ORDER member function, which comparisons of two objects call.
  enum class Comparison { None, Map, Order };
  Comparison comparison = Comparison::None;
  // RETURN collection PIPELINED: the rows PIPE ROW gives are its result.
  bool pipelined = false;
};

// TYPE name IS RECORD (...) | TABLE OF ... | VARRAY(n) OF ...
struct TypeDecl {
  TypeSpec type;
  std::vector<ExprPtr> defaults;  // of the record's fields
};

// What a name declared in a scope stands for; a routine name may stand for
// several overloads.
struct NamedItem {
  enum class Kind { Variable, Cursor, Routine, Exception, Type };
  Kind kind = Kind::Variable;
  const void* decl = nullptr;
  std::vector<const RoutineDecl*> routines;  // Routine
};

struct ExceptionDecl {
  std::string name;
  int code = 0;  // the ORA code of a predefined exception; 0 for a declared one
};

struct Handler {
  std::vector<const ExceptionDecl*> exceptions;
  bool others = false;
  StmtList body;
};

// The timing points of a compound trigger, each of which may have a section.
enum class TimingPoint {
  BeforeStatement,
  BeforeEachRow,
  AfterEachRow,
  AfterStatement,
  InsteadOfEachRow
};

struct Block {
  std::vector<std::unique_ptr<VarDecl>> variables;  // in declaration order
  std::vector<std::unique_ptr<CursorDecl>> cursors;
  std::vector<std::unique_ptr<RoutineDecl>> routines;
  std::vector<std::unique_ptr<ExceptionDecl>> exceptions;
  std::vector<std::unique_ptr<TypeDecl>> types;
  StmtList body;
  std::vector<Handler> handlers;
  int line = 0;
  bool autonomous = false;  // PRAGMA AUTONOMOUS_TRANSACTION
  // The stored units the block calls, kept compiled while it lives.
  std::vector<std::shared_ptr<const StoredUnit>> units;
  // The schema-level types it names, whose declarations its code points at.
  std::vector<std::shared_ptr<const TypeDecl>> schemaTypes;
  // A compound trigger: its timing sections, which run in the scope of the
  // block's declarations; the block itself has no statements.
  std::map<TimingPoint, std::unique_ptr<Block>> sections;
};

struct Expr {
  enum class Kind {
    Literal,   // value
    Variable,  // variable
    Field,     // variable, fieldIndex; of args[0] when it is there, else of the variable
    Element,   // args[0] a collection, args[1] the index
    Method,    // name COUNT, EXISTS ...; args[0] the collection, then the method's arguments
    // type: the type named. A nested table or varray: args the elements; an
    // index-by table: key and value in pairs; a record: one per field (null
    // where none is given), then the OTHERS value when there is one.
    Construct,
    // name "SIMPLE": args[0] the selector, then WHEN and THEN values in
    // pairs; "SEARCHED": the pairs alone. An odd one left is the ELSE value.
    Case,
    Bind,        // name
    Negate,      // args[0]
    Not,         // args[0]
    Arithmetic,  // op "+", "-", "*", "/", "**", "||"; args[0], args[1]
    Compare,     // op "=", "<>", "<", ">", "<=", ">="
    And,
    Or,
    IsNull,   // negated: IS NOT NULL
    Like,     // args: value, pattern[, escape]
    Between,  // args: value, low, high
    InList,   // args: value, items...
    Builtin,  // name, args
    Call,     // routine, args: one per parameter, null where the default applies
    // cursor (nullptr: the implicit SQL cursor, or args[0] a cursor
    // variable), name FOUND ...
    CursorAttr,
    SequenceValue,  // name: the SQL text "OWNER"."SEQUENCE".NEXTVAL or .CURRVAL
    // A SQL function the server evaluates: name its SQL text, where each
    // kSqlOperandMark stands for the next of args; sqlType the SQLT code of
    // its result; condition when it is one (REGEXP_LIKE).
    SqlFunction,
    // A method of the JSON object types (json/JsonTypes.h), fieldIndex its
    // index in JsonMethods(): args[0] the object of a member method, then
    // the arguments; type the result's when it is a JSON object or key list.
    JsonMethod,
  };
  Kind kind = Kind::Literal;
  int line = 0;
  int column = 0;
  PlValue value;
  std::string name;  // operator, builtin, bind name, attribute
  const VarDecl* variable = nullptr;
  int fieldIndex = -1;
  const CursorDecl* cursor = nullptr;
  const RoutineDecl* routine = nullptr;
  const TypeSpec* type = nullptr;  // Field, Element, Construct: the type of the value
  std::vector<ExprPtr> args;
  bool negated = false;
  int sqlType = 0;
  bool condition = false;
};

// Marks an operand's place in a SqlFunction's text.
constexpr char kSqlOperandMark = '\x01';
// A SqlFunction's text with its operands as placeholders PlaceholderName(0) ...
std::string SqlFunctionText(const Expr& call);
// Whether an operand holds a timestamp or interval as text, which SQL must
// be told the type of.
bool IsTemporalOperand(const Expr& e);

struct Stmt {
  enum class Kind {
    Assign,     // exprs[0] target, exprs[1] value
    If,         // exprs: conditions; bodies: one per condition, then ELSE if hasElse
    Loop,       // bodies[0]
    While,      // exprs[0], bodies[0]
    ForRange,   // loopVariable, exprs[0] low, exprs[1] high, reverse, bodies[0]
    ForCursor,  // loopVariable, cursor, exprs: arguments, bodies[0]
    Exit,       // exprs: optional condition; name: the loop's label, if given
    Continue,   // as Exit
    // cursor, exprs: arguments. A cursor variable's: inlineCursor, or exprs[0]
    // the text and then the USING arguments.
    Open,
    Fetch,   // cursor, exprs: targets
    Close,   // cursor
    Return,  // exprs: optional value
    Null,
    Raise,        // exception (nullptr: re-raise the handled one)
    CallRoutine,  // routine, exprs: one per parameter, null where the default applies
    CallPackage,  // name "DBMS_OUTPUT.PUT_LINE", "RAISE_APPLICATION_ERROR"; exprs
    Block,        // block
    Sql,          // sql; exprs: INTO targets of a SELECT
    // EXECUTE IMMEDIATE: exprs[0] the text, then the USING arguments (with
    // bindModes, RETURNING INTO targets last as OUT); targets: INTO, or the
    // collections of RETURNING BULK COLLECT INTO (name kReturningBulk).
    ExecuteImmediate,
    CollectionCall,  // exprs[0]: a Method expression, EXTEND, TRIM or DELETE
    // FORALL loopVariable IN exprs[0] .. exprs[1] | INDICES OF exprs[0]
    // [BETWEEN exprs[1] AND exprs[2]] (name "INDICES") | VALUES OF exprs[0]
    // (name "VALUES") [SAVE EXCEPTIONS]: bodies[0] is its one DML or EXECUTE
    // IMMEDIATE statement.
    ForAll,
    // CASE: exprs as for a Case expression without its values; bodies: one
    // per WHEN, then ELSE if hasElse; name "SIMPLE" or "SEARCHED".
    Case,
    PipeRow,   // exprs[0]: the row a pipelined function gives
    JsonCall,  // exprs[0]: a JsonMethod expression, a member procedure
  };
  Kind kind = Kind::Null;
  int line = 0;
  std::vector<ExprPtr> exprs;
  std::vector<StmtList> bodies;
  bool hasElse = false;
  bool reverse = false;
  std::unique_ptr<VarDecl> loopVariable;
  std::string label;  // of a loop: the <<label>> before it, which EXIT and CONTINUE may name
  const CursorDecl* cursor = nullptr;
  std::unique_ptr<CursorDecl> inlineCursor;  // FOR r IN (SELECT ...), OPEN c FOR SELECT ...
  ExprPtr cursorVariable;                    // OPEN, FETCH and CLOSE of a cursor variable
  const RoutineDecl* routine = nullptr;
  const ExceptionDecl* exception = nullptr;
  std::string name;
  std::unique_ptr<Block> block;
  std::unique_ptr<SqlText> sql;
  std::vector<ExprPtr> targets;
  std::vector<VarDecl::Mode> bindModes;
  bool bulk = false;            // FETCH and EXECUTE IMMEDIATE ... BULK COLLECT INTO
  bool saveExceptions = false;  // FORALL ... SAVE EXCEPTIONS
  ExprPtr limit;                // FETCH ... BULK COLLECT INTO ... LIMIT n
};

inline constexpr const char* kReturningBulk = "RETURNING BULK COLLECT";

// SQL%BULK_ROWCOUNT, an index-by table of the rows each statement of the
// last FORALL changed, and SQL%BULK_EXCEPTIONS, one (ERROR_INDEX,
// ERROR_CODE) record per failed statement of the last FORALL ... SAVE
// EXCEPTIONS: read-only variables that the executor keeps.
const VarDecl& BulkRowCountDecl();
const VarDecl& BulkExceptionsDecl();

// The declared type of what expr names: a variable, field, element or
// constructed collection; null for other expressions.
inline const TypeSpec* TypeOf(const Expr& expr) {
  if (expr.kind == Expr::Kind::Variable)
    return &expr.variable->type;
  return expr.type;
}

inline bool IsComposite(const Expr& expr) {
  const TypeSpec* type = TypeOf(expr);
  return type != nullptr && type->IsComposite();
}

inline bool IsCursorVariable(const Expr& expr) {
  const TypeSpec* type = TypeOf(expr);
  return type != nullptr && type->base == TypeSpec::Base::RefCursor;
}

// INTO a single record, whose fields take the row, rather than a list of
// scalar targets.
// An object takes one column, the object, as a scalar does.
inline bool IsSingleRecordTarget(const std::vector<ExprPtr>& targets) {
  const TypeSpec* type = targets.size() == 1 ? TypeOf(*targets[0]) : nullptr;
  return type != nullptr && type->base == TypeSpec::Base::Record && type->sqlType.empty();
}

// A value of a schema-level type, which SQL takes and gives whole.
inline bool IsSqlTyped(const Expr& expr) {
  const TypeSpec* type = TypeOf(expr);
  return type != nullptr && !type->sqlType.empty();
}

}  // namespace sandbox::plsql
