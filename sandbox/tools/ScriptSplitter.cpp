// ScriptSplitter: a line-by-line scanner that tracks literals and comments
// across lines.
#include "sandbox/tools/ScriptSplitter.h"

#include <cctype>
#include <map>
#include <optional>
#include <sstream>

namespace sandbox::tools {
namespace {

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}

// Whether the q at `at` (followed by a quote) opens an alternative-quoted
// literal: it starts a word, alone or after N, and its delimiter is no blank.
bool StartsAlternativeQuote(const std::string& line, std::size_t at) {
  const char delimiter = line[at + 2];
  if (delimiter == ' ' || delimiter == '\t' || delimiter == '\r')
    return false;
  if (at == 0 || !IsWordChar(line[at - 1]))
    return true;
  return (line[at - 1] == 'N' || line[at - 1] == 'n') && (at == 1 || !IsWordChar(line[at - 2]));
}

std::string Trim(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos)
    return {};
  std::size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string UpperFirstWord(const std::string& text) {
  std::string word;
  for (char c : text) {
    if (!std::isalpha(static_cast<unsigned char>(c)))
      break;
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return word;
}

std::vector<std::string> UpperWords(const std::string& text, std::size_t count) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
      if (words.size() == count)
        return words;
    }
  }
  if (!word.empty())
    words.push_back(word);
  return words;
}

// text from its first word on: comments before it are passed over.
std::string WithoutLeadingComments(const std::string& text) {
  std::size_t at = 0;
  for (;;) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string::npos)
      return {};
    if (text.compare(at, 2, "/*") == 0) {
      const std::size_t close = text.find("*/", at + 2);
      if (close == std::string::npos)
        return {};
      at = close + 2;
    } else if (text.compare(at, 2, "--") == 0) {
      at = text.find('\n', at);
      if (at == std::string::npos)
        return {};
    } else {
      return text.substr(at);
    }
  }
}

// Text that runs as PL/SQL, in which ";" ends inner statements, not the unit.
// A comment before the statement's first word does not hide it.
bool IsPlsql(const std::string& text) {
  std::vector<std::string> words = UpperWords(WithoutLeadingComments(text), 6);
  if (words.empty())
    return false;
  if (words[0] == "BEGIN" || words[0] == "DECLARE")
    return true;
  if (words[0] != "CREATE")
    return false;
  std::size_t i = 1;
  if (i + 1 < words.size() && words[i] == "OR" && words[i + 1] == "REPLACE")
    i += 2;
  if (i < words.size() && (words[i] == "EDITIONABLE" || words[i] == "NONEDITIONABLE"))
    ++i;
  if (i >= words.size())
    return false;
  const std::string& kind = words[i];
  return kind == "PROCEDURE" || kind == "FUNCTION" || kind == "PACKAGE" || kind == "TYPE" ||
         kind == "TRIGGER" || kind == "LIBRARY";
}

// A command of the SQL tool itself: it never reaches the server. SET is one
// unless it begins a SQL statement (SET TRANSACTION, SET ROLE, SET CONSTRAINTS).
bool IsToolCommand(const std::string& trimmed) {
  if (trimmed[0] == '@')
    return true;
  static const char* const commands[] = {
      "SET",    "DEFINE", "DEF",     "UNDEFINE", "SPOOL",  "WHENEVER",  "PROMPT",
      "EXIT",   "QUIT",   "SHOW",    "SHO",      "COLUMN", "COL",       "TTITLE",
      "BTITLE", "BREAK",  "CLEAR",   "PAUSE",    "ACCEPT", "HOST",      "VARIABLE",
      "VAR",    "PRINT",  "COMPUTE", "TIMING",   "STORE",  "REPHEADER", "REPFOOTER"};
  const std::vector<std::string> words = UpperWords(trimmed, 2);
  if (words.empty())
    return false;
  if (words[0] == "SET" && words.size() > 1 &&
      (words[1] == "TRANSACTION" || words[1] == "ROLE" || words[1] == "CONSTRAINT" ||
       words[1] == "CONSTRAINTS"))
    return false;
  for (const char* command : commands)
    if (words[0] == command)
      return true;
  return false;
}

// True when text holds nothing but comments and blanks.
bool OnlyComments(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::isspace(static_cast<unsigned char>(text[i])))
      continue;
    if (text.compare(i, 2, "--") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos)
        return true;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos)
        return true;
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

