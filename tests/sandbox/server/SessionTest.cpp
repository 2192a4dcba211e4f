// Sessions: logon, statement classification, column descriptions, DML row
// counts, transactions and the session's date format.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

TEST(AttachTest, ConnectIdentifiersAndLogon) {
  OraError error;
  EXPECT_EQ(AttachDatabase("no-such-database", error), nullptr);
  EXPECT_EQ(error.code, 12154);
  EXPECT_EQ(AttachDatabase("dir:/no/such/dir", error), nullptr);
  EXPECT_EQ(error.code, 12154);
  auto first = AttachDatabase("mem:Shared1", error);
  auto again = AttachDatabase("MEM:shared1", error);
  ASSERT_TRUE(first);
  EXPECT_EQ(first, again);
  EXPECT_EQ(first->Name(), "SHARED1");
  EXPECT_NE(first->VersionBanner().find("19c"), std::string::npos);
  auto old = AttachDatabase("mem:Shared1?release=7.3.4", error);
  ASSERT_TRUE(old);
  EXPECT_EQ(old->VersionBanner(),
            "Oracle7 Server Release 7.3.4.0.0 - Production\nPL/SQL Release 2.3.4.0.0 - Production");

  EXPECT_TRUE(first->Logon("system", "manager", error));
  EXPECT_FALSE(first->Logon("SYSTEM", "wrong", error));
  EXPECT_EQ(error.code, 1017);
  EXPECT_EQ(error.message, "invalid username/password; logon denied");
  EXPECT_FALSE(first->Logon("NOBODY", "manager", error));
  EXPECT_EQ(error.code, 1017);
  EXPECT_FALSE(first->Logon("SYSTEM", "", error));
  EXPECT_EQ(error.code, 1017);
}

TEST(AttachTest, UsersNeedCreateSessionToLogOn) {
  ServerTestSession admin;
  admin.Script(R"(create user scott identified by tiger;
                  create user clerk identified by pw;
                  grant connect, resource to scott;)");
  OraError error;
  EXPECT_TRUE(admin.database().Logon("SCOTT", "tiger", error)) << error.message;
  EXPECT_FALSE(admin.database().Logon("CLERK", "pw", error));
  EXPECT_EQ(error.code, 1045);
}

TEST(ClassifyTest, StatementTypesAndFunctionCodes) {
  EXPECT_EQ(ClassifyStatement("select 1 from dual").statementType, 1);
  EXPECT_EQ(ClassifyStatement("  SELECT 1 from dual").sqlFunctionCode, 4);
  EXPECT_EQ(ClassifyStatement("insert into t values (1)").sqlFunctionCode, 3);
  EXPECT_EQ(ClassifyStatement("update t set a = 1").sqlFunctionCode, 5);
  EXPECT_EQ(ClassifyStatement("delete t").sqlFunctionCode, 9);
  EXPECT_EQ(ClassifyStatement("begin null; end;").sqlFunctionCode, 34);
  EXPECT_EQ(ClassifyStatement("insert into t values (1)").statementType, 4);
  EXPECT_EQ(ClassifyStatement("update t set a = 1").statementType, 2);
  EXPECT_EQ(ClassifyStatement("delete from t").statementType, 3);
  EXPECT_EQ(ClassifyStatement("begin null; end;").statementType, 8);
  EXPECT_EQ(ClassifyStatement("declare x number; begin null; end;").statementType, 9);
  EXPECT_EQ(ClassifyStatement("create table t (a number)").sqlFunctionCode, 1);
  EXPECT_EQ(ClassifyStatement("create or replace package body p as end;").sqlFunctionCode, 97);
  EXPECT_EQ(ClassifyStatement("create unique index i on t(a)").sqlFunctionCode, 20);
  EXPECT_EQ(ClassifyStatement("drop table t").sqlFunctionCode, 8);
  EXPECT_EQ(ClassifyStatement("drop table t").statementType, 6);
  EXPECT_EQ(ClassifyStatement("alter session set nls_date_format = 'DD'").sqlFunctionCode, 52);
  EXPECT_EQ(ClassifyStatement("commit").statementType, 21);
  EXPECT_EQ(ClassifyStatement("-- comment\nselect 1 from dual").statementType, 1);
  EXPECT_EQ(ClassifyStatement("").statementType, 0);
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table typed (c char(3) not null, v varchar2(100), n number, n92 number(9,2), i integer,
                          f float, d date, l long, r raw(16), cl clob, bl blob, ts timestamp);
      insert into typed (c, v, n, d) values ('ab', 'text', 42, to_date('2024-03-05 14:07:09', 'YYYY-MM-DD HH24:MI:SS'));
      commit;
    )");
  }
  ServerTestSession db;
};

