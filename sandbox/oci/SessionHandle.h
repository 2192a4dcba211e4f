// SessionHandle: a user session, with the user name and password attributes
// that OCISessionBegin logs on with, and the Connection of the current logon.
#pragma once

#include <memory>
#include <string>

#include "sandbox/oci/Connection.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class ServerHandle;

class SessionHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SESSION;
  SessionHandle(Handle* parent, std::size_t userMemorySize)
      : Handle(kType, parent, userMemorySize) {}
  ~SessionHandle() override;

  sword Begin(ServerHandle& server, ub4 credentials, ErrorHandle& errors);
  sword End(ErrorHandle& errors);
  // Null while not logged on.
  const std::shared_ptr<Connection>& GetConnection() const { return connection_; }

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;
  sword SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors) override;

 private:
  std::string userName_;
  std::string password_;
  std::shared_ptr<Connection> connection_;
};

}  // namespace sandbox::oci
