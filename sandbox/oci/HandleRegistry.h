// HandleRegistry: the set of live handles, keyed by the opaque pointer that a
// client holds. Every entry point looks its handle arguments up here before it
// touches them, so a null, freed or wrong-typed pointer is answered with
// OCI_INVALID_HANDLE instead of being dereferenced. It also owns the
// environment handles, the roots of all other handles.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class EnvironmentHandle;

class HandleRegistry {
 public:
  static HandleRegistry& Instance();

  void Add(Handle* handle);
  void Remove(const Handle* handle);

  // The live handle at pointer, or nullptr when there is none of that type.
  Handle* Find(const void* pointer, ub4 type) const;
  template <class T>
  T* Find(const void* pointer) const {
    return static_cast<T*>(Find(pointer, T::kType));
  }
  // As Find, but also checks that the handle is the one recorded by serial.
  Handle* FindExact(const void* pointer, ub4 type, std::uint64_t serial) const;

  EnvironmentHandle& AddEnvironment(std::size_t userMemorySize);
  void FreeEnvironment(const EnvironmentHandle* environment);

  std::uint64_t NextSerial() { return ++lastSerial_; }

 private:
  HandleRegistry() = default;
  std::unordered_map<const void*, Handle*> live_;
  std::vector<std::unique_ptr<EnvironmentHandle>> environments_;
  std::uint64_t lastSerial_ = 0;
};

// A reference from one handle to another that it does not own (a service
// context's server and session): it resolves to nullptr once the target has
// been freed, even if a new handle took its address.
template <class T>
class HandleRef {
 public:
  HandleRef() = default;
  explicit HandleRef(T* target)
      : pointer_(target), serial_(target != nullptr ? target->Serial() : 0) {}
  T* Get() const {
    if (pointer_ == nullptr)
      return nullptr;
    return static_cast<T*>(HandleRegistry::Instance().FindExact(pointer_, T::kType, serial_));
  }

 private:
  T* pointer_ = nullptr;
  std::uint64_t serial_ = 0;
};

}  // namespace sandbox::oci
