// OciLibrary: an OCI client library loaded at run time with dlopen, and the
// entry points that the sandbox's own tools and tests call, looked up by name
// as any client looks them up.
#pragma once

#include <memory>
#include <string>

#include "oracle/OciApi.h"

namespace sandbox::tools {

using PFN_QmSandboxBreakConnections = int (*)(const char* connectIdentifier, int count);

class OciLibrary {
 public:
  // Null with a message in error when the file does not load or lacks an entry point.
  static std::unique_ptr<OciLibrary> Load(const std::string& path, std::string& error);
  ~OciLibrary();
  OciLibrary(const OciLibrary&) = delete;
  OciLibrary& operator=(const OciLibrary&) = delete;

  PFN_OCIInitialize Initialize = nullptr;
  PFN_OCIEnvInit EnvInit = nullptr;
  PFN_OCIHandleAlloc HandleAlloc = nullptr;
  PFN_OCIHandleFree HandleFree = nullptr;
  PFN_OCIDescriptorAlloc DescriptorAlloc = nullptr;
  PFN_OCIDescriptorFree DescriptorFree = nullptr;
  PFN_OCIServerAttach ServerAttach = nullptr;
  PFN_OCIServerDetach ServerDetach = nullptr;
  PFN_OCISessionBegin SessionBegin = nullptr;
  PFN_OCISessionEnd SessionEnd = nullptr;
  PFN_OCILogoff Logoff = nullptr;
  PFN_OCIStmtPrepare StmtPrepare = nullptr;
  PFN_OCIBindByPos BindByPos = nullptr;
  PFN_OCIBindByName BindByName = nullptr;
  PFN_OCIStmtGetPieceInfo StmtGetPieceInfo = nullptr;
  PFN_OCIStmtSetPieceInfo StmtSetPieceInfo = nullptr;
  PFN_OCIStmtExecute StmtExecute = nullptr;
  PFN_OCIDefineByPos DefineByPos = nullptr;
  PFN_OCIStmtFetch StmtFetch = nullptr;
  PFN_OCIStmtFetch2 StmtFetch2 = nullptr;  // null for a library without it
  PFN_OCIDescribeAny DescribeAny = nullptr;
  PFN_OCIParamGet ParamGet = nullptr;
  PFN_OCIErrorGet ErrorGet = nullptr;
  PFN_OCILobGetLength LobGetLength = nullptr;
  PFN_OCIBreak Break = nullptr;
  PFN_OCIReset Reset = nullptr;
  PFN_OCIServerVersion ServerVersion = nullptr;
  PFN_OCIAttrGet AttrGet = nullptr;
  PFN_OCIAttrSet AttrSet = nullptr;
  PFN_OCILdaToSvcCtx LdaToSvcCtx = nullptr;
  // The sandbox's test hook; null in any other client library.
  PFN_QmSandboxBreakConnections BreakConnections = nullptr;

 private:
  OciLibrary() = default;
  void* module_ = nullptr;
};

}  // namespace sandbox::tools
