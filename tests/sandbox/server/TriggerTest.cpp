// User triggers as DML fires them: row references as placeholders, values
// that pass through a row-by-row change unaltered, binds, row counts, and
// the trigger list kept current as DDL changes it.
#include <gtest/gtest.h>

#include "ServerTestSession.h"
#include "sandbox/server/triggers/RowReferences.h"
#include "sandbox/server/values/RowIdText.h"

namespace sandbox::test {
namespace {

TEST(TriggerTextTest, RowReferencesBecomePlaceholdersAndNothingElseDoes) {
  EXPECT_EQ(RowReferencesAsBinds("begin :new.id := :old.id + 1; end;", "NEW", "OLD", true),
            "begin :NEW$ID := :OLD$ID + 1; end;");
  // REFERENCING names replace NEW and OLD, in any case.
  EXPECT_EQ(RowReferencesAsBinds("begin :N.Qty := :o.qty; :new.x := 1; end;", "N", "O", true),
            "begin :NEW$QTY := :OLD$QTY; :new.x := 1; end;");
  // Text in strings and comments, other binds and dotted names stay.
  EXPECT_EQ(RowReferencesAsBinds("begin x := ':new.a'; -- :new.b\n :other.c := t.new.d; end;",
                                 "NEW", "OLD", true),
            "begin x := ':new.a'; -- :new.b\n :other.c := t.new.d; end;");
  // The WHEN condition names the row without a colon.
  EXPECT_EQ(RowReferencesAsBinds("new.qty > old.qty and t.new.x = 1", "NEW", "OLD", false),
            ":NEW$QTY > :OLD$QTY and t.new.x = 1");
  EXPECT_EQ(RowReferencesAsBinds("new > 0", "NEW", "OLD", false), "new > 0");
}

TEST(TriggerTextTest, RowNumbersComeBackFromTheirRowidText) {
  for (const std::int64_t number : {1LL, 65535LL, 65536LL, 123456789LL, (1LL << 47) + 3})
    EXPECT_EQ(RowNumberOf(RowIdText(number)), number) << number;
  EXPECT_EQ(RowNumberOf("AAAAAB"), -1);
  EXPECT_EQ(RowNumberOf("AAAAABAAB*AAAAAAAB"), -1);
}

class TriggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table item (id number primary key, name varchar2(20), price number(8,2),
        added date, stamp timestamp(6), changes number default 0);
      create table item_log (text varchar2(100));
      create or replace trigger item_count before update on item for each row
      begin
        :new.changes := :old.changes + 1;
      end;
      /
      create or replace trigger item_note after insert or update or delete on item
      begin
        insert into item_log values ('changed');
      end;
      /
    )");
  }
  ServerTestSession db;
};

TEST_F(TriggerTest, BindsReachTheRowsAndRowCountsAreTheStatements) {
  MapBinds binds{{"ID", Value::Integer(7)}, {"NAME", Value::Text("bolt")}};
  ASSERT_EQ(db.Exec("insert into item (id, name) values (:id, :name)", binds), 0)
      << db.LastError().message;
  EXPECT_EQ(db.LastRowCount(), 1u);
  ASSERT_EQ(db.Exec("insert into item (id, name) select id + 1, name || 'x' from item"), 0);
  ASSERT_EQ(db.Exec("insert into item (id, name) select id + 10, name from item"), 0);
  EXPECT_EQ(db.LastRowCount(), 2u);
  MapBinds update{{"SUFFIX", Value::Text("!")}};
  ASSERT_EQ(db.Exec("update item set name = name || :suffix where id > 7", update), 0)
      << db.LastError().message;
  EXPECT_EQ(db.LastRowCount(), 3u);
  EXPECT_EQ(db.Rows("select id, name, changes from item order by id"),
            (std::vector<std::string>{"7|bolt|0", "8|boltx!|1", "17|bolt!|1", "18|boltx!|1"}));
  ASSERT_EQ(db.Exec("delete from item where id > 10"), 0);
  EXPECT_EQ(db.LastRowCount(), 2u);
  // One row per statement, whatever its row count.
  EXPECT_EQ(db.Value1("select count(*) from item_log"), "5");
}

TEST_F(TriggerTest, ValuesPassThroughARowByRowChangeUnaltered) {
  ASSERT_EQ(db.Exec("insert into item (id, name, price, added, stamp) values (1, 'old', 12.5, "
                    "to_date('1950-03-04 05:06:07', 'YYYY-MM-DD HH24:MI:SS'), "
                    "to_timestamp('1950-03-04 05:06:07.123456', 'YYYY-MM-DD HH24:MI:SS.FF'))"),
            0)
      << db.LastError().message;
  ASSERT_EQ(db.Exec("insert into item (id, name, price, added, stamp) select 2, name, price, "
                    "added, stamp from item"),
            0)
      << db.LastError().message;
  ASSERT_EQ(db.Exec("update item set price = price * 2"), 0);
  EXPECT_EQ(db.Rows("select id, price, to_char(added, 'YYYY-MM-DD HH24:MI:SS'), "
                    "to_char(stamp, 'YYYY-MM-DD HH24:MI:SS.FF6'), changes from item order by id"),
            (std::vector<std::string>{"1|25|1950-03-04 05:06:07|1950-03-04 05:06:07.123456|1",
                                      "2|25|1950-03-04 05:06:07|1950-03-04 05:06:07.123456|1"}));
}

