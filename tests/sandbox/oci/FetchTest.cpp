// Array fetch, describe, truncation and NULL handling, with the status codes
// and cumulative row counts of a real client.
#include <gtest/gtest.h>

#include <cstring>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

class SandboxOciFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.ConnectFresh("FETCH")) << connection.LastErrorText();
    ASSERT_EQ(connection.Run("create table numbers (n number, label varchar2(30))"), OCI_SUCCESS)
        << connection.LastErrorText();
  }
  void Fill(int count) {
    for (int i = 1; i <= count; ++i) {
      ASSERT_EQ(connection.Run("insert into numbers values (" + std::to_string(i) + ", 'row " +
                               std::to_string(i) + "')"),
                OCI_SUCCESS)
          << connection.LastErrorText();
    }
  }
  Statement NewStatement() {
    return Statement(connection.Environment(), connection.Error(), connection.Context());
  }

  TestConnection connection;
  static constexpr int kSlot = 31;
  char labels[20][kSlot] = {};
  sb2 indicators[20] = {};
};

TEST_F(SandboxOciFetch, FortyFiveRowsTwentyAtATimeComeAsTwentyTwentyAndFive) {
  Fill(45);
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select label from numbers order by n"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(1, labels[0], kSlot, indicators), OCI_SUCCESS);

  ASSERT_EQ(statement.Execute(20), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_EQ(statement.RowCount(), 20u);
  EXPECT_STREQ(labels[19], "row 20");

  ASSERT_EQ(statement.Fetch(20), OCI_SUCCESS);
  EXPECT_EQ(statement.RowCount(), 40u);
  EXPECT_STREQ(labels[0], "row 21");

  // The short last batch: no data, but the five rows are in the buffers and counted.
  ASSERT_EQ(statement.Fetch(20), OCI_NO_DATA);
  EXPECT_EQ(statement.RowCount(), 45u);
  EXPECT_EQ(statement.LastError().code, 1403);
  EXPECT_STREQ(labels[0], "row 41");
  EXPECT_STREQ(labels[4], "row 45");
  EXPECT_STREQ(labels[5], "row 26");  // untouched from the batch before
}

TEST_F(SandboxOciFetch, FortyRowsGiveTwentyTwentyThenNoDataWithTheSameCount) {
  Fill(40);
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select label from numbers order by n"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(1, labels[0], kSlot, indicators), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(20), OCI_SUCCESS);
  ASSERT_EQ(statement.Fetch(20), OCI_SUCCESS);
  EXPECT_EQ(statement.RowCount(), 40u);
  EXPECT_EQ(statement.Fetch(20), OCI_NO_DATA);
  EXPECT_EQ(statement.RowCount(), 40u);
  // Past the reported end the cursor refuses to fetch.
  EXPECT_EQ(statement.Fetch(20), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 1002);
}

TEST_F(SandboxOciFetch, EmptyResultEndsTheExecutionWithNoDataFound) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select label from numbers"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(1, labels[0], kSlot, indicators), OCI_SUCCESS);
  EXPECT_EQ(statement.Execute(20), OCI_NO_DATA);
  EXPECT_EQ(statement.RowCount(), 0u);
  EXPECT_EQ(statement.LastError().code, 1403);
}

TEST_F(SandboxOciFetch, ExecutionWithoutRowsIsFollowedBySingleRowFetches) {
  Fill(3);
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select n, label from numbers order by n"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(2, labels[0], kSlot, indicators), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(0), OCI_SUCCESS);
  EXPECT_EQ(statement.RowCount(), 0u);
  EXPECT_STREQ(labels[0], "");  // nothing fetched yet

  ub4 columns = 0;
  Oci().AttrGet(statement.Handle(), OCI_HTYPE_STMT, &columns, nullptr, OCI_ATTR_PARAM_COUNT,
                connection.Error());
  EXPECT_EQ(columns, 2u);
  for (int row = 1; row <= 3; ++row) {
    ASSERT_EQ(statement.Fetch(1), OCI_SUCCESS) << row;
    EXPECT_EQ(labels[0], "row " + std::to_string(row));
    EXPECT_EQ(statement.RowCount(), static_cast<ub4>(row));
  }
  EXPECT_EQ(statement.Fetch(1), OCI_NO_DATA);
  EXPECT_EQ(statement.RowCount(), 3u);
}

