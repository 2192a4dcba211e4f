// The conditional compilation pass, run on the tokens of the source before
// the compiler sees it.
#include "sandbox/plsql/Preprocessor.h"

#include <vector>

namespace sandbox::plsql {

namespace {

// A selected $IF branch and what is left of its chain.
struct Frame {
  bool parentActive = true;
  bool taken = false;  // a branch of the chain was chosen
  bool active = true;
};

struct Edit {
  size_t offset = 0;
  size_t length = 0;
  std::string replacement;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

std::string LiteralOf(const PlValue& value) {
  switch (value.kind()) {
    case PlValue::Kind::Number:
      return FormatNumber(value.number());
    case PlValue::Kind::Boolean:
      return value.boolean() ? "TRUE" : "FALSE";
    case PlValue::Kind::Text:
    case PlValue::Kind::Date:
      return Quoted(value.text());
    case PlValue::Kind::Null:
      break;
  }
  return "NULL";
}

class Preprocessor {
 public:
  Preprocessor(const std::string& source, const std::vector<Token>& tokens,
               const UnitIdentity& unit, bool keepOffsets)
      : source_(source), tokens_(tokens), unit_(unit), keepOffsets_(keepOffsets) {}

  std::string Run() {
    std::vector<Frame> frames;
    bool active = true;
    while (Peek().kind != Token::Kind::End) {
      const Token& t = Take();
      if (t.kind == Token::Kind::Inquiry) {
        Replace(t, active && !keepOffsets_ ? LiteralOf(Inquiry(t)) : std::string());
        continue;
      }
      if (t.kind != Token::Kind::Directive) {
        if (!active)
          Replace(t, std::string());
        continue;
      }
      Replace(t, std::string());
      if (t.text == "IF") {
        const bool chosen = Condition(active);
        frames.push_back({active, chosen, active && chosen});
      } else if (t.text == "ELSIF" && !frames.empty()) {
        Frame& f = frames.back();
        const bool open = f.parentActive && !f.taken;
        const bool chosen = Condition(open);
        f.active = open && chosen;
        f.taken = f.taken || chosen;
      } else if (t.text == "ELSE" && !frames.empty()) {
        Frame& f = frames.back();
        f.active = f.parentActive && !f.taken;
        f.taken = true;
      } else if (t.text == "END" && !frames.empty()) {
        frames.pop_back();
      } else if (t.text == "ERROR") {
        ErrorDirective(t, active);
      } else {
        Fail(t, "PLS-00103: Encountered the symbol \"$" + t.text +
                    "\" when expecting one of the following:\n\n   begin declare $if");
      }
      active = frames.empty() || frames.back().active;
    }
    if (!frames.empty()) {
      Fail(Peek(),
           "PLS-00103: Encountered the symbol \"end-of-file\" when expecting one of the "
           "following:\n\n   $else $elsif $end");
    }
    return Apply();
  }

 private:
  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Take() {
    const Token& t = tokens_[pos_];
    if (t.kind != Token::Kind::End)
      ++pos_;
    return t;
  }
  bool Accept(const char* word) {
    if (!Peek().Is(word))
      return false;
    Replace(Take(), std::string());
    return true;
  }

  [[noreturn]] void Fail(const Token& at, const std::string& message) const {
    throw LexError{at.line, at.column, message};
  }
  [[noreturn]] void NotStatic(const Token& at) const {
    Fail(at, "PLS-00174: a static boolean expression must be used");
  }

  // The token's text is replaced; removed text keeps its line breaks.
  void Replace(const Token& t, std::string replacement) {
    if (replacement.empty()) {
      replacement = source_.substr(t.offset, t.length);
      for (char& c : replacement) {
        if (c != '\n')
          c = ' ';
      }
    }
    edits_.push_back({t.offset, t.length, std::move(replacement)});
  }

  std::string Apply() const {
    std::string text;
    size_t copied = 0;
    for (const Edit& e : edits_) {
      text += source_.substr(copied, e.offset - copied) + e.replacement;
      copied = e.offset + e.length;
    }
    return text + source_.substr(copied);
  }

  PlValue Inquiry(const Token& t) const {
    const bool anonymous = unit_.name.empty();
    if (t.text == "PLSQL_LINE")
      return PlValue::Number(t.line);
    if (t.text == "PLSQL_UNIT")
      return anonymous ? PlValue() : PlValue::Text(unit_.name);
    if (t.text == "PLSQL_UNIT_OWNER")
      return anonymous ? PlValue() : PlValue::Text(unit_.owner);
    if (t.text == "PLSQL_UNIT_TYPE")
      return PlValue::Text(anonymous ? "ANONYMOUS BLOCK" : unit_.type);
    if (t.text == "PLSQL_OPTIMIZE_LEVEL")
      return PlValue::Number(2);
    if (t.text == "PLSQL_CODE_TYPE")
      return PlValue::Text("INTERPRETED");
    if (t.text == "NLS_LENGTH_SEMANTICS")
      return PlValue::Text("BYTE");
    return {};  // a flag nobody set
  }

