// The exact text of partitioned tables and indexes and of the later table
// and index options, with the storage clauses switched off, and the text of
// a release that has none of them.
#include <gtest/gtest.h>

#include <string>

#include "tests/scripting/tables/SandboxSchema.h"

namespace {

TEST(PartitionDdlTest, WithoutStorageClausesPartitionsKeepNamesAndBoundsOnly) {
  SandboxSchema schema;
  schema.Run(
      "create table R (ID number, KIND varchar2(1)) partition by range (ID) subpartition by "
      "list (KIND) subpartition template (subpartition S_A values ('A'), subpartition S_B "
      "values (default)) (partition P1 values less than (10) tablespace TS_1, partition P2 "
      "values less than (maxvalue))");
  schema.Run("create index R_KIND_IX on R (KIND) local");
  schema.Run("create table D (ID number, BODY clob) nologging compress enable row movement");
  schema.Run("create index D_ID_IX on D (ID) reverse nologging invisible");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "R"),
            "CREATE TABLE R (\r\n\t ID\tNUMBER\t    NULL\r\n\t,KIND\tVARCHAR2(1)\t    NULL\r\n)\r\n"
            "PARTITION BY RANGE (ID)\r\n"
            "SUBPARTITION BY LIST (KIND) SUBPARTITIONS 2\r\n"
            "(\r\n"
            "\t PARTITION P1 VALUES LESS THAN (10)\r\n"
            "\t (\r\n"
            "\t\t SUBPARTITION P1_S_A VALUES ('A')\r\n"
            "\t\t,SUBPARTITION P1_S_B VALUES (DEFAULT)\r\n"
            "\t )\r\n"
            "\t,PARTITION P2 VALUES LESS THAN (MAXVALUE)\r\n"
            "\t (\r\n"
            "\t\t SUBPARTITION P2_S_A VALUES ('A')\r\n"
            "\t\t,SUBPARTITION P2_S_B VALUES (DEFAULT)\r\n"
            "\t )\r\n"
            ")\r\n/\r\n\r\n");
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "R", nullptr),
            "CREATE INDEX R_KIND_IX ON R\r\n\t(\r\n\t KIND\r\n\t)\r\n"
            "LOCAL\r\n(\r\n\t PARTITION P1\r\n\t,PARTITION P2\r\n)\r\n/\r\n\r\n");
  // The LOB keeps no clause of its own; NOLOGGING is a storage clause.
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "D"),
            "CREATE TABLE D (\r\n\t ID\tNUMBER\t    NULL\r\n\t,BODY\tCLOB\t    NULL\r\n)\r\n"
            "COMPRESS\r\nENABLE ROW MOVEMENT\r\n/\r\n\r\n");
  EXPECT_EQ(
      schema.ddl->GenerateIndexDdl("APP", "D", nullptr),
      "CREATE INDEX D_ID_IX ON D\r\n\t(\r\n\t ID\r\n\t)\r\n\tREVERSE\r\n\tINVISIBLE\r\n/\r\n\r\n");
}

// A table's NOLOGGING, like an index's, comes with the storage clauses.
TEST(PartitionDdlTest, NologgingTableKeepsItWithTheStorageClauses) {
  SandboxSchema schema;
  schema.Run("create table N (ID number) nologging compress");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  const std::string text = schema.ddl->GenerateTableDdl("APP", "N");
  EXPECT_NE(text.find("\r\n        )\r\nNOLOGGING\r\nCOMPRESS\r\n/"), std::string::npos) << text;
  schema.Run("alter table N logging");
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "N").find("NOLOGGING"), std::string::npos);
}

// A partitioned table keeps NOLOGGING in its partitions' defaults, not in a
// segment of its own; a partition made otherwise than its table says so.
TEST(PartitionDdlTest, PartitionedTableKeepsNologgingAndEachPartitionItsOwnOptions) {
  SandboxSchema schema;
  schema.Run(
      "create table F (N number) nologging compress partition by range (N) ("
      "partition F1 values less than (10), "
      "partition F2 values less than (20) logging nocompress, "
      "partition F3 values less than (maxvalue))");
  schema.Run(
      "create table G (N number) partition by range (N) ("
      "partition G1 values less than (10) nologging compress, "
      "partition G2 values less than (maxvalue))");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "F"),
            "CREATE TABLE F (\r\n\t N\tNUMBER\t    NULL\r\n)\r\nCOMPRESS\r\nNOLOGGING\r\n"
            "PARTITION BY RANGE (N)\r\n(\r\n"
            "\t PARTITION F1 VALUES LESS THAN (10) TABLESPACE USERS\r\n"
            "\t,PARTITION F2 VALUES LESS THAN (20) TABLESPACE USERS LOGGING NOCOMPRESS\r\n"
            "\t,PARTITION F3 VALUES LESS THAN (MAXVALUE) TABLESPACE USERS\r\n)\r\n/\r\n\r\n");
  std::string text = schema.ddl->GenerateTableDdl("APP", "G");
  EXPECT_EQ(text.find("NOLOGGING\r\nPARTITION BY"), std::string::npos) << text;
  EXPECT_NE(
      text.find("\t PARTITION G1 VALUES LESS THAN (10) TABLESPACE USERS NOLOGGING COMPRESS\r\n"
                "\t,PARTITION G2 VALUES LESS THAN (MAXVALUE) TABLESPACE USERS\r\n"),
      std::string::npos)
      << text;
  // Without the storage clauses logging goes, compression stays.
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  text = schema.ddl->GenerateTableDdl("APP", "G");
  EXPECT_EQ(text.find("LOGGING"), std::string::npos) << text;
  EXPECT_NE(text.find("PARTITION G1 VALUES LESS THAN (10) COMPRESS\r\n"), std::string::npos)
      << text;
}

TEST(PartitionDdlTest, ReleaseEightKeepsTheTextItHad) {
  SandboxSchema schema(FreshDatabase("OPTIONS") + "?release=8.1.7");
  schema.Run("create table D (ID number) compress enable row movement");
  schema.Run("create index D_ID_IX on D (ID) reverse nologging invisible");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  EXPECT_EQ(schema.ddl->GenerateTableDdl("APP", "D"),
            "CREATE TABLE D (\r\n\t ID\tNUMBER\t    NULL\r\n)\r\n/\r\n\r\n");
  EXPECT_EQ(schema.ddl->GenerateIndexDdl("APP", "D", nullptr),
            "CREATE INDEX D_ID_IX ON D\r\n\t(\r\n\t ID\r\n\t)\r\n/\r\n\r\n");
}

}  // namespace