TEST_F(SandboxOciFetch, DescribeOnlyReportsTheSelectListColumns) {
  ASSERT_EQ(connection.Run("create table described (code varchar2(12) not null, amount "
                           "number(9,2), created date)"),
            OCI_SUCCESS)
      << connection.LastErrorText();
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select code, amount, created from described"), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(0, OCI_DESCRIBE_ONLY), OCI_SUCCESS) << statement.LastError().text;

  struct Expected {
    std::string name;
    ub2 type;
  };
  const Expected expected[] = {{"CODE", SQLT_CHR}, {"AMOUNT", SQLT_NUM}, {"CREATED", SQLT_DAT}};
  for (ub4 position = 1; position <= 3; ++position) {
    void* parameter = nullptr;
    ASSERT_EQ(Oci().ParamGet(statement.Handle(), OCI_HTYPE_STMT, connection.Error(), &parameter,
                             position),
              OCI_SUCCESS);
    OraText* name = nullptr;
    ub4 nameLength = 0;
    ub2 type = 0;
    // Both handle types name a parameter descriptor.
    ASSERT_EQ(Oci().AttrGet(parameter, OCI_HTYPE_DESCRIBE, &name, &nameLength, OCI_ATTR_NAME,
                            connection.Error()),
              OCI_SUCCESS);
    ASSERT_EQ(Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &type, nullptr, OCI_ATTR_DATA_TYPE,
                            connection.Error()),
              OCI_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name), nameLength), expected[position - 1].name);
    EXPECT_EQ(type, expected[position - 1].type);
    if (position == 1) {
      ub2 size = 0;
      ub1 nullable = 1;
      Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &size, nullptr, OCI_ATTR_DATA_SIZE,
                    connection.Error());
      Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &nullable, nullptr, OCI_ATTR_IS_NULL,
                    connection.Error());
      EXPECT_EQ(size, 12);
      EXPECT_EQ(nullable, 0);
    }
    if (position == 2) {
      sb2 precision = 0;
      sb1 scale = 0;
      Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &precision, nullptr, OCI_ATTR_PRECISION,
                    connection.Error());
      Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &scale, nullptr, OCI_ATTR_SCALE,
                    connection.Error());
      EXPECT_EQ(precision, 9);
      EXPECT_EQ(scale, 2);
    }
    EXPECT_EQ(Oci().DescriptorFree(parameter, OCI_DTYPE_PARAM), OCI_SUCCESS);
  }
  void* beyond = nullptr;
  EXPECT_EQ(Oci().ParamGet(statement.Handle(), OCI_HTYPE_STMT, connection.Error(), &beyond, 4),
            OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 24334);
  // Describing did not execute the query, so there is nothing to fetch.
  char buffer[20];
  statement.DefineString(1, buffer, sizeof buffer);
  EXPECT_EQ(statement.Fetch(1), OCI_ERROR);
}

