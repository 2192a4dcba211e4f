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
  EXPECT_TRUE(schema.client.messages.texts.empty()) << schema.client.messages.texts.front();
}

// The table's own text without its storage part.
std::string WithoutPhysicalClauses(SandboxSchema& schema, const std::string& table) {
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  return schema.ddl->GenerateTableDdl("APP", table);
}

TEST(TableDdlTest, ColumnTypesLongDefaultsAndSwitchedOffClauses) {
  SandboxSchema schema;
  const std::string longDefault = "'" + std::string(300, 'z') + "'";
  schema.Run(
      "create table TYPES (A number, B number(10,2), C float(126), D date, E varchar2(400) "
      "default " +
      longDefault + ", F integer, G nchar(5), H nvarchar2(10))");
  // A default longer than a line stands on a line of its own, whole.
  EXPECT_EQ(WithoutPhysicalClauses(schema, "TYPES"),
            "CREATE TABLE TYPES (\r\n"
            "\t A\tNUMBER\t    NULL\r\n"
            "\t,B\tNUMBER(10,2)\t    NULL\r\n"
            "\t,C\tFLOAT(126)\t    NULL\r\n"
            "\t,D\tDATE\t    NULL\r\n"
            "\t,E\tVARCHAR2(400) DEFAULT\r\n" +
                longDefault +
                "\r\n"
                "\t    NULL\r\n"
                "\t,F\tNUMBER(*,0)\t    NULL\r\n"
                "\t,G\tNCHAR(5)\t    NULL\r\n"
                "\t,H\tNVARCHAR2(10)\t    NULL\r\n"
                ")\r\n"
                "/\r\n"
                "\r\n");
}

// Column NOT NULL clauses stand for the column's NOT NULL constraint, named
// when the user named it; a key column has none of its own.
TEST(TableDdlTest, NotNullClausesFollowTheColumnsConstraints) {
  SandboxSchema schema;
  schema.Run(
      "create table N (A number constraint N_A_NN not null, B number not null, "
      "C number primary key, D number, constraint N_D_CK check (D is not null))");
  EXPECT_EQ(WithoutPhysicalClauses(schema, "N"),
            "CREATE TABLE N (\r\n"
            "\t A\tNUMBER\tCONSTRAINT N_A_NN NOT NULL\r\n"
            "\t,B\tNUMBER\tNOT NULL\r\n"
            "\t,C\tNUMBER\t    NULL\r\n"
            "\t,D\tNUMBER\t    NULL\r\n"
            ")\r\n/\r\n\r\n");
  // The user's own check on D is no NOT NULL constraint and stays a check.
  const std::string checks = schema.ddl->GenerateConstraintDdl("APP", "N");
  EXPECT_NE(checks.find("\tCONSTRAINT N_D_CK\r\n\tCHECK\r\n\t(\r\n\tD is not null\r\n"),
            std::string::npos)
      << checks;
  EXPECT_EQ(checks.find("N_A_NN"), std::string::npos) << checks;
  EXPECT_EQ(checks.find("\"B\""), std::string::npos) << checks;
}

