// FileLocator: a BFILE descriptor made by OCIDescriptorAlloc. A fetch into a
// define of type SQLT_BFILEE points it at the column's value, kept by the
// server as "DIRECTORY/file name"; OCILobFileGetName then reports the two
// parts. The file itself is never opened.
#pragma once

#include <optional>
#include <string>

#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class FileLocator : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_FILE;
  FileLocator(Handle* parent, std::size_t userMemorySize) : Handle(kType, parent, userMemorySize) {}

  // stored is the server's form of the value. The directory object's name
  // cannot hold a slash, so the first one ends it.
  void Assign(const std::string& stored) {
    const std::size_t slash = stored.find('/');
    directory_ = stored.substr(0, slash);
    file_ = slash == std::string::npos ? std::string() : stored.substr(slash + 1);
  }
  bool IsAssigned() const { return directory_.has_value(); }
  const std::string& Directory() const { return *directory_; }
  const std::string& File() const { return file_; }

 private:
  std::optional<std::string> directory_;
  std::string file_;
};

}  // namespace sandbox::oci
