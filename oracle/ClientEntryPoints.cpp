// Name lookup of the OCI entry points (see ClientEntryPoints.h).
#include "oracle/ClientEntryPoints.h"

#include "oracle/DynamicLibrary.h"

std::string ClientEntryPoints::Resolve(const DynamicLibrary& library) {
  std::string firstMissing;
#define QUILLMARK_OCI_RESOLVE_ENTRY(entry)                       \
  entry = reinterpret_cast<PFN_##entry>(library.Symbol(#entry)); \
  if (entry == nullptr && firstMissing.empty())                  \
    firstMissing = #entry;
  QUILLMARK_OCI_ENTRY_POINTS(QUILLMARK_OCI_RESOLVE_ENTRY)
#undef QUILLMARK_OCI_RESOLVE_ENTRY
  OCIReset = reinterpret_cast<PFN_OCIReset>(library.Symbol("OCIReset"));
  return firstMissing;
}
