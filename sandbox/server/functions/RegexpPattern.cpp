// Oracle patterns to PCRE2 patterns. The two languages agree on most of
// their syntax; where they differ the translation keeps Oracle's meaning:
// a backslash inside brackets is a literal, equivalence and collation
// classes name one character, a quantifier with nothing to repeat is a
// literal and one quantifier after another repeats the repeated item
// (PCRE2 would read "a*+" as possessive).
#include "sandbox/server/functions/RegexpPattern.h"
#include "sandbox/server/values/Utf8.h"

#include <cctype>
#include <vector>

namespace sandbox {

namespace {

// Oracle limits a pattern to 512 bytes.
constexpr std::size_t kMaxPatternBytes = 512;
// PCRE2 takes repeat counts up to 65535.
constexpr long kMaxRepeat = 65535;

// A character taken literally, in or out of a PCRE2 character class.
std::string Literal(std::string_view character) {
  const unsigned char c = static_cast<unsigned char>(character[0]);
  if (character.size() == 1 && c < 0x80 && !std::isalnum(c) && c != ' ')
    return std::string("\\") + character[0];
  return std::string(character);
}

bool IsPosixClass(std::string_view name) {
  static const char* const kClasses[] = {"alpha", "digit", "alnum", "upper", "lower",  "space",
                                         "punct", "print", "graph", "cntrl", "xdigit", "blank"};
  for (const char* known : kClasses)
    if (name == known)
      return true;
  return false;
}

class Translator {
 public:
  Translator(std::string_view oracle, bool ignoreWhitespace)
      : in_(oracle), ignoreWhitespace_(ignoreWhitespace) {}

  RegexpTranslation Run() {
    RegexpTranslation result;
    if (in_.size() > kMaxPatternBytes)
      return Failed(12733);
    while (at_ < in_.size() && error_ == 0)
      Step();
    if (error_ == 0 && !groupStarts_.empty())
      error_ = 12725;
    if (error_ == 0 && highestBackReference_ > groups_)
      error_ = 12727;
    if (error_ != 0)
      return Failed(error_);
    result.pattern = std::move(out_);
    return result;
  }

 private:
  enum class Last { Nothing, Atom, Quantifier, Lazy };

  static RegexpTranslation Failed(int code) {
    RegexpTranslation failed;
    failed.errorCode = code;
    return failed;
  }

  void Atom(const std::string& text) {
    atomStart_ = out_.size();
    out_ += text;
    last_ = Last::Atom;
  }

  void Quantifier(const std::string& quantifier) {
    if (last_ == Last::Nothing) {  // nothing to repeat: the characters themselves
      std::string literal;
      for (char c : quantifier)
        literal += Literal(std::string_view(&c, 1));
      Atom(literal);
      return;
    }
    if (last_ == Last::Quantifier && quantifier == "?") {
      out_ += '?';
      last_ = Last::Lazy;
      return;
    }
    if (last_ != Last::Atom)
      out_.insert(atomStart_, "(?:"), out_ += ')';
    out_ += quantifier;
    last_ = Last::Quantifier;
  }

  void Step() {
    const char c = in_[at_];
    if (ignoreWhitespace_ && std::isspace(static_cast<unsigned char>(c))) {
      ++at_;
      return;
    }
    switch (c) {
      case '\\':
        Escape();
        return;
      case '[':
        Bracket();
        return;
      case '(':
        groupStarts_.push_back(out_.size());
        ++groups_;
        out_ += '(';
        last_ = Last::Nothing;
        ++at_;
        if (at_ < in_.size() && in_[at_] == '?') {  // no (?...) groups in Oracle's language
          Atom("\\?");
          ++at_;
        }
        return;
      case ')':
        if (groupStarts_.empty()) {
          error_ = 12725;
          return;
        }
        atomStart_ = groupStarts_.back();
        groupStarts_.pop_back();
        out_ += ')';
        last_ = Last::Atom;
        ++at_;
        return;
      case '|':
      case '^':
      case '$':
        out_ += c;
        last_ = Last::Nothing;
        ++at_;
        return;
      case '*':
      case '+':
      case '?':
        ++at_;
        Quantifier(std::string(1, c));
        return;
      case '{':
        Interval();
        return;
      case '.':
        Atom(".");
        ++at_;
        return;
      default: {
        std::size_t length = 1;
        DecodeUtf8(in_, at_, length);
        Atom(Literal(in_.substr(at_, length)));
        at_ += length;
      }
    }
  }

  // {n}, {n,}, {n,m}; any other brace is a literal.
  void Interval() {
    std::size_t j = at_ + 1;
    auto number = [&](long& value) {
      const std::size_t begin = j;
      value = 0;
      while (j < in_.size() && std::isdigit(static_cast<unsigned char>(in_[j])) && j - begin < 9)
        value = value * 10 + (in_[j++] - '0');
      return j > begin;
    };
    long low = 0, high = -1;
    bool valid = number(low);
    if (valid && j < in_.size() && in_[j] == ',') {
      ++j;
      if (j < in_.size() && in_[j] != '}')
        valid = number(high);
    } else {
      high = low;
    }
    if (!valid || j >= in_.size() || in_[j] != '}') {
      Atom("\\{");
      ++at_;
      return;
    }
    if ((high >= 0 && high < low) || low > kMaxRepeat || high > kMaxRepeat) {
      error_ = 12732;
      return;
    }
    at_ = j + 1;
    Quantifier("{" + std::to_string(low) + (high == low ? "" : ",") +
               (high > low ? std::to_string(high) : "") + "}");
  }

