// The generator blocks run in the sandbox's PL/SQL interpreter against real
// dictionary rows: the exact printed text of tables, constraints and indexes.
#include <gtest/gtest.h>

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

}  // namespace
