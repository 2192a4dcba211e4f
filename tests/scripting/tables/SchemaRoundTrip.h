// Test support: a schema built from statements is scripted by the table,
// index and constraint phases, the script is replayed by the sandbox's runner
// into a fresh database, and that database is scripted again; both reports,
// the runner's result and both dictionaries are kept for the test to judge.
#pragma once

#include <string>
#include <vector>

#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/DictionarySnapshot.h"

struct SchemaRoundTrip {
  std::string sourceReport;  // database name shown as "DB"
  std::string targetReport;
  sandbox::testing::RunResult replay;
  DictionarySnapshot source;
  DictionarySnapshot target;
  // Messages the client would have shown while scripting either schema.
  std::vector<std::string> messages;
};

// Runs statements as APP in a fresh database, then the round trip; views
// are the dictionary views to compare.
SchemaRoundTrip RoundTripSchema(const std::vector<std::string>& statements,
                                const std::vector<DictionaryView>& views);

// A report with the numbers of generated constraint names made "#".
std::string WithoutGeneratedNumbers(const std::string& report);
