// ServiceContextHandle: ties a server attachment and a user session together;
// statements execute through it.
#pragma once

#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/oci/HandleRegistry.h"
#include "sandbox/oci/ServerHandle.h"
#include "sandbox/oci/SessionHandle.h"

namespace sandbox::oci {

class ServiceContextHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SVCCTX;
  ServiceContextHandle(Handle* parent, std::size_t userMemorySize)
      : Handle(kType, parent, userMemorySize) {}

  ServerHandle* Server() const { return server_.Get(); }
  SessionHandle* Session() const { return session_.Get(); }
  void SetSession(SessionHandle* session) { session_ = HandleRef<SessionHandle>(session); }

  // The connection that statements run on: false with ORA-03114, ORA-01012 or
  // the connection's own failure when there is none to use.
  bool UsableConnection(std::shared_ptr<Connection>& connection, OraError& error) const;

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;
  sword SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors) override;

 private:
  HandleRef<ServerHandle> server_;
  HandleRef<SessionHandle> session_;
};

}  // namespace sandbox::oci
