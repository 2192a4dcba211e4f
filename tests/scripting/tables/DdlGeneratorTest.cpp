// The generator blocks run in the sandbox's PL/SQL interpreter against real
// dictionary rows: the exact printed text of tables, constraints and indexes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/scripting/tables/SandboxSchema.h"

namespace {

TEST(TableDdlTest, WorkedExamplePrintsEveryLineWithItsTabsAndBlanks) {
  SandboxSchema schema;
  schema.Run(
      "create table T (ID number(10) not null, NAME varchar2(30) default 'x') "
      "pctfree 10 pctused 40 initrans 1 maxtrans 255 tablespace USERS "
      "storage (initial 65536 next 1048576 minextents 1 maxextents 121 pctincrease 0 "
      "freelists 1 freelist groups 1)");
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "T"),
            "CREATE TABLE T (\r\n"
            "\t ID\tNUMBER(10)\tNOT NULL\r\n"
            "\t,NAME\tVARCHAR2(30) DEFAULT 'x'\t    NULL\r\n"
            ")\r\n"
            "PCTFREE  10\r\n"
            "PCTUSED  40\r\n"
            "INITRANS 1\r\n"
            "MAXTRANS 255\r\n"
            "TABLESPACE USERS\r\n"
            "    STORAGE (\r\n"
            "\tINITIAL 64K\r\n"
            "\tNEXT 1M\r\n"
            "\tMINEXTENTS 1\r\n"
            "\tMAXEXTENTS 121\r\n"
            "\tPCTINCREASE 0\r\n"
            "\tFREELISTS 1 FREELIST GROUPS 1\r\n"
            "        )\r\n"
            "/\r\n"
            "\r\n");
  EXPECT_TRUE(schema.client.messages.texts.empty());
}

// The table's own text without its storage part.
std::string WithoutPhysicalClauses(SandboxSchema& schema, const std::string& table) {
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  return schema.ddl->GenerateTableDdl("APP", table);
}

TEST(TableDdlTest, ColumnTypesLongDefaultsAndSwitchedOffClauses) {
  SandboxSchema schema;
  schema.Run(
      "create table TYPES (A number, B number(10,2), C float(126), D date, "
      "E varchar2(200) default '" +
      std::string(85, 'z') + "')");
  EXPECT_EQ(WithoutPhysicalClauses(schema, "TYPES"),
            "CREATE TABLE TYPES (\r\n"
            "\t A\tNUMBER\t    NULL\r\n"
            "\t,B\tNUMBER(10,2)\t    NULL\r\n"
            "\t,C\tFLOAT(126)\t    NULL\r\n"
            "\t,D\tDATE\t    NULL\r\n"
            "-- Skipping default clause on column E\r\n"
            "--   on table TYPES\r\n"
            "--   since length is 87\r\n"
            "\t,E\tVARCHAR2(200)\t    NULL\r\n"
            ")\r\n"
            "/\r\n"
            "\r\n");
}

TEST(TableDdlTest, ExtentSizesInMegabytesKilobytesOrBytes) {
  SandboxSchema schema;
  schema.Run("create table S (A number) storage (initial 2097152 next 10000)");
  const std::string text = schema.ddl->GenerateTableDdl("APP", "S");
  EXPECT_NE(text.find("\r\n\tINITIAL 2M\r\n\tNEXT 10000\r\n"), std::string::npos) << text;
}

TEST(TableDdlTest, PiecesThatPassEightyCharactersStartANewLine) {
  SandboxSchema schema;
  const std::string longName(28, 'C');
  schema.Run("create table W (" + longName +
             "1 varchar2(10) default 'abcdefghijklmnopqrstuvwxyz0123456789abcdefghij')");
  const std::string text = WithoutPhysicalClauses(schema, "W");
  // Column, type and length fill 52 characters; the default (48) goes to the
  // next line, the NOT NULL part is appended to it.
  EXPECT_EQ(text,
            "CREATE TABLE W (\r\n"
            "\t " +
                longName +
                "1\tVARCHAR2(10) DEFAULT\r\n"
                "'abcdefghijklmnopqrstuvwxyz0123456789abcdefghij'\t    NULL\r\n"
                ")\r\n/\r\n\r\n");
}

TEST(TableDdlTest, LowerCaseTableIsQuotedAndKeepsItsColumns) {
  SandboxSchema schema;
  schema.Run("create table \"Mixed\" (\"id\" number(4), PLAIN date)");
  EXPECT_EQ(WithoutPhysicalClauses(schema, "Mixed"),
            "CREATE TABLE \"Mixed\" (\r\n"
            "\t \"id\"\tNUMBER(4)\t    NULL\r\n"
            "\t,PLAIN\tDATE\t    NULL\r\n"
            ")\r\n/\r\n\r\n");
}

