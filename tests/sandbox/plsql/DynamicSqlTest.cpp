// The placeholders EXECUTE IMMEDIATE fills: which ones count, and how SQL and
// anonymous blocks name them.
#include <gtest/gtest.h>

#include "sandbox/plsql/DynamicSql.h"

namespace sandbox::plsql::testing {
namespace {

using Names = std::vector<std::string>;

TEST(DynamicSqlTest, SqlPlaceholdersAreRenamedOnePerOccurrence) {
  const DynamicStatement s =
      PrepareDynamic("update t set a = :x, b = ':y' /* :z */ where c = :x -- :w\n and d = :1");
  EXPECT_EQ(s.kind, DynamicStatement::Kind::Sql);
  EXPECT_EQ(s.binds, (Names{"PLSQL_B1", "PLSQL_B2", "PLSQL_B3"}));
  EXPECT_EQ(s.text,
            "update t set a = :PLSQL_B1, b = ':y' /* :z */ where c = :PLSQL_B2 -- :w\n"
            " and d = :PLSQL_B3");
}

TEST(DynamicSqlTest, BlocksBindEachNameOnceInOrderOfAppearance) {
  const std::string text = "declare n number; begin n := :B; :a := n + :b; end;";
  const DynamicStatement s = PrepareDynamic(text);
  EXPECT_EQ(s.kind, DynamicStatement::Kind::Block);
  EXPECT_EQ(s.binds, (Names{"B", "A"}));
  EXPECT_EQ(s.text, text);
}

TEST(DynamicSqlTest, QueriesAndUnreadableTextKeepTheirKindAndText) {
  EXPECT_EQ(PrepareDynamic("  with q as (select 1 from dual) select * from q").kind,
            DynamicStatement::Kind::Query);
  EXPECT_EQ(PrepareDynamic("(select :1 from dual)").kind, DynamicStatement::Kind::Query);
  // An unterminated literal is left for the server to refuse.
  const DynamicStatement broken = PrepareDynamic("select 'x from dual where a = :1");
  EXPECT_TRUE(broken.binds.empty());
  EXPECT_EQ(broken.text, "select 'x from dual where a = :1");
}

}  // namespace
}  // namespace sandbox::plsql::testing
