// Runs blocks in a session the way a client does: binds by name, and the
// printed lines drained afterwards with DBMS_OUTPUT.GET_LINE through binds.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql::testing {

// Binds held in a map; a bind set with a maximum length refuses longer OUT
// values with ORA-06502, as a client buffer does.
class MapBinds : public BindSet {
 public:
  std::map<std::string, Value> values;
  size_t maxLength = 4000;

  bool Has(const std::string& name) const override { return values.count(name) != 0; }
  Value Get(const std::string& name) const override;
  bool Set(const std::string& name, const Value& value, OraError& error) override;
};

struct BlockResult {
  bool ok = false;
  OraError error;
  std::vector<std::string> lines;  // drained DBMS_OUTPUT lines
  std::string Error() const;       // "ORA-nnnnn: message"
};

// Enables DBMS_OUTPUT (1000000 bytes), runs block with binds, drains.
BlockResult RunBlock(Session& session, const std::string& block, MapBinds& binds);
BlockResult RunBlock(Session& session, const std::string& block);
// GET_LINE calls until status 1.
std::vector<std::string> DrainOutput(Session& session);

}  // namespace sandbox::plsql::testing
