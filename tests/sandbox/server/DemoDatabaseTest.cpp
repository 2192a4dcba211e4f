// The demo database: it builds from the embedded scripts and answers the
// dictionary queries that scripting sends, with the rows its scripts imply.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class DemoDatabaseTest : public ::testing::Test {
 protected:
  static std::shared_ptr<Database> Demo() {
    OraError error;
    auto database = AttachDatabase("demo", error);
    EXPECT_TRUE(database) << "ORA-" << error.code << ": " << error.message;
    return database;
  }
  ServerTestSession demo{Demo(), "DEMO", "demo"};
  MapBinds Binds(const std::string& name, const std::string& type = "") {
    return MapBinds{{"BIND1", Value::Text("DEMO")}, {"BIND2", Value::Text(name)},
                    {"OWNER", Value::Text("DEMO")}, {"NAME", Value::Text(name)},
                    {"OBJNAME", Value::Text(name)}, {"TYPE", Value::Text(type)}};
  }
};

TEST_F(DemoDatabaseTest, CatalogListings) {
  EXPECT_EQ(demo.Value1("select global_name from sys.global_name"), "DEMO");
  EXPECT_EQ(demo.Rows("SELECT username FROM all_users"),
            (std::vector<std::string>{"SYS", "SYSTEM", "DEMO", "REPORT"}));
  EXPECT_EQ(
      demo.Rows("SELECT table_name from all_catalog where owner = 'DEMO' and table_type = 'TABLE'"),
      (std::vector<std::string>{"DEPARTMENTS", "EMPLOYEES", "PRODUCTS", "ORDERS", "ORDER_LINES",
                                "DOCUMENTS"}));
  EXPECT_EQ(
      demo.Rows("SELECT table_name from all_catalog where owner = 'DEMO' and table_type = 'VIEW'"),
      (std::vector<std::string>{"EMPLOYEE_DIRECTORY", "DEPARTMENT_BUDGET", "OPEN_ORDERS"}));
  const char* const kinds[][2] = {{"PROCEDURE", "RAISE_SALARY"}, {"FUNCTION", "EMPLOYEE_COUNT"},
                                  {"PACKAGE", "HR_UTIL"},        {"PACKAGE BODY", "HR_UTIL"},
                                  {"TYPE", "ADDRESS_T"},         {"TYPE BODY", "ADDRESS_T"}};
  for (const auto& kind : kinds)
    EXPECT_EQ(
        demo.Rows(
            std::string(
                "select object_name from all_objects where owner = 'DEMO' and object_type = '") +
            kind[0] + "' order by object_name"),
        (std::vector<std::string>{kind[1]}))
        << kind[0];
  EXPECT_EQ(demo.Rows("select object_name from all_objects where owner = 'DEMO' and object_type = "
                      "'TRIGGER' order by "
                      "object_name"),
            (std::vector<std::string>{"DEPARTMENTS_AUDIT", "EMPLOYEES_BI", "ORDERS_STATUS_AU",
                                      "PRODUCTS_PRICE_BU"}));
}

TEST_F(DemoDatabaseTest, TableBlockCursors) {
  MapBinds binds = Binds("DEPARTMENTS");
  EXPECT_EQ(
      demo.Rows(
          "select upper(owner), upper(table_name), pct_free, pct_used, ini_trans, max_trans, "
          "tablespace_name, initial_extent, next_extent, min_extents, max_extents, freelists, "
          "freelist_groups, pct_increase from all_tables where owner != 'SYS' AND owner = :bind1 "
          "AND "
          "table_name = :bind2 order by owner, table_name",
          binds),
      (std::vector<std::string>{"DEMO|DEPARTMENTS|10|40|1|255|USERS|65536|1048576|1|121|1|1|0"}));
  EXPECT_EQ(demo.Rows("select owner, upper(column_name), upper(data_type), data_length, "
                      "data_precision, data_scale, "
                      "nullable, default_length, data_default, column_id from all_tab_columns "
                      "where table_name = "
                      "'DEPARTMENTS' and owner = 'DEMO' order by column_id"),
            (std::vector<std::string>{
                "DEMO|DEPT_ID|NUMBER|22|4|0|N|||1", "DEMO|DEPT_NAME|VARCHAR2|30|||N|||2",
                "DEMO|LOCATION|VARCHAR2|40|||Y|||3", "DEMO|BUDGET|NUMBER|22|12|2|Y|1|0|4",
                "DEMO|CREATED|DATE|7|||N|8|sysdate |5"}));
  EXPECT_EQ(demo.Rows("select upper(data_type), data_length, data_scale from all_tab_columns where "
                      "table_name = "
                      "'DOCUMENTS' and owner = 'DEMO' order by column_id"),
            (std::vector<std::string>{"NUMBER|22|", "VARCHAR2|100|", "CLOB|4000|", "BLOB|4000|",
                                      "BFILE|530|", "LONG|0|", "RAW|16|", "TIMESTAMP(6)|11|6"}));
}

