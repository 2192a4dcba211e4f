// StatementBinds: lookup by name and the OUT conversion rules of PL/SQL.
#include "sandbox/oci/StatementBinds.h"

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/PlaceholderScanner.h"

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

}  // namespace sandbox::oci
