// Oracle-to-SQLite rewriting of queries and DML.
#include "sandbox/server/sql/SqlTranslator.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/DateTimeTypeDdl.h"
#include "sandbox/server/sql/GroupingSets.h"
#include "sandbox/server/sql/HierarchicalQuery.h"
#include "sandbox/server/sql/OuterJoinMarker.h"
#include "sandbox/server/sql/StarColumns.h"
#include "sandbox/server/sql/TokenRanges.h"
#include "sandbox/server/sql/TokenStream.h"
#include "sandbox/server/values/DecimalNumber.h"

namespace sandbox {

namespace {

bool IsName(const SqlToken& t) {
  return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
}

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

// The event attribute functions, which SQL calls without parentheses.
bool IsEventAttribute(const SqlToken& token) {
  static const char* const names[] = {
      "ORA_SYSEVENT",   "ORA_DICT_OBJ_NAME", "ORA_DICT_OBJ_TYPE", "ORA_DICT_OBJ_OWNER",
      "ORA_LOGIN_USER", "ORA_DATABASE_NAME", "ORA_INSTANCE_NUM",  "ORA_SERVER_ERROR_DEPTH",
  };
  for (const char* name : names)
    if (token.IsWord(name))
      return true;
  return false;
}

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
  static const char* const numeric[] = {
      "COUNT",        "SUM",          "AVG",          "LENGTH",         "MOD",    "ROUND",
      "TRUNC",        "TO_NUMBER",    "ABS",          "FLOOR",          "CEIL",   "SIGN",
      "INSTR",        "ASCII",        "LENGTHB",      "INSTRB",         "BITAND", "REMAINDER",
      "WIDTH_BUCKET", "REGEXP_INSTR", "REGEXP_COUNT", "MONTHS_BETWEEN", "VSIZE",  "ORA_HASH"};
  for (const char* word : numeric)
    if (first.IsWord(word))
      return "NUMBER";
  if (first.IsWord("TO_DATE"))
    return "DATE";
  return "";
}

// The niladic functions and constants of the session and of the binary
// floating point types, as calls of the server's functions.
const char* SessionValueCall(const SqlToken& t) {
  static const struct {
    const char* word;
    const char* call;
  } values[] = {
      {"SYSTIMESTAMP", "ora_systimestamp()"},
      {"CURRENT_TIMESTAMP", "ora_current_timestamp()"},
      {"LOCALTIMESTAMP", "ora_localtimestamp()"},
      {"CURRENT_DATE", "ora_current_date()"},
      {"SESSIONTIMEZONE", "ora_sessiontimezone()"},
      {"DBTIMEZONE", "ora_dbtimezone()"},
      {"UID", "ora_uid()"},
      {"BINARY_DOUBLE_INFINITY", "9e999"},
      {"BINARY_FLOAT_INFINITY", "9e999"},
      {"BINARY_DOUBLE_NAN", "'Nan'"},
      {"BINARY_FLOAT_NAN", "'Nan'"},
      {"BINARY_DOUBLE_MAX_NORMAL", "1.7976931348623157e308"},
      {"BINARY_DOUBLE_MIN_NORMAL", "2.2250738585072014e-308"},
      {"BINARY_DOUBLE_MAX_SUBNORMAL", "2.2250738585072009e-308"},
      {"BINARY_DOUBLE_MIN_SUBNORMAL", "4.9406564584124654e-324"},
      {"BINARY_FLOAT_MAX_NORMAL", "3.40282347e38"},
      {"BINARY_FLOAT_MIN_NORMAL", "1.17549435e-38"},
      {"BINARY_FLOAT_MAX_SUBNORMAL", "1.17549421e-38"},
      {"BINARY_FLOAT_MIN_SUBNORMAL", "1.40129846e-45"},
  };
  for (const auto& value : values)
    if (t.IsWord(value.word))
      return value.call;
  return nullptr;
}

}  // namespace

bool SqlTranslator::IsNameToken(const SqlToken& token) {
  return IsName(token);
}

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

std::size_t SqlTranslator::ClosingParenOf(std::size_t open, std::size_t end) {
  const std::size_t close = Matching(open, end);
  if (close >= end)
    Fail(907, "missing right parenthesis");
  return close;
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
  // Oracle's precedence: "*" and "/" before "+" and "-", and arithmetic
  // before "||" ("a / b || 'K'" is "(a / b) || 'K'"). "+" and "-" become
  // ora_add and ora_sub, which also know dates, timestamps and intervals.
  auto fold = [](const std::vector<Unit>& in, bool multiplicative) {
    std::vector<Unit> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
      const Unit& unit = in[i];
      const bool op = multiplicative ? unit.text == "*" || unit.text == "/"
                                     : unit.text == "+" || unit.text == "-";
      if (op && !out.empty() && out.back().primary && i + 1 < in.size() && in[i + 1].primary) {
        const std::string& right = in[i + 1].text;
        std::string& left = out.back().text;
        // Oracle divides exactly and refuses a zero divisor; SQLite would
        // truncate two integers and answer NULL for zero.
        if (unit.text == "/")
          left += " * 1.0 / ora_divisor(" + right + ")";
        else if (unit.text == "*")
          left += " * " + right;
        else
          left =
              std::string(unit.text == "+" ? "ora_add(" : "ora_sub(") + left + ", " + right + ")";
        ++i;
        continue;
      }
      out.push_back(unit);
    }
    return out;
  };
  const std::vector<Unit> units = fold(fold(rawUnits, true), false);
  // Fold chains of "a || b || c" into one call that treats NULL as ''.
  std::vector<Unit> folded;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].concat && !folded.empty() && folded.back().primary && i + 1 < units.size() &&
        units[i + 1].primary) {
      Unit& left = folded.back();
      const std::string right = units[i + 1].text;
      // SQLite takes at most 127 arguments: longer chains nest.
      if (left.text.rfind("ora_concat(", 0) == 0 && left.concat && left.operands < 100) {
        left.text.insert(left.text.size() - 1, ", " + right);
        ++left.operands;
      } else {
        left.text = "ora_concat(" + left.text + ", " + right + ")";
        left.concat = true;  // marks a fold that may take more operands
        left.operands = 2;
      }
      ++i;
      continue;
    }
    folded.push_back(units[i]);
    if (!units[i].concat)
      folded.back().concat = false;
  }
  std::string text;
  for (const Unit& unit : Balanced(folded)) {
    if (!text.empty())
      text += ' ';
    text += unit.text;
  }
  return text;
}

