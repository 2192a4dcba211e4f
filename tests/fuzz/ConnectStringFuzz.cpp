// Fuzz target: taking connect strings apart. The parts are pieces of the text
// (never more of it than there is), a text without separators is a user
// name, and the text shown in messages has lost the password's length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scripting/connection/ConnectStringParts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ConnectStringParts parts = ParseConnectString(text);
  const std::size_t total =
      parts.Schema.size() + parts.User.size() + parts.Password.size() + parts.Database.size();
  if (total > text.size()) {
    std::abort();
  }
  if (text.find_first_of(":@/") == std::string::npos && parts.User != text) {
    std::abort();
  }
  if (ConnectStringWithoutPassword(text).size() + parts.Password.size() > text.size()) {
    std::abort();
  }
  return 0;
}
