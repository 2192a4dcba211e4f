// Row references of trigger text as placeholders.
#include "sandbox/server/triggers/RowReferences.h"

#include <sstream>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

void ReferencingNames(const std::string& referencing, std::string& newName, std::string& oldName) {
  std::vector<std::string> words;
  std::istringstream in(referencing);
  for (std::string word; in >> word;)
    words.push_back(word);
  newName = words.size() > 3 ? words[3] : "NEW";
  oldName = words.size() > 6 ? words[6] : "OLD";
}

std::string RowReferencesAsBinds(const std::string& text, const std::string& newName,
                                 const std::string& oldName, bool colon) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(text, tokens, errorOffset))
    return text;  // the compiler reports the broken text
  std::string out;
  std::size_t copied = 0;
  for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
    const SqlToken& name = tokens[i];
    const bool isReference =
        colon ? name.type == SqlToken::Type::Bind
              : name.type == SqlToken::Type::Word && (i == 0 || !tokens[i - 1].IsSymbol("."));
    if (!isReference || !tokens[i + 1].IsSymbol(".") ||
        !(tokens[i + 2].type == SqlToken::Type::Word ||
          tokens[i + 2].type == SqlToken::Type::QuotedName))
      continue;
    const std::string upper = colon ? name.text : name.Upper();
    const char* prefix = upper == newName ? kNewPrefix : upper == oldName ? kOldPrefix : nullptr;
    if (prefix == nullptr)
      continue;
    out += text.substr(copied, name.offset - copied);
    out += ":";
    out += prefix;
    out += tokens[i + 2].Upper();
    copied = tokens[i + 2].end;
    i += 2;
  }
  return out + text.substr(copied);
}

}  // namespace sandbox
