// Tokenizing and translating statement text: the layer that must never
// confuse a literal, a quoted name, a comment or a bind with one another.
#include <gtest/gtest.h>

#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {
namespace {

std::vector<SqlToken> Tokens(const std::string& sql) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  EXPECT_TRUE(TokenizeSql(sql, tokens, errorOffset)) << sql;
  return tokens;
}

TEST(TokenizerTest, LiteralsNamesCommentsAndBinds) {
  const auto tokens = Tokens(
      "select 'it''s -- not a comment', \"Mixed\"\"Q\", :Owner, :1, .5, 1e3 -- tail\n"
      "/* block ' */ from x where a||b != c");
  ASSERT_EQ(tokens.size(), 21u);
  EXPECT_EQ(tokens[1].type, SqlToken::Type::String);
  EXPECT_EQ(tokens[1].text, "it's -- not a comment");
  // Oracle has no "" escape in names: "Mixed""Q" is two quoted names.
  EXPECT_EQ(tokens[3].type, SqlToken::Type::QuotedName);
  EXPECT_EQ(tokens[3].text, "Mixed");
  EXPECT_EQ(tokens[4].text, "Q");
  EXPECT_EQ(tokens[6].type, SqlToken::Type::Bind);
  EXPECT_EQ(tokens[6].text, "OWNER");
  EXPECT_EQ(tokens[8].text, "1");
  EXPECT_EQ(tokens[10].text, ".5");
  EXPECT_EQ(tokens[12].text, "1e3");
  EXPECT_TRUE(tokens[13].IsWord("FROM"));
  EXPECT_TRUE(tokens[17].IsSymbol("||"));
  EXPECT_TRUE(tokens[19].IsSymbol("!="));
}

// N'...' is a literal of national characters; N alone, or starting a
// longer word, stays a name.
TEST(TokenizerTest, NationalLiteralsAreTextAndNStaysAName) {
  const auto tokens = Tokens("select N'M\xc3\xbcnchen', n'it''s', n, nvl(n,'x') from t");
  ASSERT_EQ(tokens.size(), 15u);
  EXPECT_EQ(tokens[1].type, SqlToken::Type::String);
  EXPECT_EQ(tokens[1].text, "M\xc3\xbcnchen");
  EXPECT_EQ(tokens[3].type, SqlToken::Type::String);
  EXPECT_EQ(tokens[3].text, "it's");
  EXPECT_EQ(tokens[5].type, SqlToken::Type::Word);
  EXPECT_EQ(tokens[5].text, "n");
  EXPECT_EQ(tokens[7].text, "nvl");
  EXPECT_EQ(tokens[11].type, SqlToken::Type::String);
  std::vector<SqlToken> open;
  std::size_t offset = 0;
  EXPECT_FALSE(TokenizeSql("select N'open", open, offset));
  EXPECT_EQ(offset, 7u);
}

TEST(TokenizerTest, UnterminatedTextIsReportedWithItsOffset) {
  std::vector<SqlToken> tokens;
  std::size_t offset = 0;
  EXPECT_FALSE(TokenizeSql("select 'open", tokens, offset));
  EXPECT_EQ(offset, 7u);
  EXPECT_FALSE(TokenizeSql("select 1 /* open", tokens, offset));
  EXPECT_EQ(offset, 9u);
  EXPECT_FALSE(TokenizeSql("select \"open", tokens, offset));
  EXPECT_TRUE(TokenizeSql("", tokens, offset));
  EXPECT_TRUE(tokens.empty());
}

// Resolves every table to "SCHEMA.NAME" with a default schema of APP, and
// knows one sequence.
class FixedResolver : public NameResolver {
 public:
  std::optional<std::string> ResolveTable(const std::string& schema,
                                          const std::string& name) override {
    if (name == "MISSING")
      return std::nullopt;
    return (schema.empty() ? "APP" : schema) + "." + name;
  }
  bool ResolveSequence(const std::string& schema, const std::string& name, std::string& owner,
                       std::string& sequence) override {
    owner = schema.empty() ? "APP" : schema;
    sequence = name;
    return name == "SEQ";
  }
};

struct Translation {
  bool ok;
  TranslatedStatement out;
  OraError error;
};

Translation Translate(const std::string& sql) {
  const auto tokens = Tokens(sql);
  FixedResolver resolver;
  SqlTranslator translator(tokens, sql, resolver);
  Translation result;
  result.ok = translator.Translate(result.out, result.error);
  return result;
}