TEST_F(DemoDatabaseTest, ConstraintBlockCursors) {
  MapBinds binds = Binds("EMPLOYEES");
  const auto rows = demo.Rows(
      "select upper(t.owner), upper(t.table_name), t.pct_free, t.pct_used, t.ini_trans, "
      "t.max_trans, "
      "t.tablespace_name, t.initial_extent, t.next_extent, t.min_extents, t.max_extents, "
      "t.freelists, "
      "t.freelist_groups, t.pct_increase, upper(c.constraint_name) constr_name, "
      "DECODE(constraint_type,'C','CHECK','P','PRIMARY KEY','R','FOREIGN "
      "KEY','U','UNIQUE',constraint_type) "
      "constr_type, c.search_condition search_cond, c.R_owner, c.R_constraint_name from all_tables "
      "t,all_constraints "
      "c where t.owner = :bind1 AND t.table_name = :bind2 AND t.table_name = c.table_name AND "
      "t.owner = c.owner "
      "order by DECODE(constraint_type,'P',1,'U',2,'R',3,'C',4,5), t.owner, t.table_name",
      binds);
  ASSERT_EQ(rows.size(), 7u);
  const std::string table = "DEMO|EMPLOYEES|15|60|2|128|USERS|131072|262144|1|2147483645|1|1|0|";
  EXPECT_EQ(rows[0], table + "EMPLOYEES_PK|PRIMARY KEY|||");
  EXPECT_EQ(rows[1], table + "EMPLOYEES_EMAIL_UK|UNIQUE|||");
  // The two foreign keys tie in the cursor's order, which leaves theirs open.
  const bool managerFirst = rows[2].find("EMPLOYEES_MANAGER_FK") != std::string::npos;
  EXPECT_EQ(rows[managerFirst ? 2 : 3],
            table + "EMPLOYEES_MANAGER_FK|FOREIGN KEY||DEMO|EMPLOYEES_PK");
  EXPECT_NE(rows[managerFirst ? 3 : 2].find("|FOREIGN KEY||DEMO|DEPARTMENTS_PK"),
            std::string::npos);
  EXPECT_NE(rows[4].find("|CHECK|\"LAST_NAME\" IS NOT NULL||"), std::string::npos);
  EXPECT_NE(rows[6].find("|CHECK|salary > 0||"), std::string::npos);
  EXPECT_EQ(demo.Rows("select column_name from all_cons_COLUMNS where table_name = 'ORDER_LINES' "
                      "and owner = 'DEMO' "
                      "and constraint_name = 'ORDER_LINES_PK' order by position"),
            (std::vector<std::string>{"ORDER_ID", "LINE_NO"}));
  EXPECT_EQ(demo.Value1("select table_name from all_constraints where constraint_name = "
                        "'DEPARTMENTS_PK' and owner = "
                        "'DEMO'"),
            "DEPARTMENTS");
  EXPECT_EQ(
      demo.Value1(
          "select owner, index_name, uniqueness, tablespace_name, ini_trans, max_trans, pct_free, "
          "pct_increase, initial_extent, next_extent from all_indexes where owner = 'DEMO' AND "
          "table_name LIKE 'ORDERS' AND index_name LIKE 'ORDERS_PK' ORDER BY 1,2"),
      "DEMO|ORDERS_PK|UNIQUE|USERS|2|255|20|0|65536|1048576");
}