// SQLite nests a chain of n ORs n deep and refuses expressions deeper than
// 1000, where Oracle takes chains of thousands (generated conditions): a
// long chain of one operator is regrouped as a balanced tree of parentheses.
std::vector<SqlTranslator::Unit> SqlTranslator::Balanced(std::vector<Unit> units) {
  static const char* const clauses[] = {
      "SELECT", "FROM",      "WHERE", "GROUP", "BY",        "HAVING", "ORDER",    "UNION",
      "EXCEPT", "INTERSECT", "ALL",   "SET",   "VALUES",    "WHEN",   "THEN",     "ELSE",
      "END",    "CONNECT",   "START", "WITH",  "RETURNING", "INTO",   "DISTINCT", ","};
  auto isClause = [](const Unit& unit) {
    for (const char* word : clauses)
      if (unit.text == word)
        return true;
    return false;
  };
  for (const char* op : {"OR", "AND"}) {
    std::vector<Unit> out;
    for (std::size_t i = 0; i < units.size();) {
      std::size_t end = i;
      int count = 0;
      bool between = false;
      for (; end < units.size() && !isClause(units[end]); ++end) {
        count += units[end].text == op;
        between = between || units[end].text == "BETWEEN";
      }
      if (count < 64 || (between && std::string(op) == "AND")) {
        out.insert(out.end(), units.begin() + static_cast<std::ptrdiff_t>(i),
                   units.begin() + static_cast<std::ptrdiff_t>(end));
      } else {
        std::vector<std::string> terms(1);
        for (std::size_t k = i; k < end; ++k) {
          if (units[k].text == op) {
            terms.emplace_back();
            continue;
          }
          terms.back() += (terms.back().empty() ? "" : " ") + units[k].text;
        }
        out.push_back({BalancedText(terms, 0, terms.size(), op), true});
      }
      if (end < units.size())
        out.push_back(units[end]);
      i = end + 1;
    }
    units = std::move(out);
  }
  return units;
}

