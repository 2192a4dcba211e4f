// Oracle-to-SQLite rewriting of queries and DML.
#include "sandbox/server/SqlTranslator.h"

#include <algorithm>
#include <cctype>

#include "sandbox/server/DecimalNumber.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

namespace {

const char* const kReserved[] = {
    "WHERE",   "GROUP",     "ORDER", "HAVING",    "UNION", "MINUS", "INTERSECT", "EXCEPT",
    "CONNECT", "START",     "JOIN",  "INNER",     "LEFT",  "RIGHT", "FULL",      "OUTER",
    "CROSS",   "NATURAL",   "ON",    "USING",     "FOR",   "SET",   "VALUES",    "SELECT",
    "FROM",    "AND",       "OR",    "NOT",       "IN",    "IS",    "LIKE",      "BETWEEN",
    "AS",      "INTO",      "WHEN",  "THEN",      "ELSE",  "END",   "ASC",       "DESC",
    "NULLS",   "RETURNING", "WITH",  "DISTINCT",  "ALL",   "CASE",  "EXISTS",    "PRIOR",
    "ESCAPE",  "BY",        "NULL",  "UNIQUE",    "ANY",   "SOME",  "INSERT",    "UPDATE",
    "DELETE",  "MERGE",     "OVER",  "PARTITION",
};

// Words that may stand before "(" without being a function call.
const char* const kKeywordsBeforeParen[] = {
    "IN",    "EXISTS", "VALUES", "AS",      "ON",     "AND",      "OR",        "NOT",
    "USING", "FROM",   "SELECT", "WHERE",   "ANY",    "SOME",     "ALL",       "THEN",
    "ELSE",  "WHEN",   "BY",     "SET",     "UNION",  "MINUS",    "INTERSECT", "HAVING",
    "INTO",  "LIKE",   "IS",     "BETWEEN", "RETURN", "DISTINCT", "CASE"};

bool IsOneOf(const SqlToken& token, const char* const* words, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (token.IsWord(words[i]))
      return true;
  return false;
}

bool EndsTableList(const SqlToken& t) {
  return t.IsWord("WHERE") || t.IsWord("GROUP") || t.IsWord("ORDER") || t.IsWord("HAVING") ||
         t.IsWord("UNION") || t.IsWord("MINUS") || t.IsWord("INTERSECT") || t.IsWord("EXCEPT") ||
         t.IsWord("CONNECT") || t.IsWord("START") || t.IsWord("FOR") || t.IsSymbol(")") ||
         t.IsSymbol(";") || t.IsWord("SET") || t.IsWord("VALUES") || t.IsWord("RETURNING");
}

bool IsJoinWord(const SqlToken& t) {
  return t.IsWord("JOIN") || t.IsWord("INNER") || t.IsWord("LEFT") || t.IsWord("RIGHT") ||
         t.IsWord("FULL") || t.IsWord("OUTER") || t.IsWord("CROSS") || t.IsWord("NATURAL");
}

bool IsName(const SqlToken& t) {
  return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
}

std::string NameSql(const SqlToken& t) {
  return QuoteSqliteName(t.Upper());
}

// Oracle type of an expression from its first word.
std::string ExpressionType(const SqlToken& first, bool isCall) {
  if (first.type == SqlToken::Type::Number)
    return "NUMBER";
  if (first.IsWord("SYSDATE"))
    return "DATE";
  if (first.IsWord("ROWID") && !isCall)
    return "ROWID";
  if (!isCall)
    return "";
  static const char* const numeric[] = {"COUNT", "SUM",   "AVG",       "LENGTH", "MOD",
                                        "ROUND", "TRUNC", "TO_NUMBER", "ABS",    "FLOOR",
                                        "CEIL",  "SIGN",  "INSTR",     "ASCII"};
  for (const char* word : numeric)
    if (first.IsWord(word))
      return "NUMBER";
  if (first.IsWord("TO_DATE"))
    return "DATE";
  return "";
}

}  // namespace

bool IsReservedWord(const SqlToken& token) {
  return IsOneOf(token, kReserved, std::size(kReserved));
}

void SqlTranslator::Fail(int code, const std::string& message) {
  if (!error_.IsSet())
    error_ = {code, message};
}

std::size_t SqlTranslator::Matching(std::size_t open, std::size_t end) const {
  int depth = 0;
  for (std::size_t i = open; i < end; ++i) {
    if (tokens_[i].IsSymbol("("))
      ++depth;
    if (tokens_[i].IsSymbol(")") && --depth == 0)
      return i;
  }
  return end;
}

