// DBMS_UTILITY: the error stack and backtrace of the exception being
// handled, the PL/SQL call stack, GET_TIME / GET_CPU_TIME and DB_VERSION.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

PlValue FormatErrorStack(SuppliedCall& call) {
  if (call.handledError == nullptr)
    return {};
  return PlValue::Text(call.handledError->SqlErrm() + "\n");
}

// Where the exception was raised, then each call it left, as the
// "ORA-06512: at ..." lines Oracle appends to an unhandled error.
PlValue FormatErrorBacktrace(SuppliedCall& call) {
  if (call.handledError == nullptr)
    return {};
  std::string text;
  for (const ErrorPlace& place : call.handledError->places) {
    if (place.line == 0)
      continue;
    text += "ORA-06512: at " + (place.unit.empty() ? std::string() : "\"" + place.unit + "\", ") +
            "line " + std::to_string(place.line) + "\n";
  }
  return PlValue::Text(text);
}

PlValue FormatCallStack(SuppliedCall& call) {
  std::string text =
      "----- PL/SQL Call Stack -----\n"
      "  object      line  object\n"
      "  handle    number  name\n";
  for (const StackFrame& frame : call.stack) {
    // An object handle stands for the unit's code in the shared pool.
    const unsigned handle =
        0x60000000u | (static_cast<unsigned>(std::hash<std::string>()(frame.unit)) & 0xFFFFFF0u);
    char line[64];
    std::snprintf(line, sizeof line, "0x%x%10d  ", handle, frame.line);
    text += line + (frame.unit.empty() ? frame.kind : frame.kind + " " + frame.unit) + "\n";
  }
  return PlValue::Text(text);
}

// Hundredths of a second from an arbitrary point, wrapping within a
// PLS_INTEGER.
PlValue GetTime(SuppliedCall&) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  const long long centis = std::chrono::duration_cast<std::chrono::milliseconds>(now).count() / 10;
  return PlValue::Number(static_cast<long double>(centis % 2147483648LL));
}

PlValue GetCpuTime(SuppliedCall&) {
  return PlValue::Number(static_cast<long double>(std::clock() / (CLOCKS_PER_SEC / 100)));
}

// The release from the banner ("... Release 19.0.0.0.0 - Production").
PlValue DbVersion(SuppliedCall& call) {
  const std::string banner = call.session.GetDatabase().VersionBanner();
  const size_t at = banner.find("Release ");
  std::string version = "19.0.0.0.0";
  if (at != std::string::npos) {
    const size_t begin = at + 8;
    version = banner.substr(begin, banner.find(' ', begin) - begin);
  }
  call.args[0] = PlValue::Text(version);
  const size_t third = version.find('.', version.find('.', version.find('.') + 1) + 1);
  call.args[1] = PlValue::Text(version.substr(0, third));
  return {};
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsUtilityRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_UTILITY", "FORMAT_ERROR_STACK", true, {}, FormatErrorStack},
      {"DBMS_UTILITY", "FORMAT_ERROR_BACKTRACE", true, {}, FormatErrorBacktrace},
      {"DBMS_UTILITY", "FORMAT_CALL_STACK", true, {}, FormatCallStack},
      {"DBMS_UTILITY", "GET_TIME", true, {}, GetTime},
      {"DBMS_UTILITY", "GET_CPU_TIME", true, {}, GetCpuTime},
      {"DBMS_UTILITY",
       "DB_VERSION",
       false,
       {{"VERSION", true}, {"COMPATIBILITY", true}},
       DbVersion},
  };
  return routines;
}

}  // namespace sandbox::plsql
