// Measures the text scanners that see whole scripts: comment stripping of
// statement text and the sandbox's script splitter over a package body. Each
// is timed at n and 4n lines; a ratio near 4 means time grows linearly with
// the text, one near 16 that it grows with its square.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "oracle/SqlComments.h"
#include "sandbox/server/sql/ScriptSplitter.h"

namespace {

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string CommentedStatement(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "select " + std::to_string(i) + " -- it's comment " + std::to_string(i) + "\n";
  }
  return text;
}

std::string PackageBody(int lines) {
  std::string text = "create or replace package body big is\n";
  for (int i = 0; i < lines; ++i) {
    text += "  procedure p" + std::to_string(i) + " is begin null; end;\n";
  }
  return text + "end;\n/\n";
}

void Report(const char* name, int lines, const std::function<void(int)>& run) {
  const double small = Seconds([&] { run(lines); });
  const double large = Seconds([&] { run(4 * lines); });
  std::printf("%-22s %6d lines %8.4f s  %6d lines %8.4f s  ratio %.1f\n", name, lines, small,
              4 * lines, large, small > 0 ? large / small : 0.0);
}

}  // namespace

int main() {
  Report("StripSqlComments", 8000, [](int lines) {
    const std::string text = CommentedStatement(lines);
    std::printf("%s", StripSqlComments(text).empty() ? "empty\n" : "");
  });
  Report("sandbox SplitScript", 4000, [](int lines) {
    const std::string text = PackageBody(lines);
    std::printf("%s", sandbox::SplitScript(text).size() == 1 ? "" : "unexpected split\n");
  });
  return 0;
}
