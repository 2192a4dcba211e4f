// DBMS_APPLICATION_INFO, DBMS_SESSION and DBMS_LOCK: what the session tells
// about itself (MODULE, ACTION, CLIENT_INFO, CLIENT_IDENTIFIER, which
// SYS_CONTEXT('USERENV', ...) reads back) and SLEEP.
#include <chrono>
#include <cmath>
#include <thread>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

// Oracle keeps the first bytes of a longer value, whole characters only.
std::string Cut(std::string text, size_t bytes) {
  if (text.size() <= bytes)
    return text;
  size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  text.resize(end);
  return text;
}

void Set(SuppliedCall& call, const char* name, size_t i, size_t bytes) {
  call.session.SetSessionAttribute(name, Cut(SuppliedText(call, i), bytes));
}

PlValue SetModule(SuppliedCall& call) {
  Set(call, "MODULE", 0, 48);
  Set(call, "ACTION", 1, 32);
  return {};
}

PlValue SetAction(SuppliedCall& call) {
  Set(call, "ACTION", 0, 32);
  return {};
}

PlValue SetClientInfo(SuppliedCall& call) {
  Set(call, "CLIENT_INFO", 0, 64);
  return {};
}

PlValue ReadModule(SuppliedCall& call) {
  call.args[0] = PlValue::Text(call.session.SessionAttribute("MODULE"));
  call.args[1] = PlValue::Text(call.session.SessionAttribute("ACTION"));
  return {};
}

PlValue ReadClientInfo(SuppliedCall& call) {
  call.args[0] = PlValue::Text(call.session.SessionAttribute("CLIENT_INFO"));
  return {};
}

PlValue SetIdentifier(SuppliedCall& call) {
  Set(call, "CLIENT_IDENTIFIER", 0, 64);
  return {};
}

PlValue ClearIdentifier(SuppliedCall& call) {
  call.session.SetSessionAttribute("CLIENT_IDENTIFIER", "");
  return {};
}

// Seconds, to the hundredth; ORA-38148 outside 0 .. 3153600 as Oracle has it.
PlValue Sleep(SuppliedCall& call) {
  if (call.args[0].IsNull())
    throw MakeError(38148, "invalid time limit specified");
  const long double seconds = NumberOf(call.args[0]);
  if (seconds < 0 || seconds > 3153600)
    throw MakeError(38148, "invalid time limit specified");
  std::this_thread::sleep_for(
      std::chrono::milliseconds(static_cast<long long>(std::llround(seconds * 100)) * 10));
  return {};
}

}  // namespace

const std::vector<SuppliedRoutine>& SessionInfoRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_APPLICATION_INFO", "SET_MODULE", false, {{"MODULE_NAME"}, {"ACTION_NAME"}}, SetModule},
      {"DBMS_APPLICATION_INFO", "SET_ACTION", false, {{"ACTION_NAME"}}, SetAction},
      {"DBMS_APPLICATION_INFO", "SET_CLIENT_INFO", false, {{"CLIENT_INFO"}}, SetClientInfo},
      {"DBMS_APPLICATION_INFO",
       "READ_MODULE",
       false,
       {{"MODULE_NAME", true}, {"ACTION_NAME", true}},
       ReadModule},
      {"DBMS_APPLICATION_INFO", "READ_CLIENT_INFO", false, {{"CLIENT_INFO", true}}, ReadClientInfo},
      {"DBMS_SESSION", "SET_IDENTIFIER", false, {{"CLIENT_ID"}}, SetIdentifier},
      {"DBMS_SESSION", "CLEAR_IDENTIFIER", false, {}, ClearIdentifier},
      {"DBMS_SESSION", "SLEEP", false, {{"SECONDS"}}, Sleep},
      {"DBMS_LOCK", "SLEEP", false, {{"SECONDS"}}, Sleep},
  };
  return routines;
}

}  // namespace sandbox::plsql
