// LobLocator: a LOB descriptor made by OCIDescriptorAlloc. A fetch into a
// define of type SQLT_CLOB or SQLT_BLOB points the locator at the column's
// value, whose length OCILobGetLength then reports (characters for a CLOB,
// bytes for a BLOB) and OCILobRead reads in pieces.
#pragma once

#include <optional>
#include <string>

#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class LobLocator : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_LOB;
  LobLocator(Handle* parent, std::size_t userMemorySize) : Handle(kType, parent, userMemorySize) {}

  void Assign(std::string bytes, bool characters) {
    value_ = std::move(bytes);
    characters_ = characters;
  }
  bool IsAssigned() const { return value_.has_value(); }
  ub4 Length() const;
  // Copies up to amount characters (CLOB) or bytes (BLOB) from the 1-based
  // offset into buffer, whole characters only and at most capacity bytes.
  // Returns the bytes copied; 0 when offset lies past the end.
  ub4 Read(ub4 offset, ub4 amount, char* buffer, ub4 capacity) const;

 private:
  std::optional<std::string> value_;
  bool characters_ = false;
};

}  // namespace sandbox::oci