std::string SqlTranslator::BalancedText(const std::vector<std::string>& terms, std::size_t begin,
                                        std::size_t end, const char* op) {
  if (end - begin == 1)
    return "(" + terms[begin] + ")";
  const std::size_t middle = begin + (end - begin) / 2;
  return "(" + BalancedText(terms, begin, middle, op) + " " + op + " " +
         BalancedText(terms, middle, end, op) + ")";
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
  int items = 1;
  for (std::size_t k = i, depth = 0; k < listEnd; ++k) {
    depth += tokens_[k].IsSymbol("(") ? 1 : tokens_[k].IsSymbol(")") ? -1 : 0;
    items += depth == 0 && tokens_[k].IsSymbol(",");
  }
  if (items > 1000) {
    Fail(1792, "maximum number of columns in a table or view is 1000");
    return listEnd;
  }
  std::string list;
  std::optional<StarColumns> stars;  // made at the first "*"
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
    if (itemEnd - i >= 2 && IsName(last) && !IsReservedWord(last) &&
        !EndsIntervalLiteral(i, itemEnd) && !EndsAtTimeZone(i, itemEnd)) {
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
    // REGEXP_LIKE and LNNVL are conditions, not functions: a select item of
    // one alone is an unknown name to Oracle.
    if ((tokens_[i].IsWord("REGEXP_LIKE") || tokens_[i].IsWord("LNNVL")) && exprEnd - i > 2 &&
        tokens_[i + 1].IsSymbol("(") && Matching(i + 1, exprEnd) == exprEnd - 1) {
      Fail(904, "\"" + tokens_[i].Upper() + "\": invalid identifier");
      return listEnd;
    }
    std::string item = TranslateRange(i, exprEnd, false);
    if (!star)
      item += " AS " + QuoteSqliteName(name);
    if (star && (exprEnd - i == 1 || exprEnd - i == 3)) {
      if (!stars)
        stars.emplace(tokens_, listEnd, end, resolver_);
      const std::string listed = exprEnd - i == 1 ? stars->All() : stars->Of(tokens_[i].Upper());
      if (!listed.empty())
        item = listed;
    }
    // "jt.*" of a JSON_TABLE lists its columns, and so does "*" over a JSON_TABLE alone.
    std::string starTable = star && exprEnd - i == 3 ? tokens_[i].Upper() : std::string();
    if (star && exprEnd - i == 1 && listEnd + 2 < end && tokens_[listEnd].IsWord("FROM") &&
        tokens_[listEnd + 1].IsWord("JSON_TABLE")) {
      const std::size_t close = Matching(listEnd + 2, end);
      if (close + 1 < end && (close + 2 == end || !tokens_[close + 2].IsSymbol(",")))
        starTable = tokens_[close + 1].Upper();
    }
    const auto rows = jsonTables_.find(starTable);
    if (rows != jsonTables_.end()) {
      item.clear();
      for (const JsonColumn& column : rows->second)
        item += (item.empty() ? "" : ", ") + JsonTableColumn({rows->first, column.name}) + " AS " +
                QuoteSqliteName(column.name);
    }
    if (!list.empty())
      list += ", ";
    list += item;
    if (top) {
      out_->columnNames.push_back(star ? std::string() : name);
      out_->expressionTypes.push_back(ItemType(i, exprEnd));
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
    item = "(" + TranslateRange(i + 1, close, false);
    // An ordered subquery keeps its order for the query around it (the
    // ROWNUM top-N idiom): SQLite neither flattens it nor pushes conditions
    // into it when it has a LIMIT.
    for (std::size_t k = i + 1, depth = 0; k < close; ++k) {
      depth += tokens_[k].IsSymbol("(") ? 1 : tokens_[k].IsSymbol(")") ? -1 : 0;
      if (depth == 0 && tokens_[k].IsWord("ORDER")) {
        item += " LIMIT -1";
        break;
      }
    }
    item += ")";
    i = close + 1;
  } else if (tokens_[i].IsWord("TABLE") && i + 1 < end && tokens_[i + 1].IsSymbol("(")) {
    return TranslateCollectionTable(i, end, units, allowAlias);
  } else if (tokens_[i].IsWord("JSON_TABLE") && i + 1 < end && tokens_[i + 1].IsSymbol("(")) {
    const std::size_t close = Matching(i + 1, end);
    const auto arguments = Arguments(i + 2, close);
    std::string alias =
        close + 1 < end && IsName(tokens_[close + 1]) && !IsReservedWord(tokens_[close + 1])
            ? tokens_[close + 1].Upper()
            : std::string();
    const auto table = jsonTables_.find(alias);
    if (arguments.size() < 2 || table == jsonTables_.end() ||
        tokens_[arguments[1].first].type != SqlToken::Type::String) {
      Fail(close >= end ? 907 : 904,
           close >= end ? "missing right parenthesis" : "\"JSON_TABLE\": invalid identifier");
      return end;
    }
    // Text that is no JSON gives no rows (NULL ON ERROR).
    const std::string value = TranslateRange(arguments[0].first, arguments[0].second, true);
    item = JsonRows("(CASE WHEN json_valid(" + value + ") THEN " + value + " END)",
                    tokens_[arguments[1].first].text) +
           " AS " + QuoteSqliteName(alias);
    // A NESTED PATH's rows join each row of its parent's, and a parent row
    // without any stays, with NULL in the nested columns.
    for (const JsonNestedRows& nested : jsonNestedRows_[alias]) {
      const std::string parent = QuoteSqliteName(nested.parent);
      item += " LEFT JOIN " +
              JsonRows("(CASE WHEN " + parent + ".\"type\" IN ('object', 'array') THEN " + parent +
                           ".\"value\" END)",
                       nested.path) +
              " AS " + QuoteSqliteName(nested.alias) + " ON 1";
    }
    units.push_back({item});
    return close + 2;
  } else if (IsName(tokens_[i])) {
    std::vector<std::string> parts;
    i = QualifiedName(i, end, parts);
    if (parts.size() > 2) {
      Fail(933, "SQL command not properly ended");
      return end;
    }
    const std::string schema = parts.size() == 2 ? parts[0] : std::string();
    const bool queryName = parts.size() == 1 && std::find(queryNames_.begin(), queryNames_.end(),
                                                          parts[0]) != queryNames_.end();
    const auto storage = queryName ? std::optional<std::string>(parts[0])
                                   : resolver_.ResolveTable(schema, parts.back());
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
          continue;  // the end of "ON (condition)", not of the table list
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
  const std::string outerRownum = rownumCall_;
  std::optional<RownumBlock> rownum;
  while (i < end && !error_.IsSet()) {
    const SqlToken& t = tokens_[i];
    const bool nextIsParen = i + 1 < end && tokens_[i + 1].IsSymbol("(");
    if (rownum && !rownum->whereAt && rownum->insertAt && i == rownum->insertAt) {
      units.push_back({"WHERE"});
      units.push_back({"ora_rownum_accept(" + std::to_string(rownum->id) + ", 1)", true});
      rownum->insertAt = 0;
    }
    if (rownum && rownum->whereAt == i) {
      // Oracle numbers a row when it has passed the other conditions.
      const std::string id = std::to_string(rownum->id);
      rownumCall_ = "ora_rownum_candidate(" + id + ")";
      units.push_back({"WHERE"});
      // One term, so that SQLite cannot count a row before its conditions hold.
      units.push_back({"ora_rownum_accept(" + id + ", (" +
                           TranslateRange(i + 1, rownum->whereEnd, false) + "))",
                       true});
      rownumCall_ = "ora_rownum_current(" + id + ")";
      i = rownum->whereEnd;
      rownum->whereAt = rownum->insertAt = 0;
      continue;
    }
    if (t.IsSymbol("(")) {
      const std::size_t close = Matching(i, end);
      if (close >= end) {
        Fail(907, "missing right parenthesis");
        break;
      }
      if (i > begin && tokens_[i - 1].IsWord("IN") && i + 1 < close &&
          !tokens_[i + 1].IsWord("SELECT") && !tokens_[i + 1].IsWord("WITH")) {
        int items = 1;
        for (std::size_t k = i + 1, depth = 0; k < close; ++k) {
          depth += tokens_[k].IsSymbol("(") ? 1 : tokens_[k].IsSymbol(")") ? -1 : 0;
          items += depth == 0 && tokens_[k].IsSymbol(",");
        }
        if (items > 1000) {
          Fail(1795, "maximum number of expressions in a list is 1000");
          break;
        }
      }
      units.push_back({"(" + TranslateRange(i + 1, close, false) + ")", true});
      i = close + 1;
    } else if (t.IsSymbol(")")) {
      Fail(933, "SQL command not properly ended");
    } else if (t.IsWord("ORDER") && i + 1 < end && tokens_[i + 1].IsWord("BY")) {
      // Oracle sorts NULLs as the largest values: last when ascending, first
      // when descending; SQLite does the opposite unless told.
      std::size_t listEnd = i + 2;
      for (int depth = 0; listEnd < end; ++listEnd) {
        const SqlToken& c = tokens_[listEnd];
        depth += c.IsSymbol("(") ? 1 : c.IsSymbol(")") ? -1 : 0;
        if (depth < 0 ||
            (depth == 0 && (c.IsWord("FOR") || c.IsWord("OFFSET") || c.IsWord("FETCH") ||
                            c.IsWord("ROWS") || c.IsWord("RANGE") || c.IsSymbol(";"))))
          break;
      }
      std::string list;
      for (auto [itemBegin, itemEnd] : Arguments(i + 2, listEnd)) {
        // NULLS FIRST | LAST is SQLite's too; its last word is no name.
        std::string placement;
        if (itemEnd - itemBegin >= 3 && tokens_[itemEnd - 2].IsWord("NULLS") &&
            (tokens_[itemEnd - 1].IsWord("FIRST") || tokens_[itemEnd - 1].IsWord("LAST"))) {
          placement = " NULLS " + tokens_[itemEnd - 1].Upper();
          itemEnd -= 2;
        }
        list += (list.empty() ? "" : ", ") + TranslateRange(itemBegin, itemEnd, insideFunction);
        if (placement.empty())
          placement = tokens_[itemEnd - 1].IsWord("DESC") ? " NULLS FIRST" : " NULLS LAST";
        list += placement;
      }
      units.push_back({"ORDER"});
      units.push_back({"BY"});
      units.push_back({list});
      i = listEnd;
    } else if (t.IsWord("UTL_RAW") && i + 3 < end && tokens_[i + 1].IsSymbol(".") &&
               tokens_[i + 2].IsWord("CAST_TO_RAW") && tokens_[i + 3].IsSymbol("(")) {
      // The cast data scripts call on every row runs here; the rest of the
      // package runs in the PL/SQL interpreter.
      const std::size_t close = Matching(i + 3, end);
      if (close >= end) {
        Fail(907, "missing right parenthesis");
        break;
      }
      units.push_back(
          {"utl_raw_" + tokens_[i + 2].Upper() + "(" + TranslateRange(i + 4, close, true) + ")",
           true});
      i = close + 1;
    } else if (t.IsWord("TRANSLATE") && nextIsParen && UsingCharacterSet(i + 1, end)) {
      // TRANSLATE(text USING CHAR_CS | NCHAR_CS): both sets hold the same
      // characters here.
      const std::size_t close = Matching(i + 1, end);
      std::size_t usingAt = i + 2;
      while (usingAt < close && !tokens_[usingAt].IsWord("USING"))
        ++usingAt;
      units.push_back({"(" + TranslateRange(i + 2, usingAt, true) + ")", true});
      i = close + 1;
    } else if (t.IsWord("CAST") && nextIsParen) {
      i = TranslateCast(i, end, units);
    } else if (t.IsWord("LISTAGG") && nextIsParen) {
      i = TranslateListagg(i, end, units);
    } else if ((t.IsWord("JSON_VALUE") || t.IsWord("JSON_QUERY")) && nextIsParen) {
      i = TranslateJsonFunction(i, end, units);
    } else if (t.IsWord("IS") && i + 1 < end &&
               (tokens_[i + 1].IsWord("JSON") ||
                (tokens_[i + 1].IsWord("NOT") && i + 2 < end && tokens_[i + 2].IsWord("JSON")))) {
      // expr IS [NOT] JSON [STRICT | LAX] [(WITH | WITHOUT) UNIQUE KEYS]
      const bool negated = tokens_[i + 1].IsWord("NOT");
      i += negated ? 3 : 2;
      while (i < end && (tokens_[i].IsWord("STRICT") || tokens_[i].IsWord("LAX") ||
                         tokens_[i].IsWord("WITH") || tokens_[i].IsWord("WITHOUT") ||
                         tokens_[i].IsWord("UNIQUE") || tokens_[i].IsWord("KEYS")))
        ++i;
      if (units.empty() || !units.back().primary) {
        Fail(936, "missing expression");
        break;
      }
      const std::string& value = units.back().text;
      units.back().text = std::string(negated ? "NOT " : "") + "(CASE WHEN " + value +
                          " IS NULL THEN NULL WHEN json_valid(" + value + ") AND json_type(" +
                          value + ") IN ('object', 'array') THEN 1 ELSE 0 END)";
    } else if (const std::size_t formEnd = TranslateMultisetForm(i, end, units); formEnd != i) {
      i = formEnd;
    } else if (t.IsWord("IS") && i + 2 < end &&
               (tokens_[i + 1].IsWord("OF") ||
                (tokens_[i + 1].IsWord("NOT") && tokens_[i + 2].IsWord("OF")))) {
      i = TranslateIsOf(i, end, units);
    } else if (t.IsWord("TREAT") && nextIsParen) {
      i = TranslateTreat(i, end, units);
    } else if (t.IsWord("SYS_TYPEID") && nextIsParen) {
      i = TranslateTypeId(i, end, units);
    } else if (t.IsWord("ROWNUM") && !(i > begin && tokens_[i - 1].IsSymbol("."))) {
      // Outside a query (UPDATE t SET n = ROWNUM) each row takes the next number.
      units.push_back(
          {rownumCall_.empty() ? std::string("ora_rownum_accept(0)") : rownumCall_, true});
      ++i;
    } else if (t.IsWord("EXTRACT") && nextIsParen) {
      const std::size_t close = Matching(i + 1, end);
      if (close >= end || close < i + 5 || !tokens_[i + 3].IsWord("FROM")) {
        Fail(close >= end ? 907 : 905,
             close >= end ? "missing right parenthesis" : "missing keyword");
        break;
      }
      units.push_back({"ora_extract('" + tokens_[i + 2].Upper() + "', " +
                           TranslateRange(i + 4, close, true) + ")",
                       true});
      i = close + 1;
    } else if (const std::size_t zoneEnd = AtTimeZoneEnd(i, end);
               zoneEnd != i && !units.empty() && units.back().primary) {
      // expr AT TIME ZONE zone | AT LOCAL binds to the operand before it.
      const bool local = tokens_[i + 1].IsWord("LOCAL");
      units.back().text = "ora_at_time_zone(" + units.back().text + ", " +
                          (local ? std::string("NULL") : TranslateRange(i + 3, zoneEnd, true)) +
                          ")";
      i = zoneEnd;
    } else if (const char* call = SessionValueCall(t);
               call != nullptr && !(i > begin && tokens_[i - 1].IsSymbol("."))) {
      units.push_back({call, true});
      ++i;
      if (i + 2 < end && tokens_[i].IsSymbol("(") && tokens_[i + 2].IsSymbol(")"))
        i += 3;  // CURRENT_TIMESTAMP(3): the precision only narrows the display
    } else if (t.IsWord("VALUE") && nextIsParen && TranslateObjectValue(i, end, units, i)) {
      continue;
    } else if (t.type == SqlToken::Type::Word && nextIsParen &&
               !IsOneOf(t, kKeywordsBeforeParen, std::size(kKeywordsBeforeParen)) &&
               (TranslateConstructor({t.Upper()}, i + 1, end, units, i) ||
                TranslateStoredCall({t.Upper()}, i + 1, end, units, i))) {
      if (error_.IsSet())
        break;
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
      rownum = RownumBlockOf(i, end);
      rownumCall_ = rownum ? "ora_rownum_current(" + std::to_string(rownum->id) + ")" : outerRownum;
      units.push_back({"SELECT"});
      i = TranslateSelectList(i + 1, end, units);
    } else if (t.IsWord("FROM") && !insideFunction) {
      units.push_back({"FROM"});
      i = TranslateTableList(i + 1, end, units);
    } else if (t.IsWord("INTO") && i > begin && tokens_[i - 1].IsWord("INSERT")) {
      units.push_back({"INTO"});
      const std::size_t target = i + 1;
      i = TranslateTableItem(target, end, units, false);
      // Without a column list the values go to the visible columns.
      std::size_t columnsUnit = std::size_t(-1);
      if (!error_.IsSet() &&
          (i >= end || !tokens_[i].IsSymbol("(") ||
           (i + 1 < end && (tokens_[i + 1].IsWord("SELECT") || tokens_[i + 1].IsWord("WITH")))))
        if (const std::string columns = InsertColumnList(tokens_, target, i, resolver_);
            !columns.empty()) {
          columnsUnit = units.size();
          units.push_back({columns});
        }
      // A row of an object table may be given as one constructor call.
      std::vector<std::string> parts;
      if (!error_.IsSet() && i < end && tokens_[i].IsWord("VALUES") && IsName(tokens_[target]) &&
          QualifiedName(target, end, parts) == i && parts.size() <= 2)
        if (const auto storage =
                resolver_.ResolveTable(parts.size() == 2 ? parts[0] : std::string(), parts.back()))
          i = TranslateObjectRow(*storage, i, end, units, columnsUnit);
    } else if ((t.IsWord("UPDATE") || t.IsWord("DELETE")) && i == begin) {
      units.push_back({ToUpperAscii(t.text)});
      ++i;
      if (t.IsWord("DELETE") && i < end && !tokens_[i].IsWord("FROM")) {
        units.push_back({"FROM"});
        i = TranslateTableItem(i, end, units, true);
      } else if (t.IsWord("UPDATE")) {
        i = TranslateTableItem(i, end, units, true);
      }
    } else if (t.IsWord("DATE") && i + 1 < end && tokens_[i + 1].type == SqlToken::Type::String) {
      // ANSI literal: DATE '2024-01-31'.
      std::string text = tokens_[i + 1].text;
      if (text.size() == 10)
        text += " 00:00:00";
      units.push_back({"ora_to_date_literal(" + QuoteSqliteText(text) + ")", true});
      i += 2;
    } else if (t.IsWord("TIMESTAMP") && i + 1 < end &&
               tokens_[i + 1].type == SqlToken::Type::String) {
      units.push_back(
          {"ora_timestamp_literal(" + QuoteSqliteText(tokens_[i + 1].text) + ")", true});
      i += 2;
    } else if (t.IsWord("INTERVAL") && i + 1 < end &&
               tokens_[i + 1].type == SqlToken::Type::String) {
      IntervalQualifier qualifier;
      const std::size_t next = ReadIntervalQualifier(i + 2, end, qualifier);
      if (error_.IsSet())
        break;
      units.push_back({"ora_interval_literal(" + QuoteSqliteText(tokens_[i + 1].text) + ", '" +
                           qualifier.first + "', '" + qualifier.last + "', " +
                           std::to_string(qualifier.leading) + ", " +
                           std::to_string(qualifier.fraction) + ")",
                       true});
      i = next;
    } else if (t.IsWord("SYSDATE")) {
      units.push_back({"ora_sysdate()", true});
      ++i;
    } else if (t.IsWord("USER") && !(i > begin && tokens_[i - 1].IsSymbol("."))) {
      units.push_back({"ora_user()", true});
      ++i;
    } else if (IsEventAttribute(t) && !(i > begin && tokens_[i - 1].IsSymbol(".")) &&
               !(i + 1 < end && (tokens_[i + 1].IsSymbol("(") || tokens_[i + 1].IsSymbol(".")))) {
      units.push_back({"ora_event_attribute('" + t.Upper().substr(4) + "')", true});
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
      } else if (((next < end && tokens_[next].IsSymbol("(")) || parts.size() >= 2 ||
                  (bareCalls_ != nullptr && bareCalls_->count(parts[0]) != 0)) &&
                 (TranslateConstructor(parts, next, end, units, i) ||
                  TranslateStoredCall(parts, next, end, units, i) ||
                  TranslateMethodCall(parts, next, end, units, i))) {
        if (error_.IsSet())
          break;
        continue;
      } else if (const std::string column = JsonTableColumn(parts); !column.empty()) {
        units.push_back({column, true});
      } else if (const std::string element = CollectionElement(parts); !element.empty()) {
        units.push_back({element, true});
      } else if (const std::string attribute = AttributeAccess(parts); !attribute.empty()) {
        units.push_back({attribute, true});
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
  if (rownum && !rownum->whereAt && rownum->insertAt) {
    units.push_back({"WHERE"});
    units.push_back({"ora_rownum_accept(" + std::to_string(rownum->id) + ", 1)", true});
  }
  rownumCall_ = outerRownum;
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

bool SqlTranslator::TranslateStoredCall(const std::vector<std::string>& parts, std::size_t open,
                                        std::size_t end, std::vector<Unit>& units,
                                        std::size_t& next) {
  std::string owner, unit, member;
  if (!resolver_.ResolveFunction(parts, owner, unit, member))
    return false;
  // The function runs in the PL/SQL interpreter, once for each row; a
  // package's function may be named without parentheses.
  const bool withArguments = open < end && tokens_[open].IsSymbol("(");
  const std::size_t close = withArguments ? ClosingParenOf(open, end) : open - 1;
  if (error_.IsSet())
    return true;
  const std::string arguments = withArguments ? TranslateRange(open + 1, close, true) : "";
  units.push_back({"ora_plsql_call(" + QuoteSqliteText(owner) + ", " + QuoteSqliteText(unit) +
                       ", " + QuoteSqliteText(member) +
                       (arguments.empty() ? "" : ", " + arguments) + ")",
                   true});
  next = close + 1;
  return true;
}

std::vector<std::pair<std::size_t, std::size_t>> SqlTranslator::Arguments(std::size_t begin,
                                                                          std::size_t end) const {
  return ListItems(tokens_, begin, end);
}

// The type named by CAST(... AS type): nullopt with error set when Oracle
// knows no such type.
std::optional<OracleType> SqlTranslator::CastType(std::size_t begin, std::size_t end) {
  if (begin >= end || tokens_[begin].type != SqlToken::Type::Word) {
    Fail(902, "invalid datatype");
    return std::nullopt;
  }
  TokenStream in(tokens_, begin + 1);
  std::string name = tokens_[begin].Upper();
  OracleType type;
  OraError error;
  if (name == "TIMESTAMP" || name == "INTERVAL") {
    if (!ReadDateTimeType(in, name, type, error)) {
      Fail(error.code, error.message);
      return std::nullopt;
    }
  } else {
    if (name == "DOUBLE" && in.AcceptWord("PRECISION"))
      name = "DOUBLE PRECISION";
    std::optional<int> first, second;
    long long value = 0;
    if (in.AcceptSymbol("(")) {
      if (in.ReadInteger(value, error))
        first = static_cast<int>(value);
      if (in.AcceptSymbol(",") && in.ReadInteger(value, error))
        second = static_cast<int>(value);
      in.AcceptWord("BYTE");
      in.AcceptWord("CHAR");
      in.AcceptSymbol(")");
    }
    const auto parsed = OracleType::FromDeclaration(name, first, second);
    if (!parsed || error.IsSet()) {
      Fail(902, "invalid datatype");
      return std::nullopt;
    }
    type = *parsed;
  }
  if (in.Position() != end) {
    Fail(907, "missing right parenthesis");
    return std::nullopt;
  }
  return type;
}

// CAST(value AS type) converts as Oracle does: text read in the session's
// formats for dates and timestamps, numbers checked, anything shown as text.
std::size_t SqlTranslator::TranslateCast(std::size_t at, std::size_t end,
                                         std::vector<Unit>& units) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (close >= end)
    return end;
  std::size_t as = close;
  for (std::size_t i = at + 2, depth = 0; i < close; ++i) {
    depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0 && tokens_[i].IsWord("AS"))
      as = i;
  }
  if (as == close) {
    Fail(905, "missing keyword");
    return end;
  }
  if (tokens_[at + 2].IsWord("MULTISET") && tokens_[at + 3].IsSymbol("(") &&
      Matching(at + 3, close) + 1 == as)
    return TranslateMultiset(at + 3, as + 1, close, units);
  const auto type = CastType(as + 1, close);
  if (!type)
    return end;
  const std::string value = TranslateRange(at + 2, as, true);
  std::string call = type->StoredForm(value);
  if (type->name == "NUMBER" || type->name == "FLOAT")
    call = type->scale ? "round(to_number(" + value + "), " + std::to_string(*type->scale) + ")"
                       : "to_number(" + value + ")";
  else if (type->name.find("CHAR") != std::string::npos)
    call = "to_char(" + value + ")";
  else if (call.empty())
    call = "CAST(" + value + " AS " + type->SqliteDeclaration() + ")";
  units.push_back({call, true});
  return close + 1;
}

// The COLUMNS (name type PATH 'path', ...) of each JSON_TABLE(doc, 'path'
// COLUMNS (...)) alias of the statement, read before its select list is.
void SqlTranslator::ReadJsonTables() {
  for (std::size_t i = 0; i + 1 < tokens_.size(); ++i) {
    if (!tokens_[i].IsWord("JSON_TABLE") || !tokens_[i + 1].IsSymbol("("))
      continue;
    const std::size_t close = Matching(i + 1, tokens_.size());
    if (close + 1 >= tokens_.size() || !IsName(tokens_[close + 1]))
      continue;
    const std::string alias = tokens_[close + 1].Upper();
    jsonTables_[alias].clear();
    jsonNestedRows_[alias].clear();
    for (std::size_t k = i + 2; k + 1 < close; ++k)
      if (tokens_[k].IsWord("COLUMNS") && tokens_[k + 1].IsSymbol("(")) {
        ReadJsonColumns(k + 1, alias, alias);
        break;
      }
  }
}

// The columns of the list that opens at open, read from the rows of alias
// rows; a NESTED [PATH] 'path' COLUMNS (...) adds a row source of its own.
void SqlTranslator::ReadJsonColumns(std::size_t open, const std::string& table,
                                    const std::string& rows) {
  const std::size_t close = Matching(open, tokens_.size());
  for (auto [begin, end] : Arguments(open + 1, close)) {
    if (tokens_[begin].IsWord("NESTED")) {
      std::size_t at = begin + 1;
      if (at < end && tokens_[at].IsWord("PATH"))
        ++at;
      if (at + 2 >= end || tokens_[at].type != SqlToken::Type::String ||
          !tokens_[at + 1].IsWord("COLUMNS") || !tokens_[at + 2].IsSymbol("("))
        continue;
      auto& nested = jsonNestedRows_[table];
      nested.push_back({table + "#" + std::to_string(nested.size() + 1), rows, tokens_[at].text});
      ReadJsonColumns(at + 2, table, nested.back().alias);
      continue;
    }
    JsonColumn column;
    column.name = tokens_[begin].Upper();
    column.path = "$." + tokens_[begin].text;
    column.rows = rows;
    if (begin + 1 < end)
      for (const char* number : {"NUMBER", "INTEGER", "INT", "FLOAT", "DECIMAL", "SMALLINT"})
        column.number = column.number || tokens_[begin + 1].IsWord(number);
    column.ordinality = begin + 2 < end && tokens_[begin + 1].IsWord("FOR") &&
                        tokens_[begin + 2].IsWord("ORDINALITY");
    for (std::size_t p = begin; p + 1 < end; ++p)
      if (tokens_[p].IsWord("PATH") && tokens_[p + 1].type == SqlToken::Type::String)
        column.path = tokens_[p + 1].text;
    jsonTables_[table].push_back(column);
  }
}

// Rows of doc: the elements a path ending in [*] reaches, or the one value
// any other path reaches.
std::string SqlTranslator::JsonRows(const std::string& doc, const std::string& path) {
  if (path.size() > 3 && path.compare(path.size() - 3, 3, "[*]") == 0)
    return "json_each(" + doc + ", " + QuoteSqliteText(path.substr(0, path.size() - 3)) + ")";
  return "json_each(json_array(json(json_extract(" + doc + ", " + QuoteSqliteText(path) + "))))";
}

// The SQL of alias.column when alias names a JSON_TABLE; empty otherwise.
std::string SqlTranslator::JsonTableColumn(const std::vector<std::string>& parts) const {
  if (parts.size() != 2)
    return {};
  const auto table = jsonTables_.find(parts[0]);
  if (table == jsonTables_.end())
    return {};
  for (const JsonColumn& column : table->second) {
    if (column.name != parts[1])
      continue;
    const std::string row = QuoteSqliteName(column.rows);
    // A row's number among its source's rows (each source is one array).
    if (column.ordinality)
      return "(" + row + ".\"key\" + 1)";
    // A row's value is JSON text for objects and arrays, the plain scalar otherwise.
    const std::string value =
        "(CASE WHEN " + row + ".\"type\" IN ('object', 'array') THEN json_extract(" + row +
        ".\"value\", " + QuoteSqliteText(column.path) + ")" +
        (column.path == "$" ? " ELSE " + row + ".\"value\"" : std::string()) + " END)";
    return column.number ? "to_number(" + value + ")" : value;
  }
  return {};
}

// True when the parenthesis at open holds "... USING CHAR_CS | NCHAR_CS" at
// its own level.
bool SqlTranslator::UsingCharacterSet(std::size_t open, std::size_t end) const {
  const std::size_t close = Matching(open, end);
  int depth = 0;
  for (std::size_t k = open + 1; k + 1 < close; ++k) {
    depth += tokens_[k].IsSymbol("(") ? 1 : tokens_[k].IsSymbol(")") ? -1 : 0;
    if (depth == 0 && tokens_[k].IsWord("USING") &&
        (tokens_[k + 1].IsWord("CHAR_CS") || tokens_[k + 1].IsWord("NCHAR_CS")))
      return true;
  }
  return false;
}

// LISTAGG(value [, separator] [ON OVERFLOW ...]) [WITHIN GROUP (ORDER BY keys)]
// becomes ora_listagg(value, separator, direction, key, direction, key ...).
std::size_t SqlTranslator::TranslateListagg(std::size_t at, std::size_t end,
                                            std::vector<Unit>& units) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (close >= end)
    return end;
  std::size_t argumentsEnd = close;
  for (std::size_t i = at + 2, depth = 0; i < close; ++i) {
    depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0 && tokens_[i].IsWord("ON")) {
      argumentsEnd = i;
      break;
    }
  }
  const auto arguments = Arguments(at + 2, argumentsEnd);
  if (arguments.empty() || arguments.size() > 2) {
    Fail(arguments.empty() ? 938 : 939, arguments.empty() ? "not enough arguments for function"
                                                          : "too many arguments for function");
    return end;
  }
  std::string call =
      "ora_listagg(" + TranslateRange(arguments[0].first, arguments[0].second, true) + ", " +
      (arguments.size() > 1 ? TranslateRange(arguments[1].first, arguments[1].second, true)
                            : std::string("NULL"));
  std::size_t i = close + 1;
  if (i + 1 < end && tokens_[i].IsWord("WITHIN") && tokens_[i + 1].IsWord("GROUP")) {
    if (i + 4 >= end || !tokens_[i + 2].IsSymbol("(") || !tokens_[i + 3].IsWord("ORDER") ||
        !tokens_[i + 4].IsWord("BY")) {
      Fail(30491, "missing ORDER BY clause");
      return end;
    }
    const std::size_t orderClose = Matching(i + 2, end);
    for (auto [keyBegin, keyEnd] : Arguments(i + 5, orderClose)) {
      std::string direction = "A";
      while (keyEnd > keyBegin + 1 &&
             (tokens_[keyEnd - 1].IsWord("ASC") || tokens_[keyEnd - 1].IsWord("DESC") ||
              tokens_[keyEnd - 1].IsWord("FIRST") || tokens_[keyEnd - 1].IsWord("LAST") ||
              tokens_[keyEnd - 1].IsWord("NULLS"))) {
        if (tokens_[keyEnd - 1].IsWord("DESC"))
          direction = "D";
        --keyEnd;
      }
      call += ", '" + direction + "', " + TranslateRange(keyBegin, keyEnd, true);
    }
    i = orderClose + 1;
  }
  units.push_back({call + ")", true});
  return i;
}

// JSON_VALUE and JSON_QUERY over SQLite's JSON functions; the RETURNING,
// WRAPPER and ON ERROR clauses of the path argument are read, errors give NULL.
std::size_t SqlTranslator::TranslateJsonFunction(std::size_t at, std::size_t end,
                                                 std::vector<Unit>& units) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (close >= end)
    return end;
  const auto arguments = Arguments(at + 2, close);
  if (arguments.size() != 2) {
    Fail(arguments.size() < 2 ? 938 : 939, arguments.size() < 2
                                               ? "not enough arguments for function"
                                               : "too many arguments for function");
    return end;
  }
  std::size_t pathEnd = arguments[1].first + 1;
  bool wrapper = false;
  for (std::size_t i = pathEnd; i < arguments[1].second; ++i)
    wrapper = wrapper || (tokens_[i].IsWord("WRAPPER") && !tokens_[i - 1].IsWord("WITHOUT"));
  const std::string doc = TranslateRange(arguments[0].first, arguments[0].second, true);
  const std::string path = TranslateRange(arguments[1].first, pathEnd, true);
  const std::string type = "json_type(" + doc + ", " + path + ")";
  const std::string value = "json_extract(" + doc + ", " + path + ")";
  std::string result;
  if (tokens_[at].IsWord("JSON_VALUE"))
    result = "CASE WHEN " + type + " IN ('object', 'array') THEN NULL WHEN " + type +
             " IN ('true', 'false') THEN " + type + " ELSE " + value + " END";
  else if (wrapper)
    result = "CASE WHEN " + type + " IN ('object', 'array') THEN '[' || " + value +
             " || ']' WHEN " + type + " IS NOT NULL THEN json_array(" + value + ") END";
  else
    result = "CASE WHEN " + type + " IN ('object', 'array') THEN " + value + " END";
  units.push_back({"(CASE WHEN json_valid(" + doc + ") THEN " + result + " END)", true});
  return close + 1;
}