class Splitter {
 public:
  void Line(const std::string& line, int number) {
    if (ended_)
      return;
    std::string trimmed = Trim(line);
    if (Pending() && !inQuote_ && !inBlockComment_ && !trimmed.empty() && IsToolCommand(trimmed)) {
      current_.clear();  // comments before a command belong to no statement
      statements_.push_back({trimmed, number, true});
      // "@", "@@" and "@/" name no file and have no word: skipped like any command.
      const std::vector<std::string> words = UpperWords(trimmed, 3);
      ended_ = !words.empty() && (words[0] == "EXIT" || words[0] == "QUIT");
      if (words.size() == 3 && words[0] == "SET" && words[1].compare(0, 5, "SQLBL") == 0)
        blankLinesKept_ = words[2] == "ON";
      if (words.size() == 3 && words[0] == "SET" && (words[1] == "DEFINE" || words[1] == "DEF"))
        substituting_ = words[2] != "OFF";
      if (!words.empty() && (words[0] == "DEFINE" || words[0] == "DEF"))
        Define(trimmed);
      return;
    }
    // Lines passed over between statements are not read for variables.
    if (substituting_ && line.find('&') != std::string::npos &&
        !(Pending() && !inQuote_ && !inBlockComment_ && SkippedBetweenStatements(trimmed))) {
      ReadLine(Substituted(line, number), number);
      // A line that began no statement (substitution left it blank or a
      // comment) gives its notes now, not after the next statement.
      if (current_.empty())
        MoveHeldCommands();
      return;
    }
    ReadLine(line, number);
  }

  std::vector<ScriptStatement> Finish() {
    Flush();
    return std::move(statements_);
  }

 private:
  void ReadLine(const std::string& line, int number) {
    const std::string trimmed = Trim(line);
    const bool pending = Pending();
    // The tool reads these lines before the statement's text: a literal or
    // comment left open does not hide them.
    if (trimmed == "/") {
      Flush();
      return;
    }
    if (trimmed == ".") {
      Discard();  // ends the statement without running it
      return;
    }
    if (!pending && !line.empty() && line[0] == '#') {
      // A command of the tool run while a statement is entered; noted after
      // the statement, so that notes and statements stay in line order.
      heldCommands_.push_back({trimmed, number, true});
      return;
    }
    if (!pending && trimmed.empty() && !blankLinesKept_ && !IsPlsqlStatement()) {
      Discard();
      return;
    }
    if (pending && !inQuote_ && !inBlockComment_ && SkippedBetweenStatements(trimmed))
      return;
    Scan(line, number);
    // A line ending in ";" ends an SQL statement even inside a literal or a
    // comment: the tool looks at the line's end, not at what it quotes.
    if ((inQuote_ || inBlockComment_) && !trimmed.empty() && trimmed.back() == ';' &&
        !IsPlsqlStatement()) {
      if (const std::size_t semicolon = current_.rfind(';'); semicolon != std::string::npos)
        current_.erase(semicolon);
      Flush();
      return;
    }
    if (!current_.empty())
      current_ += '\n';
  }

  // "DEFINE name = value" (or "DEFINE name value"): the value without its quotes.
  void Define(const std::string& command) {
    std::size_t at = command.find_first_of(" \t");
    if (at == std::string::npos)
      return;
    at = command.find_first_not_of(" \t", at);
    const std::size_t nameEnd = command.find_first_of(" \t=", at);
    if (at == std::string::npos || nameEnd == std::string::npos || nameEnd == at)
      return;
    std::string value = Trim(command.substr(nameEnd));
    if (!value.empty() && value[0] == '=')
      value = Trim(value.substr(1));
    if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    const std::vector<std::string> name = UpperWords(command.substr(at, nameEnd - at), 1);
    if (!name.empty())  // a name of no letters or digits defines nothing
      defines_[name.front()] = value;
  }

