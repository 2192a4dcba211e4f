// A stable report written as one file per object: where each statement goes,
// the install order, and what a second run does to the files.
#include "engine/SplitReport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class SplitReportTest : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(folder); }

  bool Split(const std::string& report, bool removeGone = true,
             const std::string& lineBreak = "\n") {
    SplitReport split(folder, lineBreak);
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
      split.AddLine(line);
    }
    std::string error;
    const bool done = split.Finish(removeGone, error);
    EXPECT_EQ(error, "");
    files = split.Files();
    removed = split.Removed();
    return done;
  }

  std::string Read(const std::string& path) const {
    std::ifstream file(folder / path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  fs::path folder = fs::temp_directory_path() /
                    ("quillmark-split-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::vector<std::string> files;
  std::vector<std::string> removed;
};

const char* const Report =
    "SET DEFINE OFF\n"
    "/*****\n*  Banner\n*****/\n"
    "GRANT CREATE VIEW TO APP;\n"
    "CREATE SEQUENCE S1 INCREMENT BY 1 START WITH 1 NOMAXVALUE MINVALUE 1 NOCYCLE NOCACHE "
    "NOORDER;\n"
    "CREATE TABLE \"Mixed\" (\n\tID NUMBER\n)\n/\n"
    "COMMENT ON TABLE \"Mixed\" IS 'it''s'\n/\n"
    "CREATE TABLE T2 (\n\tX VARCHAR2(10)\n)\n/\n"
    "\n"
    "INSERT INTO \"Mixed\" (ID)\nVALUES (1);\n"
    "COMMIT;\n"
    "INSERT INTO T2 (X)\nVALUES ('a;\n/\nb');\n"
    "INSERT INTO T2 (X)\nVALUES ('c');\n"
    "COMMIT;\n"
    "ALTER TABLE T2 ADD (\n\tCONSTRAINT T2_PK\n\tPRIMARY KEY (X)\n)\n/\n"
    "ALTER TABLE T2 ADD (\n\tFOREIGN KEY\n-- original system constraint name was SYS_C1\n"
    "\t(X) REFERENCES T2 (X)\n)\n/\n"
    "-- These objects depend on each other in a cycle\n"
    "CREATE OR REPLACE procedure p is\nbegin\n\n  null;   \nend;\n/\n"
    "CREATE OR REPLACE trigger trg\nbefore insert on t2\nbegin\n  null;\nend;\n/\n"
    "ALTER TRIGGER TRG DISABLE\n/\n"
    "GRANT SELECT ON T2 TO OTHER;\n"
    "\n\n--- End of Quillmark for Oracle ---\n";

TEST_F(SplitReportTest, EachObjectGetsItsFileAndInstallRunsThemInReportOrder) {
  ASSERT_TRUE(Split(Report));
  const std::vector<std::string> expected = {
      "privileges.sql",     "sequences/S1.sql", "tables/M^i^x^e^d.sql", "tables/T2.sql",
      "data/M^i^x^e^d.sql", "data/T2.sql",      "constraints/T2.sql",   "foreign_keys/T2.sql",
      "procedures/P.sql",   "triggers/TRG.sql", "grants/T2.sql"};
  EXPECT_EQ(files, expected);
  std::string install =
      "-- Every file of this folder, in the order a server can replay them.\n"
      "SET DEFINE OFF\n";
  for (const std::string& file : expected) {
    install += "@@" + file + "\n";
  }
  EXPECT_EQ(Read("install.sql"), install);
  EXPECT_EQ(Read("tables/M^i^x^e^d.sql"),
            "CREATE TABLE \"Mixed\" (\n\tID NUMBER\n)\n/\n\nCOMMENT ON TABLE \"Mixed\" IS "
            "'it''s'\n/\n");
  // A literal that spans lines ends nothing; COMMIT stays with its rows.
  EXPECT_EQ(Read("data/T2.sql"),
            "INSERT INTO T2 (X)\nVALUES ('a;\n/\nb');\n\nINSERT INTO T2 (X)\nVALUES ('c');\n\n"
            "COMMIT;\n");
  // Stored code keeps its blank lines and trailing blanks; a remark goes with
  // the statement after it.
  EXPECT_EQ(Read("procedures/P.sql"),
            "-- These objects depend on each other in a cycle\n"
            "CREATE OR REPLACE procedure p is\nbegin\n\n  null;   \nend;\n/\n");
  EXPECT_EQ(Read("triggers/TRG.sql"),
            "CREATE OR REPLACE trigger trg\nbefore insert on t2\nbegin\n  null;\nend;\n/\n\n"
            "ALTER TRIGGER TRG DISABLE\n/\n");
}

// A statement run from a block by EXECUTE IMMEDIATE goes where the
// statement itself would; a block of rows goes with the table's data.
TEST_F(SplitReportTest, ABlockThatRunsAStatementGoesToThatStatementsFile) {
  const std::string block =
      "DECLARE\n  lv_statement CLOB;\nBEGIN\n  lv_statement := 'CREATE OR REPLACE VIEW V AS "
      "SELECT ''a'' x'\n  || CHR(10)\n  || '/ 2 y FROM T2';\n  EXECUTE IMMEDIATE "
      "lv_statement;\nEND;\n/\n";
  const std::string comment =
      "DECLARE\n  lv_statement CLOB;\nBEGIN\n  lv_statement := 'COMMENT ON TABLE T2 IS ''a'\n"
      "  || CHR(10)\n  || '''';\n  EXECUTE IMMEDIATE lv_statement;\nEND;\n/\n";
  const std::string check =
      "BEGIN\nEXECUTE IMMEDIATE 'ALTER TABLE T2 ADD (CONSTRAINT C CHECK ('\n|| 'x <> ''a;'\n"
      "|| CHR(10)\n|| ''')'\n|| ') )';\nEND;\n/\n";
  ASSERT_TRUE(Split("CREATE TABLE T1 (\n\tX CLOB\n)\n/\nCREATE TABLE T2 (\n\tX NUMBER\n)\n/\n" +
                    comment +
                    "DECLARE\n  lob_1 CLOB;\nBEGIN\n  lob_1 := TO_CLOB('x');\n  INSERT INTO T1 "
                    "( \"X\")\n  VALUES ( lob_1);\nEND;\n/\n" +
                    check + block));
  EXPECT_EQ(files, (std::vector<std::string>{"tables/T1.sql", "tables/T2.sql", "data/T1.sql",
                                             "constraints/T2.sql", "views/V.sql"}));
  EXPECT_EQ(Read("constraints/T2.sql"), check);
  EXPECT_EQ(Read("views/V.sql"), block);
  EXPECT_EQ(Read("tables/T2.sql"), "CREATE TABLE T2 (\n\tX NUMBER\n)\n/\n\n" + comment);
}

TEST_F(SplitReportTest, SecondRunKeepsUnchangedFilesAndRemovesTheFilesOfGoneObjects) {
  ASSERT_TRUE(Split(Report));
  const auto written = fs::last_write_time(folder / "tables/T2.sql");
  fs::last_write_time(folder / "tables/T2.sql", written - std::chrono::hours(1));
  const auto aged = fs::last_write_time(folder / "tables/T2.sql");

  std::string changed = Report;
  changed.replace(changed.find("CREATE SEQUENCE S1"), 18, "CREATE SEQUENCE S2");
  const std::string withoutProcedure = changed.substr(0, changed.find("-- These objects")) +
                                       changed.substr(changed.find("CREATE OR REPLACE trigger"));
  // An incomplete run removes nothing.
  ASSERT_TRUE(Split(withoutProcedure, false));
  EXPECT_TRUE(removed.empty());
  EXPECT_TRUE(fs::exists(folder / "procedures/P.sql"));

  ASSERT_TRUE(Split(withoutProcedure, true));
  EXPECT_EQ(removed, (std::vector<std::string>{"procedures/P.sql", "sequences/S1.sql"}));
  EXPECT_FALSE(fs::exists(folder / "procedures"));
  EXPECT_TRUE(fs::exists(folder / "sequences/S2.sql"));
  EXPECT_EQ(fs::last_write_time(folder / "tables/T2.sql"), aged);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    EXPECT_EQ(entry.path().string().find(".quillmark-new"), std::string::npos) << entry.path();
  }
}

TEST_F(SplitReportTest, CrLfFilesAndAnObjectWhoseStatementsAreApartGetsASecondPart) {
  ASSERT_TRUE(
      Split("CREATE TYPE T;\n/\nCREATE TABLE A (X T)\n/\nCREATE OR REPLACE type t as "
            "object (x number);\n/\nGRANT SELECT ON A TO B;\nCREATE INDEX I ON A (X)\n/\n"
            "GRANT SELECT ON A TO C;\n",
            true, "\r\n"));
  EXPECT_EQ(files,
            (std::vector<std::string>{"type_declarations/T.sql", "tables/A.sql", "types/T.sql",
                                      "grants/A.sql", "indexes/I.sql", "grants/A~2.sql"}));
  EXPECT_EQ(Read("type_declarations/T.sql"), "CREATE TYPE T;\r\n/\r\n");
  EXPECT_EQ(Read("grants/A~2.sql"), "GRANT SELECT ON A TO C;\r\n");
}

}  // namespace
