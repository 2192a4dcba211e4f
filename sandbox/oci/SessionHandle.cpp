// SessionHandle: logon, logoff and the credential attributes.
#include "sandbox/oci/SessionHandle.h"

#include "sandbox/oci/AttributeValues.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ConnectionBreaker.h"
#include "sandbox/oci/ServerHandle.h"

namespace sandbox::oci {

SessionHandle::~SessionHandle() {
  if (connection_)
    connection_->End();
}

sword SessionHandle::Begin(ServerHandle& server, ub4 credentials, ErrorHandle& errors) {
  if (connection_) {
    errors.Add(errors::AlreadyAuthenticated());
    return OCI_ERROR;
  }
  const std::shared_ptr<Database>& database = server.GetDatabase();
  if (!database) {
    errors.Add(errors::NeedAttachBeforeLogon());
    return OCI_ERROR;
  }
  // The sandbox knows no operating-system accounts: external credentials never log on.
  if (credentials != OCI_CRED_RDBMS) {
    errors.Add(errors::InvalidLogon());
    return OCI_ERROR;
  }
  OraError error;
  std::unique_ptr<Session> session = database->Logon(userName_, password_, error);
  if (!session) {
    errors.Add(error.IsSet() ? error : errors::InvalidLogon());
    return OCI_ERROR;
  }
  connection_ = std::make_shared<Connection>(database, std::move(session));
  ConnectionBreaker::Instance().Register(connection_);
  return OCI_SUCCESS;
}

sword SessionHandle::End(ErrorHandle& errors) {
  if (!connection_) {
    errors.Add(errors::NotLoggedOn());
    return OCI_ERROR;
  }
  OraError error;
  bool reachable = connection_->Check(error);
  connection_->End();
  connection_.reset();
  if (reachable)
    return OCI_SUCCESS;
  errors.Add(error);
  return OCI_ERROR;
}

sword SessionHandle::GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) {
  if (attribute == OCI_ATTR_USERNAME)
    return PutTextAttribute(value, size, userName_, errors);
  return Handle::GetAttribute(attribute, value, size, errors);
}

sword SessionHandle::SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors) {
  switch (attribute) {
    case OCI_ATTR_USERNAME:
      userName_ = TakeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_PASSWORD:
      password_ = TakeTextAttribute(value, size);
      return OCI_SUCCESS;
    default:
      return Handle::SetAttribute(attribute, value, size, errors);
  }
}

}  // namespace sandbox::oci
