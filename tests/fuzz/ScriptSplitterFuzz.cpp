// Fuzz target: the sandbox's two script splitters (the server's loader and the
// script runner's). Every statement has text and a line inside the script, in
// script order (the runner's notes are in line but may follow a later
// statement).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sandbox/server/sql/ScriptSplitter.h"
#include "sandbox/tools/ScriptSplitter.h"

namespace {

template <typename Statements>
void Check(const Statements& statements, const std::string& script) {
  const int lines = static_cast<int>(std::count(script.begin(), script.end(), '\n')) + 1;
  int previous = 0;
  for (const auto& statement : statements) {
    // The runner's notes on substitution follow the statement they were
    // found in, so only their lines are checked, not their order.
    bool note = false;
    if constexpr (requires { statement.note; })
      note = statement.note;
    if (statement.text.empty() || statement.line < (note ? 1 : std::max(previous, 1)) ||
        statement.line > lines) {
      std::abort();
    }
    if (!note)
      previous = statement.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  Check(sandbox::SplitScript(script), script);
  Check(sandbox::tools::SplitScript(script), script);
  return 0;
}
