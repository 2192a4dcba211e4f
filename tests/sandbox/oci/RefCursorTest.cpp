// Cursor variables handed to a client: a statement handle bound as SQLT_RSET
// to an OUT SYS_REFCURSOR parameter or to a function's result, then defined
// and fetched as a query of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

class SandboxOciRefCursor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.ConnectFresh("REFCUR")) << connection.LastErrorText();
    ASSERT_NE(Oci().StmtFetch2, nullptr);
    for (const char* sql : {
             "create table people (id number, name varchar2(30))",
             "insert into people values (1, 'Ann')",
             "insert into people values (2, 'Ben')",
             "insert into people values (3, 'Cat')",
             "create or replace procedure people_from(low number, c out sys_refcursor) is\n"
             "begin\n  open c for select id, name from people where id >= low order by id;\nend;",
             "create or replace function people_after(low number) return sys_refcursor is\n"
             "  c sys_refcursor;\n  skipped people%rowtype;\n"
             "begin\n  open c for select id, name from people where id > low order by id;\n"
             "  fetch c into skipped;\n  return c;\nend;",
             "create or replace procedure never_opened(c out sys_refcursor) is\n"
             "begin\n  null;\nend;",
         })
      ASSERT_EQ(connection.Run(sql), OCI_SUCCESS) << connection.LastErrorText() << sql;
    Oci().HandleAlloc(connection.Environment(), reinterpret_cast<void**>(&cursor), OCI_HTYPE_STMT,
                      0, nullptr);
  }
  void TearDown() override {
    if (cursor != nullptr)
      Oci().HandleFree(cursor, OCI_HTYPE_STMT);
  }
  Statement NewStatement() {
    return Statement(connection.Environment(), connection.Error(), connection.Context());
  }
  sword BindCursor(Statement& block, const char* name) {
    OCIBind* bind = nullptr;
    return Oci().BindByName(block.Handle(), &bind, connection.Error(),
                            reinterpret_cast<const OraText*>(name),
                            static_cast<sb4>(std::string(name).size()), &cursor, 0, SQLT_RSET,
                            nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  }
  // The cursor's rows as "id|name", fetched one at a time after defines.
  std::vector<std::string> FetchAll() {
    int id = 0;
    char name[31] = {};
    OCIDefine* define = nullptr;
    EXPECT_EQ(Oci().DefineByPos(cursor, &define, connection.Error(), 1, &id, sizeof id, SQLT_INT,
                                nullptr, nullptr, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    EXPECT_EQ(Oci().DefineByPos(cursor, &define, connection.Error(), 2, name, sizeof name, SQLT_STR,
                                nullptr, nullptr, nullptr, OCI_DEFAULT),
              OCI_SUCCESS);
    std::vector<std::string> rows;
    sword status = OCI_SUCCESS;
    while ((status = Oci().StmtFetch2(cursor, connection.Error(), 1, OCI_FETCH_NEXT, 0,
                                      OCI_DEFAULT)) == OCI_SUCCESS)
      rows.push_back(std::to_string(id) + "|" + name);
    EXPECT_EQ(status, OCI_NO_DATA) << FirstError(connection.Error()).text;
    return rows;
  }

  TestConnection connection;
  OCIStmt* cursor = nullptr;
};

TEST_F(SandboxOciRefCursor, OutParameterOpensTheBoundStatementAsAQuery) {
  Statement block = NewStatement();
  ASSERT_EQ(block.Prepare("begin people_from(:low, :c); end;"), OCI_SUCCESS);
  int low = 2;
  ASSERT_EQ(block.BindInt("low", &low), OCI_SUCCESS);
  ASSERT_EQ(BindCursor(block, ":c"), OCI_SUCCESS) << block.LastError().text;
  ASSERT_EQ(block.Execute(1), OCI_SUCCESS) << block.LastError().text;
  ub2 type = 0;
  ub4 columns = 0;
  Oci().AttrGet(cursor, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, connection.Error());
  Oci().AttrGet(cursor, OCI_HTYPE_STMT, &columns, nullptr, OCI_ATTR_PARAM_COUNT,
                connection.Error());
  EXPECT_EQ(type, OCI_STMT_SELECT);
  EXPECT_EQ(columns, 2u);
  EXPECT_EQ(FetchAll(), (std::vector<std::string>{"2|Ben", "3|Cat"}));
  // Past the end, as for any query.
  EXPECT_EQ(Oci().StmtFetch2(cursor, connection.Error(), 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT),
            OCI_ERROR);
  EXPECT_EQ(FirstError(connection.Error()).code, 1002);

  // Running the block again opens a new query on the same handle.
  low = 1;
  ASSERT_EQ(block.Execute(1), OCI_SUCCESS) << block.LastError().text;
  EXPECT_EQ(FetchAll(), (std::vector<std::string>{"1|Ann", "2|Ben", "3|Cat"}));
}

TEST_F(SandboxOciRefCursor, FunctionResultGoesOnFromWhereTheFunctionStopped) {
  Statement block = NewStatement();
  ASSERT_EQ(block.Prepare("begin :c := people_after(0); end;"), OCI_SUCCESS);
  ASSERT_EQ(BindCursor(block, "c"), OCI_SUCCESS);
  ASSERT_EQ(block.Execute(1), OCI_SUCCESS) << block.LastError().text;
  // The function fetched Ann itself.
  EXPECT_EQ(FetchAll(), (std::vector<std::string>{"2|Ben", "3|Cat"}));
}

TEST_F(SandboxOciRefCursor, CursorNeverOpenedOrBoundAsTextIsAnError) {
  Statement block = NewStatement();
  ASSERT_EQ(block.Prepare("begin never_opened(:c); end;"), OCI_SUCCESS);
  ASSERT_EQ(BindCursor(block, "c"), OCI_SUCCESS);
  ASSERT_EQ(block.Execute(1), OCI_SUCCESS) << block.LastError().text;
  EXPECT_EQ(Oci().StmtFetch2(cursor, connection.Error(), 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT),
            OCI_ERROR);
  EXPECT_EQ(FirstError(connection.Error()).code, 24338);

  // A text buffer cannot take a cursor; a cursor bind cannot take a value.
  Statement wrong = NewStatement();
  ASSERT_EQ(wrong.Prepare("begin people_from(1, :c); end;"), OCI_SUCCESS);
  char text[40] = {};
  ASSERT_EQ(wrong.BindString("c", text, sizeof text), OCI_SUCCESS);
  EXPECT_EQ(wrong.Execute(1), OCI_ERROR);
  EXPECT_NE(wrong.LastError().text.find("PLS-00306"), std::string::npos) << wrong.LastError().text;
  Statement scalar = NewStatement();
  ASSERT_EQ(scalar.Prepare("begin :c := 'x'; end;"), OCI_SUCCESS);
  ASSERT_EQ(BindCursor(scalar, "c"), OCI_SUCCESS);
  EXPECT_EQ(scalar.Execute(1), OCI_ERROR);
  EXPECT_NE(scalar.LastError().text.find("PLS-00382"), std::string::npos)
      << scalar.LastError().text;
}

}  // namespace
}  // namespace sandbox::testing
