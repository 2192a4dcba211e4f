// Exported entry points that create, free and inspect handles: OCIInitialize,
// OCIEnvInit, OCIHandleAlloc/Free, OCIDescriptorAlloc/Free, OCIAttrGet/Set
// and OCIErrorGet.
#include <type_traits>

#include "oracle/OciApi.h"
#include "sandbox/oci/ApiCall.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/DescribeHandle.h"
#include "sandbox/oci/EnvironmentHandle.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/FileLocator.h"
#include "sandbox/oci/LobLocator.h"
#include "sandbox/oci/OpaqueDescriptor.h"
#include "sandbox/oci/ParameterDescriptor.h"
#include "sandbox/oci/ServerHandle.h"
#include "sandbox/oci/ServiceContextHandle.h"
#include "sandbox/oci/SessionHandle.h"
#include "sandbox/oci/StatementHandle.h"

using namespace sandbox::oci;

namespace {

// Hands out a new child of the environment, with its user memory.
template <class T>
sword AllocateChild(EnvironmentHandle& environment, void** handle, std::size_t userMemorySize,
                    void** userMemory) {
  T& child = environment.AddChild<T>(userMemorySize);
  *handle = ToClient(&child);
  if (userMemory != nullptr)
    *userMemory = child.UserMemory();
  return OCI_SUCCESS;
}

// The handle of any type that OCIAttrGet and OCIAttrSet may be given. Select-list
// parameters are accepted under OCI_HTYPE_DESCRIBE as well as OCI_DTYPE_PARAM.
Handle* AttributeTarget(HandleRegistry& registry, const void* pointer, ub4 type) {
  Handle* handle = registry.Find(pointer, type);
  if (handle == nullptr && type == OCI_HTYPE_DESCRIBE) {
    handle = registry.Find(pointer, OCI_DTYPE_PARAM);
  }
  return handle;
}

sword FreeHandle(HandleRegistry& registry, Handle* handle) {
  if (handle == nullptr)
    return OCI_INVALID_HANDLE;
  if (handle->Parent() == nullptr) {
    registry.FreeEnvironment(static_cast<EnvironmentHandle*>(handle));
  } else {
    handle->Parent()->FreeChild(handle);
  }
  return OCI_SUCCESS;
}

}  // namespace

extern "C" {

sword OCIInitialize(ub4 mode, void* ctxp, PFN_OCIMallocCb malocfp, PFN_OCIReallocCb ralocfp,
                    PFN_OCIFreeCb mfreefp) {
  // The sandbox allocates with its own allocator, so the callbacks go unused;
  // every call is serialised, so threaded mode needs nothing more.
  (void)mode;
  (void)ctxp;
  (void)malocfp;
  (void)ralocfp;
  (void)mfreefp;
  return NlsLangIsUsable() ? OCI_SUCCESS : OCI_ERROR;
}

sword OCIEnvInit(OCIEnv** envp, ub4 mode, size_t xtramem_sz, void** usrmempp) {
  return ApiCall([&](HandleRegistry& registry) {
    if (envp == nullptr)
      return OCI_INVALID_HANDLE;
    EnvironmentHandle& environment = registry.AddEnvironment(xtramem_sz);
    *envp = static_cast<OCIEnv*>(ToClient(&environment));
    if (usrmempp != nullptr)
      *usrmempp = environment.UserMemory();
    (void)mode;
    // Like a client, refuse a malformed NLS_LANG; the handle stays for OCIErrorGet.
    if (!NlsLangIsUsable()) {
      environment.Records().Add(errors::InvalidNlsEnvironment());
      return OCI_ERROR;
    }
    return OCI_SUCCESS;
  });
}

sword OCIHandleAlloc(const void* parenth, void** hndlpp, const ub4 type, const size_t xtramem_sz,
                     void** usrmempp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* environment = registry.Find<EnvironmentHandle>(parenth);
    if (environment == nullptr || hndlpp == nullptr)
      return OCI_INVALID_HANDLE;
    switch (type) {
      case OCI_HTYPE_ERROR:
        return AllocateChild<ErrorHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      case OCI_HTYPE_SVCCTX:
        return AllocateChild<ServiceContextHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      case OCI_HTYPE_STMT:
        return AllocateChild<StatementHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      case OCI_HTYPE_SERVER:
        return AllocateChild<ServerHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      case OCI_HTYPE_SESSION:
        return AllocateChild<SessionHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      case OCI_HTYPE_DESCRIBE:
        return AllocateChild<DescribeHandle>(*environment, hndlpp, xtramem_sz, usrmempp);
      default:
        return OCI_INVALID_HANDLE;
    }
  });
}