std::size_t SqlTranslator::CaseEnd(std::size_t at, std::size_t end) const {
  int depth = 0;
  for (std::size_t i = at; i < end; ++i) {
    if (tokens_[i].IsWord("CASE"))
      ++depth;
    if (tokens_[i].IsWord("END") && --depth == 0)
      return i;
  }
  return end;
}

std::size_t SqlTranslator::QualifiedName(std::size_t at, std::size_t end,
                                         std::vector<std::string>& parts) const {
  parts.clear();
  parts.push_back(tokens_[at].Upper());
  std::size_t i = at + 1;
  while (i + 1 < end && tokens_[i].IsSymbol(".") && IsName(tokens_[i + 1])) {
    parts.push_back(tokens_[i + 1].Upper());
    i += 2;
  }
  return i;
}

std::string SqlTranslator::BindPlaceholder(const std::string& name) {
  auto& names = out_->bindNames;
  auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) {
    names.push_back(name);
    found = names.end() - 1;
  }
  return "?" + std::to_string(found - names.begin() + 1);
}

std::string SqlTranslator::JoinUnits(const std::vector<Unit>& rawUnits) {
  // Arithmetic binds at least as tightly as || in Oracle: "a / b || 'K'" is
  // "(a / b) || 'K'", so each arithmetic term becomes one operand first.
  std::vector<Unit> units;
  for (std::size_t i = 0; i < rawUnits.size(); ++i) {
    const Unit& unit = rawUnits[i];
    const bool arithmetic =
        unit.text == "+" || unit.text == "-" || unit.text == "*" || unit.text == "/";
    if (arithmetic && !units.empty() && units.back().primary && i + 1 < rawUnits.size() &&
        rawUnits[i + 1].primary) {
      // Oracle divides exactly and refuses a zero divisor; SQLite would
      // truncate two integers and answer NULL for zero.
      units.back().text += unit.text == "/" ? " * 1.0 / ora_divisor(" + rawUnits[i + 1].text + ")"
                                            : " " + unit.text + " " + rawUnits[i + 1].text;
      ++i;
      continue;
    }
    units.push_back(unit);
  }
  // Fold chains of "a || b || c" into one call that treats NULL as ''.
  std::vector<Unit> folded;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].concat && !folded.empty() && folded.back().primary && i + 1 < units.size() &&
        units[i + 1].primary) {
      Unit& left = folded.back();
      const std::string right = units[i + 1].text;
      if (left.text.rfind("ora_concat(", 0) == 0 && left.concat) {
        left.text.insert(left.text.size() - 1, ", " + right);
      } else {
        left.text = "ora_concat(" + left.text + ", " + right + ")";
        left.concat = true;  // marks a fold that may take more operands
      }
      ++i;
      continue;
    }
    folded.push_back(units[i]);
    if (!units[i].concat)
      folded.back().concat = false;
  }
  std::string text;
  for (const Unit& unit : folded) {
    if (!text.empty())
      text += ' ';
    text += unit.text;
  }
  return text;
}

std::string SqlTranslator::ColumnNameOf(std::size_t begin, std::size_t end) const {
  // Oracle names an expression column by its text without blanks, upper-cased
  // throughout (literals too), cut to 30 characters.
  std::string name;
  const std::string raw =
      sql_.substr(tokens_[begin].offset, tokens_[end - 1].end - tokens_[begin].offset);
  for (char c : raw)
    if (!std::isspace(static_cast<unsigned char>(c)))
      name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.size() > 30)
    name.resize(30);
  return name;
}

// TRIM([LEADING | TRAILING | BOTH] [set] FROM text) becomes LTRIM, RTRIM or
// TRIM of (text, set); TRIM(text) stays as it is.
std::string SqlTranslator::TranslateTrim(std::size_t begin, std::size_t end) {
  std::size_t from = end;
  for (std::size_t i = begin, depth = 0; i < end; ++i) {
    if (tokens_[i].IsSymbol("("))
      ++depth;
    if (tokens_[i].IsSymbol(")"))
      --depth;
    if (depth == 0 && tokens_[i].IsWord("FROM")) {
      from = i;
      break;
    }
  }
  if (from == end)
    return "TRIM(" + TranslateRange(begin, end, true) + ")";
  std::string function = "trim";
  std::size_t setBegin = begin;
  if (setBegin < from &&
      (tokens_[setBegin].IsWord("LEADING") || tokens_[setBegin].IsWord("TRAILING") ||
       tokens_[setBegin].IsWord("BOTH"))) {
    function = tokens_[setBegin].IsWord("LEADING")    ? "ltrim"
               : tokens_[setBegin].IsWord("TRAILING") ? "rtrim"
                                                      : "trim";
    ++setBegin;
  }
  const std::string set = setBegin < from ? TranslateRange(setBegin, from, true) : "' '";
  return function + "(" + TranslateRange(from + 1, end, true) + ", " + set + ")";
}

