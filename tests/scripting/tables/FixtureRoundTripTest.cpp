// A schema that holds every kind of table, column, constraint and index the
// blocks must rebuild is scripted, the script replayed into an empty
// database without a single failure, and the two dictionaries compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/scripting/tables/SchemaRoundTrip.h"

namespace {

const std::string LongDefault = "'" + std::string(298, 'd') + "'";

// Tables in creation order, which is the order the phases script them in:
// EMPLOYEES and ORDERS reference tables created after them, EMPLOYEES and
// DEPARTMENTS reference each other and EMPLOYEES references itself.
std::vector<std::string> FixtureStatements() {
  return {
      "create table REGIONS (REGION_ID number(4) constraint REGIONS_PK primary key, "
      "NAME varchar2(40) constraint REGIONS_NAME_NN not null)",
      "create table COUNTRIES (COUNTRY_ID char(2) primary key, REGION_ID number(4) "
      "constraint COUNTRIES_REGION_FK references REGIONS (REGION_ID), NAME nvarchar2(60), "
      "CODE nchar(3) not null)",
      "create table EMPLOYEES (EMP_ID integer constraint EMPLOYEES_PK primary key, "
      "DEPT_ID number(4), MANAGER_ID integer, EMAIL varchar2(50) not null, SALARY number(8,2), "
      "HIRED date default sysdate not null, constraint EMPLOYEES_MANAGER_FK foreign key "
      "(MANAGER_ID) references EMPLOYEES on delete set null, constraint EMPLOYEES_SALARY_CK "
      "check (SALARY > 0))",
      "create table DEPARTMENTS (DEPT_ID number(4) constraint DEPARTMENTS_PK primary key, "
      "NAME varchar2(30) not null, HEAD_ID integer constraint DEPARTMENTS_HEAD_FK references "
      "EMPLOYEES deferrable initially deferred)",
      "alter table EMPLOYEES add constraint EMPLOYEES_DEPT_FK foreign key (DEPT_ID) references "
      "DEPARTMENTS (DEPT_ID)",
      "create table ORDERS (ORDER_ID integer primary key, ORDER_NO varchar2(20) "
      "constraint ORDERS_NO_NN not null, CUSTOMER_ID smallint, STATUS char(1) default 'N' "
      "not null, constraint SYS_FLAG_CK check (STATUS in ('N', 'S', 'C')))",
      "create unique index ORDERS_NO_IX on ORDERS (ORDER_NO)",
      "alter table ORDERS add constraint ORDERS_NO_UK unique (ORDER_NO) using index "
      "ORDERS_NO_IX",
      "create table CUSTOMERS (CUSTOMER_ID number(*,0) primary key, PHONE varchar2(20), "
      "EMAIL varchar2(50), PARENT_ID number(*,0), check (PHONE is not null or EMAIL is not "
      "null), constraint CUSTOMERS_PHONE_CK check (PHONE <> EMAIL) disable, "
      "constraint CUSTOMERS_PARENT_FK foreign key (PARENT_ID) references CUSTOMERS "
      "disable)",
      "alter table ORDERS add constraint ORDERS_CUSTOMER_FK foreign key (CUSTOMER_ID) "
      "references CUSTOMERS (CUSTOMER_ID) on delete cascade enable novalidate",
      "create table ORDER_LINES (ORDER_ID integer, LINE_NO number(3), QTY number(6) "
      "constraint ORDER_LINES_QTY_CK check (QTY > 0), PRICE number(10,2), DISCOUNT "
      "number(4,2), constraint ORDER_LINES_PK primary key (ORDER_ID, LINE_NO), "
      "constraint ORDER_LINES_ORDER_FK foreign key (ORDER_ID) references ORDERS on delete "
      "cascade, constraint ORDER_LINES_PRICE_CK check (PRICE >= 0 and DISCOUNT >= 0 and "
      "DISCOUNT < 100 and (PRICE * (100 - DISCOUNT)) / 100 < 1000000 and QTY * PRICE < "
      "99999999))",
      "create table PRODUCTS (PRODUCT_ID number(8) primary key, LABEL varchar2(400) default " +
          LongDefault +
          " not null, CATEGORY varchar2(10), RATING float(63), WEIGHT number, PICTURE raw(16), "
          "LOCAL_NAME nvarchar2(100), SIZE_CODE nchar(2) default 'M')",
      "create bitmap index PRODUCTS_CATEGORY_BX on PRODUCTS (CATEGORY)",
      "create index PRODUCTS_RATING_IX on PRODUCTS (RATING desc, WEIGHT)",
      "create table \"Product Notes\" (\"Note Id\" number(6) constraint \"Product Notes PK\" "
      "primary key, PRODUCT_ID number(8) constraint \"notes_product_fk\" references "
      "PRODUCTS, \"body\" varchar2(200) default 'none')",
      "create table SETTINGS (NAME varchar2(30) constraint SETTINGS_UK unique, VALUE "
      "varchar2(100), ORDER_NO varchar2(20) constraint SETTINGS_ORDER_FK references ORDERS "
      "(ORDER_NO), constraint SETTINGS_VALUE_CK check (VALUE in ('ON', 'OFF', 'NOT SET')))",
      "create table TAGS (TAG_ID number(6), NAME varchar2(30), constraint TAGS_PK primary key "
      "(TAG_ID) using index pctfree 5 initrans 3 maxtrans 100 tablespace USERS)",
      "create table PRODUCT_TAGS (PRODUCT_ID number(8) constraint PRODUCT_TAGS_PRODUCT_FK "
      "references PRODUCTS on delete cascade, TAG_ID number(6) references TAGS, "
      "constraint PRODUCT_TAGS_PK primary key (PRODUCT_ID, TAG_ID))",
      "create table AUDIT_TRAIL (LOGGED date not null, ACTION varchar2(10), DETAIL "
      "varchar2(4000)) pctfree 20 pctused 50 storage (initial 2097152 next 10000 "
      "pctincrease 5)",
      "create index AUDIT_TRAIL_IX on AUDIT_TRAIL (LOGGED desc) pctfree 30 initrans 4",
      "create table INVOICES (INVOICE_ID number generated by default on null as identity "
      "(start with 100 increment by 5 cache 10), "
      "CODE varchar2(10 char) not null, FLAG char(1 char) default 'Y', QTY number(6), "
      "PRICE number(10,2), TOTAL number generated always as (QTY * PRICE) virtual, "
      "constraint INVOICES_PK primary key (INVOICE_ID))",
      "create index INVOICES_CODE_FX on INVOICES (upper(CODE), QTY desc)",
      "comment on table INVOICES is 'Invoices, one per order; ''draft'' ones too'",
      "comment on column INVOICES.CODE is 'The customer''s code'",
      "comment on column \"Product Notes\".\"body\" is 'Free text'",
      "create table LOOKUP (CODE varchar2(10) constraint LOOKUP_PK primary key, LABEL "
      "varchar2(40) not null) organization index",
      "create global temporary table SCRATCH (ID number, NOTE varchar2(100)) on commit "
      "preserve rows",
      "create global temporary table WORK_ROWS (ID number) on commit delete rows",
      // A key that took over an index of its own name made before it.
      "create table CODES (CODE varchar2(5), LABEL varchar2(20))",
      "create index CODES_PK on CODES (CODE)",
      "alter table CODES add constraint CODES_PK primary key (CODE)",
      "create table SERIALS (SERIAL number generated always as identity (nocache cycle maxvalue "
      "999), NOTE varchar2(20))",
  };
}

bool Holds(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

TEST(FixtureRoundTripTest, ReplayedScriptRebuildsTheSameDictionary) {
  const SchemaRoundTrip trip = RoundTripSchema(FixtureStatements(), TableDictionaryViews());
  EXPECT_TRUE(trip.messages.empty()) << trip.messages.front();
  EXPECT_EQ(trip.replay.status, 0) << trip.replay.output << trip.sourceReport;
  EXPECT_EQ(trip.replay.output, "");
  EXPECT_EQ(DictionaryDifferences(trip.source, trip.target), "") << trip.sourceReport;
  // A second round scripts the rebuilt schema exactly as the first.
  EXPECT_EQ(WithoutGeneratedNumbers(trip.targetReport), WithoutGeneratedNumbers(trip.sourceReport));

  // The comparison saw what the fixture holds.
  const auto& constraints = trip.source.rows.at("user_constraints");
  EXPECT_TRUE(Holds(constraints,
                    "ORDERS|ORDERS_CUSTOMER_FK|R||APP|<generated>|CASCADE|ENABLED|NOT "
                    "DEFERRABLE|IMMEDIATE|NOT VALIDATED|USER NAME|"))
      << ::testing::PrintToString(constraints);
  EXPECT_TRUE(Holds(constraints,
                    "ORDERS|ORDERS_NO_UK|U|||||ENABLED|NOT DEFERRABLE|IMMEDIATE|VALIDATED|USER "
                    "NAME|ORDERS_NO_IX"));
  EXPECT_TRUE(Holds(constraints,
                    "CUSTOMERS|CUSTOMERS_PHONE_CK|C|PHONE <> EMAIL||||DISABLED|NOT "
                    "DEFERRABLE|IMMEDIATE|NOT VALIDATED|USER NAME|"));
  EXPECT_TRUE(Holds(constraints,
                    "CUSTOMERS|<generated>|C|PHONE is not null or EMAIL is not null||||ENABLED|NOT "
                    "DEFERRABLE|IMMEDIATE|VALIDATED|GENERATED NAME|"));
  EXPECT_TRUE(Holds(
      trip.source.rows.at("user_indexes"),
      "PRODUCTS|PRODUCTS_CATEGORY_BX|BITMAP|NONUNIQUE|DISABLED||USERS|2|255|10|N|YES|VISIBLE|NO"));
  EXPECT_TRUE(Holds(constraints,
                    "DEPARTMENTS|DEPARTMENTS_HEAD_FK|R||APP|EMPLOYEES_PK|NO "
                    "ACTION|ENABLED|DEFERRABLE|DEFERRED|VALIDATED|USER NAME|"));
  EXPECT_FALSE(trip.source.rows.at("user_ind_expressions").empty());
  EXPECT_FALSE(trip.source.rows.at("user_col_comments").empty());
  EXPECT_FALSE(trip.source.rows.at("user_tab_identity_cols").empty());
  EXPECT_GE(trip.source.rows.at("user_tables").size(), 12u);
}

}  // namespace