sword OCIHandleFree(void* hndlp, const ub4 type) {
  return ApiCall([&](HandleRegistry& registry) {
    // Bind and define handles go with their statement; they cannot be freed alone.
    switch (type) {
      case OCI_HTYPE_ENV:
      case OCI_HTYPE_ERROR:
      case OCI_HTYPE_SVCCTX:
      case OCI_HTYPE_STMT:
      case OCI_HTYPE_SERVER:
      case OCI_HTYPE_SESSION:
      case OCI_HTYPE_DESCRIBE:
        return FreeHandle(registry, registry.Find(hndlp, type));
      default:
        return OCI_INVALID_HANDLE;
    }
  });
}

sword OCIDescriptorAlloc(const void* parenth, void** descpp, const ub4 type,
                         const size_t xtramem_sz, void** usrmempp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* environment = registry.Find<EnvironmentHandle>(parenth);
    if (environment == nullptr || descpp == nullptr)
      return OCI_INVALID_HANDLE;
    Handle* descriptor = nullptr;
    if (type == OCI_DTYPE_LOB) {
      descriptor = &environment->AddChild<LobLocator>(xtramem_sz);
    } else if (type == OCI_DTYPE_FILE) {
      descriptor = &environment->AddChild<FileLocator>(xtramem_sz);
    } else if (OpaqueDescriptor::IsAllocatableType(type)) {
      descriptor = &environment->AddChild<OpaqueDescriptor>(type, xtramem_sz);
    } else {
      return OCI_INVALID_HANDLE;
    }
    *descpp = ToClient(descriptor);
    if (usrmempp != nullptr)
      *usrmempp = descriptor->UserMemory();
    return OCI_SUCCESS;
  });
}

sword OCIDescriptorFree(void* descp, const ub4 type) {
  return ApiCall([&](HandleRegistry& registry) {
    if (type == OCI_DTYPE_PARAM) {
      Handle* parameter = registry.Find(descp, type);
      if (parameter == nullptr)
        return OCI_INVALID_HANDLE;
      // The parameters of an explicit describe belong to their describe handle and
      // go with it; only select-list and column parameters are handed out anew.
      if (dynamic_cast<ParameterDescriptor*>(parameter) == nullptr)
        return OCI_SUCCESS;
      return FreeHandle(registry, parameter);
    }
    if (type != OCI_DTYPE_LOB && type != OCI_DTYPE_FILE &&
        !OpaqueDescriptor::IsAllocatableType(type)) {
      return OCI_INVALID_HANDLE;
    }
    return FreeHandle(registry, registry.Find(descp, type));
  });
}

sword OCIAttrGet(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep, ub4 attrtype,
                 OCIError* errhp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    Handle* target = AttributeTarget(registry, trgthndlp, trghndltyp);
    if (errors == nullptr || target == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return target->GetAttribute(attrtype, attributep, sizep, *errors);
  });
}

sword OCIAttrSet(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size, ub4 attrtype,
                 OCIError* errhp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    Handle* target = AttributeTarget(registry, trgthndlp, trghndltyp);
    if (errors == nullptr || target == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return target->SetAttribute(attrtype, attributep, size, *errors);
  });
}

sword OCIErrorGet(void* hndlp, ub4 recordno, OraText* sqlstate, sb4* errcodep, OraText* bufp,
                  ub4 bufsiz, ub4 type) {
  // The SQL state is not supported since release 8 and is left untouched.
  (void)sqlstate;
  return ApiCall([&](HandleRegistry& registry) {
    if (type == OCI_HTYPE_ERROR) {
      auto* errors = registry.Find<ErrorHandle>(hndlp);
      if (errors == nullptr)
        return OCI_INVALID_HANDLE;
      return errors->Records().Get(recordno, errcodep, bufp, bufsiz);
    }
    if (type == OCI_HTYPE_ENV) {
      auto* environment = registry.Find<EnvironmentHandle>(hndlp);
      if (environment == nullptr)
        return OCI_INVALID_HANDLE;
      return environment->Records().Get(recordno, errcodep, bufp, bufsiz);
    }
    return OCI_INVALID_HANDLE;
  });
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&OCIInitialize), PFN_OCIInitialize>);
static_assert(std::is_same_v<decltype(&OCIEnvInit), PFN_OCIEnvInit>);
static_assert(std::is_same_v<decltype(&OCIHandleAlloc), PFN_OCIHandleAlloc>);
static_assert(std::is_same_v<decltype(&OCIHandleFree), PFN_OCIHandleFree>);
static_assert(std::is_same_v<decltype(&OCIDescriptorAlloc), PFN_OCIDescriptorAlloc>);
static_assert(std::is_same_v<decltype(&OCIDescriptorFree), PFN_OCIDescriptorFree>);
static_assert(std::is_same_v<decltype(&OCIAttrGet), PFN_OCIAttrGet>);
static_assert(std::is_same_v<decltype(&OCIAttrSet), PFN_OCIAttrSet>);
static_assert(std::is_same_v<decltype(&OCIErrorGet), PFN_OCIErrorGet>);
