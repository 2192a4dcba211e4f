// LobLocator: a LOB descriptor made by OCIDescriptorAlloc. A fetch into a
// define of type SQLT_CLOB or SQLT_BLOB points the locator at the column's
// value, whose length OCILobGetLength then reports (characters for a CLOB,
// bytes for a BLOB).
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

 private:
  std::optional<std::string> value_;
  bool characters_ = false;
};

}  // namespace sandbox::oci