  void Escape() {
    if (at_ + 1 >= in_.size()) {  // a trailing backslash stands for itself
      Atom("\\\\");
      ++at_;
      return;
    }
    const char next = in_[at_ + 1];
    if (next >= '1' && next <= '9') {
      highestBackReference_ = std::max(highestBackReference_, next - '0');
      Atom(std::string("\\g{") + next + "}");
      at_ += 2;
      return;
    }
    if (next == '0') {
      error_ = 12727;
      return;
    }
    static const std::string kClasses = "dDwWsS";
    static const std::string kAnchors = "AZz";
    if (kAnchors.find(next) != std::string::npos) {
      out_ += '\\';
      out_ += next;
      last_ = Last::Nothing;
      at_ += 2;
      return;
    }
    if (kClasses.find(next) != std::string::npos) {
      Atom(std::string("\\") + next);
      at_ += 2;
      return;
    }
    std::size_t length = 1;
    DecodeUtf8(in_, at_ + 1, length);
    Atom(Literal(in_.substr(at_ + 1, length)));
    at_ += 1 + length;
  }

  // One character of a bracket expression, or a collation or equivalence
  // class standing for one; its code point in code. Moves j past it.
  bool ClassCharacter(std::size_t& j, std::string& text, char32_t& code) {
    if (in_[j] == '[' && j + 1 < in_.size() && (in_[j + 1] == '=' || in_[j + 1] == '.')) {
      const char kind = in_[j + 1];
      const std::size_t close = in_.find(std::string{kind, ']'}, j + 2);
      if (close == std::string_view::npos) {
        error_ = 12726;
        return false;
      }
      const std::string_view content = in_.substr(j + 2, close - j - 2);
      std::size_t length = 0;
      if (!content.empty())
        code = DecodeUtf8(content, 0, length);
      if (content.empty() || length != content.size()) {
        error_ = kind == '=' ? 12730 : 12731;
        return false;
      }
      text = Literal(content);
      j = close + 2;
      return true;
    }
    std::size_t length = 1;
    code = DecodeUtf8(in_, j, length);
    // Every ASCII mark is escaped: "[." or "[=" would open a class of PCRE2's.
    text = Literal(in_.substr(j, length));
    j += length;
    return true;
  }

  void Bracket() {
    std::string text = "[";
    std::size_t j = at_ + 1;
    if (j < in_.size() && in_[j] == '^')
      text += '^', ++j;
    bool first = true;
    for (;;) {
      if (j >= in_.size()) {
        error_ = 12726;
        return;
      }
      if (in_[j] == ']' && !first)
        break;
      first = false;
      if (in_[j] == '[' && j + 1 < in_.size() && in_[j + 1] == ':') {
        const std::size_t close = in_.find(":]", j + 2);
        if (close == std::string_view::npos) {
          error_ = 12726;
          return;
        }
        const std::string_view name = in_.substr(j + 2, close - j - 2);
        if (!IsPosixClass(name)) {
          error_ = 12729;
          return;
        }
        text += "[:" + std::string(name) + ":]";
        j = close + 2;
        continue;
      }
      std::string low;
      char32_t lowCode = 0;
      if (!ClassCharacter(j, low, lowCode))
        return;
      text += low;
      if (j + 1 < in_.size() && in_[j] == '-' && in_[j + 1] != ']') {
        ++j;
        std::string high;
        char32_t highCode = 0;
        if (!ClassCharacter(j, high, highCode))
          return;
        if (highCode < lowCode) {
          error_ = 12728;
          return;
        }
        text += "-" + high;
      }
    }
    at_ = j + 1;
    Atom(text + "]");
  }

  std::string_view in_;
  bool ignoreWhitespace_;
  std::size_t at_ = 0;
  std::string out_;
  std::size_t atomStart_ = 0;
  Last last_ = Last::Nothing;
  std::vector<std::size_t> groupStarts_;
  int groups_ = 0;
  int highestBackReference_ = 0;
  int error_ = 0;
};

}  // namespace

RegexpTranslation TranslateRegexpPattern(std::string_view oracle, bool ignoreWhitespace) {
  return Translator(oracle, ignoreWhitespace).Run();
}

const char* RegexpErrorMessage(int errorCode) {
  switch (errorCode) {
    case 12725:
      return "ORA-12725: unmatched parentheses in regular expression";
    case 12726:
      return "ORA-12726: unmatched bracket in regular expression";
    case 12727:
      return "ORA-12727: invalid back reference in regular expression";
    case 12728:
      return "ORA-12728: invalid range in regular expression";
    case 12729:
      return "ORA-12729: invalid character class in regular expression";
    case 12730:
      return "ORA-12730: invalid equivalence class in regular expression";
    case 12731:
      return "ORA-12731: invalid collation class in regular expression";
    case 12732:
      return "ORA-12732: invalid interval value in regular expression";
    default:
      return "ORA-12733: regular expression too long";
  }
}

}  // namespace sandbox
