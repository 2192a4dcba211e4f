// Block runs and output draining for the interpreter tests.
#include "BlockRunner.h"

#include <cstdio>

#include "sandbox/plsql/Interpreter.h"

namespace sandbox::plsql::testing {

Value MapBinds::Get(const std::string& name) const {
  auto it = values.find(name);
  return it == values.end() ? Value::Null() : it->second;
}

bool MapBinds::Set(const std::string& name, const Value& value, OraError& error) {
  if (value.text.size() > maxLength) {
    error = {6502, "PL/SQL: numeric or value error: character string buffer too small"};
    return false;
  }
  values[name] = value;
  return true;
}

std::string BlockResult::Error() const {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", error.code);
  return prefix + error.message;
}

std::vector<std::string> DrainOutput(Session& session) {
  std::vector<std::string> lines;
  for (int guard = 0; guard < 100000; ++guard) {
    MapBinds binds;
    binds.values["LINE"] = Value::Null();
    binds.values["STATUS"] = Value::Null();
    OraError error;
    if (!RunAnonymousBlock(session, "begin dbms_output.get_line(:line, :status); end;", binds,
                           error)) {
      lines.push_back("drain failed: " + error.message);
      break;
    }
    if (binds.values["STATUS"].text == "1")
      break;
    lines.push_back(binds.values["LINE"].text);
  }
  return lines;
}

BlockResult RunBlock(Session& session, const std::string& block, MapBinds& binds) {
  MapBinds none;
  OraError ignored;
  RunAnonymousBlock(session, "begin dbms_output.enable(1000000); end;", none, ignored);
  BlockResult result;
  result.ok = RunAnonymousBlock(session, block, binds, result.error);
  result.lines = DrainOutput(session);
  return result;
}

BlockResult RunBlock(Session& session, const std::string& block) {
  MapBinds binds;
  return RunBlock(session, block, binds);
}

}  // namespace sandbox::plsql::testing
