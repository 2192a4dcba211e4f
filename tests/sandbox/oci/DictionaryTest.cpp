// The dictionary views as a client reads them after a DDL script run through
// the entry points.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "OciTestClient.h"
#include "sandbox/tools/ScriptRunner.h"
#include "sandbox/tools/ScriptSplitter.h"

namespace sandbox::testing {
namespace {

const char kShopScript[] = R"(
create user shop identified by secret;
grant connect, resource to shop;
grant create view to shop with admin option;
create user clerk identified by clerk;
create table shop.customers (
  id number(10) constraint customers_pk primary key,
  name varchar2(40) not null,
  email varchar2(80) default 'none' unique,
  created date,
  notes long
) pctfree 20 tablespace users;
create table shop.orders (
  id number(10) primary key,
  customer_id number(10) not null constraint orders_customer_fk references shop.customers (id),
  amount number(9,2) constraint orders_amount_ck check (amount > 0)
);
create index shop.orders_customer_ix on shop.orders (customer_id, amount) compress 1;
create sequence shop.order_seq start with 100 increment by 5 maxvalue 100000 cycle cache 10;
create view shop.big_orders as select id, amount from shop.orders where amount > 100;
create or replace trigger shop.orders_bi before insert on shop.orders for each row
begin
  :new.amount := nvl(:new.amount, 1);
end;
/
create or replace procedure shop.touch(p_id in number) is
begin
  update shop.orders set amount = amount where id = p_id;
end;
/
grant select on shop.customers to clerk with grant option;
insert into shop.customers (id, name) values (1, 'Ann');
commit;
)";

class SandboxOciDictionary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    system_ = new TestConnection;
    ASSERT_TRUE(system_->ConnectFresh("DICT")) << system_->LastErrorText();
    std::ostringstream rows;
    std::ostringstream errors;
    tools::ScriptRunner runner(Oci(), *system_, rows, errors);
    ASSERT_EQ(runner.Run("shop.sql", tools::SplitScript(kShopScript)), 0) << errors.str();
  }
  static void TearDownTestSuite() {
    delete system_;
    system_ = nullptr;
  }
  static std::vector<std::string> Rows(const std::string& sql) { return system_->Rows(sql); }

  static TestConnection* system_;
};

TestConnection* SandboxOciDictionary::system_ = nullptr;

using Lines = std::vector<std::string>;

TEST_F(SandboxOciDictionary, UsersObjectsAndCatalogListTheNewSchema) {
  EXPECT_EQ(Rows("select username from all_users where username in ('SHOP', 'CLERK') "
                 "order by username"),
            (Lines{"CLERK", "SHOP"}));
  EXPECT_EQ(Rows("select object_name, object_type from all_objects where owner = 'SHOP' "
                 "and object_type in ('TABLE','VIEW','SEQUENCE','TRIGGER','PROCEDURE') "
                 "order by object_name"),
            (Lines{"BIG_ORDERS|VIEW", "CUSTOMERS|TABLE", "ORDERS|TABLE", "ORDERS_BI|TRIGGER",
                   "ORDER_SEQ|SEQUENCE", "TOUCH|PROCEDURE"}));
  EXPECT_EQ(Rows("SELECT table_name from all_catalog where owner = 'SHOP' "
                 "and table_type = 'VIEW'"),
            (Lines{"BIG_ORDERS"}));
  EXPECT_EQ(Rows("select count(*) from all_catalog where owner = 'SHOP' and table_type = 'TABLE'"),
            (Lines{"2"}));
}

TEST_F(SandboxOciDictionary, TablesAndColumnsCarryStorageDefaultsAndTypes) {
  EXPECT_EQ(Rows("select table_name, pct_free, pct_used, ini_trans, max_trans, tablespace_name "
                 "from all_tables where owner = 'SHOP' order by table_name"),
            (Lines{"CUSTOMERS|20|40|1|255|USERS", "ORDERS|10|40|1|255|USERS"}));
  EXPECT_EQ(
      Rows("select column_name, data_type, data_length, data_precision, data_scale, "
           "nullable from all_tab_columns where owner = 'SHOP' and table_name = 'ORDERS' "
           "order by column_id"),
      (Lines{"ID|NUMBER|22|10|0|N", "CUSTOMER_ID|NUMBER|22|10|0|N", "AMOUNT|NUMBER|22|9|2|Y"}));
  // The default is kept as written (Oracle may keep a blank after it).
  Lines emailDefault = Rows(
      "select data_default from all_tab_columns where owner = 'SHOP' "
      "and table_name = 'CUSTOMERS' and column_name = 'EMAIL'");
  ASSERT_EQ(emailDefault.size(), 1u);
  EXPECT_EQ(emailDefault[0].find("'none'"), 0u) << emailDefault[0];
}

TEST_F(SandboxOciDictionary, ConstraintsIncludeSystemNamedNotNullChecks) {
  EXPECT_EQ(Rows("select constraint_type, count(*) from all_constraints where owner = 'SHOP' "
                 "and table_name = 'CUSTOMERS' group by constraint_type order by constraint_type"),
            (Lines{"C|1", "P|1", "U|1"}));
  EXPECT_EQ(Rows("select search_condition from all_constraints where owner = 'SHOP' and "
                 "table_name = 'CUSTOMERS' and constraint_type = 'C'"),
            (Lines{"\"NAME\" IS NOT NULL"}));
  EXPECT_EQ(Rows("select count(*) from all_constraints where owner = 'SHOP' and "
                 "table_name = 'CUSTOMERS' and constraint_type = 'U' "
                 "and constraint_name like 'SYS_C%'"),
            (Lines{"1"}));
  EXPECT_EQ(Rows("select r_constraint_name from all_constraints where owner = 'SHOP' "
                 "and constraint_name = 'ORDERS_CUSTOMER_FK'"),
            (Lines{"CUSTOMERS_PK"}));
  EXPECT_EQ(Rows("select column_name, position from all_cons_columns where owner = 'SHOP' "
                 "and constraint_name = 'CUSTOMERS_PK'"),
            (Lines{"ID|1"}));
}