TEST_F(SandboxOciFetch, LongValueIsTruncatedWithInformationAndCode1406) {
  ASSERT_EQ(connection.Run("insert into numbers values (1, 'abcdefghij')"), OCI_SUCCESS);
  Statement statement = NewStatement();
  char buffer[5];
  std::memset(buffer, 'x', sizeof buffer);
  sb2 indicator = 0;
  ub2 length = 0;
  ub2 code = 0;
  ASSERT_EQ(statement.Prepare("select label from numbers"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(1, buffer, sizeof buffer, &indicator, &length, &code),
            OCI_SUCCESS);
  EXPECT_EQ(statement.Execute(1), OCI_SUCCESS_WITH_INFO);
  EXPECT_EQ(statement.LastError().text, "ORA-24345: A Truncation or null fetch error occurred\n");
  EXPECT_STREQ(buffer, "abcd");  // n - 1 characters and the terminator
  EXPECT_EQ(code, 1406);
  EXPECT_EQ(indicator, 10);  // the untruncated length
  EXPECT_EQ(length, 4);
  EXPECT_EQ(statement.RowCount(), 1u);
}

TEST_F(SandboxOciFetch, NullComesBackAsIndicatorMinusOneOrAsError1405) {
  ASSERT_EQ(connection.Run("insert into numbers values (1, null)"), OCI_SUCCESS);
  char buffer[10] = "stale";
  sb2 indicator = 0;
  {
    Statement statement = NewStatement();
    ASSERT_EQ(statement.Prepare("select label from numbers"), OCI_SUCCESS);
    ASSERT_EQ(statement.DefineString(1, buffer, sizeof buffer, &indicator), OCI_SUCCESS);
    EXPECT_EQ(statement.Execute(1), OCI_SUCCESS);
    EXPECT_EQ(indicator, -1);
  }
  {
    Statement statement = NewStatement();
    ub2 code = 0;
    ASSERT_EQ(statement.Prepare("select label from numbers"), OCI_SUCCESS);
    ASSERT_EQ(statement.DefineString(1, buffer, sizeof buffer, nullptr, nullptr, &code),
              OCI_SUCCESS);
    EXPECT_EQ(statement.Execute(1), OCI_ERROR);
    EXPECT_EQ(statement.LastError().text, "ORA-01405: fetched column value is NULL\n");
    EXPECT_EQ(code, 1405);
  }
}

TEST_F(SandboxOciFetch, NumbersDefineAsIntegersAndFailOnText) {
  ASSERT_EQ(connection.Run("insert into numbers values (-1234, 'text')"), OCI_SUCCESS);
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select n, label from numbers"), OCI_SUCCESS);
  int number = 0;
  OCIDefine* define = nullptr;
  ASSERT_EQ(Oci().DefineByPos(statement.Handle(), &define, connection.Error(), 1, &number,
                              sizeof number, SQLT_INT, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_EQ(number, -1234);

  Statement text = NewStatement();
  ASSERT_EQ(text.Prepare("select label from numbers"), OCI_SUCCESS);
  ASSERT_EQ(Oci().DefineByPos(text.Handle(), &define, connection.Error(), 1, &number, sizeof number,
                              SQLT_INT, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  EXPECT_EQ(text.Execute(1), OCI_ERROR);
  EXPECT_EQ(text.LastError().code, 1722);
}

TEST_F(SandboxOciFetch, DefineBeyondTheSelectListAndFetchWithoutDefinesAreErrors) {
  Fill(1);
  char buffer[10];
  Statement beyond = NewStatement();
  ASSERT_EQ(beyond.Prepare("select label from numbers"), OCI_SUCCESS);
  ASSERT_EQ(beyond.DefineString(2, buffer, sizeof buffer), OCI_SUCCESS);
  EXPECT_EQ(beyond.Execute(1), OCI_ERROR);
  EXPECT_EQ(beyond.LastError().code, 1007);

  Statement undefined = NewStatement();
  ASSERT_EQ(undefined.Prepare("select label from numbers"), OCI_SUCCESS);
  EXPECT_EQ(undefined.Execute(1), OCI_ERROR);
  EXPECT_EQ(undefined.LastError().code, 24374);
}

TEST_F(SandboxOciFetch, LobColumnsFetchIntoLocatorsThatKnowTheirLength) {
  ASSERT_EQ(connection.Run("create table lobs (c clob, b blob)"), OCI_SUCCESS)
      << connection.LastErrorText();
  ASSERT_EQ(connection.Run("insert into lobs values ('Zürich', hextoraw('0102030405'))"),
            OCI_SUCCESS)
      << connection.LastErrorText();
  const tools::OciLibrary& oci = Oci();
  OCILobLocator* text = nullptr;
  OCILobLocator* bytes = nullptr;
  ASSERT_EQ(oci.DescriptorAlloc(connection.Environment(), reinterpret_cast<void**>(&text),
                                OCI_DTYPE_LOB, 0, nullptr),
            OCI_SUCCESS);
  ASSERT_EQ(oci.DescriptorAlloc(connection.Environment(), reinterpret_cast<void**>(&bytes),
                                OCI_DTYPE_LOB, 0, nullptr),
            OCI_SUCCESS);
  ub4 length = 0;
  EXPECT_EQ(oci.LobGetLength(connection.Context(), connection.Error(), text, &length), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 22275);  // nothing fetched into it yet

  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select c, b from lobs"), OCI_SUCCESS);
  OCIDefine* define = nullptr;
  ASSERT_EQ(oci.DefineByPos(statement.Handle(), &define, connection.Error(), 1, &text, 0, SQLT_CLOB,
                            nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(oci.DefineByPos(statement.Handle(), &define, connection.Error(), 2, &bytes, 0,
                            SQLT_BLOB, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  ASSERT_EQ(oci.LobGetLength(connection.Context(), connection.Error(), text, &length), OCI_SUCCESS);
  EXPECT_EQ(length, 6u);  // characters, not bytes
  ASSERT_EQ(oci.LobGetLength(connection.Context(), connection.Error(), bytes, &length),
            OCI_SUCCESS);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(oci.DescriptorFree(text, OCI_DTYPE_LOB), OCI_SUCCESS);
  EXPECT_EQ(oci.DescriptorFree(bytes, OCI_DTYPE_LOB), OCI_SUCCESS);
}

TEST_F(SandboxOciFetch, StatementTypeAndFunctionCodeFollowTheText) {
  struct Case {
    const char* sql;
    ub2 type;
    ub2 functionCode;
  };
  const Case cases[] = {
      {"select n from numbers", OCI_STMT_SELECT, 4},
      {"insert into numbers values (1, 'a')", OCI_STMT_INSERT, 3},
      {"update numbers set n = 2", OCI_STMT_UPDATE, 5},
      {"delete from numbers", OCI_STMT_DELETE, 9},
      {"create table other (n number)", OCI_STMT_CREATE, 1},
      {"begin null; end;", OCI_STMT_BEGIN, 0},
  };
  for (const Case& c : cases) {
    Statement statement = NewStatement();
    ASSERT_EQ(statement.Prepare(c.sql), OCI_SUCCESS);
    ub2 type = 0;
    ub2 functionCode = 0;
    Oci().AttrGet(statement.Handle(), OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE,
                  connection.Error());
    EXPECT_EQ(type, c.type) << c.sql;
    if (c.functionCode != 0) {
      ASSERT_EQ(statement.Execute(c.type == OCI_STMT_SELECT ? 0 : 1), OCI_SUCCESS)
          << c.sql << statement.LastError().text;
      Oci().AttrGet(statement.Handle(), OCI_HTYPE_STMT, &functionCode, nullptr, OCI_ATTR_SQLFNCODE,
                    connection.Error());
      EXPECT_EQ(functionCode, c.functionCode) << c.sql;
    }
  }
}

TEST_F(SandboxOciFetch, ExplicitDescribeListsTheColumnsOfATableByName) {
  const tools::OciLibrary& oci = Oci();
  OCIDescribe* describe = nullptr;
  ASSERT_EQ(oci.HandleAlloc(connection.Environment(), reinterpret_cast<void**>(&describe),
                            OCI_HTYPE_DESCRIBE, 0, nullptr),
            OCI_SUCCESS);
  char name[] = "numbers";
  ASSERT_EQ(oci.DescribeAny(connection.Context(), connection.Error(), name, sizeof name - 1,
                            OCI_OTYPE_NAME, 0, OCI_PTYPE_TABLE, describe),
            OCI_SUCCESS)
      << connection.LastErrorText();
  constexpr ub4 kAttrParam = 124, kAttrNumCols = 102, kAttrListColumns = 103;
  void* table = nullptr;
  ASSERT_EQ(
      oci.AttrGet(describe, OCI_HTYPE_DESCRIBE, &table, nullptr, kAttrParam, connection.Error()),
      OCI_SUCCESS);
  ub2 count = 0;
  void* list = nullptr;
  oci.AttrGet(table, OCI_DTYPE_PARAM, &count, nullptr, kAttrNumCols, connection.Error());
  oci.AttrGet(table, OCI_DTYPE_PARAM, &list, nullptr, kAttrListColumns, connection.Error());
  EXPECT_EQ(count, 2);
  void* column = nullptr;
  ASSERT_EQ(oci.ParamGet(list, OCI_DTYPE_PARAM, connection.Error(), &column, 2), OCI_SUCCESS);
  OraText* columnName = nullptr;
  ub4 length = 0;
  oci.AttrGet(column, OCI_DTYPE_PARAM, &columnName, &length, OCI_ATTR_NAME, connection.Error());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(columnName), length), "LABEL");

  char missing[] = "no_such_table";
  EXPECT_EQ(oci.DescribeAny(connection.Context(), connection.Error(), missing, sizeof missing - 1,
                            OCI_OTYPE_NAME, 0, OCI_PTYPE_TABLE, describe),
            OCI_ERROR);
  EXPECT_EQ(connection.LastErrorText(), "ORA-04043: object NO_SUCH_TABLE does not exist");
  EXPECT_EQ(oci.HandleFree(describe, OCI_HTYPE_DESCRIBE), OCI_SUCCESS);
}

}  // namespace
}  // namespace sandbox::testing
