// ErrorHandle: the diagnostic records of the last call made with it, read back
// by OCIErrorGet as "ORA-nnnnn: text" lines. The environment handle carries
// the same kind of records for errors of environment creation.
#pragma once

#include <vector>

#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class DiagnosticRecords {
 public:
  void Clear() { records_.clear(); }
  void Add(const OraError& error) { records_.push_back(error); }
  // Record recordNumber (from 1) into errorCode and text (bufferSize bytes
  // including the terminator); OCI_NO_DATA past the last record.
  sword Get(ub4 recordNumber, sb4* errorCode, OraText* text, ub4 bufferSize) const;

 private:
  std::vector<OraError> records_;
};

class ErrorHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_ERROR;
  ErrorHandle(Handle* parent, std::size_t userMemorySize) : Handle(kType, parent, userMemorySize) {}

  void Clear() { records_.Clear(); }
  void Add(const OraError& error) { records_.Add(error); }
  const DiagnosticRecords& Records() const { return records_; }

 private:
  DiagnosticRecords records_;
};

}  // namespace sandbox::oci
