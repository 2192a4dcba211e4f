// Helpers of the sandbox OCI tests.
#include "OciTestClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "sandbox/tools/ScriptRunner.h"

namespace sandbox::testing {

const tools::OciLibrary& Oci() {
  static std::unique_ptr<tools::OciLibrary> library = [] {
    std::string error;
    auto loaded = tools::OciLibrary::Load(QMSANDBOX_LIBRARY, error);
    if (!loaded) {
      ADD_FAILURE() << "cannot load " << QMSANDBOX_LIBRARY << ": " << error;
      std::abort();
    }
    return loaded;
  }();
  return *library;
}

std::string FreshDatabase(const std::string& stem) {
  static int counter = 0;
  return "mem:" + stem + std::to_string(++counter);
}

ErrorRecord FirstError(OCIError* error) {
  ErrorRecord record;
  OraText text[OCI_ERROR_MAXMSG_SIZE2] = {};
  sb4 code = 0;
  if (Oci().ErrorGet(error, 1, nullptr, &code, text, sizeof text, OCI_HTYPE_ERROR) == OCI_SUCCESS) {
    record.code = code;
    record.text = reinterpret_cast<const char*>(text);
  }
  return record;
}

Statement::Statement(OCIEnv* environment, OCIError* error, OCISvcCtx* context)
    : error_(error), context_(context) {
  Oci().HandleAlloc(environment, reinterpret_cast<void**>(&statement_), OCI_HTYPE_STMT, 0, nullptr);
}

Statement::~Statement() {
  if (statement_ != nullptr)
    Oci().HandleFree(statement_, OCI_HTYPE_STMT);
}

sword Statement::Prepare(const std::string& sql) {
  return Oci().StmtPrepare(statement_, error_, reinterpret_cast<const OraText*>(sql.data()),
                           static_cast<ub4>(sql.size()), OCI_NTV_SYNTAX, OCI_DEFAULT);
}

sword Statement::Execute(ub4 iterations, ub4 mode) {
  return Oci().StmtExecute(context_, statement_, error_, iterations, 0, nullptr, nullptr, mode);
}

sword Statement::Fetch(ub4 rows) {
  return Oci().StmtFetch(statement_, error_, rows, OCI_FETCH_NEXT, OCI_DEFAULT);
}

ub4 Statement::RowCount() const {
  ub4 count = 0;
  Oci().AttrGet(statement_, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_ROW_COUNT, error_);
  return count;
}

sword Statement::DefineString(ub4 position, char* buffer, sb4 size, sb2* indicator, ub2* length,
                              ub2* returnCode) {
  OCIDefine* define = nullptr;
  return Oci().DefineByPos(statement_, &define, error_, position, buffer, size, SQLT_STR, indicator,
                           length, returnCode, OCI_DEFAULT);
}

sword Statement::BindString(const std::string& name, char* buffer, sb4 size, sb2* indicator) {
  OCIBind* bind = nullptr;
  return Oci().BindByName(statement_, &bind, error_, reinterpret_cast<const OraText*>(name.data()),
                          static_cast<sb4>(name.size()), buffer, size, SQLT_STR, indicator, nullptr,
                          nullptr, 0, nullptr, OCI_DEFAULT);
}

sword Statement::BindInt(const std::string& name, int* value) {
  OCIBind* bind = nullptr;
  return Oci().BindByName(statement_, &bind, error_, reinterpret_cast<const OraText*>(name.data()),
                          static_cast<sb4>(name.size()), value, sizeof *value, SQLT_INT, nullptr,
                          nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
}

bool TestConnection::ConnectFresh(const std::string& stem) {
  database = FreshDatabase(stem);
  return Connect("SYSTEM", "manager", database);
}

sword TestConnection::Run(const std::string& sql) {
  Statement statement(Environment(), Error(), Context());
  sword status = statement.Prepare(sql);
  if (status != OCI_SUCCESS)
    return status;
  return statement.Execute(1);
}

std::vector<std::string> TestConnection::Rows(const std::string& sql) {
  std::ostringstream rows;
  std::ostringstream errors;
  tools::ScriptRunner runner(Oci(), *this, rows, errors);
  EXPECT_EQ(runner.Run("query", {{sql, 1}}), 0) << sql << "\n" << errors.str();
  std::vector<std::string> result;
  std::istringstream lines(rows.str());
  std::string line;
  while (std::getline(lines, line))
    result.push_back(line);
  return result;
}

}  // namespace sandbox::testing
