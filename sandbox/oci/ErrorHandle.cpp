// Formatting of diagnostic records as OCIErrorGet returns them.
#include "sandbox/oci/ErrorHandle.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace sandbox::oci {

sword DiagnosticRecords::Get(ub4 recordNumber, sb4* errorCode, OraText* text,
                             ub4 bufferSize) const {
  if (recordNumber == 0 || recordNumber > records_.size())
    return OCI_NO_DATA;
  const OraError& record = records_[recordNumber - 1];
  if (errorCode != nullptr)
    *errorCode = record.code;
  if (text == nullptr || bufferSize == 0)
    return OCI_SUCCESS;

  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", record.code);
  std::string message = prefix + record.message;
  if (message.empty() || message.back() != '\n')
    message += '\n';
  std::size_t length = std::min<std::size_t>(message.size(), bufferSize - 1);
  std::memcpy(text, message.data(), length);
  text[length] = '\0';
  return OCI_SUCCESS;
}

}  // namespace sandbox::oci