// Where the query block that starts at the SELECT at `at` must count its
// rows for ROWNUM: nullopt when it does not use ROWNUM (nested queries count
// their own).
std::optional<SqlTranslator::RownumBlock> SqlTranslator::RownumBlockOf(std::size_t at,
                                                                       std::size_t end) {
  bool uses = false;
  RownumBlock block;
  bool fromSeen = false;
  int depth = 0;
  for (std::size_t i = at + 1; i < end; ++i) {
    const SqlToken& t = tokens_[i];
    if (t.IsSymbol("(") && i + 1 < end &&
        (tokens_[i + 1].IsWord("SELECT") || tokens_[i + 1].IsWord("WITH"))) {
      i = Matching(i, end);
      continue;
    }
    depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
    uses = uses || t.IsWord("ROWNUM");
    if (depth != 0)
      continue;
    const bool blockEnds = t.IsWord("UNION") || t.IsWord("MINUS") || t.IsWord("INTERSECT");
    const bool clauseEnds = blockEnds || t.IsWord("GROUP") || t.IsWord("ORDER") ||
                            t.IsWord("HAVING") || t.IsWord("CONNECT") || t.IsWord("START") ||
                            t.IsWord("FOR");
    fromSeen = fromSeen || t.IsWord("FROM");
    if (t.IsWord("WHERE") && !block.whereAt) {
      block.whereAt = i;
      block.whereEnd = end;
    } else if (clauseEnds && fromSeen) {
      if (block.whereAt && block.whereEnd == end)
        block.whereEnd = i;
      if (!block.insertAt)
        block.insertAt = i;
    }
    if (blockEnds)
      break;
  }
  if (!uses)
    return std::nullopt;
  if (!block.insertAt)
    block.insertAt = end;
  block.id = ++rownumBlocks_;
  return block;
}

