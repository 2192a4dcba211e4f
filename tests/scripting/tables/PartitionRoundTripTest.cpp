// A warehouse schema of partitioned tables and indexes (keys kept by local
// indexes among them), LOB storage, index options, compression and row
// movement is scripted, the script replayed into an empty database without
// a failure, and the two dictionaries compared, partitions and LOBs included.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/scripting/tables/SchemaRoundTrip.h"

namespace {

std::vector<std::string> WarehouseStatements() {
  return {
      "create table STORES (STORE_ID number(6) constraint STORES_PK primary key, REGION "
      "varchar2(2) not null, NAME varchar2(40)) partition by list (REGION) (partition "
      "STORES_EAST values ('NY', 'NJ') tablespace TS_EAST, partition STORES_WEST values ('CA', "
      "'WA'), partition STORES_NONE values (null), partition STORES_OTHER values (default))",
      "create table SALES (SALE_ID number(10) not null, STORE_ID number(6), SOLD date not null, "
      "AMOUNT number(10,2)) pctfree 5 tablespace TS_SALES partition by range (SOLD, SALE_ID) "
      "(partition SALES_2023 values less than (to_date('2024-01-01', 'YYYY-MM-DD'), 0) "
      "tablespace TS_2023, partition SALES_2024 values less than (to_date('2025-01-01', "
      "'YYYY-MM-DD'), maxvalue), partition SALES_MAX values less than (maxvalue, maxvalue))",
      "create index SALES_STORE_IX on SALES (STORE_ID) local",
      "create index SALES_SOLD_IX on SALES (SOLD, SALE_ID) local (partition SALES_SOLD_2023 "
      "tablespace TS_IDX, partition SALES_SOLD_2024, partition SALES_SOLD_MAX)",
      "create index SALES_AMOUNT_GX on SALES (AMOUNT, STORE_ID) global partition by range "
      "(AMOUNT) (partition AMOUNT_SMALL values less than (100) tablespace TS_IDX, partition "
      "AMOUNT_LARGE values less than (maxvalue))",
      "create table EVENTS (EVENT_ID number, HAPPENED date) partition by range (HAPPENED) "
      "interval (numtoyminterval(1, 'MONTH')) (partition EVENTS_START values less than "
      "(to_date('2024-01-01', 'YYYY-MM-DD')))",
      "create table CUSTOMERS_H (CUSTOMER_ID number(8) primary key, NAME varchar2(40)) "
      "partition by hash (CUSTOMER_ID) partitions 4 store in (TS_A, TS_B)",
      "create table SHIPMENTS (SHIP_ID number, SHIPPED number(8), CARRIER varchar2(10)) "
      "partition by range (SHIPPED) subpartition by hash (SHIP_ID) subpartitions 2 (partition "
      "SHIP_OLD values less than (20240101), partition SHIP_NEW values less than (maxvalue) "
      "(subpartition SHIP_NEW_A tablespace TS_A, subpartition SHIP_NEW_B, subpartition "
      "SHIP_NEW_C))",
      "create table RETURNS (RETURN_ID number, REASON varchar2(1), AMOUNT number) partition by "
      "range (RETURN_ID) subpartition by list (REASON) subpartition template (subpartition "
      "R_DAMAGED values ('D'), subpartition R_OTHER values (default)) (partition RETURNS_1 "
      "values less than (1000), partition RETURNS_2 values less than (2000))",
      "create index RETURNS_REASON_IX on RETURNS (REASON) local",
      // Keys kept by local indexes: the key's own index, and one of
      // another name.
      "create table PAYMENTS (PAY_ID number(10) not null, PAID number(8) not null, REF "
      "varchar2(20) not null) partition by range (PAID) (partition PAY_OLD values less than "
      "(20240101), partition PAY_NEW values less than (maxvalue))",
      "create unique index PAYMENTS_PK on PAYMENTS (PAY_ID, PAID) local",
      "alter table PAYMENTS add constraint PAYMENTS_PK primary key (PAY_ID, PAID) using index "
      "PAYMENTS_PK",
      "create unique index PAYMENTS_REF_UX on PAYMENTS (REF, PAID) local",
      "alter table PAYMENTS add constraint PAYMENTS_REF_UK unique (REF, PAID) using index "
      "PAYMENTS_REF_UX",
      "create table ORDER_HEADS (ORDER_ID number(10) constraint ORDER_HEADS_PK primary key, "
      "PLACED number(8) not null) partition by range (ORDER_ID) (partition HEADS_LOW values "
      "less than (5000) tablespace TS_A, partition HEADS_HIGH values less than (maxvalue))",
      "create table ORDER_LINES (ORDER_ID number(10) not null, LINE_NO number(4), constraint "
      "ORDER_LINES_FK foreign key (ORDER_ID) references ORDER_HEADS (ORDER_ID) on delete "
      "cascade) partition by reference (ORDER_LINES_FK) (partition LINES_LOW tablespace TS_B, "
      "partition LINES_HIGH)",
      "create table ITEMS (ITEM_ID number(8), SKU varchar2(20), NOTE varchar2(100), PRICE "
      "number) compress enable row movement",
      "create index ITEMS_SKU_IX on ITEMS (SKU, NOTE) nologging compress 1",
      "create index ITEMS_ID_RX on ITEMS (ITEM_ID) reverse",
      "create index ITEMS_NOTE_IX on ITEMS (NOTE) invisible",
      "create table ARCHIVE_ROWS (ID number) row store compress advanced",
      "create table DOCUMENTS (DOC_ID number, BODY clob, SCAN blob) lob (SCAN) store as "
      "basicfile DOCUMENTS_SCAN (tablespace TS_LOB disable storage in row chunk 16384)",
  };
}

bool Holds(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

TEST(PartitionRoundTripTest, ReplayedScriptRebuildsPartitionsLobsAndOptions) {
  const SchemaRoundTrip trip = RoundTripSchema(WarehouseStatements(), TableDictionaryViews());
  EXPECT_TRUE(trip.messages.empty()) << trip.messages.front();
  EXPECT_EQ(trip.replay.status, 0) << trip.replay.output << trip.sourceReport;
  EXPECT_EQ(trip.replay.output, "");
  EXPECT_EQ(DictionaryDifferences(trip.source, trip.target), "") << trip.sourceReport;
  EXPECT_EQ(WithoutGeneratedNumbers(trip.targetReport), WithoutGeneratedNumbers(trip.sourceReport));

  // The comparison saw what the fixture holds.
  const auto& rows = trip.source.rows;
  EXPECT_EQ(rows.at("user_part_tables").size(), 9u);
  EXPECT_TRUE(Holds(rows.at("user_ind_subpartitions"),
                    "RETURNS_REASON_IX|RETURNS_2|RETURNS_2_R_OTHER|DEFAULT|2|USABLE|USERS"))
      << ::testing::PrintToString(rows.at("user_ind_subpartitions"));
  EXPECT_TRUE(Holds(rows.at("user_constraints"),
                    "PAYMENTS|PAYMENTS_PK|P|||||ENABLED|NOT DEFERRABLE|IMMEDIATE|VALIDATED|USER "
                    "NAME|PAYMENTS_PK"));
  EXPECT_TRUE(Holds(rows.at("user_part_indexes"),
                    "PAYMENTS_PK|PAYMENTS|RANGE|NONE|2|1|LOCAL|NON_PREFIXED"));
  EXPECT_TRUE(Holds(rows.at("user_tab_partitions"),
                    "SALES|SALES_2023|NO|0|to_date('2024-01-01', 'YYYY-MM-DD'), 0|1|TS_2023|5|"
                    "DISABLED|NO"))
      << ::testing::PrintToString(rows.at("user_tab_partitions"));
  EXPECT_TRUE(Holds(rows.at("user_tab_subpartitions"),
                    "RETURNS|RETURNS_2|RETURNS_2_R_OTHER|DEFAULT|2|USERS"));
  EXPECT_TRUE(
      Holds(rows.at("user_part_indexes"), "SALES_AMOUNT_GX|SALES|RANGE|NONE|2|1|GLOBAL|PREFIXED"));
  EXPECT_TRUE(Holds(rows.at("user_ind_partitions"),
                    "SALES_SOLD_IX|SALES_SOLD_2023|NO|to_date('2024-01-01', 'YYYY-MM-DD'), "
                    "0|1|USABLE|TS_IDX|YES|NO"));
  EXPECT_TRUE(
      Holds(rows.at("user_indexes"),
            "ITEMS|ITEMS_SKU_IX|NORMAL|NONUNIQUE|ENABLED|1|USERS|2|255|10|N|NO|VISIBLE|NO"));
  EXPECT_TRUE(Holds(rows.at("user_part_tables"),
                    "ORDER_LINES|REFERENCE|NONE|2|0|0|0||10|NONE|ORDER_LINES_FK|"))
      << ::testing::PrintToString(rows.at("user_part_tables"));
  EXPECT_TRUE(
      Holds(rows.at("user_lobs"), "DOCUMENTS|SCAN|DOCUMENTS_SCAN|TS_LOB|16384|NO|YES|NO|NO"));
}

}  // namespace