std::size_t SqlTranslator::TranslateSelectList(std::size_t at, std::size_t end,
                                               std::vector<Unit>& units) {
  const bool top = !topSelectSeen_;
  topSelectSeen_ = true;
  std::size_t i = at;
  while (i < end && (tokens_[i].IsWord("DISTINCT") || tokens_[i].IsWord("ALL") ||
                     tokens_[i].IsWord("UNIQUE"))) {
    units.push_back({tokens_[i].IsWord("ALL") ? "ALL" : "DISTINCT"});
    ++i;
  }
  // The list runs to FROM at this depth (or the end for SELECT without FROM).
  std::size_t listEnd = i;
  for (int depth = 0; listEnd < end; ++listEnd) {
    if (tokens_[listEnd].IsSymbol("("))
      ++depth;
    if (tokens_[listEnd].IsSymbol(")")) {
      if (depth == 0)
        break;
      --depth;
    }
    if (depth == 0 && (tokens_[listEnd].IsWord("FROM") || tokens_[listEnd].IsWord("INTO")))
      break;
  }
  std::string list;
  while (i < listEnd) {
    std::size_t itemEnd = i;
    for (int depth = 0; itemEnd < listEnd; ++itemEnd) {
      if (tokens_[itemEnd].IsSymbol("("))
        ++depth;
      if (tokens_[itemEnd].IsSymbol(")"))
        --depth;
      if (depth == 0 && tokens_[itemEnd].IsSymbol(","))
        break;
    }
    if (itemEnd == i) {
      Fail(936, "missing expression");
      return listEnd;
    }
    // An alias is a trailing name after AS, or after a complete expression.
    std::size_t exprEnd = itemEnd;
    std::string alias;
    const SqlToken& last = tokens_[itemEnd - 1];
    if (itemEnd - i >= 2 && IsName(last) && !IsReservedWord(last)) {
      const SqlToken& before = tokens_[itemEnd - 2];
      if (before.IsWord("AS")) {
        alias = last.Upper();
        exprEnd = itemEnd - 2;
      } else if (before.type != SqlToken::Type::Symbol || before.IsSymbol(")")) {
        alias = last.Upper();
        exprEnd = itemEnd - 1;
      }
    }
    const bool star = tokens_[exprEnd - 1].IsSymbol("*") &&
                      (exprEnd - i == 1 || tokens_[exprEnd - 2].IsSymbol("."));
    std::string name = alias;
    if (name.empty() && !star) {
      std::vector<std::string> parts;
      if (IsName(tokens_[i]) && QualifiedName(i, exprEnd, parts) == exprEnd &&
          !tokens_[i].IsWord("SYSDATE") && !tokens_[i].IsWord("USER"))
        name = parts.back();
      else
        name = ColumnNameOf(i, exprEnd);
    }
    std::string item = TranslateRange(i, exprEnd, false);
    if (!star)
      item += " AS " + QuoteSqliteName(name);
    if (!list.empty())
      list += ", ";
    list += item;
    if (top) {
      out_->columnNames.push_back(star ? std::string() : name);
      const bool isCall = exprEnd - i > 1 && tokens_[i + 1].IsSymbol("(");
      out_->expressionTypes.push_back(ExpressionType(tokens_[i], isCall));
    }
    if (itemEnd + 1 == listEnd) {
      Fail(936, "missing expression");  // a comma with no item after it
      return listEnd;
    }
    i = itemEnd < listEnd ? itemEnd + 1 : itemEnd;
  }
  units.push_back({list});
  return listEnd;
}

std::size_t SqlTranslator::TranslateTableItem(std::size_t at, std::size_t end,
                                              std::vector<Unit>& units, bool allowAlias) {
  if (at >= end) {
    Fail(903, "invalid table name");
    return end;
  }
  std::size_t i = at;
  std::string item, defaultAlias;
  if (tokens_[i].IsSymbol("(")) {
    const std::size_t close = Matching(i, end);
    item = "(" + TranslateRange(i + 1, close, false) + ")";
    i = close + 1;
  } else if (IsName(tokens_[i])) {
    std::vector<std::string> parts;
    i = QualifiedName(i, end, parts);
    if (parts.size() > 2) {
      Fail(933, "SQL command not properly ended");
      return end;
    }
    const std::string schema = parts.size() == 2 ? parts[0] : std::string();
    const auto storage = resolver_.ResolveTable(schema, parts.back());
    if (!storage) {
      Fail(942, "table or view does not exist");
      return end;
    }
    item = QuoteSqliteName(*storage);
    defaultAlias = parts.back();
  } else {
    Fail(903, "invalid table name");
    return end;
  }
  if (allowAlias && i < end && IsName(tokens_[i]) && !IsReservedWord(tokens_[i])) {
    item += " AS " + NameSql(tokens_[i]);
    ++i;
  } else if (!defaultAlias.empty()) {
    item += " AS " + QuoteSqliteName(defaultAlias);
  }
  units.push_back({item});
  return i;
}