std::size_t SqlTranslator::AtTimeZoneEnd(std::size_t at, std::size_t end) const {
  if (!tokens_[at].IsWord("AT") || at + 1 >= end)
    return at;
  if (tokens_[at + 1].IsWord("LOCAL"))
    return at + 2;
  if (at + 3 >= end || !tokens_[at + 1].IsWord("TIME") || !tokens_[at + 2].IsWord("ZONE"))
    return at;
  // The zone: a literal, a bind, a call, a parenthesized expression or a
  // (qualified) name such as DBTIMEZONE or a column.
  std::size_t next = at + 3;
  if (tokens_[next].IsSymbol("("))
    return std::min(Matching(next, end) + 1, end);
  if (tokens_[next].IsSymbol(":") && next + 1 < end)
    return next + 2;
  if (tokens_[next].type != SqlToken::Type::Word)
    return next + 1;
  ++next;
  while (next + 1 < end && tokens_[next].IsSymbol(".") &&
         tokens_[next + 1].type == SqlToken::Type::Word)
    next += 2;
  if (next < end && tokens_[next].IsSymbol("("))
    return std::min(Matching(next, end) + 1, end);
  return next;
}

bool SqlTranslator::EndsAtTimeZone(std::size_t begin, std::size_t end) const {
  const std::size_t at = TopLevelAtTimeZone(begin, end);
  return at != end && AtTimeZoneEnd(at, end) == end;
}