TEST(TableDdlTest, NewerTableKindsKeepTheirKind) {
  SandboxSchema schema;
  schema.Run(
      "create global temporary table G (A varchar2(10 char), B char(2 char)) on commit "
      "preserve rows");
  schema.Run("create table O (K varchar2(5) primary key, V number) organization index");
  schema.Run(
      "create table V (ID number generated always as identity (start with 7 increment by 2 "
      "maxvalue 99 nocache), Q number, D number generated always as (Q * 2) virtual, "
      "E number default on null 0)");
  schema.Run("comment on table V is 'It''s V'");
  schema.Run("comment on column V.Q is 'quantity'");
  EXPECT_EQ(WithoutPhysicalClauses(schema, "G"),
            "CREATE GLOBAL TEMPORARY TABLE G (\r\n"
            "\t A\tVARCHAR2(10 CHAR)\t    NULL\r\n"
            "\t,B\tCHAR(2 CHAR)\t    NULL\r\n"
            ")\r\nON COMMIT PRESERVE ROWS\r\n/\r\n\r\n");
  // An index-organized table cannot be created without its key.
  EXPECT_EQ(WithoutPhysicalClauses(schema, "O"),
            "CREATE TABLE O (\r\n"
            "\t K\tVARCHAR2(5)\t    NULL\r\n"
            "\t,V\tNUMBER\t    NULL\r\n"
            "\t,PRIMARY KEY (K)\r\n"
            ")\r\nORGANIZATION INDEX\r\n/\r\n\r\n");
  EXPECT_EQ(schema.ddl->GenerateConstraintDdl("APP", "O"), "\r\n");
  EXPECT_EQ(WithoutPhysicalClauses(schema, "V"),
            "CREATE TABLE V (\r\n"
            "\t ID\tNUMBER GENERATED ALWAYS AS IDENTITY (START WITH 7 INCREMENT BY 2\r\n"
            " MAXVALUE 99 MINVALUE 1 NOCYCLE NOCACHE NOORDER)\r\n"
            "\t,Q\tNUMBER\t    NULL\r\n"
            "\t,D\tNUMBER GENERATED ALWAYS AS (\"Q\"*2) VIRTUAL\t    NULL\r\n"
            "\t,E\tNUMBER DEFAULT ON NULL 0\r\n"
            ")\r\n/\r\n"
            "COMMENT ON TABLE V IS 'It''s V'\r\n/\r\n"
            "COMMENT ON COLUMN V.Q IS 'quantity'\r\n/\r\n\r\n");
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
      "constraint C_P foreign key (PID) references P (ID) on delete cascade)");
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
  // A condition that fits on a line keeps its one line.
  EXPECT_EQ(child,
            "ALTER TABLE C ADD (\r\n\tCHECK\r\n"
            "-- original system constraint name was " +
                child.substr(child.find("SYS_C"), child.find("\r\n\t(") - child.find("SYS_C")) +
                "\r\n\t(\r\n\tQTY > 0\r\n\t)\r\n)\r\n/\r\n\r\n");
  EXPECT_EQ(schema.ddl->GenerateForeignKeyDdl("APP", "C"),
            "ALTER TABLE C ADD (\r\n"
            "\tCONSTRAINT C_P\r\n\tFOREIGN KEY\r\n"
            "\t            (\r\n\t            PID\r\n"
            "\t            )\r\n\tREFERENCES P\r\n"
            "\t            (\r\n\t            ID\r\n"
            "\t            )\r\n\tON DELETE CASCADE\r\n)\r\n/\r\n\r\n");
  EXPECT_EQ(schema.ddl->GenerateForeignKeyDdl("APP", "P"), "\r\n");
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
  // With no physical clause to repeat, no USING INDEX either.
  EXPECT_NE(text.find("\t            \"id\"\r\n\t            )\r\n)\r\n/\r\n"), std::string::npos)
      << text;
  const std::string reference = schema.ddl->GenerateForeignKeyDdl("APP", "Lower");
  EXPECT_NE(
      reference.find("\tCONSTRAINT \"Lower_fk\"\r\n\tFOREIGN KEY\r\n\t            (\r\n"
                     "\t            \"ref\"\r\n\t            )\r\n\tREFERENCES \"Lower\"\r\n"),
      std::string::npos)
      << reference;
  schema.Run("create index \"Lower_ix\" on \"Lower\" (\"ref\")");
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "Lower", nullptr),
            "CREATE INDEX \"Lower_ix\" ON \"Lower\"\r\n\t(\r\n\t \"ref\"\r\n\t)\r\n/\r\n\r\n");
}

