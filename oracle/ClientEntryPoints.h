// The table of OCI entry points that one session calls, filled by name lookup
// in the loaded client library. Nothing else in the program calls OCI
// directly; the order of the list is the order of the lookups.
#pragma once

#include <string>

#include "oracle/OciApi.h"

class DynamicLibrary;

#define QUILLMARK_OCI_ENTRY_POINTS(X) \
  X(OCIServerVersion)                 \
  X(OCIBreak)                         \
  X(OCIDescriptorAlloc)               \
  X(OCIDescriptorFree)                \
  X(OCILobGetLength)                  \
  X(OCIParamGet)                      \
  X(OCIAttrSet)                       \
  X(OCIAttrGet)                       \
  X(OCIDescribeAny)                   \
  X(OCIErrorGet)                      \
  X(OCIHandleFree)                    \
  X(OCIHandleAlloc)                   \
  X(OCIEnvInit)                       \
  X(OCIInitialize)                    \
  X(OCIServerAttach)                  \
  X(OCIServerDetach)                  \
  X(OCISessionBegin)                  \
  X(OCISessionEnd)                    \
  X(OCILogoff)                        \
  X(OCIStmtPrepare)                   \
  X(OCIStmtExecute)                   \
  X(OCIStmtFetch)                     \
  X(OCIDefineByPos)                   \
  X(OCIBindByName)                    \
  X(OCIBindByPos)                     \
  X(OCILdaToSvcCtx)                   \
  X(OCIStmtGetPieceInfo)              \
  X(OCIStmtSetPieceInfo)              \
  X(OCILobRead)                       \
  X(OCILobFileGetName)

struct ClientEntryPoints {
#define QUILLMARK_OCI_DECLARE_ENTRY(name) PFN_##name name = nullptr;
  QUILLMARK_OCI_ENTRY_POINTS(QUILLMARK_OCI_DECLARE_ENTRY)
#undef QUILLMARK_OCI_DECLARE_ENTRY

  // Optional: a client without it leaves a break to end the next call.
  PFN_OCIReset OCIReset = nullptr;

  // Looks every entry point up in library, in table order. A name the library
  // lacks leaves a null pointer; the first such name is returned ("" when the
  // library has them all).
  std::string Resolve(const DynamicLibrary& library);

  // Sets every pointer back to null.
  void Clear() {
    *this = ClientEntryPoints{};
  }
};
