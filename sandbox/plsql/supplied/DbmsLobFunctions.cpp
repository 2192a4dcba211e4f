// DBMS_LOB's functions, for blocks and for SQL (views commonly show a CLOB
// as DBMS_LOB.SUBSTR(col, 4000, 1)), and its procedures for temporary LOBs:
// a CLOB counts characters, a BLOB bytes. APPEND and WRITEAPPEND have a
// statement of their own (ParserDbmsLob). A LOB is a value here, not a
// locator: writing to one selected from a table does not change the table.
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

PlValue Given(const SuppliedCall& call, size_t i, long double fallback) {
  return call.given[i] ? call.args[i] : PlValue::Number(fallback);
}

PlValue GetLength(SuppliedCall& call) {
  return LobLength(call.args[0], call.binary[0]);
}

PlValue Substr(SuppliedCall& call) {
  call.binaryResult = call.binary[0];
  return LobSubstr(call.args[0], Given(call, 1, 32767), Given(call, 2, 1), call.binary[0]);
}

PlValue Instr(SuppliedCall& call) {
  return LobInstr(call.args[0], call.args[1], Given(call, 2, 1), Given(call, 3, 1), call.binary[0]);
}

PlValue CreateTemporary(SuppliedCall& call) {
  call.args[0] = PlValue::EmptyLob();
  return {};
}

PlValue FreeTemporary(SuppliedCall& call) {
  call.args[0] = PlValue();
  return {};
}

// OPEN and CLOSE mark a LOB for a series of writes; the value stays.
PlValue KeepLob(SuppliedCall&) {
  return {};
}

// The LOB cut to NEWLEN characters (bytes); ORA-22926 when it is shorter.
PlValue Trim(SuppliedCall& call) {
  if (call.args[0].IsNull())
    throw MakeError(22275, "invalid LOB locator specified");
  const PlValue length = LobLength(call.args[0], call.binary[0]);
  if (call.args[1].IsNull() || NumberOf(call.args[1]) < 0 ||
      NumberOf(call.args[1]) > length.number())
    throw MakeError(22926, "specified trim length is greater than current LOB value's length");
  call.args[0] = NumberOf(call.args[1]) == 0
                     ? PlValue::EmptyLob()
                     : LobSubstr(call.args[0], call.args[1], PlValue::Number(1), call.binary[0]);
  return {};
}

// The package's constants, read as functions without arguments.
PlValue LobReadOnly(SuppliedCall&) {
  return PlValue::Number(0);
}
PlValue LobReadWrite(SuppliedCall&) {
  return PlValue::Number(1);
}
PlValue SessionDuration(SuppliedCall&) {
  return PlValue::Number(10);
}
PlValue CallDuration(SuppliedCall&) {
  return PlValue::Number(12);
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsLobRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_LOB", "GETLENGTH", true, {{"LOB_LOC"}}, GetLength},
      {"DBMS_LOB",
       "SUBSTR",
       true,
       {{"LOB_LOC"}, {"AMOUNT", false, true}, {"OFFSET", false, true}},
       Substr},
      {"DBMS_LOB",
       "INSTR",
       true,
       {{"LOB_LOC"}, {"PATTERN"}, {"OFFSET", false, true}, {"NTH", false, true}},
       Instr},
      {"DBMS_LOB",
       "CREATETEMPORARY",
       false,
       {{"LOB_LOC", true, false, true}, {"CACHE"}, {"DUR", false, true}},
       CreateTemporary},
      {"DBMS_LOB", "FREETEMPORARY", false, {{"LOB_LOC", true, false, true}}, FreeTemporary},
      {"DBMS_LOB", "OPEN", false, {{"LOB_LOC", true, false, true}, {"OPEN_MODE"}}, KeepLob},
      {"DBMS_LOB", "CLOSE", false, {{"LOB_LOC", true, false, true}}, KeepLob},
      {"DBMS_LOB", "LOB_READONLY", true, {}, LobReadOnly},
      {"DBMS_LOB", "LOB_READWRITE", true, {}, LobReadWrite},
      {"DBMS_LOB", "SESSION", true, {}, SessionDuration},
      {"DBMS_LOB", "CALL", true, {}, CallDuration},
      {"DBMS_LOB", "TRIM", false, {{"LOB_LOC", true, false, true}, {"NEWLEN"}}, Trim},
  };
  return routines;
}

}  // namespace sandbox::plsql
