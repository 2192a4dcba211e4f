// Exported entry points of attaching, logging on and off, the server banner,
// break and reset, and the test hook that breaks connections.
#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "oracle/OciApi.h"
#include "sandbox/oci/ApiCall.h"
#include "sandbox/oci/BreakBoard.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ConnectIdentifier.h"
#include "sandbox/oci/ConnectionBreaker.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/RoundTrips.h"
#include "sandbox/oci/ServerHandle.h"
#include "sandbox/oci/ServiceContextHandle.h"
#include "sandbox/oci/SessionHandle.h"

using namespace sandbox::oci;

namespace {

// A break or reset of a handle that no session was logged on through: there
// is nothing to interrupt, once the handles are known to be valid.
sword BreakWithoutSession(void* hndlp, OCIError* errhp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    bool known = registry.Find<ServerHandle>(hndlp) != nullptr ||
                 registry.Find<ServiceContextHandle>(hndlp) != nullptr;
    if (errors == nullptr || !known)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" {

sword OCIServerAttach(OCIServer* srvhp, OCIError* errhp, const OraText* dblink, sb4 dblink_len,
                      ub4 mode) {
  (void)mode;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* server = registry.Find<ServerHandle>(srvhp);
    if (errors == nullptr || server == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if (dblink_len < 0 || (dblink == nullptr && dblink_len > 0)) {
      errors->Add(errors::UnresolvedConnectIdentifier());
      return OCI_ERROR;
    }
    std::string identifier;
    if (dblink_len > 0) {
      identifier.assign(reinterpret_cast<const char*>(dblink), static_cast<size_t>(dblink_len));
    }
    RoundTrip();
    return server->Attach(identifier, *errors);
  });
}

sword OCIServerDetach(OCIServer* srvhp, OCIError* errhp, ub4 mode) {
  (void)mode;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* server = registry.Find<ServerHandle>(srvhp);
    if (errors == nullptr || server == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return server->Detach(*errors);
  });
}

sword OCISessionBegin(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 credt, ub4 mode) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* context = registry.Find<ServiceContextHandle>(svchp);
    auto* session = registry.Find<SessionHandle>(usrhp);
    if (errors == nullptr || context == nullptr || session == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    if (mode != OCI_DEFAULT) {
      errors->Add(errors::BadModeValue());
      return OCI_ERROR;
    }
    ServerHandle* server = context->Server();
    if (server == nullptr) {
      errors->Add(errors::NeedAttachBeforeLogon());
      return OCI_ERROR;
    }
    RoundTrip();
    sword status = session->Begin(*server, credt, *errors);
    // As with a real client, the service context now carries the session.
    if (status == OCI_SUCCESS) {
      context->SetSession(session);
      BreakBoard::Instance().Enter(svchp, session->GetConnection());
      BreakBoard::Instance().Enter(ToClient(server), session->GetConnection());
    }
    return status;
  });
}

sword OCISessionEnd(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 mode) {
  (void)mode;
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* context = registry.Find<ServiceContextHandle>(svchp);
    if (errors == nullptr || context == nullptr)
      return OCI_INVALID_HANDLE;
    // Without a session handle the service context's own session ends.
    SessionHandle* session =
        usrhp != nullptr ? registry.Find<SessionHandle>(usrhp) : context->Session();
    if (session == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    return session->End(*errors);
  });
}

sword OCILogoff(OCISvcCtx* svchp, OCIError* errhp) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    auto* context = registry.Find<ServiceContextHandle>(svchp);
    if (errors == nullptr || context == nullptr)
      return OCI_INVALID_HANDLE;
    errors->BeginCall();
    sword status = OCI_SUCCESS;
    if (SessionHandle* session = context->Session(); session && session->GetConnection()) {
      status = session->End(*errors);
    }
    if (ServerHandle* server = context->Server(); server && server->GetDatabase()) {
      sword detached = server->Detach(*errors);
      if (status == OCI_SUCCESS)
        status = detached;
    }
    return status;
  });
}

