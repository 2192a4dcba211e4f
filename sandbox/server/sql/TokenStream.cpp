// Shared parsing steps of the DDL statements.
#include "sandbox/server/sql/TokenStream.h"

#include <cstdlib>

#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

const SqlToken& TokenStream::Peek(std::size_t ahead) const {
  static const SqlToken end{SqlToken::Type::Symbol, "", 0, 0};
  return position_ + ahead < tokens_.size() ? tokens_[position_ + ahead] : end;
}

bool TokenStream::AcceptWord(const char* upperWord) {
  if (!Peek().IsWord(upperWord))
    return false;
  ++position_;
  return true;
}

bool TokenStream::AcceptWords(const char* first, const char* second) {
  if (!Peek().IsWord(first) || !Peek(1).IsWord(second))
    return false;
  position_ += 2;
  return true;
}

bool TokenStream::AcceptSymbol(const char* symbol) {
  if (!Peek().IsSymbol(symbol))
    return false;
  ++position_;
  return true;
}

bool TokenStream::ExpectWord(const char* upperWord, OraError& error) {
  if (AcceptWord(upperWord))
    return true;
  error = {905, "missing keyword"};
  return false;
}

bool TokenStream::ExpectSymbol(const char* symbol, OraError& error) {
  if (AcceptSymbol(symbol))
    return true;
  if (std::string(symbol) == "(")
    error = {906, "missing left parenthesis"};
  else if (std::string(symbol) == ")")
    error = {907, "missing right parenthesis"};
  else
    error = {917, "missing comma"};
  return false;
}

bool TokenStream::ReadName(std::string& name, OraError& error, int missingCode,
                           const char* missingText) {
  const SqlToken& t = Peek();
  if (t.type == SqlToken::Type::QuotedName) {
    if (t.text.empty() || t.text.size() > 128) {
      error = {972, "identifier is too long"};
      return false;
    }
  } else if (t.type != SqlToken::Type::Word || IsReservedWord(t)) {
    error = {missingCode, missingText};
    return false;
  }
  if (t.text.size() > 128) {
    error = {972, "identifier is too long"};
    return false;
  }
  name = t.Upper();
  ++position_;
  return true;
}

bool TokenStream::ReadQualifiedName(std::string& owner, std::string& name,
                                    const std::string& defaultOwner, OraError& error,
                                    int missingCode, const char* missingText) {
  if (!ReadName(name, error, missingCode, missingText))
    return false;
  owner = defaultOwner;
  if (AcceptSymbol(".")) {
    owner = name;
    if (!ReadName(name, error, missingCode, missingText))
      return false;
  }
  return true;
}

bool TokenStream::ReadInteger(long long& value, OraError& error) {
  bool negative = AcceptSymbol("-");
  const SqlToken& t = Peek();
  if (t.type != SqlToken::Type::Number || t.text.find_first_of(".eE") != std::string::npos) {
    error = {2017, "integer value required"};
    return false;
  }
  value = std::strtoll(t.text.c_str(), nullptr, 10) * (negative ? -1 : 1);
  ++position_;
  return true;
}

bool TokenStream::ReadSize(long long& value, OraError& error) {
  if (!ReadInteger(value, error))
    return false;
  if (AcceptWord("K"))
    value *= 1024;
  else if (AcceptWord("M"))
    value *= 1024 * 1024;
  else if (AcceptWord("G"))
    value *= 1024LL * 1024 * 1024;
  return true;
}

std::size_t TokenStream::MatchingParen() const {
  int depth = 0;
  for (std::size_t i = position_; i < tokens_.size(); ++i) {
    if (tokens_[i].IsSymbol("("))
      ++depth;
    if (tokens_[i].IsSymbol(")") && --depth == 0)
      return i;
  }
  return tokens_.size();
}

bool TokenStream::ReadNameList(std::vector<std::string>& names, OraError& error) {
  names.clear();
  if (!ExpectSymbol("(", error))
    return false;
  do {
    std::string name;
    if (!ReadName(name, error, 904, "invalid identifier"))
      return false;
    names.push_back(name);
  } while (AcceptSymbol(","));
  return ExpectSymbol(")", error);
}

}  // namespace sandbox
