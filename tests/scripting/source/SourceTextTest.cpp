// Stored source scripted from the sandbox's dictionary: one object of each
// kind with its exact statement, stored lines with blanks and trailing white
// space, a long package body, a view text longer than one piece, quoted and
// 128-byte names, WHEN conditions, disabled triggers and owner prefixes.
#include <gtest/gtest.h>

#include <string>

#include "engine/ReportText.h"
#include "scripting/source/DictionarySourceText.h"
#include "scripting/source/OracleNames.h"
#include "scripting/source/SourceNames.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/scripting/source/SourceRig.h"

namespace {

// A fresh database whose user APP owns what Run creates.
class SourceTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string database = FreshDatabase("SOURCE");
    system.ConnectAsSystem(database);
    ASSERT_TRUE(system.session->ExecuteSql("create user APP identified by app"));
    ASSERT_TRUE(system.session->ExecuteSql("grant connect, resource, create view to APP"));
    ASSERT_TRUE(app.session->Connect("APP", "app", database, true, true));
    Run("create table T (A number, B varchar2(10))");
  }

  void Run(const std::string& sql) {
    EXPECT_TRUE(app.session->ExecuteSql(sql)) << sql;
    EXPECT_TRUE(app.messages.texts.empty()) << sql << ": " << app.messages.texts.back();
  }

  // The report of the kinds of codes over APP's objects.
  std::string Script(const std::vector<std::string>& codes) {
    CatalogSourceLists lists(*app.session, "APP", "APP@SRC");
    int batches = 0;
    DictionarySourceText texts(*app.session, [&batches] { ++batches; });
    SourceRig rig(lists, texts);
    const std::string report = rig.Script(codes);
    fetchBatches = batches;
    return report;
  }

  // The statements under the object's banner: the text up to the next
  // banner without the blank lines before it.
  static std::string Statement(const std::string& report, const std::string& object) {
    const std::string banner = " " + object + BannerClose;
    const std::size_t start = report.find(banner);
    if (start == std::string::npos) {
      return "no banner for " + object;
    }
    const std::size_t from = start + banner.size();
    std::string text = report.substr(from, report.find(BannerOpen, from) - from);
    return text.erase(text.find_last_not_of("\r\n") + 1) + "\r\n";
  }

  // text with each LF as CR LF, as a report in that style holds it.
  static std::string WithCrLf(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
      text.replace(at, 1, "\r\n");
    }
    return text;
  }

  SandboxClient system;
  SandboxClient app;
  int fetchBatches = 0;
};

TEST_F(SourceTextTest, StoredUnitsComeBackLineByLineAsStored) {
  Run("create procedure Add_Row (p_a in number) is\n\n  v number := 1;   \t\nbegin  \n\n"
      "  insert into t (a) values (p_a + v);\nend;");
  Run("create or replace function twice (x number) return number is\nbegin\n  return 2 * x;\n"
      "end twice;");
  Run("create package counters as\n  total number := 0;\nend counters;");
  Run("create procedure app.owned is\nbegin\n  null;\nend;");
  std::string body = "create package body counters as\n  procedure bump is\n  begin\n";
  for (int line = 4; line < 200; ++line) {
    body += "    total := total + " + std::to_string(line) + ";\n";
  }
  body += "  end bump;\nend counters;";
  Run(body);
  Run("create type point_t as object (x number, y number,\n  member function norm return "
      "number\n)");
  Run("create type body point_t as\n  member function norm return number is\n  begin\n"
      "    return x * x + y * y;\n  end;\nend;");
  const std::string report = Script({"FUNC", "PKG", "PKGBD", "STP", "TYPE", "TYPEB"});

  EXPECT_EQ(
      Statement(report, "ADD_ROW"),
      "CREATE OR REPLACE procedure Add_Row (p_a in number) is\r\n\r\n  v number := 1;   \t\r\n"
      "begin  \r\n\r\n  insert into t (a) values (p_a + v);\r\nend;\r\n/\r\n");
  EXPECT_EQ(Statement(report, "TWICE"),
            "CREATE OR REPLACE function twice (x number) return number is\r\nbegin\r\n"
            "  return 2 * x;\r\nend twice;\r\n/\r\n");
  EXPECT_EQ(Statement(report, "OWNED"),
            "CREATE OR REPLACE procedure owned is\r\nbegin\r\n  null;\r\nend;\r\n/\r\n");
  EXPECT_EQ(Statement(report, "COUNTERS"),
            "CREATE OR REPLACE package counters as\r\n  total number := 0;\r\nend counters;\r\n"
            "/\r\n");
  EXPECT_EQ(Statement(report, "POINT_T"),
            "CREATE OR REPLACE type point_t as object (x number, y number,\r\n"
            "  member function norm return number\r\n)\r\n/\r\n");
  const std::size_t bodyBanner = report.find("create the package body COUNTERS");
  ASSERT_NE(bodyBanner, std::string::npos);
  const std::string bodyStatement = Statement(report.substr(bodyBanner), "COUNTERS");
  EXPECT_EQ(bodyStatement, "CREATE OR REPLACE " + WithCrLf(body).substr(7) + "\r\n/\r\n");
  const std::size_t typeBodyBanner = report.find("create the type body POINT_T");
  ASSERT_NE(typeBodyBanner, std::string::npos);
  EXPECT_EQ(Statement(report.substr(typeBodyBanner), "POINT_T"),
            "CREATE OR REPLACE type body point_t as\r\n  member function norm return number is\r\n"
            "  begin\r\n    return x * x + y * y;\r\n  end;\r\nend;\r\n/\r\n");
  // 201 lines of the body in batches of 20, and one batch for each other unit.
  EXPECT_EQ(fetchBatches, 11 + 6);
}

