// Fuzz target: conditional compilation over any text a script may hold. The
// compiler's text keeps every line where the source had it, and the blanked
// text keeps every character's offset, whatever directives the input holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sandbox/plsql/Preprocessor.h"

namespace {

std::size_t Lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  const sandbox::plsql::UnitIdentity unit{"APP", "FUZZ_UNIT", "PACKAGE BODY"};
  std::string text;
  sandbox::plsql::LexError error;
  if (sandbox::plsql::Preprocess(source, unit, text, error) && Lines(text) != Lines(source))
    std::abort();
  std::string blanked;
  if (sandbox::plsql::BlankUnselected(source, unit, blanked, error) &&
      blanked.size() != source.size())
    std::abort();
  return 0;
}
