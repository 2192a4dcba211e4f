// A schema of object types, object tables and object views is scripted and
// replayed whole: the tables of a type come back as object tables with their
// keys, the view with its object identifier, and rows with object values as
// constructor calls, collections of scalars with their elements in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scripting/restore/ReplayFixture.h"

namespace {

using ObjectRoundTripTest = ReplayFixture;

// Attributes are read through an alias, as Oracle requires.
std::vector<DictionaryView> ObjectViews() {
  std::vector<DictionaryView> views = TableDictionaryViews();
  views.push_back({"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}});
  views.push_back({"user_object_tables",
                   {"TABLE_NAME", "OBJECT_ID_TYPE", "TABLE_TYPE_OWNER", "TABLE_TYPE", "NESTED"}});
  views.push_back(
      {"user_all_tables", {"TABLE_NAME", "TABLE_TYPE", "PCT_FREE", "TABLESPACE_NAME", "LOGGING"}});
  // TYPE_TEXT is the type as the statement spelled it.
  views.push_back({"user_views", {"VIEW_NAME", "OID_TEXT", "VIEW_TYPE_OWNER", "VIEW_TYPE"}});
  views.push_back(
      {"customers t",
       {"CUSTOMER_ID", "CUST_FIRST_NAME", "CUST_LAST_NAME", "CREDIT_LIMIT",
        "NVL2(CUST_ADDRESS, 'object', 'null')", "T.CUST_ADDRESS.STREET_ADDRESS",
        "T.CUST_ADDRESS.POSTAL_CODE", "T.CUST_ADDRESS.CITY", "T.CUST_ADDRESS.COUNTRY_ID"}});
  views.push_back({"customer_phones t",
                   {"CUSTOMER_ID", "NVL2(PHONE_NUMBERS, 'collection', 'null')",
                    "(SELECT COUNT(*) FROM TABLE(T.PHONE_NUMBERS))",
                    "(SELECT LISTAGG(COLUMN_VALUE, '|') WITHIN GROUP (ORDER BY ROWNUM) FROM "
                    "TABLE(T.PHONE_NUMBERS))"}});
  views.push_back({"product_tags t",
                   {"PRODUCT_ID", "(SELECT COUNT(*) FROM TABLE(T.TAGS))",
                    "(SELECT LISTAGG(NVL(COLUMN_VALUE, '-'), '|') WITHIN GROUP (ORDER BY "
                    "COLUMN_VALUE) FROM TABLE(T.TAGS))"}});
  views.push_back({"warehouses", {"WAREHOUSE_ID", "WAREHOUSE_NAME", "LOCATION_ID"}});
  views.push_back({"categories",
                   {"CATEGORY_ID", "CATEGORY_NAME", "CATEGORY_DESCRIPTION",
                    "TO_CHAR(OPENED, 'YYYY-MM-DD HH24:MI:SS')"}});
  views.push_back({"stock_moves t",
                   {"MOVE_ID", "NVL2(MOVED, 'object', 'null')", "T.MOVED.PRODUCT_ID",
                    "NVL2(T.MOVED.WAREHOUSE, 'object', 'null')", "T.MOVED.WAREHOUSE.WAREHOUSE_NAME",
                    "T.MOVED.QUANTITY"}});
  views.push_back({"inventory_ov t", {"PRODUCT_ID", "T.WAREHOUSE.WAREHOUSE_ID", "QUANTITY"}});
  return views;
}

TEST_F(ObjectRoundTripTest, ObjectTablesViewsAndValuesReplayWhole) {
  const std::string source = "file:" + (directory / "objects.db").string();
  const std::string target = "file:" + (directory / "objects-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/object_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;
  std::string errors;
  const std::string report = ScriptEverything("OT", "ot", source, BatchKindNames(), &errors);
  EXPECT_NE(report.find("CREATE TABLE WAREHOUSES OF WAREHOUSE_TYP"), std::string::npos) << report;
  EXPECT_NE(report.find("OBJECT IDENTIFIER IS PRIMARY KEY"), std::string::npos) << report;
  EXPECT_NE(report.find("OF INVENTORY_TYP WITH OBJECT IDENTIFIER (product_id)"), std::string::npos)
      << report;
  EXPECT_NE(report.find("CUST_ADDRESS_TYP('2515 Bloyd Ave', NULL, 'Indianapolis', 'IN', 'US')"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("PHONE_LIST_TYP('+1 317 123 4104', '+1 317 123 4111')"), std::string::npos)
      << report;
  EXPECT_EQ(errors.find("not scripted"), std::string::npos) << errors;

  const sandbox::testing::RunResult replay = Replay("OT", "ot", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");
  const DictionarySnapshot before = Snapshot("OT", "ot", source, ObjectViews());
  const DictionarySnapshot after = Snapshot("OT", "ot", target, ObjectViews());
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  EXPECT_EQ(after.rows.at("customers t").size(), 4u);
  EXPECT_EQ(after.rows.at("stock_moves t").size(), 3u);
  EXPECT_EQ(after.rows.at("categories").size(), 2u);
  EXPECT_EQ(after.rows.at("customer_phones t").size(), 3u);
  EXPECT_EQ(after.rows.at("user_object_tables").size(), 2u);
  for (const std::string& object : after.rows.at("user_objects")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
}

// A type hierarchy: what the dictionary says of it, and each row's own type,
// its subtype's attributes and the override its method runs.
std::vector<DictionaryView> HierarchyViews() {
  std::vector<DictionaryView> views = TableDictionaryViews();
  views.push_back({"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}});
  views.push_back(
      {"user_types", {"TYPE_NAME", "FINAL", "INSTANTIABLE", "SUPERTYPE_NAME", "TYPEID"}});
  views.push_back({"user_type_attrs", {"TYPE_NAME", "ATTR_NAME", "ATTR_NO", "INHERITED"}});
  views.push_back({"customers c",
                   {"CUSTOMER_ID", "CUST_LAST_NAME", "CREDIT_LIMIT", "SYS_TYPEID(VALUE(C))",
                    "TREAT(VALUE(C) AS CORPORATE_CUSTOMER_TYP).ACCOUNT_MGR_ID", "C.LABEL()"}});
  views.push_back(
      {"orders o",
       {"ORDER_ID", "TOTAL", "SYS_TYPEID(O.CUSTOMER)", "O.CUSTOMER.CUSTOMER_ID",
        "O.CUSTOMER.CREDIT_LIMIT", "TREAT(O.CUSTOMER AS CORPORATE_CUSTOMER_TYP).ACCOUNT_MGR_ID"}});
  views.push_back({"corporate_customers_v", {"CUSTOMER_ID", "CUST_LAST_NAME", "ACCOUNT_MGR_ID"}});
  return views;
}

TEST_F(ObjectRoundTripTest, SubtypeValuesReplayAsTheirOwnTypes) {
  const std::string source = "file:" + (directory / "hierarchy.db").string();
  const std::string target = "file:" + (directory / "hierarchy-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/inheritance_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;
  ASSERT_EQ(built.output, "");
  std::string errors;
  const std::string report = ScriptEverything("OI", "oi", source, BatchKindNames(), &errors);
  EXPECT_EQ(errors.find("not scripted"), std::string::npos) << errors;
  // A subtype's row of the object table is one constructor call of its type.
  EXPECT_NE(report.find("VALUES ( CORPORATE_CUSTOMER_TYP(102, 'Pacino', 200.5, 145))"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("CORPORATE_CUSTOMER_TYP(104, 'Taylor', 300, 147)"), std::string::npos)
      << report;

  const sandbox::testing::RunResult replay = Replay("OI", "oi", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "") << report;
  const DictionarySnapshot before = Snapshot("OI", "oi", source, HierarchyViews());
  const DictionarySnapshot after = Snapshot("OI", "oi", target, HierarchyViews());
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  EXPECT_EQ(after.rows.at("customers c").size(), 3u);
  EXPECT_EQ(after.rows.at("orders o").size(), 3u);
  EXPECT_EQ(after.rows.at("corporate_customers_v").size(), 1u);
  for (const std::string& object : after.rows.at("user_objects")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
}

}  // namespace
