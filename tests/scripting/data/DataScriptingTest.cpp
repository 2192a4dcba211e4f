// The data phase and statement runs against the sandbox: value kinds, data
// conditions, ignored columns, empty tables, failing queries, Skip, LONG
// values, and statements with comments, hints, capitals, or no query at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "engine/ReportText.h"
#include "tests/scripting/data/DataRig.h"

namespace {

TEST(DataPhaseTest, OneColumnOfEachKind) {
  DataRig rig;
  rig.schema.Run(
      "create table KINDS (V varchar2(20), C char(3), NV nvarchar2(5), N number, "
      "P number(12,2), D date, R raw(4), CL clob, BL blob, F float)");
  rig.schema.Run(
      "insert into KINDS values ('it''s', 'ab', 'ü', -12.5, 1234567890.12, "
      "to_date('2024-02-29 13:14:15', 'YYYY-MM-DD HH24:MI:SS'), hextoraw('00FF'), 'text', "
      "hextoraw('AB'), 0.25)");
  rig.schema.Run("insert into KINDS (V) values (null)");
  rig.tables.names = {"KINDS"};
  rig.schema.client.settings->SetString("Settings", "LobContents", "N");
  rig.data.RunDataPhase();
  const std::vector<std::string> inserts = rig.Inserts();
  ASSERT_EQ(inserts.size(), 2u) << rig.Report();
  EXPECT_EQ(inserts[0],
            "INSERT INTO KINDS ( \"V\", \"C\", \"NV\", \"N\", \"P\", \"D\", \"R\", "
            "\"CL\", \"BL\", \"F\")\r\nVALUES ( 'it''s', 'ab ', 'ü', -12.5, 1234567890.12, "
            "to_date('02/29/2024 13:14:15','MM/DD/YYYY HH24:MI:SS'), hextoraw('00FF'), "
            "'-lob not shown-', EMPTY_BLOB(), .25);");
  // A NULL LOB stays NULL rather than becoming a placeholder.
  EXPECT_NE(inserts[1].find("VALUES ( NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                            "NULL);"),
            std::string::npos)
      << inserts[1];
  EXPECT_NE(rig.Report().find("*  The following scripts will create the data as found in table "
                              "KINDS\r\n*\r\n*  LOB contents are not scripted"),
            std::string::npos)
      << rig.Report();
  EXPECT_EQ(rig.flags.SkipAllowed.load(), 0);
}

TEST(DataPhaseTest, ConditionsWithAndWithoutWhereAndIgnoredColumns) {
  DataRig rig;
  rig.schema.Run("create table T (ID number, NAME varchar2(10), AUDIT_BY varchar2(10), X_TS date)");
  for (int id = 1; id <= 4; ++id) {
    rig.schema.Run("insert into T values (" + std::to_string(id) + ", 'n" + std::to_string(id) +
                   "', 'me', sysdate)");
  }
  rig.schema.Run("create table U (ID number, NAME varchar2(10))");
  rig.schema.Run("insert into U values (1, '5%%%%')");
  rig.schema.Run("insert into U values (2, 'other')");
  rig.tables.names = {"T", "U"};
  rig.settings.DataConditions["T"] = "  WHERE id > 2";
  // The condition reaches the server as typed, percent signs and all.
  rig.settings.DataConditions["U"] = "name = '5%%'";
  rig.settings.IgnoredColumnPatterns = {"audit%", "%_TS"};
  rig.data.RunDataPhase();
  const std::vector<std::string> inserts = rig.Inserts();
  ASSERT_EQ(inserts.size(), 3u) << rig.Report();
  EXPECT_EQ(inserts[0], "INSERT INTO T ( \"ID\", \"NAME\")\r\nVALUES ( 3, 'n3');");
  EXPECT_EQ(inserts[1], "INSERT INTO T ( \"ID\", \"NAME\")\r\nVALUES ( 4, 'n4');");
  EXPECT_EQ(inserts[2], "INSERT INTO U ( \"ID\", \"NAME\")\r\nVALUES ( 1, '5%%');");

  // A condition the server refuses is quoted with the error, in the report
  // and in the list of objects that could not be scripted.
  DataRig refused;
  refused.schema.Run("create table T (ID number)");
  refused.tables.names = {"T"};
  refused.settings.DataConditions["T"] = "where id >";
  refused.data.RunDataPhase();
  EXPECT_NE(refused.Report().find("(data condition: where id >)"), std::string::npos)
      << refused.Report();
  const std::vector<UnscriptedObject> failed = refused.unscripted.Objects();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_NE(failed[0].Reason.find("(data condition: where id >)"), std::string::npos)
      << failed[0].Reason;
}

TEST(DataPhaseTest, EmptyTablesFailingQueriesAndExclusions) {
  DataRig rig;
  rig.schema.Run("create table EMPTY_ONE (A number)");
  rig.schema.Run("create table FULL_ONE (A number)");
  rig.schema.Run("insert into FULL_ONE values (7)");
  rig.schema.Run("create table LEFT_OUT (A number)");
  rig.schema.Run("insert into LEFT_OUT values (8)");
  rig.tables.names = {"EMPTY_ONE", "MISSING", "LEFT_OUT", "FULL_ONE"};
  rig.settings.ExcludedTables = {"left_out"};
  rig.data.RunDataPhase();
  const std::string report = rig.Report();
  EXPECT_NE(report.find("\r\n\r\n" + BannerOpen + "*  No data was found in table EMPTY_ONE" +
                        BannerClose),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\n\r\n\r\nThe following error was received while processing data for "
                        "table MISSING in database APP@TEST :\r\nORA-00942: table or view does "
                        "not exist\r\n\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(rig.Inserts(),
            (std::vector<std::string>{"INSERT INTO FULL_ONE ( \"A\")\r\nVALUES ( 7);"}));
  EXPECT_EQ(
      rig.host.EventsStartingWith("status Skipping data scripting for table: LEFT_OUT").size(), 1u);

  DataRig quiet;
  quiet.schema.Run("create table EMPTY_ONE (A number)");
  quiet.tables.names = {"EMPTY_ONE"};
  quiet.settings.NoDiffData = 0;
  quiet.data.RunDataPhase();
  EXPECT_EQ(quiet.Report(), "");
}

TEST(DataPhaseTest, QuotedNamesAreKeptWhole) {
  DataRig rig;
  const std::string longName(100, 'c');
  rig.schema.Run("create table \"lower t\" (\"mixed Col\" number, " + longName + " number)");
  rig.schema.Run("insert into \"lower t\" values (1, 2)");
  rig.tables.names = {"lower t"};
  rig.data.RunDataPhase();
  const std::string upperLong(100, 'C');
  EXPECT_EQ(rig.Inserts(), (std::vector<std::string>{"INSERT INTO \"lower t\" ( \"mixed Col\", \"" +
                                                     upperLong + "\")\r\nVALUES ( 1, 2);"}))
      << rig.Report();
}

TEST(DataPhaseTest, SkipEndsATableAndKeepsItsRows) {
  DataRig rig;
  rig.schema.Run("create table BIG (ID number, NAME varchar2(20))");
  // Many rows (2^17), so that the skip lands inside the table even on a busy
  // machine; doubling makes them fast.
  rig.schema.Run("insert into BIG values (1, 'row 1')");
  for (int doubling = 0; doubling < 17; ++doubling) {
    rig.schema.Run("insert into BIG select ID + (select max(ID) from BIG), NAME from BIG");
  }
  rig.schema.Run("create table AFTER_BIG (ID number)");
  rig.schema.Run("insert into AFTER_BIG values (1)");
  rig.tables.names = {"BIG", "AFTER_BIG"};
  std::thread worker([&] { rig.data.RunDataPhase(); });
  while (rig.Count("INSERT INTO BIG") < 50 && rig.Report().find("AFTER_BIG") == std::string::npos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  rig.flags.SkipRequested = 1;
  worker.join();
  const int scripted = rig.Count("INSERT INTO BIG");
  EXPECT_GE(scripted, 50);
  EXPECT_LT(scripted, 1 << 17);
  // The rows written so far are committed: a replay keeps them.
  EXPECT_NE(rig.Report().find("\r\n-- Table Skipped ...\r\nCOMMIT;\r\n\r\n\r\n\r\n" + BannerOpen),
            std::string::npos)
      << rig.Report().substr(rig.Report().find("Skipped") - 100, 300);
  EXPECT_EQ(rig.Count("INSERT INTO AFTER_BIG"), 1);
  EXPECT_EQ(rig.flags.SkipRequested.load(), 0);
}

TEST(DataPhaseTest, RowsAreCommittedAndIdentityAndVirtualColumnsPreparedForReplay) {
  DataRig rig;
  rig.schema.Run(
      "create table T (ID number generated always as identity, N number, V number generated "
      "always as (N * 2) virtual)");
  rig.schema.Run("insert into T (N) values (1)");
  rig.schema.Run("insert into T (N) values (2)");
  rig.schema.Run("create table B (ID number generated by default on null as identity, N number)");
  rig.schema.Run("insert into B (N) values (3)");
  rig.schema.Run("create table E (ID number generated always as identity)");
  rig.tables.names = {"B", "E", "T"};
  rig.data.RunDataPhase();
  const std::string report = rig.Report();
  // The virtual column is left out; the table is named as the table scripts name it.
  EXPECT_EQ(rig.Inserts(),
            (std::vector<std::string>{"INSERT INTO B ( \"ID\", \"N\")\r\nVALUES ( 1, 3);",
                                      "INSERT INTO T ( \"ID\", \"N\")\r\nVALUES ( 1, 1);",
                                      "INSERT INTO T ( \"ID\", \"N\")\r\nVALUES ( 2, 2);"}))
      << report;
  const std::size_t load =
      report.find("\r\nALTER TABLE T MODIFY (\"ID\" GENERATED BY DEFAULT AS IDENTITY);\r\n");
  const std::size_t firstRow = report.find("INSERT INTO T ");
  const std::size_t lastRow = report.rfind("INSERT INTO T ");
  const std::size_t commit = report.find("\r\nCOMMIT;\r\n", lastRow);
  const std::size_t restore = report.find(
      "\r\nALTER TABLE T MODIFY (\"ID\" GENERATED ALWAYS AS IDENTITY (START WITH "
      "LIMIT VALUE));\r\n");
  ASSERT_NE(load, std::string::npos) << report;
  EXPECT_LT(load, firstRow);
  ASSERT_NE(commit, std::string::npos) << report;
  EXPECT_LT(commit, restore);
  EXPECT_NE(restore, std::string::npos) << report;
  // BY DEFAULT takes the rows as they are and keeps ON NULL when set back.
  EXPECT_EQ(report.find("ALTER TABLE B MODIFY (\"ID\" GENERATED BY DEFAULT AS IDENTITY);"),
            std::string::npos);
  EXPECT_NE(report.find("ALTER TABLE B MODIFY (\"ID\" GENERATED BY DEFAULT ON NULL AS IDENTITY "
                        "(START WITH LIMIT VALUE));"),
            std::string::npos);
  // A table without rows has nothing to commit or to move past.
  EXPECT_EQ(report.find("ALTER TABLE E"), std::string::npos);
  EXPECT_EQ(rig.Count("COMMIT;"), 2);
}

TEST(DataPhaseTest, PortionsOfRowsAreCommittedWhenAutoSaving) {
  DataRig rig;
  rig.schema.Run("create table FOUR (A number)");
  rig.schema.Run("create table FIVE (A number)");
  for (int row = 1; row <= 5; ++row) {
    rig.schema.Run("insert into FIVE values (" + std::to_string(row) + ")");
    if (row <= 4) {
      rig.schema.Run("insert into FOUR values (" + std::to_string(row) + ")");
    }
  }
  const std::string file = ::testing::TempDir() + "quillmark-portions-" +
                           std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                           ".sql";
  rig.settings.AutoSave = 1;
  rig.settings.AutoSaveLines = 2;
  rig.settings.ReportFileName = file;
  rig.tables.names = {"FIVE", "FOUR"};
  rig.data.RunDataPhase();
  std::ifstream saved(file, std::ios::binary);
  const std::string text = std::string(std::istreambuf_iterator<char>(saved), {}) + rig.Report();
  int commits = 0;
  for (std::size_t at = text.find("COMMIT;"); at != std::string::npos;
       at = text.find("COMMIT;", at + 1)) {
    ++commits;
  }
  // After rows 2 and 4 of each table and after the fifth: never twice in a row.
  EXPECT_EQ(commits, 5) << text;
  EXPECT_EQ(text.find("COMMIT;\r\n\r\nCOMMIT;"), std::string::npos);
  std::remove(file.c_str());
}

TEST(DataPhaseTest, StopEndsTheRunAndPauseHoldsIt) {
  DataRig rig;
  rig.schema.Run("create table T (ID number)");
  rig.schema.Run("insert into T values (1)");
  rig.tables.names = {"T"};
  rig.flags.Paused = 1;
  bool stopped = false;
  std::thread worker([&] {
    try {
      rig.data.RunDataPhase();
    } catch (...) {
      stopped = true;
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(rig.Count("INSERT INTO"), 0);
  rig.flags.Running = 0;
  worker.join();
  EXPECT_TRUE(stopped);
  EXPECT_NE(rig.Report().find("Quillmark Stopped ..."), std::string::npos);
}

// The text that the quoted literals and CHR terms of code add up to.
std::string LiteralText(std::string_view code) {
  std::string text;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code.compare(i, 4, "CHR(") == 0) {
      text += static_cast<char>(std::stoi(std::string(code.substr(i + 4, 4))));
      i += 4;
    } else if (code[i] == '\'') {
      for (++i; i < code.size() && (code[i] != '\'' || code.compare(i, 2, "''") == 0); ++i) {
        text += code[i];
        i += code[i] == '\'' ? 1 : 0;
      }
    }
  }
  return text;
}

// A LONG value past the 4,000 bytes of a literal is bound from a LONG
// variable of a block; one past what the variable holds leaves its row out,
// named in the report and among what was not scripted.
TEST(DataPhaseTest, LongValuesPastALiteralComeInABlockAndTooLongOnesAreNamed) {
  DataRig rig;
  rig.schema.Run("create table L (ID number, BODY long)");
  std::string body;
  for (int i = 0; body.size() < 25000; ++i) {
    body += "line " + std::to_string(i) + " it's;\n";
  }
  body += "\n/\n.\n#end";
  std::string quoted;
  for (const char c : body) {
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  }
  rig.schema.Run("insert into L values (1, '" + quoted + "')");
  rig.schema.Run("insert into L values (2, null)");
  rig.schema.Run("insert into L values (3, '" + std::string(40000, 'x') + "')");
  rig.schema.Run("insert into L values (4, '" + std::string(4000, 'y') + "')");
  rig.tables.names = {"L"};
  rig.data.RunDataPhase();
  const std::string report = rig.Report();
  const std::size_t begin = report.find("DECLARE\r\n  long_2 LONG;\r\nBEGIN\r\n");
  ASSERT_NE(begin, std::string::npos);
  const std::size_t insert = report.find(
      "  INSERT INTO L ( \"ID\", \"BODY\")\r\n  VALUES ( 1, long_2);\r\nEND;\r\n/", begin);
  ASSERT_NE(insert, std::string::npos);
  // Compared by length first: a failure must not print 25,000 bytes.
  const std::string scripted = LiteralText(std::string_view(report).substr(begin, insert - begin));
  EXPECT_EQ(scripted.size(), body.size());
  EXPECT_TRUE(scripted == body);
  // Chunks of 8,000 bytes: the variable is assigned once and added to three times.
  int appends = 0;
  for (std::size_t at = report.find("long_2 := long_2 || ", begin); at < insert;
       at = report.find("long_2 := long_2 || ", at + 1)) {
    ++appends;
  }
  EXPECT_EQ(appends, 3);

  const std::vector<std::string> inserts = rig.Inserts();
  EXPECT_NE(std::find(inserts.begin(), inserts.end(),
                      "INSERT INTO L ( \"ID\", \"BODY\")\r\nVALUES ( 2, NULL);"),
            inserts.end());
  EXPECT_EQ(report.find("VALUES ( 3"), std::string::npos);
  const std::string reason =
      "The row 3 was not scripted: its LONG value in column BODY holds 40000 bytes, more than the "
      "32760 that a script can bind.";
  EXPECT_NE(report.find("-- " + reason), std::string::npos);
  const std::vector<UnscriptedObject> failed = rig.unscripted.Objects();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].Kind, "TABLE DATA");
  EXPECT_EQ(failed[0].Reason, reason);
  // 4,000 bytes still fit one literal, in pieces.
  EXPECT_NE(report.find("VALUES ( 4, 'yyy"), std::string::npos);
}

TEST(StatementRunTest, CommentsHintsCapitalsAndTwoLines) {
  DataRig rig;
  rig.schema.Run("create table EMP (A number, B varchar2(5))");
  rig.schema.Run("insert into EMP values (1, 'x')");
  rig.ScriptStatement("select /* the columns */ a, b\nfrom emp -- all of them");
  EXPECT_NE(rig.Report().find("*  The following scripts were created from the following free form "
                              "statement:\r\n*\r\n*\r\n*  select /* the columns */ a, b\r\n*  "
                              "from emp -- all of them" +
                              BannerClose),
            std::string::npos)
      << rig.Report();
  EXPECT_EQ(rig.Inserts(),
            (std::vector<std::string>{"INSERT INTO EMP ( \"A\", \"B\")\r\nVALUES ( 1, 'x');"}));

  DataRig hinted;
  hinted.schema.Run("create table EMP (A number)");
  hinted.schema.Run("insert into EMP values (2)");
  hinted.ScriptStatement("SELECT /*+ FULL(E) */ * FROM APP.EMP E WHERE A > 1");
  EXPECT_EQ(hinted.Inserts(),
            (std::vector<std::string>{"INSERT INTO APP.EMP ( \"A\")\r\nVALUES ( 2);"}))
      << hinted.Report();

  // The ROWID pseudo-column is described as ROWID and written as a literal.
  rig.ScriptStatement("select rowid, a from emp");
  const std::vector<std::string> withRowId = rig.Inserts();
  ASSERT_EQ(withRowId.size(), 2u);
  EXPECT_EQ(withRowId[1],
            "INSERT INTO EMP ( \"ROWID\", \"A\")\r\nVALUES ( 'AAAAABAABAAAAAAAAB', 1);");

  DataRig none;
  none.schema.Run("create table EMP (A number)");
  none.ScriptStatement("select * from emp");
  EXPECT_NE(none.Report().find("*  No data was found in statement. " + BannerClose),
            std::string::npos);
}

TEST(StatementRunTest, OnlyQueriesAreEverExecuted) {
  DataRig rig;
  rig.schema.Run("create table EMP (A number)");
  rig.schema.Run("insert into EMP values (1)");
  rig.schema.Run("commit");
  for (const char* statement : {"DELETE FROM EMP", "/* quiet */ update emp set a = 2",
                                "begin delete from emp; end;", "drop table emp"}) {
    rig.ScriptStatement(statement);
  }
  EXPECT_EQ(rig.Count("The following error was received while processing statement in database "
                      "APP@TEST :\r\nOnly a query (SELECT) can be scripted as INSERT statements. "
                      "The statement was not executed.\r\n\r\n"),
            4)
      << rig.Report();
  rig.ScriptStatement("select a from emp");
  EXPECT_EQ(rig.Inserts(), (std::vector<std::string>{"INSERT INTO EMP ( \"A\")\r\nVALUES ( 1);"}));
}

}  // namespace
