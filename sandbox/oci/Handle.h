// Handle: the base of every object that the sandbox hands to a client behind
// an opaque OCI pointer (environment, error, server, service context, session,
// statement, bind, define and the descriptors). A handle owns its children, so
// freeing a statement frees its binds and defines and freeing an environment
// frees everything allocated from it, as OCI does. Every live handle is
// entered in the HandleRegistry, which is how a pointer from a client is
// checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "oracle/OciApi.h"

namespace sandbox::oci {

class ErrorHandle;

class Handle {
 public:
  Handle(ub4 type, Handle* parent, std::size_t userMemorySize);
  virtual ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  ub4 Type() const { return type_; }
  Handle* Parent() const { return parent_; }
  // Unique over the life of the process: tells a handle from a later one
  // allocated at the same address.
  std::uint64_t Serial() const { return serial_; }
  // The xtramem_sz bytes that OCIHandleAlloc hands back through usrmempp.
  void* UserMemory() { return userMemory_.empty() ? nullptr : userMemory_.data(); }

  template <class Child, class... Args>
  Child& AddChild(Args&&... args) {
    auto child = std::make_unique<Child>(this, std::forward<Args>(args)...);
    Child& result = *child;
    children_.push_back(std::move(child));
    return result;
  }
  // Destroys a child of this handle and, with it, the child's own children.
  void FreeChild(const Handle* child);
  void FreeChildren() { children_.clear(); }

  // OCIAttrGet and OCIAttrSet on this handle. The base knows no attribute.
  virtual sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors);
  virtual sword SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors);

 private:
  ub4 type_;
  Handle* parent_;
  std::uint64_t serial_;
  std::vector<std::max_align_t> userMemory_;
  std::vector<std::unique_ptr<Handle>> children_;
};

}  // namespace sandbox::oci
