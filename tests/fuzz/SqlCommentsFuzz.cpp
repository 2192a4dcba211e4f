// Fuzz target: line-comment search and removal. Stripping never lengthens a
// text and changes nothing where the search finds no comment. Without the
// word REM it leaves no comment behind; with it, the blank that replaces a
// comment may turn a REM just before it into a remark of the stripped text.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "oracle/SqlComments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string stripped = StripSqlComments(text);
  std::string upper = text;
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (stripped.size() > text.size() ||
      (upper.find("REM") == std::string::npos &&
       (FindSqlCommentStart(stripped) != -1 || StripSqlComments(stripped) != stripped))) {
    std::abort();
  }
  if (FindSqlCommentStart(text) == -1 && stripped != text) {
    std::abort();
  }
  return 0;
}
