// EnvironmentHandle: the root of a client's handles, made by OCIEnvInit. It
// reads NLS_LANG as a client does when it is created; texts are exchanged as
// UTF-8 bytes whatever character set it names.
#pragma once

#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"

namespace sandbox::oci {

class EnvironmentHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_ENV;
  explicit EnvironmentHandle(std::size_t userMemorySize) : Handle(kType, nullptr, userMemorySize) {}

  DiagnosticRecords& Records() { return records_; }

 private:
  DiagnosticRecords records_;
};

// False when NLS_LANG is set to something that is not of the form
// [language][_territory][.charset], as a client refuses it.
bool NlsLangIsUsable();

}  // namespace sandbox::oci