  std::string TextOfInquiry(const Token& t) const {
    const PlValue v = Inquiry(t);
    if (v.IsNull())
      return std::string();
    return v.kind() == PlValue::Kind::Text ? v.text() : LiteralOf(v);
  }

  // The condition after $IF or $ELSIF up to its $THEN, taken; evaluated
  // only where its branch could be chosen.
  bool Condition(bool evaluate) {
    const size_t begin = pos_;
    size_t end = begin;
    while (!(tokens_[end].kind == Token::Kind::Directive && tokens_[end].text == "THEN")) {
      if (tokens_[end].kind == Token::Kind::End || tokens_[end].kind == Token::Kind::Directive) {
        Fail(tokens_[end], "PLS-00103: Encountered the symbol \"" +
                               (tokens_[end].kind == Token::Kind::End ? std::string("end-of-file")
                                                                      : "$" + tokens_[end].text) +
                               "\" when expecting one of the following:\n\n   $then");
      }
      ++end;
    }
    if (begin == end)
      NotStatic(tokens_[end]);
    bool result = false;
    if (evaluate) {
      const PlValue value = Or();
      if (pos_ != end)
        NotStatic(tokens_[pos_]);
      if (!value.IsNull() && value.kind() != PlValue::Kind::Boolean)
        NotStatic(tokens_[begin]);
      result = !value.IsNull() && value.boolean();
    }
    for (pos_ = begin; pos_ <= end;)
      Replace(Take(), std::string());
    return result;
  }

  // $ERROR text $END: the text is a string, or pieces of one joined by ||.
  void ErrorDirective(const Token& at, bool active) {
    std::string message;
    while (!(Peek().kind == Token::Kind::Directive && Peek().text == "END")) {
      if (Peek().kind == Token::Kind::End || Peek().kind == Token::Kind::Directive)
        Fail(Peek(), "PLS-00103: Encountered the symbol \"" + Peek().text +
                         "\" when expecting one of the following:\n\n   $end");
      const Token& t = Take();
      Replace(t, std::string());
      if (t.kind == Token::Kind::String || t.kind == Token::Kind::Number)
        message += t.text;
      else if (t.kind == Token::Kind::Inquiry)
        message += TextOfInquiry(t);
    }
    Replace(Take(), std::string());
    if (active)
      Fail(at, "PLS-00179: $ERROR: " + message);
  }

