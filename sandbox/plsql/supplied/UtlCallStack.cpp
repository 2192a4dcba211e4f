// UTL_CALL_STACK: the call stack, the error stack and the backtrace one
// entry at a time, as logging code reads its caller's unit and line.
// SUBPROGRAM gives the qualified name as one text ("PKG.PROC"), which
// CONCATENATE_SUBPROGRAM gives back unchanged; Oracle's is a varray of its
// parts, so indexing it is not supported.
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

// ORA-64610 for a depth outside 1 .. depths, as Oracle's bad depth error.
size_t Depth(const SuppliedCall& call, size_t depths) {
  const long double depth = call.args[0].IsNull() ? 0 : std::floor(NumberOf(call.args[0]));
  if (depth < 1 || depth > static_cast<long double>(depths))
    throw MakeError(64610, "bad depth indicator");
  return static_cast<size_t>(depth) - 1;
}

const StackFrame& Frame(const SuppliedCall& call) {
  return call.stack[Depth(call, call.stack.size())];
}

PlValue DynamicDepth(SuppliedCall& call) {
  return PlValue::Number(static_cast<long double>(call.stack.size()));
}

PlValue Subprogram(SuppliedCall& call) {
  return PlValue::Text(Frame(call).subprogram);
}

PlValue ConcatenateSubprogram(SuppliedCall& call) {
  return call.args[0];
}

PlValue UnitLine(SuppliedCall& call) {
  return PlValue::Number(Frame(call).line);
}

PlValue Owner(SuppliedCall& call) {
  const std::string& unit = Frame(call).unit;
  return PlValue::Text(unit.substr(0, unit.find('.') == std::string::npos ? 0 : unit.find('.')));
}

// Nesting of the subprogram within its unit: 0 for the unit itself.
PlValue LexicalDepth(SuppliedCall& call) {
  const std::string& name = Frame(call).subprogram;
  long double dots = 0;
  for (char c : name)
    dots += c == '.' ? 1 : 0;
  return PlValue::Number(dots);
}

// The error being handled is the one entry of the error stack.
PlValue ErrorDepth(SuppliedCall& call) {
  return PlValue::Number(call.handledError != nullptr ? 1 : 0);
}

PlValue ErrorNumber(SuppliedCall& call) {
  Depth(call, call.handledError != nullptr ? 1 : 0);
  // A user-defined exception stands as ORA-06510.
  return PlValue::Number(call.handledError->code != 0 ? call.handledError->code : 6510);
}

PlValue ErrorMsg(SuppliedCall& call) {
  Depth(call, call.handledError != nullptr ? 1 : 0);
  return PlValue::Text(call.handledError->code != 0 ? call.handledError->message
                                                    : "PL/SQL: unhandled user-defined exception");
}

// Depth 1 is the frame nearest the handler, the last the one that raised.
const ErrorPlace& BacktracePlace(const SuppliedCall& call) {
  const size_t depths = call.handledError != nullptr ? call.handledError->places.size() : 0;
  const size_t depth = Depth(call, depths);
  return call.handledError->places[depths - 1 - depth];
}

PlValue BacktraceDepth(SuppliedCall& call) {
  return PlValue::Number(call.handledError != nullptr
                             ? static_cast<long double>(call.handledError->places.size())
                             : 0);
}

PlValue BacktraceUnit(SuppliedCall& call) {
  return PlValue::Text(BacktracePlace(call).unit);
}

PlValue BacktraceLine(SuppliedCall& call) {
  return PlValue::Number(BacktracePlace(call).line);
}

}  // namespace

const std::vector<SuppliedRoutine>& UtlCallStackRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"UTL_CALL_STACK", "DYNAMIC_DEPTH", true, {}, DynamicDepth},
      {"UTL_CALL_STACK", "SUBPROGRAM", true, {{"DYNAMIC_DEPTH"}}, Subprogram},
      {"UTL_CALL_STACK",
       "CONCATENATE_SUBPROGRAM",
       true,
       {{"QUALIFIED_NAME"}},
       ConcatenateSubprogram},
      {"UTL_CALL_STACK", "UNIT_LINE", true, {{"DYNAMIC_DEPTH"}}, UnitLine},
      {"UTL_CALL_STACK", "OWNER", true, {{"DYNAMIC_DEPTH"}}, Owner},
      {"UTL_CALL_STACK", "LEXICAL_DEPTH", true, {{"DYNAMIC_DEPTH"}}, LexicalDepth},
      {"UTL_CALL_STACK", "ERROR_DEPTH", true, {}, ErrorDepth},
      {"UTL_CALL_STACK", "ERROR_NUMBER", true, {{"ERROR_DEPTH"}}, ErrorNumber},
      {"UTL_CALL_STACK", "ERROR_MSG", true, {{"ERROR_DEPTH"}}, ErrorMsg},
      {"UTL_CALL_STACK", "BACKTRACE_DEPTH", true, {}, BacktraceDepth},
      {"UTL_CALL_STACK", "BACKTRACE_UNIT", true, {{"BACKTRACE_DEPTH"}}, BacktraceUnit},
      {"UTL_CALL_STACK", "BACKTRACE_LINE", true, {{"BACKTRACE_DEPTH"}}, BacktraceLine},
  };
  return routines;
}

}  // namespace sandbox::plsql
