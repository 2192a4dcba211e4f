// Handle validation, handle ownership and error records of the exported entry points.
#include <gtest/gtest.h>

#include <cstring>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

TEST(SandboxOciHandles, NullFreedAndWrongTypeHandlesAreRefusedWithoutCrashing) {
  const tools::OciLibrary& oci = Oci();
  OCIEnv* environment = nullptr;
  ASSERT_EQ(oci.EnvInit(&environment, OCI_DEFAULT, 0, nullptr), OCI_SUCCESS);
  OCIError* error = nullptr;
  ASSERT_EQ(
      oci.HandleAlloc(environment, reinterpret_cast<void**>(&error), OCI_HTYPE_ERROR, 0, nullptr),
      OCI_SUCCESS);
  OCIStmt* statement = nullptr;
  ASSERT_EQ(oci.HandleAlloc(environment, reinterpret_cast<void**>(&statement), OCI_HTYPE_STMT, 0,
                            nullptr),
            OCI_SUCCESS);
  const OraText sql[] = "select 1 from dual";

  EXPECT_EQ(oci.StmtPrepare(nullptr, error, sql, 18, OCI_NTV_SYNTAX, OCI_DEFAULT),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtPrepare(statement, nullptr, sql, 18, OCI_NTV_SYNTAX, OCI_DEFAULT),
            OCI_INVALID_HANDLE);
  // An error handle passed where a statement belongs, and a pointer to nothing at all.
  EXPECT_EQ(oci.StmtPrepare(reinterpret_cast<OCIStmt*>(error), error, sql, 18, OCI_NTV_SYNTAX,
                            OCI_DEFAULT),
            OCI_INVALID_HANDLE);
  int stranger = 0;
  EXPECT_EQ(oci.StmtFetch(reinterpret_cast<OCIStmt*>(&stranger), error, 1, OCI_FETCH_NEXT, 0),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleFree(statement, OCI_HTYPE_ERROR), OCI_INVALID_HANDLE);
  EXPECT_EQ(
      oci.HandleAlloc(error, reinterpret_cast<void**>(&statement), OCI_HTYPE_STMT, 0, nullptr),
      OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleAlloc(environment, nullptr, OCI_HTYPE_STMT, 0, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.LdaToSvcCtx(nullptr, error, nullptr), OCI_INVALID_HANDLE);

  ASSERT_EQ(oci.HandleFree(statement, OCI_HTYPE_STMT), OCI_SUCCESS);
  EXPECT_EQ(oci.HandleFree(statement, OCI_HTYPE_STMT), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtPrepare(statement, error, sql, 18, OCI_NTV_SYNTAX, OCI_DEFAULT),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleFree(environment, OCI_HTYPE_ENV), OCI_SUCCESS);
}

TEST(SandboxOciHandles, EveryEntryPointRefusesNullHandles) {
  const tools::OciLibrary& oci = Oci();
  EXPECT_EQ(oci.EnvInit(nullptr, OCI_DEFAULT, 0, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleAlloc(nullptr, nullptr, OCI_HTYPE_ERROR, 0, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleFree(nullptr, OCI_HTYPE_ERROR), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.DescriptorAlloc(nullptr, nullptr, OCI_DTYPE_LOB, 0, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.DescriptorFree(nullptr, OCI_DTYPE_PARAM), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.ServerAttach(nullptr, nullptr, nullptr, 0, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.ServerDetach(nullptr, nullptr, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.SessionBegin(nullptr, nullptr, nullptr, OCI_CRED_RDBMS, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.SessionEnd(nullptr, nullptr, nullptr, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.Logoff(nullptr, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtPrepare(nullptr, nullptr, nullptr, 0, 0, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.BindByPos(nullptr, nullptr, nullptr, 1, nullptr, 0, SQLT_STR, nullptr, nullptr,
                          nullptr, 0, nullptr, 0),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.BindByName(nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0, SQLT_STR, nullptr,
                           nullptr, nullptr, 0, nullptr, 0),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(
      oci.StmtGetPieceInfo(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
      OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtSetPieceInfo(nullptr, OCI_HTYPE_DEFINE, nullptr, nullptr, nullptr, 0, nullptr,
                                 nullptr),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtExecute(nullptr, nullptr, nullptr, 1, 0, nullptr, nullptr, 0),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.DefineByPos(nullptr, nullptr, nullptr, 1, nullptr, 0, SQLT_STR, nullptr, nullptr,
                            nullptr, 0),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.StmtFetch(nullptr, nullptr, 1, OCI_FETCH_NEXT, 0), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.DescribeAny(nullptr, nullptr, nullptr, 0, OCI_OTYPE_NAME, 0, 0, nullptr),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.ParamGet(nullptr, OCI_HTYPE_STMT, nullptr, nullptr, 1), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.ErrorGet(nullptr, 1, nullptr, nullptr, nullptr, 0, OCI_HTYPE_ERROR),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.LobGetLength(nullptr, nullptr, nullptr, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.Break(nullptr, nullptr), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.ServerVersion(nullptr, nullptr, nullptr, 0, OCI_HTYPE_SVCCTX), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.AttrGet(nullptr, OCI_HTYPE_STMT, nullptr, nullptr, OCI_ATTR_ROW_COUNT, nullptr),
            OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.AttrSet(nullptr, OCI_HTYPE_STMT, nullptr, 0, OCI_ATTR_PREFETCH_ROWS, nullptr),
            OCI_INVALID_HANDLE);
}

TEST(SandboxOciHandles, NullBuffersAndOutPointersOfValidHandlesAreReportedNotWritten) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("NULLS"));
  ASSERT_EQ(connection.Run("create table t (s varchar2(10), n number)"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("insert into t values ('abc', 7)"), OCI_SUCCESS);
  Statement statement(connection.Environment(), connection.Error(), connection.Context());
  ASSERT_EQ(statement.Prepare("select s, n from t"), OCI_SUCCESS);
  EXPECT_EQ(Oci().AttrGet(statement.Handle(), OCI_HTYPE_STMT, nullptr, nullptr, OCI_ATTR_STMT_TYPE,
                          connection.Error()),
            OCI_ERROR);
  EXPECT_EQ(
      Oci().AttrGet(statement.Handle(), OCI_HTYPE_STMT, nullptr, nullptr, 9999, connection.Error()),
      OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 24315);
  // Defines without value buffers: the fetch stores nothing and reports the loss.
  OCIDefine* define = nullptr;
  ASSERT_EQ(Oci().DefineByPos(statement.Handle(), &define, connection.Error(), 1, nullptr, 10,
                              SQLT_STR, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().DefineByPos(statement.Handle(), &define, connection.Error(), 2, nullptr, 4,
                              SQLT_INT, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  EXPECT_EQ(statement.Execute(1), OCI_SUCCESS_WITH_INFO);
  EXPECT_EQ(
      Oci().ServerVersion(connection.Context(), connection.Error(), nullptr, 0, OCI_HTYPE_SVCCTX),
      OCI_SUCCESS);
}

TEST(SandboxOciHandles, FreeingTheEnvironmentFreesEverythingAllocatedFromIt) {
  const tools::OciLibrary& oci = Oci();
  OCIEnv* environment = nullptr;
  ASSERT_EQ(oci.EnvInit(&environment, OCI_DEFAULT, 0, nullptr), OCI_SUCCESS);
  OCIError* error = nullptr;
  OCIServer* server = nullptr;
  void* userMemory = nullptr;
  oci.HandleAlloc(environment, reinterpret_cast<void**>(&error), OCI_HTYPE_ERROR, 0, nullptr);
  ASSERT_EQ(oci.HandleAlloc(environment, reinterpret_cast<void**>(&server), OCI_HTYPE_SERVER, 64,
                            &userMemory),
            OCI_SUCCESS);
  ASSERT_NE(userMemory, nullptr);
  std::memset(userMemory, 0xAB, 64);  // the extra memory is the caller's to use

  ASSERT_EQ(oci.HandleFree(environment, OCI_HTYPE_ENV), OCI_SUCCESS);
  EXPECT_EQ(oci.HandleFree(server, OCI_HTYPE_SERVER), OCI_INVALID_HANDLE);
  EXPECT_EQ(oci.HandleFree(error, OCI_HTYPE_ERROR), OCI_INVALID_HANDLE);
}

TEST(SandboxOciHandles, ErrorRecordsReadAsOracleTextsEndingInALineFeed) {
  TestConnection connection;
  const tools::OciLibrary& oci = Oci();
  OCIEnv* environment = nullptr;
  ASSERT_EQ(oci.EnvInit(&environment, OCI_DEFAULT, 0, nullptr), OCI_SUCCESS);
  OCIError* error = nullptr;
  OCIServer* server = nullptr;
  oci.HandleAlloc(environment, reinterpret_cast<void**>(&error), OCI_HTYPE_ERROR, 0, nullptr);
  oci.HandleAlloc(environment, reinterpret_cast<void**>(&server), OCI_HTYPE_SERVER, 0, nullptr);
  const char nowhere[] = "nowhere-at-all";
  ASSERT_EQ(oci.ServerAttach(server, error, reinterpret_cast<const OraText*>(nowhere),
                             sizeof nowhere - 1, OCI_DEFAULT),
            OCI_ERROR);

  ErrorRecord record = FirstError(error);
  EXPECT_EQ(record.code, 12154);
  EXPECT_EQ(record.text, "ORA-12154: TNS:could not resolve the connect identifier specified\n");

  // A short buffer receives the start of the text, terminated; past the last record is no data.
  OraText small[10];
  sb4 code = 0;
  EXPECT_EQ(oci.ErrorGet(error, 1, nullptr, &code, small, sizeof small, OCI_HTYPE_ERROR),
            OCI_SUCCESS);
  EXPECT_STREQ(reinterpret_cast<const char*>(small), "ORA-12154");
  EXPECT_EQ(oci.ErrorGet(error, 2, nullptr, &code, small, sizeof small, OCI_HTYPE_ERROR),
            OCI_NO_DATA);
  oci.HandleFree(environment, OCI_HTYPE_ENV);
}

}  // namespace
}  // namespace sandbox::testing
