// A bind set without variables, for statements the server runs itself
// (script loading, table descriptions).
#pragma once

#include "sandbox/server/Server.h"

namespace sandbox {

class EmptyBindSet : public BindSet {
 public:
  bool Has(const std::string&) const override { return false; }
  Value Get(const std::string&) const override { return {}; }
  bool Set(const std::string&, const Value&, OraError& error) override {
    error = {1006, "bind variable does not exist"};
    return false;
  }
};

}  // namespace sandbox
