// Placeholders of EXECUTE IMMEDIATE text, found by the PL/SQL tokenizer so
// that strings, quoted names and comments hide them as Oracle does.
#include "sandbox/plsql/DynamicSql.h"

#include <cstdlib>
#include <set>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

DynamicStatement PrepareDynamic(const std::string& text) {
  DynamicStatement statement;
  statement.text = text;
  std::vector<Token> tokens;
  LexError lexError;
  // Text the tokenizer refuses goes to the server as written, which gives
  // the statement's own error.
  if (!Tokenize(text, tokens, lexError) || tokens.empty())
    return statement;
  const Token& verb = tokens[0];
  if (verb.IsAny({"BEGIN", "DECLARE"})) {
    statement.kind = DynamicStatement::Kind::Block;
    std::set<std::string> seen;
    for (const Token& t : tokens) {
      if (t.kind == Token::Kind::Bind && seen.insert(t.text).second)
        statement.binds.push_back(t.text);
    }
    return statement;
  }
  if (verb.IsAny({"SELECT", "WITH", "("}))
    statement.kind = DynamicStatement::Kind::Query;
  std::string rewritten;
  size_t copied = 0;
  for (const Token& t : tokens) {
    if (t.kind != Token::Kind::Bind)
      continue;
    const std::string name = PlaceholderName(statement.binds.size());
    rewritten += text.substr(copied, t.offset - copied) + ":" + name;
    copied = t.offset + t.length;
    statement.binds.push_back(name);
  }
  statement.text = rewritten + text.substr(copied);
  return statement;
}

Value DynamicBinds::Get(const std::string& name) const {
  const auto found = values.find(name);
  return found != values.end() ? found->second : Value();
}

bool DynamicBinds::Set(const std::string& name, const Value& value, OraError&) {
  values[name] = value;
  return true;
}

PlError ErrorOfDynamicBlock(const OraError& error) {
  static const std::string kTrail = "\nORA-06512: at ";
  const size_t start = error.message.find(kTrail);
  PlError e = MakeError(error.code, error.message.substr(0, start));
  for (size_t at = start; at != std::string::npos;) {
    const size_t next = error.message.find(kTrail, at + 1);
    const std::string place = error.message.substr(at + kTrail.size(), next - at - kTrail.size());
    const size_t line = place.rfind("line ");
    ErrorPlace p;
    if (place[0] == '"')
      p.unit = place.substr(1, place.find('"', 1) - 1);
    if (line != std::string::npos)
      p.line = std::atoi(place.c_str() + line + 5);
    e.places.push_back(p);
    at = next;
  }
  return e;
}

}  // namespace sandbox::plsql