TEST_F(DemoDatabaseTest, IndexBlockCursorOfBothReleaseClasses) {
  const std::string head =
      "select upper(t.owner) a, upper(t.table_name) b, upper(i.index_name) c, i.pct_free d, "
      "t.pct_used e, "
      "i.ini_trans f, i.max_trans g, i.tablespace_name h, i.initial_extent i, i.next_extent j, "
      "i.min_extents k, "
      "i.max_extents l, i.freelists m, i.freelist_groups n, i.pct_increase o,\n";
  const std::string tail =
      "\t\tdecode(nvl(i.uniqueness,'NOT'),'UNIQUE','UNIQUE ','') uniq from all_tables "
      "t,all_indexes i where "
      "t.table_name = i.table_name AND t.owner = i.owner\n";
  const std::string rest =
      " AND t.owner = :bind1 AND t.table_name = :bind2 AND i.index_name NOT IN (SELECT "
      "c.constraint_name from "
      "all_constraints c WHERE c.constraint_type IN ('P','U') AND c.table_name = t.table_name) "
      "order by t.owner, "
      "t.table_name, i.index_name";
  MapBinds employees = Binds("EMPLOYEES");
  EXPECT_EQ(demo.Rows(head + "\t\ti.compression compr,\n\t\ti.prefix_length pref,\n" + tail + rest,
                      employees),
            (std::vector<std::string>{"DEMO|EMPLOYEES|EMPLOYEES_DEPT_IX|20|60|4|255|USERS|65536|"
                                      "1048576|1|2147483645|1|1|0|DISABLED||",
                                      "DEMO|EMPLOYEES|EMPLOYEES_NAME_IX|10|60|2|255|USERS|65536|"
                                      "1048576|1|2147483645|1|1|0|ENABLED|1|"}));
  MapBinds products = Binds("PRODUCTS");
  EXPECT_EQ(demo.Rows(head + "\t\t'DISABLED' compr,\n\t\t10 pref,\n" + tail +
                          "\tAND i.index_name in ('PRODUCTS_DESCRIPTION_UK', 'NO_SUCH')\n" + rest,
                      products),
            (std::vector<std::string>{"DEMO|PRODUCTS|PRODUCTS_DESCRIPTION_UK|10|40|2|255|USERS|"
                                      "65536|1048576|1|2147483645|1|1|0|DISABLED|10|"
                                      "UNIQUE "}));
  EXPECT_EQ(demo.Rows("select column_name from all_ind_COLUMNS where table_name = 'EMPLOYEES' and "
                      "index_owner = "
                      "'DEMO' and index_name = 'EMPLOYEES_NAME_IX' order by column_position"),
            (std::vector<std::string>{"LAST_NAME", "FIRST_NAME"}));
}

TEST_F(DemoDatabaseTest, StoredSourceViewsAndTriggers) {
  MapBinds body = Binds("ADDRESS_T", "TYPE BODY");
  const auto lines = demo.Rows(
      "select text from all_source where owner = :owner and name = :name and type = :type order by "
      "line asc",
      body);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "type body address_t as\n");
  EXPECT_EQ(lines[5], "end;");
  MapBinds view = Binds("EMPLOYEE_DIRECTORY");
  EXPECT_EQ(demo.Rows("select column_name from all_tab_columns where owner = :owner and table_name "
                      "= :name order by "
                      "column_id asc",
                      view),
            (std::vector<std::string>{"EMP_ID", "FULL_NAME", "EMAIL", "DEPT_NAME"}));
  EXPECT_EQ(
      demo.Value1("SELECT text FROM all_views WHERE owner = :bind1 and view_name= :bind2", view),
      "select e.emp_id, e.first_name || ' ' || e.last_name full_name, e.email, d.dept_name\n  from "
      "employees "
      "e, departments d\n where e.dept_id = d.dept_id");
  MapBinds trigger = Binds("EMPLOYEES_BI");
  EXPECT_EQ(
      demo.Value1(
          "select description from all_triggers where owner = :owner and trigger_name = :objname",
          trigger),
      "employees_bi\nbefore insert on employees\nfor each row\n");
  EXPECT_EQ(demo.Value1(
                "SELECT trigger_body FROM all_triggers WHERE owner=:bind1 and trigger_name=:bind2",
                trigger),
            "begin\n  :new.hire_date := sysdate;\nend;");
}

