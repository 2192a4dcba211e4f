// Oracle's supplied packages that the interpreter provides itself
// (DBMS_UTILITY, DBMS_ASSERT, DBMS_APPLICATION_INFO, DBMS_SESSION,
// DBMS_LOCK, DBMS_RANDOM, DBMS_LOB, UTL_CALL_STACK, UTL_RAW, UTL_ENCODE,
// UTL_I18N, DBMS_SQL): each routine's parameters, for calls by position and by
// name, and its body. DBMS_OUTPUT has statements of its own in the parser. A
// routine may be overloaded: the call takes the first of its name whose
// parameters the arguments fit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sandbox/plsql/PlValue.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct CursorState;
struct SuppliedRoutine;
struct PlError;
struct TypeDecl;
struct TypeSpec;
struct Variable;
class DynamicBinds;

// What a routine may ask of the block that calls it beyond the values of
// its arguments: the declared type of an argument, the record, collection
// or cursor variable it names, and the nesting of the statements it runs.
class SuppliedCaller {
 public:
  virtual ~SuppliedCaller() = default;
  // The declared type of argument i; null for an expression or a bind.
  virtual const TypeSpec* DeclaredType(size_t i) const = 0;
  // The variable argument i names, to read or fill; PLS-00382 for an
  // expression that names none.
  virtual Variable& Target(size_t i) = 0;
  // binds as a dynamic statement run for the call nests them (ORA-00036
  // past Oracle's limit of recursive levels).
  virtual void Nest(DynamicBinds& binds) = 0;
};

// A unit on the PL/SQL call stack and the line running in it.
struct StackFrame {
  std::string unit;  // "OWNER.NAME"; empty for an anonymous block
  std::string kind;  // "procedure", "package body" ... or "anonymous block"
  int line = 0;
  // The subprogram running in it, as UTL_CALL_STACK names it: "PKG.PROC",
  // "PROC", "__anonymous_block" or "__anonymous_block.LOCAL".
  std::string subprogram;
};

// One call of a supplied routine.
struct SuppliedCall {
  explicit SuppliedCall(Session& s, const PlError* handled = nullptr)
      : session(s), handledError(handled) {}

  Session& session;
  const PlError* handledError;    // the exception a handler runs for, if any
  std::vector<StackFrame> stack;  // innermost first
  std::vector<PlValue> args;      // one per parameter; the body sets OUT ones
  std::vector<bool> given;        // which parameters the call gave
  // Which arguments are BLOB or RAW values (hexadecimal digits in args).
  std::vector<bool> binary;
  // Set by a body whose result is binary, for a caller in SQL.
  bool binaryResult = false;
  const SuppliedRoutine* routine = nullptr;
  // The calling block; null for a call from SQL.
  SuppliedCaller* caller = nullptr;
  // A function whose result is a cursor variable sets it here.
  std::shared_ptr<CursorState> cursorResult;
};

struct SuppliedParam {
  const char* name;
  bool out = false;  // OUT, or IN OUT when inOut is set too
  bool optional = false;
  bool inOut = false;
  // A record, collection or cursor variable, or a value whose declared type
  // the routine follows: the argument is left to the body (SuppliedCaller),
  // neither evaluated before the call nor assigned after it.
  bool byReference = false;
};

struct SuppliedRoutine {
  const char* package;
  const char* name;
  bool function = false;
  std::vector<SuppliedParam> params;
  // Throws PlError as the routine raises.
  PlValue (*body)(SuppliedCall& call) = nullptr;
  // A function whose result is a cursor variable (cursorResult).
  bool returnsCursor = false;
  // A function whose result is always RAW (hexadecimal digits in PL/SQL).
  bool rawResult = false;
};

// A function whose result is always RAW; named so that no positional flag
// of the tables can be taken for another.
inline SuppliedRoutine RawFunction(const char* package, const char* name,
                                   std::vector<SuppliedParam> params,
                                   PlValue (*body)(SuppliedCall&)) {
  SuppliedRoutine routine{package, name, true, std::move(params), body};
  routine.rawResult = true;
  return routine;
}

bool IsSuppliedPackage(const std::string& name);
// By package and routine name (upper case); null when there is none.
const SuppliedRoutine* FindSupplied(const std::string& package, const std::string& name);
// By "PACKAGE.ROUTINE", or "PACKAGE.ROUTINE#n" for the overload after n others.
const SuppliedRoutine* FindSupplied(const std::string& qualified);
// The overloads of a routine, in the order calls try them.
std::vector<const SuppliedRoutine*> SuppliedOverloads(const std::string& package,
                                                      const std::string& name);
// A type a supplied package declares (DBMS_SQL.DESC_TAB ...); null for none.
const TypeDecl* SuppliedType(const std::string& package, const std::string& name);

// The packages' routines, one list per package file.
const std::vector<SuppliedRoutine>& DbmsUtilityRoutines();
const std::vector<SuppliedRoutine>& DbmsAssertRoutines();
const std::vector<SuppliedRoutine>& SessionInfoRoutines();
const std::vector<SuppliedRoutine>& DbmsRandomRoutines();
const std::vector<SuppliedRoutine>& DbmsLobRoutines();
const std::vector<SuppliedRoutine>& DbmsLobProcedures();
const std::vector<SuppliedRoutine>& UtlRawRoutines();
const std::vector<SuppliedRoutine>& UtlEncodeRoutines();
const std::vector<SuppliedRoutine>& UtlI18nRoutines();
const std::vector<SuppliedRoutine>& UtlCallStackRoutines();
const std::vector<SuppliedRoutine>& DbmsSqlRoutines();

// Text of an argument (NULL as empty), for the bodies.
std::string SuppliedText(const SuppliedCall& call, size_t i);

}  // namespace sandbox::plsql
