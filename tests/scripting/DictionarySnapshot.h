// Test support: a schema's data dictionary read as text, for comparing the
// schema a script was taken from with the schema the script rebuilt. Names
// the server generated (constraints whose GENERATED says so, indexes with
// GENERATED 'Y') read as "<generated>", since a replay generates new ones;
// trailing white space, which scripts do not carry, is dropped; and a
// condition too long for one script line, which the script cuts into lines,
// is compared with each run of white space as one blank. Hidden index
// columns and identity sequences read without their server-given numbers.
#pragma once

#include <map>
#include <string>
#include <vector>

class OracleSession;

// One dictionary view and the columns of it that must survive a replay.
struct DictionaryView {
  std::string view;
  std::vector<std::string> columns;
};

// The views of tables, columns, constraints and indexes that table scripts
// must reproduce.
std::vector<DictionaryView> TableDictionaryViews();

// The views of synonyms, grants the schema made, database links,
// materialized views, their logs and comments, and the schema's objects.
std::vector<DictionaryView> OtherObjectDictionaryViews();

struct DictionarySnapshot {
  // Per view, its rows as "value|value|...", sorted.
  std::map<std::string, std::vector<std::string>> rows;
};

// Reads views through session (logged on as the schema's owner).
DictionarySnapshot TakeDictionarySnapshot(OracleSession& session,
                                          const std::vector<DictionaryView>& views);

// "" when both hold the same rows; otherwise one line per row that only one
// of them holds, naming its view and side.
std::string DictionaryDifferences(const DictionarySnapshot& source,
                                  const DictionarySnapshot& target);