TEST(TableDdlTest, MissingTableGivesOnlyTheExtraLineEnd) {
  SandboxSchema schema;
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "NOPE"), "\r\n");
}

TEST(ConstraintDdlTest, KeysReferencesAndChecksInTheirOrder) {
  SandboxSchema schema;
  schema.Run(
      "create table P (ID number not null, CODE varchar2(5), "
      "constraint P_PK primary key (ID) using index pctfree 5 initrans 2 maxtrans 99 "
      "tablespace USERS, constraint P_CODE unique (CODE))");
  schema.Run(
      "create table C (ID number, PID number, QTY number check (QTY > 0), "
      "constraint C_P foreign key (PID) references P (ID))");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  EXPECT_EQ(schema.ddl->GenerateConstraintDdl("APP", "P"),
            "ALTER TABLE P ADD (\r\n"
            "\tCONSTRAINT P_PK\r\n"
            "\tPRIMARY KEY\r\n"
            "\t            (\r\n"
            "\t            ID\r\n"
            "\t            )\r\n"
            "\tUSING INDEX\r\n"
            "\tPCTFREE    5\r\n"
            "\tINITRANS   2\r\n"
            "\tMAXTRANS   99\r\n"
            ")\r\n/\r\n"
            "ALTER TABLE P ADD (\r\n"
            "\tCONSTRAINT P_CODE\r\n"
            "\tUNIQUE\r\n"
            "\t       (\r\n"
            "\t       CODE\r\n"
            "\t       )\r\n"
            "\tUSING INDEX\r\n"
            "\tPCTFREE    10\r\n"
            "\tINITRANS   2\r\n"
            "\tMAXTRANS   255\r\n"
            ")\r\n/\r\n\r\n");
  const std::string child = schema.ddl->GenerateConstraintDdl("APP", "C");
  const std::size_t foreignKey = child.find(
      "\tCONSTRAINT C_P\r\n\tFOREIGN KEY\r\n"
      "\t            (\r\n\t            PID\r\n"
      "\t            )\r\n\tREFERENCES P\r\n"
      "\t            (\r\n\t            ID\r\n"
      "\t            )\r\n)\r\n/\r\n");
  const std::size_t check = child.find("\tCHECK\r\n-- original system constraint name was SYS_");
  EXPECT_NE(foreignKey, std::string::npos) << child;
  EXPECT_NE(check, std::string::npos) << child;
  EXPECT_LT(foreignKey, check);
  // Every piece is cut after its last blank, the last piece too.
  EXPECT_NE(child.find("\t(\r\n\tQTY >\r\n\t0\r\n\t)\r\n)\r\n/\r\n"), std::string::npos) << child;
  // The NOT NULL check of P.ID is the server's own: the table block prints it.
  EXPECT_EQ(schema.ddl->GenerateConstraintDdl("APP", "P").find("IS NOT NULL"), std::string::npos);
}

TEST(ConstraintDdlTest, SystemNamedKeysAndQuotedNamesRecreateTheSameTable) {
  SandboxSchema schema;
  schema.Run(
      "create table \"Lower\" (\"id\" number primary key, \"ref\" number, "
      "constraint \"Lower_fk\" foreign key (\"ref\") references \"Lower\" (\"id\"))");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  const std::string text = schema.ddl->GenerateConstraintDdl("APP", "Lower");
  EXPECT_EQ(text.find("CONSTRAINT SYS_C"), std::string::npos) << text;
  EXPECT_EQ(text.rfind("ALTER TABLE \"Lower\" ADD (\r\n\tPRIMARY KEY\r\n"
                       "-- original system constraint name was SYS_C",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("\t            \"id\"\r\n\t            )\r\n\tUSING INDEX\r\n)\r\n/\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\tCONSTRAINT \"Lower_fk\"\r\n\tFOREIGN KEY\r\n\t            (\r\n"
                      "\t            \"ref\"\r\n\t            )\r\n\tREFERENCES \"Lower\"\r\n"),
            std::string::npos)
      << text;
  schema.Run("create index \"Lower_ix\" on \"Lower\" (\"ref\")");
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "Lower", nullptr),
            "CREATE INDEX \"Lower_ix\" ON \"Lower\"\r\n\t(\r\n\t \"ref\"\r\n\t)\r\n/\r\n\r\n");
}

// The lines of text between the check's "\t(" and "\t)" lines, tabs removed.
std::vector<std::string> ConditionLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = text.find("\t(\r\n");
  if (start == std::string::npos) {
    return lines;
  }
  start += 4;
  for (std::size_t end = text.find("\r\n", start); end != std::string::npos;
       start = end + 2, end = text.find("\r\n", start)) {
    std::string line = text.substr(start, end - start);
    if (line == "\t)") {
      break;
    }
    lines.push_back(line.substr(1));
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) {
    joined += (joined.empty() ? "" : " ") + line;
  }
  return joined;
}