TEST_F(SourceTextTest, ViewsQuoteTheirNamesWhereNeededAndKeepTextsOfManyPieces) {
  const std::string longColumn = "C" + std::string(127, 'X');
  Run("create view \"Mixed View\" (\"lower col\", " + longColumn +
      ", \"LEVEL\") as\n"
      "select a, b, a + 1 from t\n where a > 0");
  // An IN list holds at most 1000 values (ORA-01795): several lists make
  // the text longer than 32 KB.
  std::string query = "select a from t where a in (0";
  for (int value = 1; value < 6000; ++value) {
    const char* separator = value % 1000 == 0 ? ")\n  or a in (" : value % 20 == 0 ? ",\n  " : ", ";
    query += separator + std::to_string(value);
  }
  query += ")";
  ASSERT_GT(query.size(), 32u * 1024u);
  Run("create view big_v as " + query);
  Run("create view plain_v as select b \"b\", a from t");
  const std::string report = Script({"VIEW"});
  EXPECT_NE(report.find("*  3 views were found in APP@SRC"), std::string::npos);
  EXPECT_EQ(Statement(report, "Mixed View"),
            "CREATE OR REPLACE VIEW \"Mixed View\" (\"lower col\", " + longColumn +
                ", \"LEVEL\" ) AS\r\nselect a, b, a + 1 from t\r\n where a > 0\r\n/\r\n");
  EXPECT_EQ(Statement(report, "BIG_V"),
            "CREATE OR REPLACE VIEW BIG_V (A ) AS\r\n" + WithCrLf(query) + "\r\n/\r\n");
  EXPECT_EQ(Statement(report, "PLAIN_V"),
            "CREATE OR REPLACE VIEW PLAIN_V (\"b\", A ) AS\r\nselect b \"b\", a from t\r\n/\r\n");
}

TEST_F(SourceTextTest, TriggersKeepTheirConditionAndStatusButNotTheirOwner) {
  Run("create trigger t_when\nbefore insert on t\nfor each row\nwhen (new.a is null)\n"
      "begin\n  :new.a := 0;\nend;");
  Run("create trigger app.t_owned after delete on app.t\nbegin\n  null;\nend;");
  Run("create trigger \"APP\".\"t.quoted\" after update on t\nbegin\n  null;\nend;");
  const std::string longName = "T" + std::string(127, 'R');
  Run("create trigger " + longName + " before delete on t for each row begin null; end;");
  Run("alter trigger " + longName + " disable");
  const std::string report = Script({"TRIG"});
  // The whole trigger as it was created, from all_source, without its owner.
  EXPECT_EQ(Statement(report, "T_WHEN"),
            "CREATE OR REPLACE trigger t_when\r\nbefore insert on t\r\nfor each row\r\n"
            "when (new.a is null)\r\nbegin\r\n  :new.a := 0;\r\nend;\r\n/\r\n");
  EXPECT_EQ(Statement(report, "T_OWNED"),
            "CREATE OR REPLACE trigger t_owned after delete on app.t\r\nbegin\r\n  null;\r\n"
            "end;\r\n/\r\n");
  EXPECT_EQ(Statement(report, "t.quoted"),
            "CREATE OR REPLACE trigger \"t.quoted\" after update on t\r\nbegin\r\n  null;\r\n"
            "end;\r\n/\r\n");
  EXPECT_EQ(Statement(report, longName),
            "CREATE OR REPLACE trigger " + longName +
                " before delete on t for each row begin null; end;\r\n/\r\nALTER TRIGGER " +
                longName + " DISABLE\r\n/\r\n");
}

TEST(SourceNamesTest, QuotingAndOwnerPrefixes) {
  EXPECT_EQ(StatementName("EMP_NO$1#"), "EMP_NO$1#");
  for (const char* quoted : {"lower", "1ST", "_X", "DATE", "\xC3\x84RGER"}) {
    EXPECT_EQ(StatementName(quoted), std::string("\"") + quoted + "\"");
  }
  // Only an owner before the name is dropped: a dot further on (a qualified
  // table or type, a quoted name) stays.
  EXPECT_EQ(WithoutOwnerPrefix("app . \"Trg\" after delete"), "\"Trg\" after delete");
  EXPECT_EQ(WithoutOwnerPrefix("trg after delete on app.t"), "trg after delete on app.t");
  EXPECT_EQ(WithoutOwnerPrefix("\"my.trg\" after delete on t"), "\"my.trg\" after delete on t");
  EXPECT_EQ(WithoutOwnerPrefix("\"unclosed.trg"), "\"unclosed.trg");
  EXPECT_EQ(UnitWithoutOwnerPrefix("type body\r\n  \"App\".\"t\" as", "TYPE BODY"),
            "type body\r\n  \"t\" as");
  EXPECT_EQ(UnitWithoutOwnerPrefix("function f return app.t_type is", "FUNCTION"),
            "function f return app.t_type is");
  EXPECT_EQ(UnitWithoutOwnerPrefix("procedures.p is", "PROCEDURE"), "procedures.p is");
}

}  // namespace
