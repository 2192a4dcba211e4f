// Methods of object types through the real server: what SELF allows in a
// member function and in a member procedure, STATIC and member methods kept
// apart, a changed type body followed by its callers, and overloads.
#include <gtest/gtest.h>

#include "BlockRunner.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class ObjectMethodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name = std::string("mem:METHODS_") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = database_->Logon("SYSTEM", "manager", error);
    ASSERT_TRUE(session_) << error.message;
    Sql(R"(create type om_counter as object (
  n number,
  member function next_value return number,
  member function next_value (step number) return number,
  member procedure bump,
  static function start_at (n number) return om_counter
))");
  }
  void Sql(const std::string& sql) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    ASSERT_TRUE(session_->Execute(sql, binds, rows, error, warning))
        << sql << ": " << error.message;
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

const char* const kBody = R"(create or replace type body om_counter as
  member function next_value return number is begin return n + 1; end;
  member function next_value (step number) return number is begin return n + step; end;
  member procedure bump is begin n := n + 1; end;
  static function start_at (n number) return om_counter is begin return om_counter(n); end;
end;)";

TEST_F(ObjectMethodTest, OverloadsAndSelfOfProceduresChangeTheCallersObject) {
  Sql(kBody);
  BlockResult r = RunBlock(*session_, R"(declare
  c om_counter := om_counter.start_at(10);
  d om_counter;
begin
  c.bump;
  c.bump();
  d := c;
  d.bump;
  dbms_output.put_line(c.n || ' ' || c.next_value || ' ' || c.next_value(5) || ' ' || d.n);
end;)");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"12 13 17 13"}));
}

TEST_F(ObjectMethodTest, MemberFunctionsCannotChangeSelf) {
  Sql(R"(create or replace type body om_counter as
  member function next_value return number is begin n := n + 1; return n; end;
  member function next_value (step number) return number is begin return n + step; end;
  member procedure bump is begin n := n + 1; end;
  static function start_at (n number) return om_counter is begin return om_counter(n); end;
end;)");
  BlockResult r = RunBlock(*session_,
                           "declare c om_counter := om_counter(1); begin "
                           "dbms_output.put_line(c.next_value); end;");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.Error().find("PLS-00905: object SYSTEM.OM_COUNTER is invalid"), std::string::npos)
      << r.Error();
}

TEST_F(ObjectMethodTest, StaticAndMemberMethodsAreCalledOnlyTheirWay) {
  Sql(kBody);
  BlockResult onObject = RunBlock(*session_,
                                  "declare c om_counter := om_counter(1); d om_counter; begin "
                                  "d := c.start_at(3); end;");
  EXPECT_NE(onObject.Error().find("PLS-00302: component 'START_AT' must be declared"),
            std::string::npos)
      << onObject.Error();
  BlockResult onType =
      RunBlock(*session_, "declare x number; begin x := om_counter.next_value; end;");
  EXPECT_NE(onType.Error().find("PLS-00302: component 'NEXT_VALUE' must be declared"),
            std::string::npos)
      << onType.Error();
  // A member procedure's SELF is IN OUT: a constant object cannot take it.
  BlockResult constant =
      RunBlock(*session_, "declare c constant om_counter := om_counter(1); begin c.bump; end;");
  EXPECT_NE(constant.Error().find("PLS-00363"), std::string::npos) << constant.Error();
  // A NULL object's method runs with a NULL SELF: its attributes read NULL.
  BlockResult null = RunBlock(
      *session_,
      "declare c om_counter; begin dbms_output.put_line(nvl(to_char(c.next_value), 'null')); end;");
  ASSERT_TRUE(null.ok) << null.Error();
  EXPECT_EQ(null.lines, (Lines{"null"}));
}

TEST_F(ObjectMethodTest, ChangedBodyIsCompiledAgainForItsCallers) {
  Sql(kBody);
  Sql("create or replace function om_next (c om_counter) return number is "
      "begin return c.next_value; end;");
  const char* const block = "begin dbms_output.put_line(om_next(om_counter(1))); end;";
  BlockResult before = RunBlock(*session_, block);
  ASSERT_TRUE(before.ok) << before.Error();
  EXPECT_EQ(before.lines, (Lines{"2"}));
  std::string changed = kBody;
  changed.replace(changed.find("return n + 1"), 12, "return n * 100");
  Sql(changed);
  BlockResult after = RunBlock(*session_, block);
  ASSERT_TRUE(after.ok) << after.Error();
  EXPECT_EQ(after.lines, (Lines{"100"}));
}

TEST_F(ObjectMethodTest, PackageThatCallsMethodsKeepsItsState) {
  Sql(kBody);
  Sql("create or replace package om_pkg is total number := 0; "
      "procedure add (c om_counter); end;");
  Sql("create or replace package body om_pkg is procedure add (c om_counter) is "
      "begin total := total + c.next_value; end; end;");
  BlockResult first = RunBlock(*session_, "begin om_pkg.add(om_counter(1)); end;");
  ASSERT_TRUE(first.ok) << first.Error();
  BlockResult second = RunBlock(
      *session_, "begin om_pkg.add(om_counter(2)); dbms_output.put_line(om_pkg.total); end;");
  ASSERT_TRUE(second.ok) << second.Error();
  EXPECT_EQ(second.lines, (Lines{"5"}));
}

TEST_F(ObjectMethodTest, ComparisonMethodsOfAnotherShapeAreRefused) {
  // A MAP method that wants more than SELF cannot serve a comparison.
  Sql("create type om_mapped as object (a number, "
      "map member function m (extra number) return number)");
  Sql("create type body om_mapped as map member function m (extra number) return number is "
      "begin return a; end; end;");
  BlockResult r = RunBlock(
      *session_, "declare x om_mapped := om_mapped(1); begin if x < x then null; end if; end;");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.Error().find("PLS-00306: wrong number or types of arguments in call to 'M'"),
            std::string::npos)
      << r.Error();
}

}  // namespace
}  // namespace sandbox::plsql::testing