  // line with each "&name" and "&&name" (and the "." that may end the name)
  // replaced by its value; "&&" keeps the value for later lines.
  std::string Substituted(const std::string& line, int number) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const std::size_t start = line.compare(i, 2, "&&") == 0 ? i + 2 : i + 1;
      std::size_t end = start;
      while (line[i] == '&' && end < line.size() &&
             (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_'))
        ++end;
      if (line[i] != '&' || end == start) {
        out += line[i];
        continue;
      }
      const std::string name = UpperWords(line.substr(start, end - start), 1).front();
      if (defines_.count(name) == 0) {
        heldCommands_.push_back(
            {"&" + name + " has no value: the tool would prompt for one and take nothing", number,
             false, true});
        if (start == i + 2)
          defines_[name] = "";
      }
      out += defines_.count(name) != 0 ? defines_[name] : std::string();
      i = end < line.size() && line[end] == '.' ? end : end - 1;
    }
    return out;
  }
  // Literals and comments are followed across lines; ";" outside them ends
  // the statement unless it is PL/SQL.
  void Scan(const std::string& line, int number) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      char next = i + 1 < line.size() ? line[i + 1] : '\0';
      if (inBlockComment_) {
        if (c == '*' && next == '/') {
          inBlockComment_ = false;
          Append("*/", number);
          ++i;
          continue;
        }
      } else if (inQuote_) {
        if (c == quote_ && (!alternativeQuote_ || next == '\'')) {
          inQuote_ = false;
          if (alternativeQuote_) {
            Append(std::string(1, c), number);
            ++i;
            c = next;
          }
        }
      } else if ((c == 'q' || c == 'Q') && next == '\'' && i + 2 < line.size() &&
                 StartsAlternativeQuote(line, i)) {
        // q'[...]': the text ends at the closing delimiter and a quote.
        const char open = line[i + 2];
        inQuote_ = alternativeQuote_ = true;
        quote_ = open == '['   ? ']'
                 : open == '{' ? '}'
                 : open == '<' ? '>'
                 : open == '(' ? ')'
                               : open;
        Append(line.substr(i, 3), number);
        i += 2;
        continue;
      } else if (c == '-' && next == '-') {
        Append(line.substr(i), number);
        break;
      } else if (c == '/' && next == '*') {
        inBlockComment_ = true;
        Append("/*", number);
        ++i;
        continue;
      } else if (c == '\'' || c == '"') {
        inQuote_ = true;
        alternativeQuote_ = false;
        quote_ = c;
      } else if (c == ';' && !IsPlsqlStatement()) {
        Flush();
        continue;
      }
      Append(std::string(1, c), number);
    }
  }

  // True while no statement has begun (comments alone begin none).
  bool Pending() const { return current_.empty() || OnlyComments(current_); }

  // Decided at the statement's first ";": its leading words are all there by
  // then, and a PL/SQL unit is not scanned again at every later ";".
  bool IsPlsqlStatement() {
    if (!plsql_)
      plsql_ = IsPlsql(current_);
    return *plsql_;
  }

  static bool SkippedBetweenStatements(const std::string& trimmed) {
    if (trimmed.empty() || trimmed.compare(0, 2, "--") == 0)
      return true;
    std::string word = UpperFirstWord(trimmed);
    return word == "REM" || word == "REMARK";
  }

  void Append(const std::string& text, int number) {
    if (current_.empty()) {
      std::size_t start = text.find_first_not_of(" \t\r");
      if (start == std::string::npos)
        return;
      line_ = number;
      current_ = text.substr(start);
      return;
    }
    current_ += text;
  }

  void Flush() {
    std::string text = Trim(current_);
    if (!OnlyComments(text))
      statements_.push_back({text, line_});
    Discard();
  }

  // Forgets the statement entered so far, as the tool does at a "." line or,
  // in SQL, at a blank line. The commands held while it was entered follow.
  void Discard() {
    current_.clear();
    plsql_.reset();
    inQuote_ = false;
    inBlockComment_ = false;
    MoveHeldCommands();
  }

  void MoveHeldCommands() {
    for (ScriptStatement& command : heldCommands_)
      statements_.push_back(std::move(command));
    heldCommands_.clear();
  }

  std::vector<ScriptStatement> statements_;
  std::string current_;
  int line_ = 0;
  bool inQuote_ = false;
  bool alternativeQuote_ = false;  // q'<...>': quote_ is the closing delimiter
  char quote_ = '\'';
  bool inBlockComment_ = false;
  bool ended_ = false;                         // after EXIT or QUIT
  bool blankLinesKept_ = false;                // SET SQLBLANKLINES ON
  std::vector<ScriptStatement> heldCommands_;  // and notes
  bool substituting_ = true;                   // until SET DEFINE OFF
  std::map<std::string, std::string> defines_;
  std::optional<bool> plsql_;
};

}  // namespace

std::vector<ScriptStatement> SplitScript(const std::string& script) {
  Splitter splitter;
  std::istringstream lines(script);
  std::string line;
  int number = 0;
  while (std::getline(lines, line))
    splitter.Line(line, ++number);
  return splitter.Finish();
}

}  // namespace sandbox::tools