std::size_t SqlTranslator::TopLevelAtTimeZone(std::size_t begin, std::size_t end) const {
  int depth = 0;
  for (std::size_t i = begin + 1; i < end; ++i) {
    depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0 && AtTimeZoneEnd(i, end) != i)
      return i;
  }
  return end;
}

// True when the item ends in an interval literal's qualifier ("... DAY",
// "... YEAR TO MONTH"), whose last word is no alias.
bool SqlTranslator::EndsIntervalLiteral(std::size_t begin, std::size_t end) const {
  for (std::size_t i = end; i-- > begin + 1;) {
    if (tokens_[i].type == SqlToken::Type::String) {
      if (!tokens_[i - 1].IsWord("INTERVAL"))
        return false;
      // Its qualifier must reach the end: a name after it is an alias.
      std::size_t j = i + 1;
      while (j < end) {
        const SqlToken& t = tokens_[j];
        if (t.IsWord("YEAR") || t.IsWord("MONTH") || t.IsWord("DAY") || t.IsWord("HOUR") ||
            t.IsWord("MINUTE") || t.IsWord("SECOND") || t.IsWord("TO"))
          ++j;
        else if (t.IsSymbol("(") || t.IsSymbol(")") || t.IsSymbol(",") ||
                 t.type == SqlToken::Type::Number)
          ++j;
        else
          break;
      }
      return j == end;
    }
    if (tokens_[i].type != SqlToken::Type::Word && !tokens_[i].IsSymbol("(") &&
        !tokens_[i].IsSymbol(")") && !tokens_[i].IsSymbol(",") &&
        tokens_[i].type != SqlToken::Type::Number)
      return false;
  }
  return false;
}