TEST(TranslatorTest, TablesGetStorageNamesAndKeepTheirNamesAsAliases) {
  const auto t = Translate("select t.a, x.b from tab t, other.tab2, (select 1 one from dual) x");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.out.sql,
            "SELECT \"T\".\"A\" AS \"A\", \"X\".\"B\" AS \"B\" FROM \"APP.TAB\" AS \"T\" , "
            "\"OTHER.TAB2\" AS "
            "\"TAB2\" , (SELECT 1 AS \"ONE\" FROM \"APP.DUAL\" AS \"DUAL\") AS \"X\"");
  EXPECT_EQ(t.out.columnNames, (std::vector<std::string>{"A", "B"}));
}

TEST(TranslatorTest, ConcatenationFoldsWholeArithmeticTerms) {
  const auto t = Translate("select a || 'x' || b, n / 1024 || 'K', (n + 1) || c from t");
  ASSERT_TRUE(t.ok);
  EXPECT_NE(t.out.sql.find("ora_concat(\"A\", 'x', \"B\")"), std::string::npos) << t.out.sql;
  EXPECT_NE(t.out.sql.find("ora_concat(\"N\" * 1.0 / ora_divisor(1024), 'K')"), std::string::npos)
      << t.out.sql;
  EXPECT_NE(t.out.sql.find("ora_concat((ora_add(\"N\", 1)), \"C\")"), std::string::npos)
      << t.out.sql;
  EXPECT_EQ(t.out.columnNames, (std::vector<std::string>{"A||'X'||B", "N/1024||'K'", "(N+1)||C"}));
}

TEST(TranslatorTest, BindsAreNumberedOncePerName) {
  const auto t = Translate("select * from t where a = :x and b = :Y or c = :X");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.out.bindNames, (std::vector<std::string>{"X", "Y"}));
  EXPECT_NE(t.out.sql.find("\"A\" = ?1 AND \"B\" = ?2 OR \"C\" = ?1"), std::string::npos)
      << t.out.sql;
  EXPECT_EQ(t.out.columnNames, (std::vector<std::string>{""}));
}

TEST(TranslatorTest, KeywordsFunctionsAndPseudoColumns) {
  const auto t = Translate(
      "select sysdate, user, seq.nextval, case when a = '' then 1 else 2 end kind, count(*) from t "
      "minus "
      "select sysdate, user, 1, 2, 3 from t");
  ASSERT_TRUE(t.ok) << t.error.message;
  EXPECT_NE(t.out.sql.find("ora_sysdate() AS \"SYSDATE\""), std::string::npos) << t.out.sql;
  EXPECT_NE(t.out.sql.find("ora_user() AS \"USER\""), std::string::npos);
  EXPECT_NE(t.out.sql.find("ora_nextval('APP', 'SEQ')"), std::string::npos);
  EXPECT_NE(t.out.sql.find("WHEN \"A\" = NULL THEN"), std::string::npos);
  EXPECT_NE(t.out.sql.find(" EXCEPT SELECT"), std::string::npos);
  EXPECT_EQ(t.out.expressionTypes[0], "DATE");
  EXPECT_EQ(t.out.expressionTypes[4], "NUMBER");
  EXPECT_EQ(t.out.columnNames[3], "KIND");
}

TEST(TranslatorTest, FromInsideFunctionArgumentsIsNoTableList) {
  const auto t =
      Translate("select trim(both 'x' from name), nvl((select max(a) from u), 0) from t");
  ASSERT_TRUE(t.ok) << t.error.message;
  EXPECT_NE(t.out.sql.find("trim(\"NAME\", 'x')"), std::string::npos) << t.out.sql;
  EXPECT_NE(t.out.sql.find("FROM \"APP.U\" AS \"U\""), std::string::npos) << t.out.sql;
}

TEST(TranslatorTest, DmlTargets) {
  auto t = Translate("insert into s.t (a, b) values (1, '')");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.out.sql, "INSERT INTO \"S.T\" AS \"T\" (\"A\" , \"B\") VALUES (1 , NULL)");
  t = Translate("delete t where a = 1");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.out.sql, "DELETE FROM \"APP.T\" AS \"T\" WHERE \"A\" = 1");
  t = Translate("update t x set a = x.a + 1");
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.out.sql, "UPDATE \"APP.T\" AS \"X\" SET \"A\" = ora_add(\"X\".\"A\", 1)");
}

TEST(TranslatorTest, Errors) {
  EXPECT_EQ(Translate("select * from missing").error.code, 942);
  EXPECT_EQ(Translate("select a from t where (a = 1").error.code, 907);
  EXPECT_EQ(Translate("select other.nextval from dual").error.code, 2289);
  EXPECT_EQ(Translate("select a, from t").error.code, 936);
  EXPECT_EQ(Translate("select a from t;").error.code, 911);
  EXPECT_EQ(Translate("select a from a.b.c").error.code, 933);
}

}  // namespace
}  // namespace sandbox
