// OciLibrary: loading and symbol lookup.
#include "sandbox/tools/OciLibrary.h"

#include <dlfcn.h>

namespace sandbox::tools {
namespace {

template <class Function>
bool Resolve(void* module, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(dlsym(module, name));
  if (function == nullptr && error.empty())
    error = std::string("missing entry point ") + name;
  return function != nullptr;
}

}  // namespace

std::unique_ptr<OciLibrary> OciLibrary::Load(const std::string& path, std::string& error) {
  error.clear();
  // The library keeps process-lifetime state (its databases and registries):
  // it stays mapped after dlclose, so that state is never reported as leaked.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (module == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot load " + path;
    return nullptr;
  }
  std::unique_ptr<OciLibrary> library(new OciLibrary);
  library->module_ = module;
  OciLibrary& l = *library;
  Resolve(module, "OCIInitialize", l.Initialize, error);
  Resolve(module, "OCIEnvInit", l.EnvInit, error);
  Resolve(module, "OCIHandleAlloc", l.HandleAlloc, error);
  Resolve(module, "OCIHandleFree", l.HandleFree, error);
  Resolve(module, "OCIDescriptorAlloc", l.DescriptorAlloc, error);
  Resolve(module, "OCIDescriptorFree", l.DescriptorFree, error);
  Resolve(module, "OCIServerAttach", l.ServerAttach, error);
  Resolve(module, "OCIServerDetach", l.ServerDetach, error);
  Resolve(module, "OCISessionBegin", l.SessionBegin, error);
  Resolve(module, "OCISessionEnd", l.SessionEnd, error);
  Resolve(module, "OCILogoff", l.Logoff, error);
  Resolve(module, "OCIStmtPrepare", l.StmtPrepare, error);
  Resolve(module, "OCIBindByPos", l.BindByPos, error);
  Resolve(module, "OCIBindByName", l.BindByName, error);
  Resolve(module, "OCIStmtGetPieceInfo", l.StmtGetPieceInfo, error);
  Resolve(module, "OCIStmtSetPieceInfo", l.StmtSetPieceInfo, error);
  Resolve(module, "OCIStmtExecute", l.StmtExecute, error);
  Resolve(module, "OCIDefineByPos", l.DefineByPos, error);
  Resolve(module, "OCIStmtFetch", l.StmtFetch, error);
  Resolve(module, "OCIDescribeAny", l.DescribeAny, error);
  Resolve(module, "OCIParamGet", l.ParamGet, error);
  Resolve(module, "OCIErrorGet", l.ErrorGet, error);
  Resolve(module, "OCILobGetLength", l.LobGetLength, error);
  Resolve(module, "OCIBreak", l.Break, error);
  Resolve(module, "OCIReset", l.Reset, error);
  Resolve(module, "OCIServerVersion", l.ServerVersion, error);
  Resolve(module, "OCIAttrGet", l.AttrGet, error);
  Resolve(module, "OCIAttrSet", l.AttrSet, error);
  Resolve(module, "OCILdaToSvcCtx", l.LdaToSvcCtx, error);
  if (!error.empty())
    return nullptr;
  l.StmtFetch2 = reinterpret_cast<PFN_OCIStmtFetch2>(dlsym(module, "OCIStmtFetch2"));
  l.BreakConnections =
      reinterpret_cast<PFN_QmSandboxBreakConnections>(dlsym(module, "QmSandboxBreakConnections"));
  return library;
}

OciLibrary::~OciLibrary() {
  if (module_ != nullptr)
    dlclose(module_);
}

}  // namespace sandbox::tools
