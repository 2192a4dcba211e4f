// The cursors of the program's DDL generator blocks find their dictionary
// rows through the dictionary's indexes, by owner and name: no step of their
// query plans reads a whole dictionary table or all of an owner's rows, so
// the time of one table's block does not grow with the size of the schema.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "ServerTestSession.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/SqlTranslator.h"
#include "scripting/tables/ConstraintDdlBlock.h"
#include "scripting/tables/IndexDdlBlock.h"
#include "scripting/tables/TableDdlBlock.h"

namespace sandbox::test {
namespace {

struct CursorQuery {
  std::string name;
  std::string sql;  // the cursor's parameters turned into placeholders
};

// The declared cursors of a block template ("%%" is the template's "%").
std::vector<CursorQuery> CursorQueries(std::string block) {
  for (std::size_t at = 0; (at = block.find("%%", at)) != std::string::npos; ++at)
    block.erase(at, 1);
  static const std::regex cursor(R"(cursor\s+(\w+)\s*(\(([^)]*)\))?\s+is\s+([\s\S]*?);)",
                                 std::regex::icase);
  static const std::regex parameter(R"((\w+)\s+\w+\s*(,|$))");
  std::vector<CursorQuery> queries;
  for (std::sregex_iterator it(block.begin(), block.end(), cursor), end; it != end; ++it) {
    std::string sql = (*it)[4];
    const std::string parameters = (*it)[3];
    for (std::sregex_iterator p(parameters.begin(), parameters.end(), parameter); p != end; ++p)
      sql = std::regex_replace(sql, std::regex("\\b" + (*p)[1].str() + "\\b", std::regex::icase),
                               ":" + (*p)[1].str());
    queries.push_back({(*it)[1], sql});
  }
  return queries;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size())
    ++count;
  return count;
}

// The steps of the query's SQLite plan that read more of a dictionary table
// than one object's rows; ORA-nnnnn text when the query does not translate.
std::vector<std::string> DictionaryScans(ServerSession& session, const std::string& sql) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(sql, tokens, errorOffset))
    return {"does not tokenize"};
  TranslatedStatement translated;
  OraError error;
  if (!SqlTranslator(tokens, sql, session).Translate(translated, error))
    return {"ORA-" + std::to_string(error.code) + ": " + error.message};
  sqlite3_stmt* raw = nullptr;
  sqlite3* db = session.Server().Handle();
  if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + translated.sql).c_str(), -1, &raw, nullptr) !=
      SQLITE_OK)
    return {sqlite3_errmsg(db)};
  SqliteStatement plan(raw);
  std::vector<std::string> scans;
  while (sqlite3_step(raw) == SQLITE_ROW) {
    const std::string detail = reinterpret_cast<const char*>(sqlite3_column_text(raw, 3));
    // A step reads a dictionary table; it must look its rows up by at
    // least an owner and a name.
    const bool readsTable = detail.rfind("SCAN ", 0) == 0 || detail.rfind("SEARCH ", 0) == 0;
    if (readsTable && CountOf(detail, "=?") < 2)
      scans.push_back(detail);
  }
  return scans;
}

TEST(BlockPlanTest, GeneratorCursorsSearchTheDictionaryByIndex) {
  ServerTestSession db;
  auto& session = dynamic_cast<ServerSession&>(db.session());
  const std::vector<std::string> someIndexes{"A_IX", "B_IX"};
  const std::vector<std::pair<std::string, std::string>> blocks{
      {"table", TableDdlBlock(0)},
      {"table of release 8.1", TableDdlBlock(81)},
      {"key and check", ConstraintDdlBlock(ConstraintKinds::KeysAndChecks, 0)},
      {"foreign key", ConstraintDdlBlock(ConstraintKinds::ForeignKeys, 0)},
      {"index", IndexDdlBlock("8", 0, nullptr)},
      {"index of release 7", IndexDdlBlock("7", 73, nullptr)},
      {"index by name", IndexDdlBlock("8", 0, &someIndexes)}};
  for (const auto& [blockName, block] : blocks) {
    const auto queries = CursorQueries(block);
    EXPECT_FALSE(queries.empty()) << blockName;
    for (const CursorQuery& query : queries)
      EXPECT_EQ(DictionaryScans(session, query.sql), std::vector<std::string>{})
          << blockName << " block, cursor " << query.name << ":\n"
          << query.sql;
  }
}

}  // namespace
}  // namespace sandbox::test
