// A reading position over a statement's tokens, with the small parsing steps
// that the DDL statements share: keywords, names, integers and sizes.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

class TokenStream {
 public:
  TokenStream(const std::vector<SqlToken>& tokens, std::size_t position = 0)
      : tokens_(tokens), position_(position) {}

  bool AtEnd() const { return position_ >= tokens_.size(); }
  const SqlToken& Peek(std::size_t ahead = 0) const;
  std::size_t Position() const { return position_; }
  void Seek(std::size_t position) { position_ = position; }
  void Skip(std::size_t count = 1) { position_ += count; }

  bool AcceptWord(const char* upperWord);
  bool AcceptWords(const char* first, const char* second);  // both or neither
  bool AcceptSymbol(const char* symbol);
  // Each Expect sets error (ORA-00905 missing keyword, ORA-00906/00907 for
  // parentheses) when the token is not there.
  bool ExpectWord(const char* upperWord, OraError& error);
  bool ExpectSymbol(const char* symbol, OraError& error);
  // A name: an unquoted word (upper-cased) or a quoted name (kept); ORA-00903
  // style error when missing.
  bool ReadName(std::string& name, OraError& error, int missingCode = 903,
                const char* missingText = "invalid table name");
  // [owner.]name, owner defaulting to defaultOwner.
  bool ReadQualifiedName(std::string& owner, std::string& name, const std::string& defaultOwner,
                         OraError& error, int missingCode = 903,
                         const char* missingText = "invalid table name");
  bool ReadInteger(long long& value, OraError& error);
  // An integer with an optional K, M or G suffix, in bytes.
  bool ReadSize(long long& value, OraError& error);
  // Index of the ")" matching the "(" at the current position.
  std::size_t MatchingParen() const;
  // A parenthesised list of names: (a, b, c).
  bool ReadNameList(std::vector<std::string>& names, OraError& error);

 private:
  const std::vector<SqlToken>& tokens_;
  std::size_t position_;
};

}  // namespace sandbox