TEST_F(DemoDatabaseTest, SequenceStatements) {
  EXPECT_EQ(
      demo.Rows(
          "select 'CREATE SEQUENCE '||sequence_name||' INCREMENT BY '||increment_by||' START WITH "
          "'||(last_number+increment_by)||decode(max_value,999999999999999999999999999,' "
          "NOMAXVALUE',' "
          "MAXVALUE '||max_value)||' MINVALUE '||min_value||decode(cycle_flag,'N',' NOCYCLE',' "
          "CYCLE')||decode(cache_size,0,' NOCACHE',' CACHE '||cache_size)||decode(order_flag,'N',' "
          "NOORDER;',' ORDER;') from all_sequences where sequence_owner = 'DEMO' order by "
          "sequence_name"),
      (std::vector<std::string>{
          "CREATE SEQUENCE DEPARTMENTS_SEQ INCREMENT BY 10 START WITH 110 MAXVALUE "
          "9999999999999999999999999999 MINVALUE 1 NOCYCLE NOCACHE NOORDER;",
          "CREATE SEQUENCE EMPLOYEES_SEQ INCREMENT BY 1 START WITH 1001 MAXVALUE "
          "9999999999999999999999999999 "
          "MINVALUE 1 NOCYCLE CACHE 50 NOORDER;",
          "CREATE SEQUENCE INVOICE_SEQ INCREMENT BY -1 START WITH -1 MAXVALUE 0 MINVALUE -1000 "
          "CYCLE CACHE 10 "
          "NOORDER;",
          "CREATE SEQUENCE ORDERS_SEQ INCREMENT BY 1 START WITH 2 MAXVALUE 999999 MINVALUE 1 "
          "NOCYCLE CACHE 20 "
          "ORDER;"}));
}

TEST_F(DemoDatabaseTest, PrivilegeListings) {
  EXPECT_EQ(
      demo.Rows(
          "select substr(privilege||'                                        ',0,41) || ' ' || "
          "substr(admin_option||'            ',0,13) from user_sys_privs order by privilege")[1],
      "CREATE SESSION                            YES          ");
  EXPECT_EQ(
      demo.Rows(
          "select substr(granted_role||'                                        ',0,41) || ' ' || "
          "substr(admin_option||'            ',0,13)  || ' ' || substr(default_role||'            "
          "',0,13) "
          "|| ' ' || os_granted from user_role_privs order by granted_role"),
      (std::vector<std::string>{
          "CONNECT                                   NO            YES           NO",
          "RESOURCE                                  NO            YES           NO"}));
  const auto objects = demo.Rows(
      "select substr(privilege||'                                   ',0,41) || ' ' || "
      "substr(table_name||'         "
      "                          ',0,31) || ' ' || substr(table_schema||'                          "
      "         ',0,31) "
      "|| ' ' || substr(grantee||'                                   ',0,31) || ' ' || "
      "substr(grantor||'          "
      "                         ',0,31) || ' ' || grantable from all_tab_privs where grantee = "
      "'REPORT' order by "
      "privilege,table_name");
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(objects[0].substr(0, 50), "EXECUTE                                   HR_UTIL ");
  EXPECT_EQ(objects[1].substr(170), "YES");
  EXPECT_EQ(objects[1].substr(106, 7), "REPORT ");
}

TEST_F(DemoDatabaseTest, DataRowsForInsertStatements) {
  EXPECT_EQ(demo.Value1("select count(*) from DEMO.EMPLOYEES"), "120");
  EXPECT_GE(std::stoi(demo.Value1(
                "select (select count(*) from orders) + (select count(*) from order_lines) + "
                "(select count(*) from products) from dual")),
            250);
  EXPECT_EQ(demo.Exec("alter session set nls_date_format = 'MM/DD/YYYY HH24:MI'"), 0);
  EXPECT_EQ(demo.Value1("select \"LAST_NAME\", \"HIRE_DATE\", \"COMMISSION\", \"GRADE\" from "
                        "DEMO.EMPLOYEES where "
                        "emp_id = 3"),
            "Martin|04/10/1998 15:33|.15|");
  EXPECT_EQ(
      demo.Value1(
          "select \"TITLE\", '-lob not shown-', \"CHECKSUM\" from DEMO.DOCUMENTS where doc_id = 1"),
      "Employee handbook|-lob not shown-|00112233445566778899AABBCCDDEEFF");
  EXPECT_GT(demo.Value1("select notes from documents where doc_id = 1").size(), 2000u);
  EXPECT_EQ(demo.Exec("delete from open_orders"), 1732);
  EXPECT_EQ(demo.Value1("select index_type from all_indexes where index_name = 'ORDERS_STATUS_IX'"),
            "BITMAP");
  EXPECT_EQ(demo.Value1("select count(*) from employees where last_name like 'O''%'"), "6");
}

}  // namespace
}  // namespace sandbox::test