TEST_F(TriggerTest, AStatementTriggersFailureUndoesEveryRow) {
  ASSERT_EQ(db.Exec("insert into item (id, name) values (1, 'a')"), 0);
  ASSERT_EQ(db.Exec("insert into item (id, name) values (2, 'b')"), 0);
  db.Script(R"(
    create or replace trigger item_stop after update on item
    begin
      raise_application_error(-20005, 'stop');
    end;
    /
  )");
  EXPECT_EQ(db.Exec("update item set name = 'z'"), 20005);
  EXPECT_NE(db.LastError().message.find("ORA-04088: error during execution of trigger "
                                        "'SYSTEM.ITEM_STOP'"),
            std::string::npos)
      << db.LastError().message;
  EXPECT_EQ(db.Rows("select name, changes from item order by id"),
            (std::vector<std::string>{"a|0", "b|0"}));
  EXPECT_EQ(db.Value1("select count(*) from item_log"), "2");
}

TEST_F(TriggerTest, TheTriggersOfATableFollowTheDdlOfTheSession) {
  ASSERT_EQ(db.Exec("insert into item (id, name) values (1, 'a')"), 0);
  ASSERT_EQ(db.Exec("drop trigger item_note"), 0);
  ASSERT_EQ(db.Exec("insert into item (id, name) values (2, 'b')"), 0);
  EXPECT_EQ(db.Value1("select count(*) from item_log"), "1");
  ASSERT_EQ(db.Exec("alter trigger item_count disable"), 0);
  ASSERT_EQ(db.Exec("update item set name = 'c'"), 0);
  ASSERT_EQ(db.Exec("alter trigger item_count enable"), 0);
  ASSERT_EQ(db.Exec("update item set name = 'd' where id = 1"), 0);
  EXPECT_EQ(db.Rows("select changes from item order by id"), (std::vector<std::string>{"1", "0"}));
}

TEST_F(TriggerTest, ColumnListsTakeTheItemsOfTheirQuery) {
  db.Script(R"(
    create table source (id number, name varchar2(20), price number);
    insert into source values (1, 'nut', 2);
    insert into source values (2, 'washer', 3);
    insert into item (id, name, price) values (1, 'a', 0);
    insert into item (id, name, price) values (2, 'b', 0);
    insert into item (id, name, price) values (3, 'c', 0);
  )");
  // The BEFORE ROW trigger's count wins over the statement's value.
  ASSERT_EQ(db.Exec("update item i set (name, price) = (select s.name, s.price * 10 from source "
                    "s where s.id = i.id), changes = 7 where id < 3"),
            0)
      << db.LastError().message;
  // A query that finds no row sets the columns NULL.
  ASSERT_EQ(db.Exec("update item i set (name) = (select distinct s.name from source s where s.id "
                    "= i.id) where id = 3"),
            0)
      << db.LastError().message;
  EXPECT_EQ(db.Rows("select id, name, price, changes from item order by id"),
            (std::vector<std::string>{"1|nut|20|1", "2|washer|30|1", "3||0|1"}));
  EXPECT_EQ(db.Exec("update item set (name, price) = (select name from source)"), 947);
  EXPECT_EQ(db.Exec("update item set (name) = (select name, price from source)"), 913);
}

TEST_F(TriggerTest, HiddenColumnsOfFunctionBasedIndexesAreNoPartOfTheRow) {
  db.Script(R"(
    create table tag (id number, label varchar2(20));
    create index tag_upper on tag (upper(label));
    create trigger tag_trim before insert or update on tag for each row
    begin
      :new.label := trim(:new.label);
    end;
    /
  )");
  ASSERT_EQ(db.Exec("insert into tag values (1, ' a ')"), 0) << db.LastError().message;
  ASSERT_EQ(db.Exec("update tag set label = ' b '"), 0) << db.LastError().message;
  EXPECT_EQ(db.Rows("select id, label from tag where upper(label) = 'B'"),
            (std::vector<std::string>{"1|b"}));
}

TEST_F(TriggerTest, StatementsATableWithTriggersCannotTakeFailWithOraclesErrors) {
  db.Script(R"(
    create table shape (side number, area number generated always as (side * side) virtual);
    create trigger shape_check before insert or update on shape for each row
    begin
      null;
    end;
    /
  )");
  EXPECT_EQ(db.Exec("insert into shape (side, area) values (2, 4)"), 54013);
  EXPECT_EQ(db.Exec("insert into shape (side, color) values (2, 'red')"), 904);
  EXPECT_EQ(db.Exec("insert into shape (side) values (2, 3)"), 913);
  EXPECT_EQ(db.Exec("insert into shape (side) select 2, 3 from dual"), 913);
  ASSERT_EQ(db.Exec("insert into shape values (3)"), 0) << db.LastError().message;
  EXPECT_EQ(db.Exec("update shape set area = 1"), 54017);
  EXPECT_EQ(db.Value1("select area from shape"), "9");
}

}  // namespace
}  // namespace sandbox::test
