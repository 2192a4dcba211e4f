// Oracle's stored form of expressions.
#include "sandbox/server/sql/ExpressionText.h"

#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

namespace {

bool IsColumnName(const std::vector<SqlToken>& tokens, std::size_t i, std::size_t end) {
  const SqlToken& t = tokens[i];
  if (t.type == SqlToken::Type::QuotedName)
    return true;
  if (t.type != SqlToken::Type::Word || IsReservedWord(t))
    return false;
  return !(i + 1 < end && tokens[i + 1].IsSymbol("("));
}

bool IsWordLike(const SqlToken& t) {
  return t.type != SqlToken::Type::Symbol;
}

}  // namespace

std::string StoredExpressionText(const std::vector<SqlToken>& tokens, std::size_t begin,
                                 std::size_t end) {
  std::string text;
  for (std::size_t i = begin; i < end; ++i) {
    const SqlToken& t = tokens[i];
    if (i > begin && IsWordLike(t) && IsWordLike(tokens[i - 1]))
      text += ' ';
    if (IsColumnName(tokens, i, end))
      text += "\"" + (t.type == SqlToken::Type::QuotedName ? t.text : t.Upper()) + "\"";
    else if (t.type == SqlToken::Type::Word)
      text += ToUpperAscii(t.text);
    else if (t.type == SqlToken::Type::String) {
      text += '\'';
      for (char c : t.text)
        text += c == '\'' ? std::string("''") : std::string(1, c);
      text += '\'';
    } else
      text += t.text;
  }
  return text;
}

std::vector<std::string> ExpressionColumns(const std::vector<SqlToken>& tokens, std::size_t begin,
                                           std::size_t end) {
  std::vector<std::string> names;
  for (std::size_t i = begin; i < end; ++i)
    if (IsColumnName(tokens, i, end))
      names.push_back(tokens[i].type == SqlToken::Type::QuotedName ? tokens[i].text
                                                                   : tokens[i].Upper());
  return names;
}

}  // namespace sandbox
