// StatementBinds: the server's view (sandbox::BindSet) of a statement's bind
// handles for one iteration of an execution: IN values read from the client's
// buffers, OUT values of PL/SQL blocks written back into them.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "sandbox/oci/BindHandle.h"
#include "sandbox/oci/Connection.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class StatementBinds : public BindSet {
 public:
  // connection: where the cursors handed to statement handles read from.
  StatementBinds(const std::map<std::string, BindHandle*>& binds, ub4 iteration,
                 const Session& session, std::shared_ptr<Connection> connection = nullptr)
      : binds_(binds),
        iteration_(iteration),
        session_(session),
        connection_(std::move(connection)) {}

  bool Has(const std::string& name) const override;
  Value Get(const std::string& name) const override;
  bool Set(const std::string& name, const Value& value, OraError& error) override;
  // The client's statement handle bound as SQLT_RSET takes the cursor.
  bool SetCursor(const std::string& name, std::unique_ptr<Cursor> cursor, OraError& error) override;

 private:
  const BindHandle* Find(const std::string& name) const;

  const std::map<std::string, BindHandle*>& binds_;
  ub4 iteration_;
  const Session& session_;
  std::shared_ptr<Connection> connection_;
};

// Answers every placeholder with NULL: what a describe-only execution binds.
class DescribeOnlyBinds : public BindSet {
 public:
  bool Has(const std::string&) const override { return true; }
  Value Get(const std::string&) const override { return Value::Null(); }
  bool Set(const std::string&, const Value&, OraError&) override { return true; }
};

}  // namespace sandbox::oci
