// Attaching, logging on and the server banner through the exported entry points.
#include <gtest/gtest.h>

#include <cstdlib>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

std::string Banner(TestConnection& connection) {
  OraText buffer[512] = {};
  EXPECT_EQ(Oci().ServerVersion(connection.Context(), connection.Error(), buffer, sizeof buffer,
                                OCI_HTYPE_SVCCTX),
            OCI_SUCCESS);
  return reinterpret_cast<const char*>(buffer);
}

TEST(SandboxOciLogon, SystemLogsOnToAFreshDatabaseAndReadsItsGlobalName) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("LOGON")) << connection.LastErrorText();
  std::vector<std::string> rows = connection.Rows("select global_name from sys.global_name");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], connection.database.substr(4));  // "mem:LOGON1" is global name LOGON1
}

TEST(SandboxOciLogon, WrongPasswordUnknownUserAndUnknownDatabaseAreRefused) {
  std::string database = FreshDatabase("REFUSE");
  {
    TestConnection connection;
    EXPECT_FALSE(connection.Connect("SYSTEM", "wrong", database));
    EXPECT_EQ(connection.LastErrorText(), "ORA-01017: invalid username/password; logon denied");
  }
  {
    TestConnection connection;
    EXPECT_FALSE(connection.Connect("NOBODY", "manager", database));
    EXPECT_EQ(connection.LastErrorCode(), 1017);
  }
  for (const char* identifier : {"no-such-alias", "dir:/no/such/directory", "demo?release=9.2"}) {
    TestConnection connection;
    EXPECT_FALSE(connection.Connect("SYSTEM", "manager", identifier)) << identifier;
    EXPECT_EQ(connection.LastErrorCode(), 12154) << identifier;
  }
}

TEST(SandboxOciLogon, ReleaseSuffixChoosesTheBanner) {
  std::string database = FreshDatabase("BANNER");
  struct Case {
    std::string suffix;
    std::string banner;
  };
  const Case cases[] = {
      {"",
       "Oracle Database 19c Enterprise Edition Release 19.0.0.0.0 - Production\n"
       "Version 19.3.0.0.0"},
      {"?release=8.1.7",
       "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production\n"
       "JServer Release 8.1.7.0.0 - Production"},
      {"?release=8.0.5",
       "Oracle8 Enterprise Edition Release 8.0.5.0.0 - Production\n"
       "PL/SQL Release 8.0.5.0.0 - Production"},
      {"?RELEASE=7.3.4",
       "Oracle7 Server Release 7.3.4.0.0 - Production\n"
       "PL/SQL Release 2.3.4.0.0 - Production"},
  };
  for (const Case& c : cases) {
    TestConnection connection;
    ASSERT_TRUE(connection.Connect("SYSTEM", "manager", database + c.suffix))
        << connection.LastErrorText();
    EXPECT_EQ(Banner(connection), c.banner);
  }
  // A short buffer gets a terminated prefix of the banner.
  TestConnection connection;
  ASSERT_TRUE(connection.Connect("SYSTEM", "manager", database + "?release=7.3.4"));
  OraText shortBuffer[8];
  ASSERT_EQ(Oci().ServerVersion(connection.Context(), connection.Error(), shortBuffer,
                                sizeof shortBuffer, OCI_HTYPE_SVCCTX),
            OCI_SUCCESS);
  EXPECT_STREQ(reinterpret_cast<const char*>(shortBuffer), "Oracle7");
}

TEST(SandboxOciLogon, LogonNeedsAnAttachedServerAndHappensOnce) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("ONCE"));
  EXPECT_EQ(Oci().SessionBegin(connection.Context(), connection.Error(), connection.Session(),
                               OCI_CRED_RDBMS, OCI_DEFAULT),
            OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 24313);

  ASSERT_EQ(Oci().SessionEnd(connection.Context(), connection.Error(), connection.Session(), 0),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().ServerDetach(connection.Server(), connection.Error(), 0), OCI_SUCCESS);
  EXPECT_EQ(Oci().SessionBegin(connection.Context(), connection.Error(), connection.Session(),
                               OCI_CRED_RDBMS, OCI_DEFAULT),
            OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 24327);
}

TEST(SandboxOciLogon, EmptyConnectIdentifierNamesTheDefaultDatabase) {
  const char* saved = std::getenv("TWO_TASK");
  std::string previous = saved != nullptr ? saved : "";
  std::string database = FreshDatabase("DEFAULTDB");
  setenv("TWO_TASK", database.c_str(), 1);
  {
    TestConnection connection;
    ASSERT_TRUE(connection.Connect("SYSTEM", "manager", "")) << connection.LastErrorText();
    EXPECT_EQ(connection.Rows("select global_name from sys.global_name"),
              std::vector<std::string>{database.substr(4)});
  }
  unsetenv("TWO_TASK");
  {
    TestConnection connection;
    ASSERT_TRUE(connection.Connect("SYSTEM", "manager", "")) << connection.LastErrorText();
    EXPECT_EQ(connection.Rows("select global_name from sys.global_name"),
              std::vector<std::string>{"DEMO"});
  }
  if (saved != nullptr)
    setenv("TWO_TASK", previous.c_str(), 1);
}

TEST(SandboxOciLogon, MalformedNlsLangRefusesTheEnvironment) {
  const char* saved = std::getenv("NLS_LANG");
  std::string previous = saved != nullptr ? saved : "";
  setenv("NLS_LANG", "AMERICAN_AMERICA.", 1);
  OCIEnv* environment = nullptr;
  EXPECT_EQ(Oci().EnvInit(&environment, OCI_DEFAULT, 0, nullptr), OCI_ERROR);
  sb4 code = 0;
  Oci().ErrorGet(environment, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ENV);
  EXPECT_EQ(code, 12705);
  Oci().HandleFree(environment, OCI_HTYPE_ENV);

  setenv("NLS_LANG", "AMERICAN_AMERICA.AL32UTF8", 1);
  EXPECT_EQ(Oci().EnvInit(&environment, OCI_DEFAULT, 0, nullptr), OCI_SUCCESS);
  Oci().HandleFree(environment, OCI_HTYPE_ENV);
  if (saved != nullptr) {
    setenv("NLS_LANG", previous.c_str(), 1);
  } else {
    unsetenv("NLS_LANG");
  }
}

}  // namespace
}  // namespace sandbox::testing
