// StatementBinds: lookup by name and the OUT conversion rules of PL/SQL.
#include "sandbox/oci/StatementBinds.h"

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/HandleRegistry.h"
#include "sandbox/oci/PlaceholderScanner.h"
#include "sandbox/oci/StatementHandle.h"

namespace sandbox::oci {

const BindHandle* StatementBinds::Find(const std::string& name) const {
  auto it = binds_.find(PlaceholderName(name));
  return it == binds_.end() ? nullptr : it->second;
}

bool StatementBinds::Has(const std::string& name) const {
  return Find(name) != nullptr;
}

Value StatementBinds::Get(const std::string& name) const {
  const BindHandle* bind = Find(name);
  return bind != nullptr ? bind->Buffer().Read(iteration_) : Value::Null();
}

bool StatementBinds::Set(const std::string& name, const Value& value, OraError& error) {
  const BindHandle* bind = Find(name);
  if (bind == nullptr) {
    error = errors::NotAllVariablesBound();
    return false;
  }
  if (bind->Buffer().Type() == SQLT_RSET) {
    error = {6550, "PLS-00382: expression is of wrong type"};
    return false;
  }
  StoreOutcome outcome = bind->Buffer().Store(iteration_, value, session_);
  if (outcome.error.IsSet()) {
    // A conversion that fails on assignment to a host variable is a PL/SQL value error.
    error = errors::NumericOrValueError();
    return false;
  }
  if (outcome.truncated) {
    error = errors::BufferTooSmall();
    return false;
  }
  return true;
}

bool StatementBinds::SetCursor(const std::string& name, std::unique_ptr<Cursor> cursor,
                               OraError& error) {
  const BindHandle* bind = Find(name);
  if (bind == nullptr) {
    error = errors::NotAllVariablesBound();
    return false;
  }
  if (bind->Buffer().Type() != SQLT_RSET) {
    error = {6550, "PLS-00306: wrong number or types of arguments in call"};
    return false;
  }
  // The handle is looked up now: the client may have freed it since the bind.
  auto* statement =
      HandleRegistry::Instance().Find<StatementHandle>(bind->Buffer().BoundStatement());
  if (statement == nullptr) {
    error = errors::InvalidCursor();
    return false;
  }
  statement->AdoptCursor(connection_, std::move(cursor));
  return true;
}

}  // namespace sandbox::oci
