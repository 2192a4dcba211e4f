// ServiceContextHandle: its server and session attributes.
#include "sandbox/oci/ServiceContextHandle.h"

#include "sandbox/oci/AttributeValues.h"
#include "sandbox/oci/ClientErrors.h"

namespace sandbox::oci {

bool ServiceContextHandle::UsableConnection(std::shared_ptr<Connection>& connection,
                                            OraError& error) const {
  ServerHandle* server = Server();
  if (server == nullptr || !server->GetDatabase()) {
    error = errors::NotConnected();
    return false;
  }
  SessionHandle* session = Session();
  if (session == nullptr || !session->GetConnection()) {
    error = errors::NotLoggedOn();
    return false;
  }
  if (!session->GetConnection()->Check(error))
    return false;
  connection = session->GetConnection();
  return true;
}

sword ServiceContextHandle::GetAttribute(ub4 attribute, void* value, ub4* size,
                                         ErrorHandle& errors) {
  switch (attribute) {
    case OCI_ATTR_SERVER:
      return PutAttribute<void*>(value, size, static_cast<Handle*>(Server()), errors);
    case OCI_ATTR_SESSION:
      return PutAttribute<void*>(value, size, static_cast<Handle*>(Session()), errors);
    default:
      return Handle::GetAttribute(attribute, value, size, errors);
  }
}

sword ServiceContextHandle::SetAttribute(ub4 attribute, void* value, ub4 size,
                                         ErrorHandle& errors) {
  HandleRegistry& registry = HandleRegistry::Instance();
  switch (attribute) {
    case OCI_ATTR_SERVER: {
      auto* server = registry.Find<ServerHandle>(value);
      if (server == nullptr)
        break;
      server_ = HandleRef<ServerHandle>(server);
      return OCI_SUCCESS;
    }
    case OCI_ATTR_SESSION: {
      auto* session = registry.Find<SessionHandle>(value);
      if (session == nullptr)
        break;
      session_ = HandleRef<SessionHandle>(session);
      return OCI_SUCCESS;
    }
    default:
      return Handle::SetAttribute(attribute, value, size, errors);
  }
  errors.Add(errors::IllegalAttributeValue());
  return OCI_ERROR;
}

}  // namespace sandbox::oci
