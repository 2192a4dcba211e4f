// ServerHandle: an attachment to one sandbox database, made by
// OCIServerAttach from a connect identifier.
#pragma once

#include <memory>
#include <string>

#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class ServerHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SERVER;
  ServerHandle(Handle* parent, std::size_t userMemorySize)
      : Handle(kType, parent, userMemorySize) {}

  sword Attach(const std::string& connectIdentifier, ErrorHandle& errors);
  sword Detach(ErrorHandle& errors);
  // Null while detached.
  const std::shared_ptr<Database>& GetDatabase() const { return database_; }
  const std::string& Banner() const { return banner_; }

 private:
  std::shared_ptr<Database> database_;
  std::string banner_;
};

}  // namespace sandbox::oci
