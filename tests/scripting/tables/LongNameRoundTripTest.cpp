// Names and defaults around and beyond one script line (79, 80, 81 and the
// largest 128 characters) for tables, columns, constraints and indexes: every
// statement must come out whole and replay into the same dictionary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scripting/tables/SchemaRoundTrip.h"

namespace {

// A name of length characters starting with lead.
std::string Name(char lead, std::size_t length) {
  std::string name(length, static_cast<char>(lead));
  name[0] = lead;
  for (std::size_t i = 1; i < length; i += 10) {
    name[i] = '_';
  }
  return name;
}

std::vector<std::string> LongNameStatements() {
  std::vector<std::string> statements;
  for (const std::size_t length : {79u, 80u, 81u, 128u}) {
    const std::string table = Name('T', length);
    const std::string key = Name('C', length);
    const std::string text = Name('D', length);
    const std::string reference = Name('E', length);
    const std::string value = "'" + std::string(length - 2, 'v') + "'";
    statements.push_back("create table " + table + " (" + key + " number(6) constraint " +
                         Name('K', length) + " primary key, " + text + " varchar2(200) default " +
                         value + " constraint " + Name('N', length) + " not null, " + reference +
                         " number(6) constraint " + Name('F', length) + " references " + table +
                         " on delete set null, constraint " + Name('H', length) + " check (" + key +
                         " > 0))");
    statements.push_back("create index " + Name('I', length) + " on " + table + " (" + text + ", " +
                         reference + " desc)");
  }
  // The longest quoted name a release 19 server takes, in lower case.
  const std::string quoted = "\"" + std::string(128, 'q') + "\"";
  statements.push_back("create table " + quoted + " (" + quoted + " number constraint \"" +
                       std::string(128, 'k') + "\" primary key)");
  return statements;
}

TEST(LongNameRoundTripTest, LongNamesAndDefaultsReplayWhole) {
  const SchemaRoundTrip trip = RoundTripSchema(LongNameStatements(), TableDictionaryViews());
  EXPECT_TRUE(trip.messages.empty()) << trip.messages.front();
  EXPECT_EQ(trip.replay.status, 0) << trip.replay.output << trip.sourceReport;
  EXPECT_EQ(DictionaryDifferences(trip.source, trip.target), "") << trip.sourceReport;
  EXPECT_EQ(trip.source.rows.at("user_tables").size(), 5u);
  EXPECT_EQ(trip.source.rows.at("user_indexes").size(), 9u);
}

}  // namespace
