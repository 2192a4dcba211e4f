// ErrorHandle: the diagnostic records of the last call made with it, read back
// by OCIErrorGet as "ORA-nnnnn: text" lines. The environment handle carries
// the same kind of records for errors of environment creation.
#pragma once

#include <vector>

#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

// The records stay readable until a later call reports something: a client
// may ask for a row count after OCI_NO_DATA and still find ORA-01403.
class DiagnosticRecords {
 public:
  void BeginCall() { stale_ = true; }
  void Add(const OraError& error) {
    if (stale_)
      records_.clear();
    stale_ = false;
    records_.push_back(error);
  }
  // Record recordNumber (from 1) into errorCode and text (bufferSize bytes
  // including the terminator); OCI_NO_DATA past the last record.
  sword Get(ub4 recordNumber, sb4* errorCode, OraText* text, ub4 bufferSize) const;

 private:
  std::vector<OraError> records_;
  bool stale_ = false;
};

class ErrorHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_ERROR;
  ErrorHandle(Handle* parent, std::size_t userMemorySize) : Handle(kType, parent, userMemorySize) {}

  void BeginCall() { records_.BeginCall(); }
  void Add(const OraError& error) { records_.Add(error); }
  const DiagnosticRecords& Records() const { return records_; }

 private:
  DiagnosticRecords records_;
};

}  // namespace sandbox::oci
