// Helpers for OCIAttrGet and OCIAttrSet: copying a fixed-width attribute into
// the caller's variable, handing out a text attribute as pointer and length,
// and reading a value passed to OCIAttrSet. A null destination is reported as
// ORA-24328 instead of being written through.
#pragma once

#include <cstring>
#include <string>

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ErrorHandle.h"

namespace sandbox::oci {

template <class T>
sword PutAttribute(void* destination, ub4* size, T value, ErrorHandle& errors) {
  if (destination == nullptr) {
    errors.Add(errors::IllegalAttributeValue());
    return OCI_ERROR;
  }
  std::memcpy(destination, &value, sizeof value);
  if (size != nullptr)
    *size = sizeof value;
  return OCI_SUCCESS;
}

// Text attributes are returned as a pointer into the handle's own storage.
inline sword PutTextAttribute(void* destination, ub4* size, const std::string& text,
                              ErrorHandle& errors) {
  if (destination == nullptr) {
    errors.Add(errors::IllegalAttributeValue());
    return OCI_ERROR;
  }
  auto* pointer = reinterpret_cast<const OraText*>(text.c_str());
  std::memcpy(destination, &pointer, sizeof pointer);
  if (size != nullptr)
    *size = static_cast<ub4>(text.size());
  return OCI_SUCCESS;
}

// Text given to OCIAttrSet: size bytes at value (none when value is null).
inline std::string TakeTextAttribute(const void* value, ub4 size) {
  if (value == nullptr)
    return {};
  return std::string(static_cast<const char*>(value), size);
}

template <class T>
bool TakeAttribute(const void* value, T& result) {
  if (value == nullptr)
    return false;
  std::memcpy(&result, value, sizeof result);
  return true;
}

}  // namespace sandbox::oci
