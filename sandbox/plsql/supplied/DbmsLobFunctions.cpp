// DBMS_LOB's functions and constants, for blocks and for SQL (views commonly
// show a CLOB as DBMS_LOB.SUBSTR(col, 4000, 1)): a CLOB counts characters,
// a BLOB bytes. Its procedures are in DbmsLobProcedures.
#include <algorithm>
#include <cmath>

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

// COMPARE(lob1, lob2, amount, offset1, offset2): 0 when the pieces are
// equal, else -1 or 1 as the first is less or greater; NULL for an argument
// out of range.
PlValue Compare(SuppliedCall& call) {
  const bool binary = call.binary[0] || call.binary[1];
  std::size_t whole[3] = {0, 1, 1};
  for (size_t i = 2; i < 5; ++i) {
    if (!call.given[i])
      continue;
    const long double n = call.args[i].IsNull() ? 0 : std::trunc(NumberOf(call.args[i]));
    if (n < 1 || n > kLobMaxSize)
      return {};
    whole[i - 2] = static_cast<std::size_t>(std::min(n, 1e15L));
  }
  if (call.args[0].IsNull() || call.args[1].IsNull())
    return {};
  const std::size_t amount = call.given[2] ? whole[0] : std::string::npos / 4;
  const std::string a = LobPiece(call.args[0].text(), whole[1] - 1, amount, binary);
  const std::string b = LobPiece(call.args[1].text(), whole[2] - 1, amount, binary);
  const int order = a.compare(b);
  return PlValue::Number(order < 0 ? -1 : order > 0 ? 1 : 0);
}

PlValue IsOpen(SuppliedCall& call) {
  if (call.args[0].IsNull())
    throw MakeError(22275, "invalid LOB locator specified");
  return PlValue::Number(call.args[0].lobOpen() ? 1 : 0);
}

// 1 for a temporary LOB, 0 for a locator of a table row.
PlValue IsTemporary(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  return PlValue::Number(call.args[0].location() == nullptr ? 1 : 0);
}

// The usable part of an 8 KB block, in bytes of a BLOB and in the
// two-byte characters a CLOB of a multibyte database keeps.
PlValue GetChunkSize(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  return PlValue::Number(call.binary[0] ? 8132 : 4066);
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
PlValue LobMaxSize(SuppliedCall&) {
  return PlValue::Number(kLobMaxSize);
}
PlValue Zero(SuppliedCall&) {  // DEFAULT_CSID, DEFAULT_LANG_CTX, NO_WARNING
  return PlValue::Number(0);
}
PlValue WarnInconvertibleChar(SuppliedCall&) {
  return PlValue::Number(1);
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
       "COMPARE",
       true,
       {{"LOB_1"},
        {"LOB_2"},
        {"AMOUNT", false, true},
        {"OFFSET_1", false, true},
        {"OFFSET_2", false, true}},
       Compare},
      {"DBMS_LOB", "ISOPEN", true, {{"LOB_LOC"}}, IsOpen},
      {"DBMS_LOB", "ISTEMPORARY", true, {{"LOB_LOC"}}, IsTemporary},
      {"DBMS_LOB", "GETCHUNKSIZE", true, {{"LOB_LOC"}}, GetChunkSize},
      {"DBMS_LOB", "LOB_READONLY", true, {}, LobReadOnly},
      {"DBMS_LOB", "LOB_READWRITE", true, {}, LobReadWrite},
      {"DBMS_LOB", "SESSION", true, {}, SessionDuration},
      {"DBMS_LOB", "CALL", true, {}, CallDuration},
      {"DBMS_LOB", "LOBMAXSIZE", true, {}, LobMaxSize},
      {"DBMS_LOB", "DEFAULT_CSID", true, {}, Zero},
      {"DBMS_LOB", "DEFAULT_LANG_CTX", true, {}, Zero},
      {"DBMS_LOB", "NO_WARNING", true, {}, Zero},
      {"DBMS_LOB", "WARN_INCONVERTIBLE_CHAR", true, {}, WarnInconvertibleChar},
  };
  return routines;
}

}  // namespace sandbox::plsql
