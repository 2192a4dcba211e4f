// Handle: registration, user memory, child ownership and the attribute default.
#include "sandbox/oci/Handle.h"

#include <algorithm>

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/HandleRegistry.h"

namespace sandbox::oci {

Handle::Handle(ub4 type, Handle* parent, std::size_t userMemorySize)
    : type_(type),
      parent_(parent),
      serial_(HandleRegistry::Instance().NextSerial()),
      userMemory_((userMemorySize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)) {
  HandleRegistry::Instance().Add(this);
}

Handle::~Handle() {
  HandleRegistry::Instance().Remove(this);
}

void Handle::FreeChild(const Handle* child) {
  auto it = std::find_if(children_.begin(), children_.end(),
                         [child](const std::unique_ptr<Handle>& h) { return h.get() == child; });
  if (it == children_.end())
    return;
  // Move it out first: its destructor may free further children of ours
  // through back references, which must not invalidate this iterator.
  std::unique_ptr<Handle> doomed = std::move(*it);
  children_.erase(it);
}

sword Handle::GetAttribute(ub4, void*, ub4*, ErrorHandle& errors) {
  errors.Add(errors::IllegalAttributeType());
  return OCI_ERROR;
}

sword Handle::SetAttribute(ub4, void*, ub4, ErrorHandle& errors) {
  errors.Add(errors::IllegalAttributeType());
  return OCI_ERROR;
}

}  // namespace sandbox::oci
