// Text run by EXECUTE IMMEDIATE: which kind of statement it is and the
// placeholders its USING arguments bind to. SQL binds every placeholder by
// position, repeated names included, so each gets a name of its own; an
// anonymous block binds each distinct name once, in the order they first
// appear, and keeps its text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct PlError;

struct DynamicStatement {
  enum class Kind { Sql, Query, Block };
  Kind kind = Kind::Sql;
  std::string text;                // as sent to the server
  std::vector<std::string> binds;  // bind names in the order USING arguments fill them
};

DynamicStatement PrepareDynamic(const std::string& text);

// A dynamic block's error arrives with its "ORA-06512: at ..." trail in the
// message; the trail becomes the exception's places so that SQLERRM is the
// error alone and the outer lines follow it.
PlError ErrorOfDynamicBlock(const OraError& error);

// The binds of a dynamic statement alone: the block around it is not seen,
// and the values its OUT placeholders receive are kept for the caller.
class DynamicBinds : public BindSet {
 public:
  std::map<std::string, Value> values;
  // How deep the statement runs in the calls and dynamic statements of the
  // block that runs it, so that recursion through it stays bounded.
  int callDepth = 0;
  int dynamicDepth = 0;
  // RETURNING ... BULK COLLECT INTO: every returned row, not one.
  bool allRows = false;
  std::vector<std::vector<Value>> returnedRows;

  bool Has(const std::string& name) const override { return values.count(name) != 0; }
  Value Get(const std::string& name) const override;
  bool Set(const std::string& name, const Value& value, OraError& error) override;
  bool TakesReturnedRows() const override { return allRows; }
  void SetReturnedRows(std::vector<std::vector<Value>> rows) override {
    returnedRows = std::move(rows);
  }
};

}  // namespace sandbox::plsql
