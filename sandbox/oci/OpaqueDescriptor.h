// OpaqueDescriptor: a rowid descriptor made by OCIDescriptorAlloc.
// No define or bind fills one in this sandbox, so it only needs to exist, be
// recognised and be freed.
#pragma once

#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class OpaqueDescriptor : public Handle {
 public:
  OpaqueDescriptor(Handle* parent, ub4 type, std::size_t userMemorySize)
      : Handle(type, parent, userMemorySize) {}

  static bool IsAllocatableType(ub4 type) { return type == OCI_DTYPE_ROWID; }
};

}  // namespace sandbox::oci