TEST_F(SessionTest, ColumnsAreDescribedWithSqltCodesAndSizes) {
  MapBinds none;
  OraError error;
  auto cursor = db.session().OpenQuery("select * from typed", none, error);
  ASSERT_TRUE(cursor) << error.message;
  const auto& columns = cursor->Columns();
  ASSERT_EQ(columns.size(), 12u);
  struct Expected {
    const char* name;
    int type, size;
  } expected[] = {{"C", 96, 3},  {"V", 1, 100},     {"N", 2, 22},      {"N92", 2, 22},
                  {"I", 2, 22},  {"F", 2, 22},      {"D", 12, 7},      {"L", 8, 0},
                  {"R", 23, 16}, {"CL", 112, 4000}, {"BL", 113, 4000}, {"TS", 187, 11}};
  for (std::size_t i = 0; i < columns.size(); ++i) {
    EXPECT_EQ(columns[i].name, expected[i].name);
    EXPECT_EQ(columns[i].dataType, expected[i].type) << columns[i].name;
    EXPECT_EQ(columns[i].dataSize, expected[i].size) << columns[i].name;
  }
  EXPECT_EQ(columns[3].precision, 9);
  EXPECT_EQ(columns[3].scale, 2);
  EXPECT_EQ(columns[2].scale, -127);
  EXPECT_EQ(columns[4].precision, 38);
  EXPECT_FALSE(columns[0].nullable);
  EXPECT_TRUE(columns[1].nullable);

  auto expressions = db.session().OpenQuery(
      "select upper(v) up, count(*), sysdate, v as \"Alias\" from typed group by v", none, error);
  ASSERT_TRUE(expressions) << error.message;
  EXPECT_EQ(expressions->Columns()[0].name, "UP");
  EXPECT_EQ(expressions->Columns()[1].name, "COUNT(*)");
  EXPECT_EQ(expressions->Columns()[1].dataType, 2);
  EXPECT_EQ(expressions->Columns()[2].dataType, 12);
  EXPECT_EQ(expressions->Columns()[3].name, "Alias");
}

TEST_F(SessionTest, ValuesKeepTheirKindsAndCharIsPadded) {
  MapBinds none;
  OraError error;
  auto cursor = db.session().OpenQuery("select c, v, n, d, l from typed", none, error);
  ASSERT_TRUE(cursor);
  std::vector<Value> row;
  ASSERT_TRUE(cursor->Next(row, error));
  EXPECT_EQ(row[0].text, "ab ");
  EXPECT_EQ(row[2].kind, Value::Kind::Number);
  EXPECT_EQ(row[3].kind, Value::Kind::Date);
  EXPECT_EQ(row[3].text, "2024-03-05 14:07:09");
  EXPECT_TRUE(row[4].IsNull());
  EXPECT_FALSE(cursor->Next(row, error));
  EXPECT_FALSE(error.IsSet());
}

TEST_F(SessionTest, DateFormatOfTheSession) {
  EXPECT_EQ(db.Value1("select d from typed"), "05-MAR-24");
  EXPECT_EQ(db.Exec("alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS'"), 0);
  EXPECT_EQ(db.Value1("select d from typed"), "2024-03-05 14:07:09");
  EXPECT_EQ(db.Value1("select to_char(d) from typed"), "2024-03-05 14:07:09");
  EXPECT_EQ(db.Value1("select to_char(d, 'DD.MM.YYYY HH:MI AM') from typed"),
            "05.03.2024 02:07 PM");
  EXPECT_EQ(db.Exec("alter session set nls_date_format = 'NOT A FORMAT'"), 1821);
  EXPECT_EQ(db.LastError().message, "date format not recognized");
  EXPECT_EQ(db.Value1("select d from typed"), "2024-03-05 14:07:09");
  EXPECT_EQ(db.Exec("alter session set no_such_parameter = 1"), 2248);
  Value date = Value::Date("1999-12-31 23:59:58");
  EXPECT_EQ(db.session().ToText(date), "1999-12-31 23:59:58");
  EXPECT_EQ(db.session().ToText(Value::Binary("\x01\xAB")), "01AB");
}

TEST_F(SessionTest, DmlRowCountsAndTransactions) {
  EXPECT_EQ(db.Exec("insert into typed (c) values ('x')"), 0);
  EXPECT_EQ(db.LastRowCount(), 1u);
  EXPECT_EQ(db.Exec("update typed set v = 'changed'"), 0);
  EXPECT_EQ(db.LastRowCount(), 2u);
  EXPECT_EQ(db.Exec("rollback"), 0);
  EXPECT_EQ(db.Value1("select count(*) from typed"), "1");
  EXPECT_EQ(db.Exec("delete from typed where c = 'ab'"), 0);
  EXPECT_EQ(db.LastRowCount(), 1u);
  EXPECT_EQ(db.Exec("commit"), 0);
  EXPECT_EQ(db.Exec("rollback"), 0);
  EXPECT_EQ(db.Value1("select count(*) from typed"), "0");
  EXPECT_EQ(db.Exec("insert into typed (v) values ('no c')"), 1400);
  EXPECT_EQ(db.LastError().message, "cannot insert NULL into (\"SYSTEM\".\"TYPED\".\"C\")");
}

