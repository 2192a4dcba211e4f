// ClientConnection: one logon made through an OciLibrary the way a client
// makes it (environment, error, server, service context and session handles),
// released in reverse order when it is destroyed.
#pragma once

#include <string>

#include "sandbox/tools/OciLibrary.h"

namespace sandbox::tools {

class ClientConnection {
 public:
  explicit ClientConnection(const OciLibrary& oci);
  ~ClientConnection();
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;

  // Attaches to database and logs user on; false with LastError set on failure.
  bool Connect(const std::string& user, const std::string& password, const std::string& database);
  void Disconnect();

  OCIEnv* Environment() const { return environment_; }
  OCIError* Error() const { return error_; }
  OCISvcCtx* Context() const { return context_; }
  OCIServer* Server() const { return server_; }
  OCISession* Session() const { return session_; }

  // The first record of the error handle: its code, and its text without the final line feed.
  int LastErrorCode() const;
  std::string LastErrorText() const;

 private:
  const OciLibrary& oci_;
  OCIEnv* environment_ = nullptr;
  OCIError* error_ = nullptr;
  OCIServer* server_ = nullptr;
  OCISvcCtx* context_ = nullptr;
  OCISession* session_ = nullptr;
  bool attached_ = false;
  bool loggedOn_ = false;
};

}  // namespace sandbox::tools