std::size_t SqlTranslator::TranslateTableList(std::size_t at, std::size_t end,
                                              std::vector<Unit>& units) {
  std::size_t i = TranslateTableItem(at, end, units, true);
  while (i < end && !error_.IsSet()) {
    const SqlToken& t = tokens_[i];
    if (t.IsSymbol(",")) {
      units.push_back({","});
      i = TranslateTableItem(i + 1, end, units, true);
    } else if (IsJoinWord(t)) {
      while (i < end && IsJoinWord(tokens_[i]))
        units.push_back({ToUpperAscii(tokens_[i++].text)});
      i = TranslateTableItem(i, end, units, true);
    } else if (t.IsWord("ON")) {
      std::size_t conditionEnd = i + 1;
      for (int depth = 0; conditionEnd < end; ++conditionEnd) {
        const SqlToken& c = tokens_[conditionEnd];
        if (c.IsSymbol("("))
          ++depth;
        if (c.IsSymbol(")")) {
          if (depth == 0)
            break;
          --depth;
        }
        if (depth == 0 && (IsJoinWord(c) || EndsTableList(c) || c.IsSymbol(",")))
          break;
      }
      units.push_back({"ON " + TranslateRange(i + 1, conditionEnd, false)});
      i = conditionEnd;
    } else {
      break;
    }
  }
  return i;
}