TEST(ConstraintDdlTest, LongConditionIsCutAtBlanksIntoLinesOfAtMostEighty) {
  SandboxSchema schema;
  std::string condition = "A > 0";
  while (condition.size() < 195) {
    condition += " AND A <> " + std::to_string(condition.size());
  }
  schema.Run("create table L (A number, constraint L_CK check (" + condition + "))");
  const std::vector<std::string> lines =
      ConditionLines(schema.ddl->GenerateConstraintDdl("APP", "L"));
  ASSERT_GE(lines.size(), 3u);
  for (const std::string& line : lines) {
    EXPECT_LE(line.size() + 1, 80u) << line;
  }
  EXPECT_EQ(Joined(lines), condition);
}

TEST(ConstraintDdlTest, QuotedLiteralsAreNeverCutAtTheirBlanks) {
  SandboxSchema schema;
  const std::string condition =
      "CITY IN ('NEW YORK', 'LOS ANGELES', 'SAN FRANCISCO', "
      "'SALT LAKE CITY', 'LAS VEGAS', 'SANTA FE', 'EL PASO')";
  const std::string literal = "'" + std::string(50, 'x') + " " + std::string(50, 'y') + "'";
  schema.Run("create table Q (CITY varchar2(200), constraint Q_CITY check (" + condition +
             "), constraint Q_LONG check (CITY <> " + literal + "))");
  const std::string text = schema.ddl->GenerateConstraintDdl("APP", "Q");
  const std::size_t second = text.find("ALTER TABLE Q", 1);
  const std::vector<std::string> cities = ConditionLines(text.substr(0, second));
  EXPECT_EQ(Joined(cities), condition);
  for (const std::string& line : cities) {
    EXPECT_EQ(std::count(line.begin(), line.end(), '\'') % 2, 0) << line;
  }
  // A literal longer than a line stays whole on a line of its own.
  const std::vector<std::string> longLiteral = ConditionLines(text.substr(second));
  EXPECT_EQ(longLiteral, (std::vector<std::string>{"CITY <>", literal}));
}

TEST(IndexDdlTest, CompressionOnlyWhereTheDictionaryHasIt) {
  for (const char* release : {"8.0.5", "8.1.7"}) {
    SandboxSchema schema(FreshDatabase("INDEXES") + "?release=" + release);
    schema.Run(
        "create table I (A number, B varchar2(10), C date, "
        "constraint I_PK primary key (A))");
    schema.Run("create unique index I_B on I (B, C) pctfree 20 tablespace USERS compress 1");
    schema.Run("create index I_C on I (C)");
    const std::string text = schema.ddl->GenerateIndexDdl("APP", "I", nullptr);
    const std::string compressed = std::string(release) == "8.0.5" ? "" : "\tCOMPRESS 1\r\n";
    EXPECT_EQ(text,
              "CREATE UNIQUE INDEX I_B ON I\r\n"
              "\t(\r\n\t B\r\n\t ,C\r\n\t)\r\n"
              "\tPCTFREE    20\r\n\tINITRANS   2\r\n\tMAXTRANS   255\r\n"
              "\tTABLESPACE USERS\r\n" +
                  compressed +
                  "/\r\n"
                  "CREATE INDEX I_C ON I\r\n"
                  "\t(\r\n\t C\r\n\t)\r\n"
                  "\tPCTFREE    10\r\n\tINITRANS   2\r\n\tMAXTRANS   255\r\n"
                  "\tTABLESPACE USERS\r\n"
                  "/\r\n\r\n")
        << release;
  }
}

TEST(IndexDdlTest, NameFilterKeepsOnlyTheNamedIndexes) {
  SandboxSchema schema;
  schema.Run("create table F (A number, B number, C number)");
  schema.Run("create index F_A on F (A)");
  schema.Run("create index F_B on F (B)");
  schema.Run("create index F_C on F (C)");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  const std::vector<std::string> names{"F_A", "F_C"};
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "F", &names),
            "CREATE INDEX F_A ON F\r\n\t(\r\n\t A\r\n\t)\r\n/\r\n"
            "CREATE INDEX F_C ON F\r\n\t(\r\n\t C\r\n\t)\r\n/\r\n\r\n");
  const std::vector<std::string> none;
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "F", &none), "\r\n");
  const std::vector<std::string> quoted{"F_A' OR 'X' = 'X"};
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "F", &quoted), "\r\n");
  // The same generator, without a filter and then with one again.
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "F", nullptr).size(),
            3 * std::string("CREATE INDEX F_A ON F\r\n\t(\r\n\t A\r\n\t)\r\n/\r\n").size() + 2);
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "F", &none), "\r\n");
}

}  // namespace
