// HandleRegistry: lookup of live handles and ownership of the environments.
#include "sandbox/oci/HandleRegistry.h"

#include <algorithm>

#include "sandbox/oci/EnvironmentHandle.h"

namespace sandbox::oci {

HandleRegistry& HandleRegistry::Instance() {
  // Never destroyed: handles still live at exit unregister into it.
  static HandleRegistry* registry = new HandleRegistry;
  return *registry;
}

void HandleRegistry::Add(Handle* handle) {
  live_[handle] = handle;
}

void HandleRegistry::Remove(const Handle* handle) {
  live_.erase(handle);
}

Handle* HandleRegistry::Find(const void* pointer, ub4 type) const {
  if (pointer == nullptr)
    return nullptr;
  auto it = live_.find(pointer);
  if (it == live_.end() || it->second->Type() != type)
    return nullptr;
  return it->second;
}

Handle* HandleRegistry::FindExact(const void* pointer, ub4 type, std::uint64_t serial) const {
  Handle* handle = Find(pointer, type);
  return handle != nullptr && handle->Serial() == serial ? handle : nullptr;
}

EnvironmentHandle& HandleRegistry::AddEnvironment(std::size_t userMemorySize) {
  environments_.push_back(std::make_unique<EnvironmentHandle>(userMemorySize));
  return *environments_.back();
}

void HandleRegistry::FreeEnvironment(const EnvironmentHandle* environment) {
  auto it = std::find_if(environments_.begin(), environments_.end(),
                         [environment](const std::unique_ptr<EnvironmentHandle>& e) {
                           return e.get() == environment;
                         });
  if (it == environments_.end())
    return;
  std::unique_ptr<EnvironmentHandle> doomed = std::move(*it);
  environments_.erase(it);
}

}  // namespace sandbox::oci
