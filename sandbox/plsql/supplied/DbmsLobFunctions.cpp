// DBMS_LOB's functions, for blocks and for SQL (views commonly show a CLOB
// as DBMS_LOB.SUBSTR(col, 4000, 1)): a CLOB counts characters, a BLOB bytes.
// Its procedures (APPEND, WRITEAPPEND) write their LOB argument back and
// have a statement of their own (ParserDbmsLob).
#include "sandbox/plsql/DbmsLob.h"
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
  };
  return routines;
}

}  // namespace sandbox::plsql
