// The binds of a statement the compiler only describes: every placeholder
// is there and NULL, and nothing is written back.
#pragma once

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

class DescribeBinds : public BindSet {
 public:
  bool Has(const std::string&) const override { return true; }
  Value Get(const std::string&) const override { return Value::Null(); }
  bool Set(const std::string&, const Value&, OraError&) override { return true; }
};

}  // namespace sandbox::plsql
