// Exported entry points of LOB locators: the length and the pieces of a CLOB
// or BLOB value, and the directory and file name of a BFILE.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "oracle/OciApi.h"
#include "sandbox/oci/ApiCall.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/EnvironmentHandle.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/FileLocator.h"
#include "sandbox/oci/LobLocator.h"
#include "sandbox/oci/ServiceContextHandle.h"

using namespace sandbox::oci;

namespace {

sandbox::OraError IllegalLobParameter() {
  return {24801, "illegal parameter value in OCI lob function"};
}

// Runs call with the error handle and the locator a LOB call names, after
// the checks every such call makes: the handles exist (the context is a
// ContextHandle), and a fetch has pointed the locator at a value (one that
// was never fetched into locates nothing).
template <class Locator, class ContextHandle, class Call>
sword WithLocator(const void* context, OCIError* errhp, const void* locp, Call call) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* locator = registry.Find<Locator>(locp);
    if (errors == nullptr || registry.Find<ContextHandle>(context) == nullptr ||
        locator == nullptr) {
      return OCI_INVALID_HANDLE;
    }
    errors->BeginCall();
    if (!locator->IsAssigned()) {
      errors->Add(errors::InvalidLobLocator());
      return OCI_ERROR;
    }
    return call(*errors, *locator);
  });
}

// Copies text into a caller's buffer of *length bytes; *length becomes the
// bytes copied. False when the buffer is missing or too small.
bool CopyOut(const std::string& text, OraText* buffer, ub2* length) {
  if (buffer == nullptr || length == nullptr || text.size() > *length) {
    return false;
  }
  std::memcpy(buffer, text.data(), text.size());
  *length = static_cast<ub2>(text.size());
  return true;
}

}  // namespace

extern "C" {

sword OCILobGetLength(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* lenp) {
  return WithLocator<LobLocator, ServiceContextHandle>(
      svchp, errhp, locp, [&](ErrorHandle& errors, LobLocator& locator) {
        if (lenp == nullptr) {
          errors.Add(IllegalLobParameter());
          return OCI_ERROR;
        }
        *lenp = locator.Length();
        return OCI_SUCCESS;
      });
}

// Polling and callback modes are not offered: the amount asked for is read
// at once, as much of it as the buffer holds. The amount read comes back in
// bytes for a CLOB, as for a client character set of varying width.
sword OCILobRead(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4 offset,
                 void* bufp, ub4 bufl, void* ctxp, OCICallbackLobRead cbfp, ub2 csid, ub1 csfrm) {
  (void)ctxp;
  (void)csid;
  (void)csfrm;
  return WithLocator<LobLocator, ServiceContextHandle>(
      svchp, errhp, locp, [&](ErrorHandle& errors, LobLocator& locator) {
        if (amtp == nullptr || bufp == nullptr || cbfp != nullptr || *amtp == 0 || offset == 0) {
          errors.Add(IllegalLobParameter());
          return OCI_ERROR;
        }
        const ub4 read = locator.Read(offset, *amtp, static_cast<char*>(bufp), bufl);
        *amtp = read;
        return read == 0 ? OCI_NO_DATA : OCI_SUCCESS;
      });
}

sword OCILobFileGetName(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* filep,
                        OraText* dir_alias, ub2* d_length, OraText* filename, ub2* f_length) {
  return WithLocator<FileLocator, EnvironmentHandle>(
      envhp, errhp, filep, [&](ErrorHandle& errors, FileLocator& locator) {
        if (!CopyOut(locator.Directory(), dir_alias, d_length) ||
            !CopyOut(locator.File(), filename, f_length)) {
          errors.Add(IllegalLobParameter());
          return OCI_ERROR;
        }
        return OCI_SUCCESS;
      });
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&OCILobGetLength), PFN_OCILobGetLength>);
static_assert(std::is_same_v<decltype(&OCILobRead), PFN_OCILobRead>);
static_assert(std::is_same_v<decltype(&OCILobFileGetName), PFN_OCILobFileGetName>);
