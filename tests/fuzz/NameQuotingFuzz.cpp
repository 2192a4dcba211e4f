// Fuzz target: dictionary names written into statements. Each quoting rule
// writes a name so that a SQL tokenizer reads back one token naming exactly
// that name (an unquoted reserved word would read as the keyword), and the
// generators of DDL and of data queries agree on when a name needs quotes.
// Names with a double quote or a NUL cannot exist in Oracle and are passed
// over.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"
#include "scripting/data/DataQueryText.h"
#include "scripting/source/OracleNames.h"

namespace {

// True when written reads back as one token that names name.
bool ReadsBackAs(const std::string& written, const std::string& name) {
  std::vector<sandbox::SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!sandbox::TokenizeSql(written, tokens, errorOffset) || tokens.size() != 1) {
    return false;
  }
  const sandbox::SqlToken& token = tokens[0];
  if (token.type == sandbox::SqlToken::Type::QuotedName) {
    return token.text == name;
  }
  return token.type == sandbox::SqlToken::Type::Word && token.Upper() == name;
}

bool Quoted(const std::string& written) {
  return !written.empty() && written.front() == '"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  if (name.empty() || name.find('"') != std::string::npos || name.find('\0') != std::string::npos) {
    return 0;
  }
  const std::string statement = StatementName(name);
  const std::string query = SqlName(name);
  const std::string alwaysQuoted = QuotedName(name);
  if (!ReadsBackAs(statement, name) || !ReadsBackAs(query, name) ||
      !ReadsBackAs(alwaysQuoted, name) || !Quoted(alwaysQuoted)) {
    std::abort();
  }
  if (Quoted(statement) != Quoted(query)) {
    std::abort();
  }
  return 0;
}