  // Static expressions: literals, inquiries, DBMS_DB_VERSION's constants,
  // NOT, AND, OR, comparisons and IS [NOT] NULL.
  PlValue Or() {
    PlValue left = And();
    while (Peek().Is("OR")) {
      Take();
      const PlValue right = And();
      left = Logic(left, right, false);
    }
    return left;
  }
  PlValue And() {
    PlValue left = Not();
    while (Peek().Is("AND")) {
      Take();
      const PlValue right = Not();
      left = Logic(left, right, true);
    }
    return left;
  }
  PlValue Logic(const PlValue& a, const PlValue& b, bool isAnd) const {
    for (const PlValue* v : {&a, &b}) {
      if (!v->IsNull() && v->kind() != PlValue::Kind::Boolean)
        NotStatic(Peek());
      if (!v->IsNull() && v->boolean() != isAnd)
        return *v;
    }
    if (a.IsNull() || b.IsNull())
      return {};
    return PlValue::Boolean(isAnd);
  }
  PlValue Not() {
    if (!Peek().Is("NOT"))
      return Compare();
    const Token& at = Take();
    const NestingGuard guard(*this, at);
    const PlValue v = Not();
    if (v.IsNull())
      return v;
    if (v.kind() != PlValue::Kind::Boolean)
      NotStatic(at);
    return PlValue::Boolean(!v.boolean());
  }
  PlValue Compare() {
    const PlValue left = Primary();
    if (Peek().Is("IS")) {
      Take();
      const bool negated = Peek().Is("NOT");
      if (negated)
        Take();
      if (!Peek().Is("NULL"))
        NotStatic(Peek());
      Take();
      return PlValue::Boolean(left.IsNull() != negated);
    }
    if (!Peek().IsAny({"=", "<>", "!=", "^=", "~=", "<", ">", "<=", ">="}))
      return left;
    const Token& op = Take();
    const PlValue right = Primary();
    if (left.IsNull() || right.IsNull())
      return {};
    if (left.kind() != right.kind())
      NotStatic(op);
    int c = 0;
    if (left.kind() == PlValue::Kind::Number)
      c = left.number() < right.number() ? -1 : left.number() > right.number() ? 1 : 0;
    else if (left.kind() == PlValue::Kind::Boolean)
      c = static_cast<int>(left.boolean()) - static_cast<int>(right.boolean());
    else
      c = left.text().compare(right.text());
    if (op.Is("="))
      return PlValue::Boolean(c == 0);
    if (op.Is("<"))
      return PlValue::Boolean(c < 0);
    if (op.Is(">"))
      return PlValue::Boolean(c > 0);
    if (op.Is("<="))
      return PlValue::Boolean(c <= 0);
    if (op.Is(">="))
      return PlValue::Boolean(c >= 0);
    return PlValue::Boolean(c != 0);
  }
  PlValue Primary() {
    const Token& t = Take();
    if (t.Is("(")) {
      const NestingGuard guard(*this, t);
      const PlValue v = Or();
      if (!Peek().Is(")"))
        NotStatic(Peek());
      Take();
      return v;
    }
    if (t.Is("TRUE") || t.Is("FALSE"))
      return PlValue::Boolean(t.Is("TRUE"));
    if (t.Is("NULL"))
      return {};
    if (t.kind == Token::Kind::String)
      return PlValue::Text(t.text);
    if (t.kind == Token::Kind::Inquiry)
      return Inquiry(t);
    if (t.kind == Token::Kind::Number) {
      long double n = 0;
      ParseNumber(t.text, n);
      return PlValue::Number(n);
    }
    if (t.Is("DBMS_DB_VERSION") && Peek().Is(".")) {
      Take();
      PlValue value;
      const Token& member = Take();
      if (member.kind == Token::Kind::Identifier && DbmsDbVersion(member.text, value))
        return value;
      Fail(member, "PLS-00302: component '" + member.text + "' must be declared");
    }
    NotStatic(t);
  }

  // Bounds the recursion of nested parentheses and NOTs, which would
  // otherwise exhaust the stack.
  class NestingGuard {
   public:
    NestingGuard(Preprocessor& p, const Token& at) : p_(p) {
      if (++p_.depth_ > 200)
        p_.Fail(at, "PLS-00123: program too large (Diana nodes)");
    }
    ~NestingGuard() { --p_.depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

   private:
    Preprocessor& p_;
  };

  const std::string& source_;
  const std::vector<Token>& tokens_;
  const UnitIdentity& unit_;
  int depth_ = 0;
  const bool keepOffsets_;
  size_t pos_ = 0;
  std::vector<Edit> edits_;
};

}  // namespace

bool DbmsDbVersion(const std::string& member, PlValue& value) {
  if (member == "VERSION") {
    value = PlValue::Number(19);
    return true;
  }
  if (member == "RELEASE") {
    value = PlValue::Number(0);
    return true;
  }
  // Release 19 declares these; every one but VER_LE_19 is false.
  static const char* const kOlder[] = {"VER_LE_9_1",  "VER_LE_9_2",  "VER_LE_9",    "VER_LE_10_1",
                                       "VER_LE_10_2", "VER_LE_10",   "VER_LE_11_1", "VER_LE_11_2",
                                       "VER_LE_11",   "VER_LE_12_1", "VER_LE_12_2", "VER_LE_12",
                                       "VER_LE_18"};
  if (member == "VER_LE_19") {
    value = PlValue::Boolean(true);
    return true;
  }
  for (const char* older : kOlder) {
    if (member == older) {
      value = PlValue::Boolean(false);
      return true;
    }
  }
  return false;
}

namespace {

bool Select(const std::string& source, const UnitIdentity& unit, bool keepOffsets,
            std::string& text, LexError& error) {
  if (source.find('$') == std::string::npos) {
    text = source;
    return true;
  }
  std::vector<Token> tokens;
  if (!Tokenize(source, tokens, error, true))
    return false;
  try {
    text = Preprocessor(source, tokens, unit, keepOffsets).Run();
    return true;
  } catch (const LexError& e) {
    error = e;
    return false;
  }
}

}  // namespace

bool Preprocess(const std::string& source, const UnitIdentity& unit, std::string& text,
                LexError& error) {
  return Select(source, unit, false, text, error);
}

bool BlankUnselected(const std::string& source, const UnitIdentity& unit, std::string& text,
                     LexError& error) {
  return Select(source, unit, true, text, error);
}

}  // namespace sandbox::plsql
