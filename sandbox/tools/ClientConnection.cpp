// ClientConnection: the handle sequence of a logon and of its release.
#include "sandbox/tools/ClientConnection.h"

namespace sandbox::tools {

ClientConnection::ClientConnection(const OciLibrary& oci) : oci_(oci) {}

ClientConnection::~ClientConnection() {
  Disconnect();
}

bool ClientConnection::Connect(const std::string& user, const std::string& password,
                               const std::string& database) {
  Disconnect();
  if (oci_.Initialize(OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr) != OCI_SUCCESS ||
      oci_.EnvInit(&environment_, OCI_DEFAULT, 0, nullptr) != OCI_SUCCESS) {
    return false;
  }
  oci_.HandleAlloc(environment_, reinterpret_cast<void**>(&error_), OCI_HTYPE_ERROR, 0, nullptr);
  oci_.HandleAlloc(environment_, reinterpret_cast<void**>(&server_), OCI_HTYPE_SERVER, 0, nullptr);
  oci_.HandleAlloc(environment_, reinterpret_cast<void**>(&context_), OCI_HTYPE_SVCCTX, 0, nullptr);
  oci_.HandleAlloc(environment_, reinterpret_cast<void**>(&session_), OCI_HTYPE_SESSION, 0,
                   nullptr);
  if (oci_.ServerAttach(server_, error_, reinterpret_cast<const OraText*>(database.data()),
                        static_cast<sb4>(database.size()), OCI_DEFAULT) != OCI_SUCCESS) {
    return false;
  }
  attached_ = true;
  oci_.AttrSet(context_, OCI_HTYPE_SVCCTX, server_, 0, OCI_ATTR_SERVER, error_);
  oci_.AttrSet(session_, OCI_HTYPE_SESSION, const_cast<char*>(user.data()),
               static_cast<ub4>(user.size()), OCI_ATTR_USERNAME, error_);
  oci_.AttrSet(session_, OCI_HTYPE_SESSION, const_cast<char*>(password.data()),
               static_cast<ub4>(password.size()), OCI_ATTR_PASSWORD, error_);
  if (oci_.SessionBegin(context_, error_, session_, OCI_CRED_RDBMS, OCI_DEFAULT) != OCI_SUCCESS) {
    return false;
  }
  loggedOn_ = true;
  oci_.AttrSet(context_, OCI_HTYPE_SVCCTX, session_, 0, OCI_ATTR_SESSION, error_);
  return true;
}

void ClientConnection::Disconnect() {
  if (environment_ == nullptr)
    return;
  if (loggedOn_)
    oci_.SessionEnd(context_, error_, session_, OCI_DEFAULT);
  if (attached_)
    oci_.ServerDetach(server_, error_, OCI_DEFAULT);
  // Freeing the environment frees every handle allocated from it.
  oci_.HandleFree(environment_, OCI_HTYPE_ENV);
  environment_ = nullptr;
  error_ = nullptr;
  server_ = nullptr;
  context_ = nullptr;
  session_ = nullptr;
  attached_ = false;
  loggedOn_ = false;
}

int ClientConnection::LastErrorCode() const {
  sb4 code = 0;
  if (error_ != nullptr) {
    oci_.ErrorGet(error_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ERROR);
  } else if (environment_ != nullptr) {
    oci_.ErrorGet(environment_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ENV);
  }
  return code;
}

std::string ClientConnection::LastErrorText() const {
  OraText text[OCI_ERROR_MAXMSG_SIZE2] = {};
  sb4 code = 0;
  if (error_ != nullptr) {
    oci_.ErrorGet(error_, 1, nullptr, &code, text, sizeof text, OCI_HTYPE_ERROR);
  } else if (environment_ != nullptr) {
    oci_.ErrorGet(environment_, 1, nullptr, &code, text, sizeof text, OCI_HTYPE_ENV);
  }
  std::string result(reinterpret_cast<const char*>(text));
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
    result.pop_back();
  return result;
}

}  // namespace sandbox::tools