// YEAR[(p)] [TO MONTH], DAY[(p)] [TO HOUR | MINUTE | SECOND[(s)]], HOUR ...,
// SECOND[(p[, s])] after an interval literal's text.
std::size_t SqlTranslator::ReadIntervalQualifier(std::size_t at, std::size_t end,
                                                 IntervalQualifier& qualifier) {
  static const char* const fields[] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
  auto field = [&](std::size_t i) -> const char* {
    for (const char* name : fields)
      if (i < end && tokens_[i].IsWord(name))
        return name;
    return nullptr;
  };
  // "(n)" or "(n, m)" at i; returns the index after it.
  auto precisions = [&](std::size_t i, int& first, int* second) {
    if (i >= end || !tokens_[i].IsSymbol("("))
      return i;
    if (i + 2 < end && tokens_[i + 1].type == SqlToken::Type::Number) {
      first = std::atoi(tokens_[i + 1].text.c_str());
      if (second != nullptr && i + 4 < end && tokens_[i + 2].IsSymbol(",") &&
          tokens_[i + 3].type == SqlToken::Type::Number) {
        *second = std::atoi(tokens_[i + 3].text.c_str());
        i += 2;
      }
      if (tokens_[i + 2].IsSymbol(")"))
        return i + 3;
    }
    Fail(30088, "datetime/interval precision is out of range");
    return end;
  };
  const char* first = field(at);
  if (first == nullptr) {
    Fail(30089, "missing or invalid <datetime field>");
    return end;
  }
  qualifier.first = qualifier.last = first;
  std::size_t i = precisions(at + 1, qualifier.leading,
                             qualifier.first == "SECOND" ? &qualifier.fraction : nullptr);
  if (i < end && tokens_[i].IsWord("TO")) {
    const char* last = field(i + 1);
    if (last == nullptr) {
      Fail(30089, "missing or invalid <datetime field>");
      return end;
    }
    qualifier.last = last;
    i = qualifier.last == "SECOND" ? precisions(i + 2, qualifier.fraction, nullptr) : i + 2;
  }
  if (qualifier.leading > 9 || qualifier.fraction > 9)
    Fail(30088, "datetime/interval precision is out of range");
  return i;
}