sword OCIServerVersion(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz, ub1 hndltype) {
  return ApiCall([&](HandleRegistry& registry) {
    auto* errors = registry.Find<ErrorHandle>(errhp);
    if (errors == nullptr)
      return OCI_INVALID_HANDLE;
    ServerHandle* server = nullptr;
    const ServiceContextHandle* context = nullptr;
    if (hndltype == OCI_HTYPE_SVCCTX) {
      context = registry.Find<ServiceContextHandle>(hndlp);
      if (context == nullptr)
        return OCI_INVALID_HANDLE;
      server = context->Server();
    } else if (hndltype == OCI_HTYPE_SERVER) {
      server = registry.Find<ServerHandle>(hndlp);
      if (server == nullptr)
        return OCI_INVALID_HANDLE;
    } else {
      return OCI_INVALID_HANDLE;
    }
    errors->BeginCall();
    RoundTrip();
    if (server == nullptr || !server->GetDatabase()) {
      errors->Add(errors::NotConnected());
      return OCI_ERROR;
    }
    // The banner comes from the server: a lost connection shows here too.
    if (context != nullptr && context->Session() != nullptr &&
        context->Session()->GetConnection()) {
      sandbox::OraError error;
      if (!context->Session()->GetConnection()->Check(error)) {
        errors->Add(error);
        return OCI_ERROR;
      }
    }
    if (bufp != nullptr && bufsz > 0) {
      const std::string& banner = server->Banner();
      std::size_t length = std::min<std::size_t>(banner.size(), bufsz - 1);
      std::memcpy(bufp, banner.data(), length);
      bufp[length] = '\0';
    }
    return OCI_SUCCESS;
  });
}

// A break and a reset come from another thread while a call of the session
// runs and holds the library's lock: the session is found without that lock.
// A break that finds no statement running ends the session's next call.
sword OCIBreak(void* hndlp, OCIError* errhp) {
  if (errhp != nullptr && BreakBoard::Instance().Interrupt(hndlp))
    return OCI_SUCCESS;
  return BreakWithoutSession(hndlp, errhp);
}

sword OCIReset(void* hndlp, OCIError* errhp) {
  if (errhp != nullptr && BreakBoard::Instance().Reset(hndlp))
    return OCI_SUCCESS;
  return BreakWithoutSession(hndlp, errhp);
}

sword OCILdaToSvcCtx(OCISvcCtx** svchpp, OCIError* errhp, Lda_Def* ldap) {
  (void)svchpp;
  (void)errhp;
  (void)ldap;
  // There is no release 7 logon data area in this library, so none can be valid.
  return OCI_INVALID_HANDLE;
}

}  // extern "C"

namespace {

// Runs a test hook on the database that connectIdentifier names, under the
// library's lock; false when there is no such database.
template <typename Hook>
bool WithHookDatabase(const char* connectIdentifier, Hook hook) {
  if (connectIdentifier == nullptr)
    return false;
  return ApiCall([&](HandleRegistry&) {
           ConnectIdentifier identifier;
           if (!ConnectIdentifier::Parse(connectIdentifier, identifier))
             return OCI_ERROR;
           sandbox::OraError error;
           std::shared_ptr<sandbox::Database> database =
               sandbox::AttachDatabase(identifier.database, error);
           if (!database)
             return OCI_ERROR;
           hook(ConnectionBreaker::Instance(), *database);
           return OCI_SUCCESS;
         }) == OCI_SUCCESS;
}

}  // namespace

extern "C" int QmSandboxBreakConnections(const char* connectIdentifier, int count) {
  int broken = 0;
  WithHookDatabase(connectIdentifier, [&](ConnectionBreaker& breaker, sandbox::Database& database) {
    broken = breaker.BreakAll(database, count - 1);
  });
  return broken;
}

extern "C" int QmSandboxBreakAtCall(const char* connectIdentifier, int call, int n) {
  if (call != 0 && call != 1)
    return -1;
  int counted = -1;
  WithHookDatabase(connectIdentifier, [&](ConnectionBreaker& breaker, sandbox::Database& database) {
    counted = breaker.ArmCallBreak(database, static_cast<ConnectionBreaker::Call>(call), n);
  });
  return counted;
}

static_assert(std::is_same_v<decltype(&OCIServerAttach), PFN_OCIServerAttach>);
static_assert(std::is_same_v<decltype(&OCIServerDetach), PFN_OCIServerDetach>);
static_assert(std::is_same_v<decltype(&OCISessionBegin), PFN_OCISessionBegin>);
static_assert(std::is_same_v<decltype(&OCISessionEnd), PFN_OCISessionEnd>);
static_assert(std::is_same_v<decltype(&OCILogoff), PFN_OCILogoff>);
static_assert(std::is_same_v<decltype(&OCIServerVersion), PFN_OCIServerVersion>);
static_assert(std::is_same_v<decltype(&OCIBreak), PFN_OCIBreak>);
static_assert(std::is_same_v<decltype(&OCIReset), PFN_OCIReset>);
static_assert(std::is_same_v<decltype(&OCILdaToSvcCtx), PFN_OCILdaToSvcCtx>);
