// Fuzz target: the sandbox's two script splitters (the server's loader and the
// script runner's). Every statement has text and a line inside the script, in
// script order.
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
    if (statement.text.empty() || statement.line < std::max(previous, 1) ||
        statement.line > lines) {
      std::abort();
    }
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
