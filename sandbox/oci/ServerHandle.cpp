// ServerHandle: attach and detach.
#include "sandbox/oci/ServerHandle.h"

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ConnectIdentifier.h"

namespace sandbox::oci {

sword ServerHandle::Attach(const std::string& connectIdentifier, ErrorHandle& errors) {
  if (database_) {
    errors.Add(errors::AlreadyAttached());
    return OCI_ERROR;
  }
  ConnectIdentifier identifier;
  if (!ConnectIdentifier::Parse(connectIdentifier, identifier)) {
    errors.Add(errors::UnresolvedConnectIdentifier());
    return OCI_ERROR;
  }
  OraError error;
  std::shared_ptr<Database> database = AttachDatabase(identifier.database, error);
  if (!database) {
    errors.Add(error.IsSet() ? error : errors::UnresolvedConnectIdentifier());
    return OCI_ERROR;
  }
  banner_ = identifier.banner ? *identifier.banner : database->VersionBanner();
  database_ = std::move(database);
  return OCI_SUCCESS;
}

sword ServerHandle::Detach(ErrorHandle& errors) {
  if (!database_) {
    errors.Add(errors::NotConnected());
    return OCI_ERROR;
  }
  database_.reset();
  banner_.clear();
  return OCI_SUCCESS;
}

}  // namespace sandbox::oci
