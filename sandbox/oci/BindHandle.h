// BindHandle: one placeholder of a statement bound to a client buffer by
// OCIBindByName or OCIBindByPos. Owned by its statement.
#pragma once

#include <string>

#include "sandbox/oci/ClientBuffer.h"
#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class BindHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_BIND;
  BindHandle(Handle* parent, std::string name) : Handle(kType, parent, 0), name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  const ClientBuffer& Buffer() const { return buffer_; }
  void SetBuffer(const ClientBuffer& buffer) { buffer_ = buffer; }

 private:
  std::string name_;  // upper case, without the colon
  ClientBuffer buffer_;
};

}  // namespace sandbox::oci
