// Helpers of the sandbox OCI tests: the library loaded once per test process
// with dlopen, as a client loads it, fresh in-memory databases, and a logged-on
// connection with a statement wrapper so that each test reads as the calls it
// makes.
#pragma once

#include <string>
#include <vector>

#include "sandbox/tools/ClientConnection.h"
#include "sandbox/tools/OciLibrary.h"

namespace sandbox::testing {

const tools::OciLibrary& Oci();

// A connect identifier of a database that no other test uses: "mem:STEM<n>".
std::string FreshDatabase(const std::string& stem);

// The first record of an error handle: code and the text as OCIErrorGet gives it.
struct ErrorRecord {
  int code = 0;
  std::string text;
};
ErrorRecord FirstError(OCIError* error);

class Statement {
 public:
  Statement(OCIEnv* environment, OCIError* error, OCISvcCtx* context);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  OCIStmt* Handle() const { return statement_; }
  sword Prepare(const std::string& sql);
  sword Execute(ub4 iterations, ub4 mode = OCI_DEFAULT);
  sword Fetch(ub4 rows);
  ub4 RowCount() const;
  sword DefineString(ub4 position, char* buffer, sb4 size, sb2* indicator = nullptr,
                     ub2* length = nullptr, ub2* returnCode = nullptr);
  sword BindString(const std::string& name, char* buffer, sb4 size, sb2* indicator = nullptr);
  sword BindInt(const std::string& name, int* value);
  ErrorRecord LastError() const { return FirstError(error_); }

 private:
  OCIError* error_;
  OCISvcCtx* context_;
  OCIStmt* statement_ = nullptr;
};

// A logon to a database (by default SYSTEM/manager on a fresh one).
class TestConnection : public tools::ClientConnection {
 public:
  TestConnection() : tools::ClientConnection(Oci()) {}
  bool ConnectFresh(const std::string& stem);
  // Runs one statement that is not a query; the status of the execution.
  sword Run(const std::string& sql);
  // Runs a query and returns its rows, columns separated by "|".
  std::vector<std::string> Rows(const std::string& sql);
  std::string database;
};

}  // namespace sandbox::testing