// A key on an index of another name names it; states other than enabled,
// validated and immediate are written.
TEST(ConstraintDdlTest, StatesAndKeyIndexesAreKept) {
  SandboxSchema schema;
  schema.Run("create table S (A number, B number, C number)");
  schema.Run("create unique index S_B_IX on S (B)");
  schema.Run("alter table S add constraint S_B_UK unique (B) using index S_B_IX");
  schema.Run("alter table S add constraint S_A_CK check (A > 0) disable");
  schema.Run("alter table S add constraint S_PK primary key (C) deferrable initially deferred");
  schema.Run(
      "alter table S add constraint S_A_FK foreign key (A) references S (C) enable "
      "novalidate");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  EXPECT_EQ(schema.ddl->GenerateConstraintDdl("APP", "S"),
            "ALTER TABLE S ADD (\r\n\tCONSTRAINT S_PK\r\n\tPRIMARY KEY\r\n"
            "\t            (\r\n\t            C\r\n\t            )\r\n"
            "\tUSING INDEX\r\n\tPCTFREE    10\r\n\tINITRANS   2\r\n\tMAXTRANS   255\r\n"
            "\tDEFERRABLE INITIALLY DEFERRED\r\n)\r\n/\r\n"
            "ALTER TABLE S ADD (\r\n\tCONSTRAINT S_B_UK\r\n\tUNIQUE\r\n"
            "\t       (\r\n\t       B\r\n\t       )\r\n"
            "\tUSING INDEX S_B_IX\r\n)\r\n/\r\n"
            "ALTER TABLE S ADD (\r\n\tCONSTRAINT S_A_CK\r\n\tCHECK\r\n"
            "\t(\r\n\tA > 0\r\n\t)\r\n\tDISABLE\r\n)\r\n/\r\n\r\n");
  const std::string reference = schema.ddl->GenerateForeignKeyDdl("APP", "S");
  EXPECT_NE(reference.find("\tREFERENCES S\r\n\t            (\r\n\t            C\r\n"
                           "\t            )\r\n\tENABLE NOVALIDATE\r\n)\r\n/\r\n"),
            std::string::npos)
      << reference;
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

// The condition as printed between "\t(" and "\t)", its line breaks as LF.
std::string ConditionText(const std::string& text) {
  const std::size_t start = text.find("\t(\r\n\t");
  const std::size_t end = text.find("\r\n\t)\r\n");
  if (start == std::string::npos || end == std::string::npos) {
    return "";
  }
  std::string condition = text.substr(start + 5, end - start - 5);
  for (std::size_t at = condition.find("\r\n"); at != std::string::npos;
       at = condition.find("\r\n", at + 1)) {
    condition.replace(at, 2, "\n");
  }
  return condition;
}

TEST(ConstraintDdlTest, ConditionIsPrintedLineForLineAsStored) {
  SandboxSchema schema;
  std::string longLine = "A > 0";
  while (longLine.size() < 195) {
    longLine += " AND A <> " + std::to_string(longLine.size());
  }
  const std::string laidOut = "A > 0\n\t  AND A <> 5\n  OR (A IS NULL\n)";
  schema.Run("create table L (A number, constraint L_CK check (" + longLine +
             "), constraint L_LAID check (" + laidOut + "))");
  const std::string text = schema.ddl->GenerateConstraintDdl("APP", "L");
  const std::size_t second = text.find("ALTER TABLE L", 1);
  EXPECT_EQ(ConditionText(text.substr(0, second)), longLine);
  EXPECT_EQ(ConditionText(text.substr(second)), laidOut);
}

// A blank line, or one of nothing but "/" or ".", would end the statement in
// a script tool, and a line past 255 characters may not fit the server's
// output buffer: such a condition is made one line and cut at blanks.
TEST(ConstraintDdlTest, ConditionAScriptCannotCarryIsCutAtBlanksIntoLinesOfAtMostEighty) {
  SandboxSchema schema;
  std::string condition = "A > 0";
  while (condition.size() < 300) {
    condition += " AND A <> " + std::to_string(condition.size());
  }
  schema.Run("create table L (A number, constraint L_CK check (" + condition + "))");
  const std::vector<std::string> lines =
      ConditionLines(schema.ddl->GenerateConstraintDdl("APP", "L"));
  ASSERT_GE(lines.size(), 4u);
  for (const std::string& line : lines) {
    EXPECT_LE(line.size() + 1, 80u) << line;
  }
  EXPECT_EQ(Joined(lines), condition);

  // A cut that would leave "/" alone on a line keeps it with the next piece.
  schema.Run("create table D (" + std::string(79, 'A') + " number, " + std::string(90, 'B') +
             " number, constraint D_CK check (" + std::string(79, 'A') + " / " +
             std::string(90, 'B') + "\n\n> 0))");
  const std::vector<std::string> dividedLines =
      ConditionLines(schema.ddl->GenerateConstraintDdl("APP", "D"));
  EXPECT_EQ(dividedLines,
            (std::vector<std::string>{std::string(79, 'A'), "/ " + std::string(90, 'B'), "> 0"}));

  schema.Run("create table S (A number, constraint S_CK check (A\n/\n2 > 0))");
  EXPECT_EQ(ConditionText(schema.ddl->GenerateConstraintDdl("APP", "S")), "A / 2 > 0");
  schema.Run("create table P (A number, constraint P_CK check (A > 0\n  .\n))");
  EXPECT_EQ(ConditionText(schema.ddl->GenerateConstraintDdl("APP", "P")), "A > 0 .");
}

TEST(ConstraintDdlTest, QuotedLiteralsAreNeverCutAtTheirBlanks) {
  SandboxSchema schema;
  const std::string condition =
      "CITY IN ('NEW YORK', 'LOS ANGELES', 'SAN FRANCISCO', "
      "'SALT LAKE CITY', 'LAS VEGAS', 'SANTA FE', 'EL PASO')";
  const std::string literal = "'" + std::string(50, 'x') + " " + std::string(50, 'y') + "'";
  schema.Run("create table Q (CITY varchar2(200), constraint Q_CITY check (CITY IN\n\n" +
             condition.substr(8) + "), constraint Q_LONG check (CITY <>\n\n" + literal + "))");
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

// A descending column is an expression of the index, as the server keeps it.
TEST(IndexDdlTest, BitmapIndexesAndDescendingColumnsKeepTheirKind) {
  SandboxSchema schema;
  schema.Run("create table X (A number, B number, C varchar2(10))");
  schema.Run("create bitmap index X_C on X (C)");
  schema.Run("create index X_AB on X (A, B desc)");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "X", nullptr),
            "CREATE INDEX X_AB ON X\r\n\t(\r\n\t A\r\n\t ,\"B\" DESC\r\n\t)\r\n/\r\n"
            "CREATE BITMAP INDEX X_C ON X\r\n\t(\r\n\t C\r\n\t)\r\n/\r\n\r\n");
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