TEST_F(SandboxOciDictionary, IndexesShowCompressionAndColumnOrder) {
  EXPECT_EQ(Rows("select uniqueness, compression, prefix_length from all_indexes "
                 "where owner = 'SHOP' and index_name = 'ORDERS_CUSTOMER_IX'"),
            (Lines{"NONUNIQUE|ENABLED|1"}));
  EXPECT_EQ(Rows("select column_name, column_position from all_ind_columns where index_owner = "
                 "'SHOP' and index_name = 'ORDERS_CUSTOMER_IX' order by column_position"),
            (Lines{"CUSTOMER_ID|1", "AMOUNT|2"}));
  // The primary key made its own unique index, named after the constraint.
  EXPECT_EQ(Rows("select uniqueness from all_indexes where owner = 'SHOP' "
                 "and index_name = 'CUSTOMERS_PK'"),
            (Lines{"UNIQUE"}));
}

TEST_F(SandboxOciDictionary, SequencesViewsTriggersAndSource) {
  EXPECT_EQ(Rows("select min_value, max_value, increment_by, cycle_flag, cache_size "
                 "from all_sequences where sequence_owner = 'SHOP'"),
            (Lines{"1|100000|5|Y|10"}));
  Lines view = Rows("SELECT text FROM all_views WHERE owner = 'SHOP' and view_name = 'BIG_ORDERS'");
  ASSERT_EQ(view.size(), 1u);
  EXPECT_NE(view[0].find("amount > 100"), std::string::npos) << view[0];
  EXPECT_EQ(Rows("select trigger_type, triggering_event, table_name from all_triggers "
                 "where owner = 'SHOP' and trigger_name = 'ORDERS_BI'"),
            (Lines{"BEFORE EACH ROW|INSERT|ORDERS"}));
  Lines body = Rows(
      "SELECT trigger_body FROM all_triggers WHERE owner = 'SHOP' "
      "and trigger_name = 'ORDERS_BI'");
  ASSERT_FALSE(body.empty());
  EXPECT_EQ(body[0], "begin");
  EXPECT_EQ(Rows("select line from all_source where owner = 'SHOP' and name = 'TOUCH' "
                 "and type = 'PROCEDURE' order by line asc"),
            (Lines{"1", "2", "3", "4"}));
  EXPECT_EQ(Rows("select text from all_source where owner = 'SHOP' and name = 'TOUCH' "
                 "and line = 4"),
            (Lines{"end;"}));
}

TEST_F(SandboxOciDictionary, SequenceStatementIsComposedByTheDictionaryQuery) {
  EXPECT_EQ(
      Rows("select 'CREATE SEQUENCE '||sequence_name||' INCREMENT BY '||increment_by||"
           "' START WITH '||(last_number+increment_by)||"
           "decode(max_value,999999999999999999999999999,' NOMAXVALUE',' MAXVALUE '||max_value)||"
           "' MINVALUE '||min_value||decode(cycle_flag,'N',' NOCYCLE',' CYCLE')||"
           "decode(cache_size,0,' NOCACHE',' CACHE '||cache_size)||"
           "decode(order_flag,'N',' NOORDER;',' ORDER;') from all_sequences "
           "where sequence_owner = 'SHOP' order by sequence_name"),
      (Lines{"CREATE SEQUENCE ORDER_SEQ INCREMENT BY 5 START WITH 105 MAXVALUE 100000 MINVALUE 1 "
             "CYCLE CACHE 10 NOORDER;"}));
}

std::string Padded(const std::string& text, std::size_t width) {
  return (text + std::string(width, ' ')).substr(0, width);
}

TEST_F(SandboxOciDictionary, PrivilegesAndSegmentsAsTheSchemaOwnerSeesThem) {
  TestConnection shop;
  ASSERT_TRUE(shop.Connect("shop", "secret", system_->database)) << shop.LastErrorText();
  // SYSTEM granted through GRANT ANY OBJECT PRIVILEGE, so in the owner's
  // name: the owner sees the grant, SYSTEM (neither grantor nor grantee) not.
  EXPECT_EQ(shop.Rows("select privilege, table_name, grantee, grantor, grantable from "
                      "all_tab_privs where grantee = 'CLERK'"),
            (Lines{"SELECT|CUSTOMERS|CLERK|SHOP|YES"}));
  EXPECT_EQ(Rows("select count(*) from all_tab_privs where grantee = 'CLERK'"), (Lines{"0"}));
  EXPECT_EQ(shop.Rows("select privilege, admin_option from user_sys_privs "
                      "where privilege = 'CREATE VIEW'"),
            (Lines{"CREATE VIEW|YES"}));
  EXPECT_EQ(shop.Rows("select granted_role from user_role_privs order by granted_role"),
            (Lines{"CONNECT", "RESOURCE"}));
  // The padded listing the privilege scripting reads, SUBSTR from position 0 included.
  Lines privileges = shop.Rows(
      "select substr(privilege||'                                        ',0,41) || ' ' || "
      "substr(admin_option||'            ',0,13) from user_sys_privs order by privilege");
  EXPECT_NE(std::find(privileges.begin(), privileges.end(),
                      Padded("CREATE VIEW", 41) + " " + Padded("YES", 13)),
            privileges.end());
  EXPECT_EQ(shop.Rows("select segment_type from user_segments where segment_name = 'CUSTOMERS'"),
            (Lines{"TABLE"}));
}

}  // namespace
}  // namespace sandbox::testing