TEST_F(SessionTest, ValuesAColumnCannotHoldAreRejected) {
  EXPECT_EQ(db.Exec("insert into typed (c) values ('toolong')"), 12899);
  EXPECT_EQ(db.LastError().message,
            "value too large for column \"SYSTEM\".\"TYPED\".\"C\" (actual: 7, maximum: 3)");
  EXPECT_EQ(db.Exec("insert into typed (c, n) values ('x', 'abc')"), 1722);
  EXPECT_EQ(db.Exec("insert into typed (c, n92) values ('x', 12345678.9)"), 1438);
  EXPECT_EQ(db.Exec("insert into typed (c, n92) values ('x', 1234567.891)"), 0);
  EXPECT_EQ(db.Exec("insert into typed (c, d) values ('x', '31-12-2020')"), 1861);
  // Text in the session's date format is a date, as Oracle reads it.
  EXPECT_EQ(db.Exec("insert into typed (c, d) values ('y', '17-DEC-80')"), 0);
  EXPECT_EQ(db.Exec("alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS'"), 0);
  EXPECT_EQ(db.Value1("select d from typed where c = 'y'"), "1980-12-17 00:00:00");
  EXPECT_EQ(db.Exec("update typed set d = '1999-01-02 03:04:05' where c = 'y'"), 0);
  EXPECT_EQ(
      db.Value1(
          "select count(*) from typed where d = to_date('19990102030405', 'YYYYMMDDHH24MISS')"),
      "1");
  EXPECT_EQ(db.Exec("delete from typed where c = 'y'"), 0);
  EXPECT_EQ(db.Exec("insert into typed (c, r) values ('x', '0AFF')"), 0);
  MapBinds none;
  OraError error;
  auto cursor = db.session().OpenQuery("select r from typed where r is not null", none, error);
  ASSERT_TRUE(cursor);
  std::vector<Value> row;
  ASSERT_TRUE(cursor->Next(row, error));
  EXPECT_EQ(row[0].kind, Value::Kind::Binary);
  EXPECT_EQ(row[0].text, std::string("\x0A\xFF"));
  // A failed statement leaves the rows of earlier ones in place.
  EXPECT_EQ(db.Value1("select count(*) from typed"), "3");
}

TEST(SchemaTest, PasswordsCurrentSchemaAndTableDescriptions) {
  ServerTestSession admin;
  admin.Script(R"(create user ann identified by "Secret1";
                  grant connect, resource to ann;
                  create table ann.notes (id number(3) not null, body varchar2(50));)");
  OraError error;
  EXPECT_FALSE(admin.database().Logon("ANN", "secret1", error));  // release 19 compares case
  EXPECT_EQ(error.code, 1017);
  ServerTestSession ann(std::shared_ptr<Database>(&admin.database(), [](Database*) {}), "ann",
                        "Secret1");
  EXPECT_EQ(ann.session().UserName(), "ANN");
  EXPECT_EQ(ann.Exec("alter user ann identified by changed"), 0);
  EXPECT_TRUE(admin.database().Logon("ANN", "changed", error));
  EXPECT_EQ(ann.Exec("alter user system identified by stolen"), 1031);

  EXPECT_EQ(admin.QueryError("select * from notes"), 942);
  EXPECT_EQ(admin.Exec("alter session set current_schema = ann"), 0);
  EXPECT_EQ(admin.session().CurrentSchema(), "ANN");
  EXPECT_EQ(admin.Value1("select count(*) from notes"), "0");
  EXPECT_EQ(admin.Exec("alter session set current_schema = nobody"), 1435);

  const auto columns = admin.session().DescribeTable("ANN.NOTES");
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0].name, "ID");
  EXPECT_EQ(columns[0].precision, 3);
  EXPECT_FALSE(columns[0].nullable);
  EXPECT_EQ(columns[1].dataSize, 50);
  EXPECT_EQ(admin.session().DescribeTable("all_indexes").size(), 29u);
  EXPECT_TRUE(admin.session().DescribeTable("no_such_table").empty());
  EXPECT_TRUE(admin.session().DescribeTable("notes; drop table notes").empty());
  EXPECT_EQ(ann.Rows("select table_name from user_tables"), (std::vector<std::string>{"NOTES"}));
  EXPECT_EQ(ann.Rows("select object_type from user_objects"), (std::vector<std::string>{"TABLE"}));
}

TEST(SchemaTest, OldReleasesComparePasswordsWithoutCase) {
  OraError error;
  auto database = AttachDatabase(UniqueDatabaseName() + "?release=8.0.5", error);
  ASSERT_TRUE(database);
  EXPECT_TRUE(database->Logon("SYSTEM", "MANAGER", error));
  EXPECT_NE(database->VersionBanner().find("Oracle8 Enterprise Edition Release 8.0.5.0.0"),
            std::string::npos);
  ServerTestSession db(database);
  db.Script("create sequence s");
  EXPECT_EQ(db.Value1("select max_value from all_sequences where sequence_name = 'S'"),
            "999999999999999999999999999");
  db.Script("create table t (v varchar2(2))");
  EXPECT_EQ(db.Exec("insert into t values ('abc')"), 1401);
}

}  // namespace
}  // namespace sandbox::test