// The type of a select item that is an expression: from its first word, or
// for the datetime and binary kinds from the whole item; "?" when arithmetic
// leaves it to the values (a date or timestamp plus an interval).
std::string SqlTranslator::ItemType(std::size_t begin, std::size_t end) {
  const SqlToken& first = tokens_[begin];
  const bool isCall = end - begin > 1 && tokens_[begin + 1].IsSymbol("(");
  const bool wholeCall = isCall && Matching(begin + 1, end) == end - 1;
  if (end - begin == 1 || wholeCall) {
    static const struct {
      const char* word;
      const char* type;
    } types[] = {
        {"SYSTIMESTAMP", "TIMESTAMP_TZ(6)"},
        {"CURRENT_TIMESTAMP", "TIMESTAMP_TZ(6)"},
        {"LOCALTIMESTAMP", "TIMESTAMP(6)"},
        {"CURRENT_DATE", "DATE"},
        {"TO_TIMESTAMP", "TIMESTAMP(9)"},
        {"TO_TIMESTAMP_TZ", "TIMESTAMP_TZ(9)"},
        {"TO_YMINTERVAL", "YM_SPAN(9)"},
        {"TO_DSINTERVAL", "DS_SPAN(9,9)"},
        {"TO_BINARY_DOUBLE", "BINARY_DOUBLE"},
        {"TO_BINARY_FLOAT", "BINARY_FLOAT"},
        {"EXTRACT", "NUMBER"},
        {"ADD_MONTHS", "DATE"},
        {"LAST_DAY", "DATE"},
        {"NEXT_DAY", "DATE"},
        {"NUMTODSINTERVAL", "DS_SPAN(9,9)"},
        {"NUMTOYMINTERVAL", "YM_SPAN(9)"},
        {"FROM_TZ", "TIMESTAMP_TZ(9)"},
        {"SYS_EXTRACT_UTC", "TIMESTAMP(9)"},
        {"SYS_GUID", "RAW(16)"},
        {"UID", "NUMBER"},
    };
    for (const auto& entry : types)
      if (first.IsWord(entry.word))
        return entry.type;
    if (wholeCall && (first.IsWord("TRUNC") || first.IsWord("ROUND"))) {
      // A date or timestamp is cut to a DATE.
      std::size_t argEnd = begin + 2;
      for (int depth = 0; argEnd < end - 1; ++argEnd) {
        depth += tokens_[argEnd].IsSymbol("(") ? 1 : tokens_[argEnd].IsSymbol(")") ? -1 : 0;
        if (depth == 0 && tokens_[argEnd].IsSymbol(","))
          break;
      }
      const std::string argument = argEnd > begin + 2 ? ItemType(begin + 2, argEnd) : "";
      if (argument == "DATE" || argument.rfind("TIMESTAMP", 0) == 0)
        return "DATE";
    }
    if (first.Upper().rfind("BINARY_DOUBLE_", 0) == 0)
      return "BINARY_DOUBLE";
    if (first.Upper().rfind("BINARY_FLOAT_", 0) == 0)
      return "BINARY_FLOAT";
  }
  if (first.IsWord("STANDARD_HASH") && wholeCall) {
    const std::string method =
        tokens_[end - 2].type == SqlToken::Type::String ? ToUpperAscii(tokens_[end - 2].text) : "";
    return method == "MD5"      ? "RAW(16)"
           : method == "SHA256" ? "RAW(32)"
           : method == "SHA384" ? "RAW(48)"
           : method == "SHA512" ? "RAW(64)"
                                : "RAW(20)";
  }
  if (const std::size_t at = TopLevelAtTimeZone(begin, end); at != end) {
    const std::string operand = ItemType(begin, at);
    const std::size_t open = operand.find('(');
    return operand.rfind("TIMESTAMP", 0) == 0 && open != std::string::npos
               ? "TIMESTAMP_TZ" + operand.substr(open)
               : "TIMESTAMP_TZ(9)";
  }
  if (first.IsWord("CAST") && wholeCall) {
    for (std::size_t i = begin + 2, depth = 0; i + 1 < end; ++i) {
      depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
      if (depth == 0 && tokens_[i].IsWord("AS")) {
        const OraError saved = error_;
        const auto type = CastType(i + 1, end - 1);
        error_ = saved;
        if (type) {
          std::string decl = type->SqliteDeclaration();
          return decl.rfind("TEXT ", 0) == 0 || decl.rfind("BLOB ", 0) == 0 ? decl.substr(5) : decl;
        }
      }
    }
  }
  if (first.IsWord("TIMESTAMP") && end - begin == 2 &&
      tokens_[begin + 1].type == SqlToken::Type::String) {
    const std::string& text = tokens_[begin + 1].text;
    const std::size_t zone = text.find_first_not_of("0123456789-:. ", 10);
    return zone == std::string::npos && text.find_first_of("+", 10) == std::string::npos
               ? "TIMESTAMP(9)"
               : "TIMESTAMP_TZ(9)";
  }
  if (first.IsWord("INTERVAL") && end - begin > 2 &&
      tokens_[begin + 1].type == SqlToken::Type::String) {
    IntervalQualifier qualifier;
    const OraError saved = error_;
    if (ReadIntervalQualifier(begin + 2, end, qualifier) == end && !error_.IsSet())
      return qualifier.first == "YEAR" || qualifier.first == "MONTH"
                 ? "YM_SPAN(" + std::to_string(qualifier.leading) + ")"
                 : "DS_SPAN(" + std::to_string(qualifier.leading) + "," +
                       std::to_string(qualifier.fraction) + ")";
    error_ = saved;
  }
  std::string type = ExpressionType(first, isCall);
  if (type.empty()) {
    int depth = 0;
    for (std::size_t i = begin; i < end; ++i) {
      depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
      if (depth == 0 && i > begin && (tokens_[i].IsSymbol("+") || tokens_[i].IsSymbol("-")))
        return "?";
    }
  }
  return type;
}

bool SqlTranslator::Translate(TranslatedStatement& out, OraError& error) {
  // The (+) marker, CONNECT BY, ROLLUP, CUBE and GROUPING SETS are rewritten
  // first, one query block at a time, and the result translated instead.
  // The rewrites work on text: the statement's own, without what stands
  // around it (a CREATE VIEW's head) when the tokens are part of a longer one.
  std::string rewritten = sql_;
  std::vector<SqlToken> tokens = tokens_;
  if (!tokens_.empty() && (tokens_.front().offset > 0 || tokens_.back().end < sql_.size())) {
    rewritten = sql_.substr(tokens_.front().offset, tokens_.back().end - tokens_.front().offset);
    std::size_t errorOffset = 0;
    if (!TokenizeSql(rewritten, tokens, errorOffset)) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
  }
  bool changed = false;
  for (int block = 0; block < 32; ++block) {
    error = {};
    auto next = RewriteOuterJoinMarkers(rewritten, tokens, error);
    if (!next && !error.IsSet())
      next = RewriteHierarchicalQuery(rewritten, tokens, resolver_, error);
    if (!next && !error.IsSet())
      next = RewriteGroupingSets(rewritten, tokens, error);
    if (error.IsSet())
      return false;
    if (!next)
      break;
    std::size_t errorOffset = 0;
    rewritten = *next;
    changed = true;
    if (!TokenizeSql(rewritten, tokens, errorOffset)) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
  }
  if (changed)
    return SqlTranslator(tokens, rewritten, resolver_).Translate(out, error);
  // Names of the WITH clause's queries are tables of the statement.
  for (std::size_t i = 0; i + 3 < tokens_.size(); ++i)
    if ((tokens_[i].IsWord("WITH") ||
         (tokens_[i].IsSymbol(",") && i > 0 && tokens_[i - 1].IsSymbol(")"))) &&
        IsName(tokens_[i + 1]) && tokens_[i + 2].IsWord("AS") && tokens_[i + 3].IsSymbol("("))
      queryNames_.push_back(tokens_[i + 1].Upper());
  ReadJsonTables();
  ReadCollectionTables();
  ReadObjectTables();
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
