// Fuzz target: taking connect strings apart. The parts are pieces of the text
// (never more of it than there is), a text without separators is a user
// name, and the database that messages show is the text's tail.
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
  // Messages show only the database: it must be the text's tail, so that
  // nothing written before it (a password with "@") can reach them.
  if (parts.Database.size() > text.size() ||
      text.compare(text.size() - parts.Database.size(), std::string::npos, parts.Database) != 0) {
    std::abort();
  }
  return 0;
}