std::string SqlTranslator::TranslateRange(std::size_t begin, std::size_t end, bool insideFunction) {
  std::vector<Unit> units;
  std::size_t i = begin;
  while (i < end && !error_.IsSet()) {
    const SqlToken& t = tokens_[i];
    const bool nextIsParen = i + 1 < end && tokens_[i + 1].IsSymbol("(");
    if (t.IsSymbol("(")) {
      const std::size_t close = Matching(i, end);
      if (close >= end) {
        Fail(907, "missing right parenthesis");
        break;
      }
      units.push_back({"(" + TranslateRange(i + 1, close, false) + ")", true});
      i = close + 1;
    } else if (t.IsSymbol(")")) {
      Fail(933, "SQL command not properly ended");
    } else if (t.type == SqlToken::Type::Word && nextIsParen &&
               !IsOneOf(t, kKeywordsBeforeParen, std::size(kKeywordsBeforeParen))) {
      const std::size_t close = Matching(i + 1, end);
      if (close >= end) {
        Fail(907, "missing right parenthesis");
        break;
      }
      units.push_back({t.IsWord("TRIM")
                           ? TranslateTrim(i + 2, close)
                           : ToUpperAscii(t.text) + "(" + TranslateRange(i + 2, close, true) + ")",
                       true});
      i = close + 1;
    } else if (t.IsWord("CASE")) {
      const std::size_t caseEnd = CaseEnd(i, end);
      if (caseEnd >= end) {
        Fail(905, "missing keyword");
        break;
      }
      units.push_back({"CASE " + TranslateRange(i + 1, caseEnd, insideFunction) + " END", true});
      i = caseEnd + 1;
    } else if (t.IsWord("SELECT")) {
      units.push_back({"SELECT"});
      i = TranslateSelectList(i + 1, end, units);
    } else if (t.IsWord("FROM") && !insideFunction) {
      units.push_back({"FROM"});
      i = TranslateTableList(i + 1, end, units);
    } else if (t.IsWord("INTO") && i > begin && tokens_[i - 1].IsWord("INSERT")) {
      units.push_back({"INTO"});
      i = TranslateTableItem(i + 1, end, units, false);
    } else if ((t.IsWord("UPDATE") || t.IsWord("DELETE")) && i == begin) {
      units.push_back({ToUpperAscii(t.text)});
      ++i;
      if (t.IsWord("DELETE") && i < end && !tokens_[i].IsWord("FROM")) {
        units.push_back({"FROM"});
        i = TranslateTableItem(i, end, units, true);
      } else if (t.IsWord("UPDATE")) {
        i = TranslateTableItem(i, end, units, true);
      }
    } else if ((t.IsWord("DATE") || t.IsWord("TIMESTAMP")) && i + 1 < end &&
               tokens_[i + 1].type == SqlToken::Type::String) {
      // ANSI literals: DATE '2024-01-31', TIMESTAMP '2024-01-31 10:00:00'.
      std::string text = tokens_[i + 1].text;
      if (t.IsWord("DATE") && text.size() == 10)
        text += " 00:00:00";
      if (t.IsWord("TIMESTAMP") && text.size() > 19)
        text.resize(19);
      units.push_back({"ora_to_date_literal(" + QuoteSqliteText(text) + ")", true});
      i += 2;
    } else if (t.IsWord("SYSDATE")) {
      units.push_back({"ora_sysdate()", true});
      ++i;
    } else if (t.IsWord("USER") && !(i > begin && tokens_[i - 1].IsSymbol("."))) {
      units.push_back({"ora_user()", true});
      ++i;
    } else if (t.IsWord("MINUS")) {
      units.push_back({"EXCEPT"});
      ++i;
    } else if (IsName(t) && !IsReservedWord(t)) {
      std::vector<std::string> parts;
      const std::size_t next = QualifiedName(i, end, parts);
      const std::string last = parts.back();
      if (parts.size() >= 2 && (last == "NEXTVAL" || last == "CURRVAL")) {
        std::string owner, sequence;
        const std::string schema = parts.size() == 3 ? parts[0] : std::string();
        if (!resolver_.ResolveSequence(schema, parts[parts.size() - 2], owner, sequence)) {
          Fail(2289, "sequence does not exist");
          break;
        }
        units.push_back({std::string(last == "NEXTVAL" ? "ora_nextval(" : "ora_currval(") +
                             QuoteSqliteText(owner) + ", " + QuoteSqliteText(sequence) + ")",
                         true});
      } else {
        std::string text;
        for (std::size_t p = i; p < next; p += 2) {
          if (!text.empty())
            text += '.';
          text += NameSql(tokens_[p]);
        }
        if (last == "ROWID" && tokens_[next - 1].type == SqlToken::Type::Word)
          text = "ora_rowid(" + text + ")";
        // "t.*" keeps its star.
        units.push_back({text, true});
      }
      i = next;
    } else if (t.type == SqlToken::Type::Word) {
      units.push_back({ToUpperAscii(t.text), t.IsWord("NULL")});
      ++i;
    } else if (t.type == SqlToken::Type::String) {
      units.push_back({t.text.empty() ? "NULL" : QuoteSqliteText(t.text), true});
      ++i;
    } else if (t.type == SqlToken::Type::Number) {
      // A sign of its own belongs to the literal: minus on a number kept as
      // text would read it back through a double.
      const bool signed_ =
          i >= begin + 1 && tokens_[i - 1].IsSymbol("-") && !units.empty() &&
          units.back().text == "-" &&
          (i < begin + 2 ||
           (tokens_[i - 2].type == SqlToken::Type::Symbol && !tokens_[i - 2].IsSymbol(")")) ||
           (tokens_[i - 2].type == SqlToken::Type::Word && IsReservedWord(tokens_[i - 2])));
      if (signed_)
        units.pop_back();
      units.push_back({SqliteNumberLiteral((signed_ ? "-" : "") + t.text), true});
      ++i;
    } else if (t.type == SqlToken::Type::Bind) {
      units.push_back({BindPlaceholder(t.text), true});
      ++i;
    } else if (t.IsSymbol("||")) {
      units.push_back({"||", false, true});
      ++i;
    } else if (t.IsSymbol("^=")) {
      units.push_back({"!="});
      ++i;
    } else if (t.IsSymbol(".")) {
      units.push_back({"."});
      ++i;
    } else if (t.IsSymbol(";") && i + 1 == end) {
      ++i;  // a trailing semicolon is SQL*Plus's, not the statement's
      Fail(911, "invalid character");
    } else {
      units.push_back({t.text});
      ++i;
    }
  }
  // Glue "x . *" back together.
  std::vector<Unit> glued;
  for (const Unit& unit : units) {
    if (!glued.empty() && (unit.text == "." || glued.back().text.back() == '.') &&
        unit.text != "||") {
      glued.back().text += unit.text;
      continue;
    }
    glued.push_back(unit);
  }
  return JoinUnits(glued);
}

bool SqlTranslator::Translate(TranslatedStatement& out, OraError& error) {
  out = {};
  out_ = &out;
  topSelectSeen_ = false;
  error_ = {};
  out.sql = TranslateRange(0, tokens_.size(), false);
  if (error_.IsSet()) {
    error = error_;
    return false;
  }
  return true;
}

}  // namespace sandbox
