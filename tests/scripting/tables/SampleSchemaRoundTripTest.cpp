// The sandbox's sample schema, written the way published sample schemas of
// current releases are, rebuilt from its own script: its tables, indexes,
// constraints and comments must come back the same.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scripting/tables/SchemaRoundTrip.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

// The table-level statements of the script (each ends with ";" at a line
// end), without comment lines; users, grants, views, synonyms and rows are
// left out.
std::vector<std::string> TableStatements(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> statements;
  std::string statement;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("--", 0) == 0) {
      continue;
    }
    statement += (statement.empty() ? "" : "\n") + line;
    if (line.empty() || line.back() != ';') {
      continue;
    }
    statement.pop_back();
    const std::string head = Lower(statement.substr(0, 30));
    for (const char* kind : {"create table", "create global temporary table", "create index",
                             "create unique index", "alter table", "comment on"}) {
      if (head.rfind(kind, 0) == 0) {
        statements.push_back(statement);
      }
    }
    statement.clear();
  }
  return statements;
}

TEST(SampleSchemaRoundTripTest, PublishedStyleSchemaRebuildsTheSameDictionary) {
  const std::vector<std::string> statements =
      TableStatements(QUILLMARK_SOURCE_DIR "/tests/sandbox/conformance/sample_schema.sql");
  ASSERT_GT(statements.size(), 20u);
  const SchemaRoundTrip trip = RoundTripSchema(statements, TableDictionaryViews());
  EXPECT_TRUE(trip.messages.empty()) << trip.messages.front();
  EXPECT_EQ(trip.replay.status, 0) << trip.replay.output;
  EXPECT_EQ(DictionaryDifferences(trip.source, trip.target), "") << trip.sourceReport;
  EXPECT_GE(trip.source.rows.at("user_tables").size(), 6u);
}

}  // namespace
