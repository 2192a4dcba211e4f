// Finding the (+) markers of a query block and writing its joins out.
#include "sandbox/server/sql/OuterJoinMarker.h"

#include <algorithm>

#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

namespace {

using Range = TokenRange;

class OuterJoinRewriter {
 public:
  OuterJoinRewriter(const std::string& sql, const std::vector<SqlToken>& tokens)
      : sql_(sql), tokens_(tokens) {}

  std::optional<std::string> Rewrite(OraError& error) {
    std::size_t marker = 0;
    while (marker + 2 < tokens_.size() && !IsMarker(marker))
      ++marker;
    if (marker + 2 >= tokens_.size())
      return std::nullopt;
    const int depth = DepthAt(marker);
    std::size_t where = marker;
    while (where > 0 && !(tokens_[where].IsWord("WHERE") && DepthAt(where) == depth))
      --where;
    std::size_t from = where;
    while (from > 0 && !(tokens_[from].IsWord("FROM") && DepthAt(from) == depth))
      --from;
    if (!tokens_[where].IsWord("WHERE") || !tokens_[from].IsWord("FROM")) {
      error = {1719, "outer join operator (+) not allowed in operand of OR or IN"};
      return std::nullopt;
    }
    std::size_t whereEnd = where + 1;
    for (; whereEnd < tokens_.size(); ++whereEnd) {
      const SqlToken& t = tokens_[whereEnd];
      const int at = DepthAt(whereEnd);
      if (at < depth ||
          (at == depth &&
           (t.IsSymbol(")") || t.IsWord("GROUP") || t.IsWord("ORDER") || t.IsWord("HAVING") ||
            t.IsWord("UNION") || t.IsWord("MINUS") || t.IsWord("INTERSECT") ||
            t.IsWord("CONNECT") || t.IsWord("START") || t.IsSymbol(";"))))
        break;
    }
    // The tables of the FROM list and their names in the conditions.
    std::vector<Range> tables =
        Split(from + 1, where, [&](std::size_t i) { return tokens_[i].IsSymbol(","); });
    std::vector<std::string> names;
    for (Range table : tables) {
      for (std::size_t i = table.first; i < table.second; ++i)
        if (tokens_[i].IsWord("JOIN")) {
          error = {25156, "old style outer join (+) cannot be used with ANSI joins"};
          return std::nullopt;
        }
      const SqlToken& last = tokens_[table.second - 1];
      names.push_back(last.type == SqlToken::Type::QuotedName ? last.text : last.Upper());
    }
    // The conditions joined by AND at this depth.
    bool between = false;
    std::vector<Range> conditions = Split(where + 1, whereEnd, [&](std::size_t i) {
      if (tokens_[i].IsWord("BETWEEN"))
        between = true;
      if (!tokens_[i].IsWord("AND"))
        return false;
      if (between) {
        between = false;
        return false;
      }
      return true;
    });
    std::vector<std::string> onClauses(tables.size()), remaining;
    for (Range condition : conditions) {
      std::string outer;
      bool marked = false;
      for (std::size_t i = condition.first; i < condition.second; ++i) {
        if (DepthAt(i) == depth && (tokens_[i].IsWord("OR") || tokens_[i].IsWord("IN")) &&
            Marked(condition)) {
          error = {1719, "outer join operator (+) not allowed in operand of OR or IN"};
          return std::nullopt;
        }
        if (i + 2 >= condition.second || !IsMarker(i))
          continue;
        marked = true;
        std::string table = names.back();
        if (i >= 2 && tokens_[i - 2].IsSymbol("."))
          table = tokens_[i - 3].type == SqlToken::Type::QuotedName ? tokens_[i - 3].text
                                                                    : tokens_[i - 3].Upper();
        if (!outer.empty() && outer != table) {
          error = {1468, "a predicate may reference only one outer-joined table"};
          return std::nullopt;
        }
        outer = table;
      }
      if (!marked) {
        remaining.push_back(Text(condition.first, condition.second));
        continue;
      }
      const auto found = std::find(names.begin(), names.end(), outer);
      if (found == names.end()) {
        error = {904, "\"" + outer + "\": invalid identifier"};
        return std::nullopt;
      }
      std::string& on = onClauses[static_cast<std::size_t>(found - names.begin())];
      on += (on.empty() ? "(" : " AND (") + Unmarked(condition) + ")";
    }
    std::string fromText, joins;
    for (std::size_t k = 0; k < tables.size(); ++k) {
      const std::string table = Text(tables[k].first, tables[k].second);
      if (onClauses[k].empty())
        fromText += (fromText.empty() ? "" : ", ") + table;
      else
        joins += " LEFT JOIN " + table + " ON " + onClauses[k];
    }
    if (fromText.empty()) {
      error = {1416, "two tables cannot be outer-joined to each other"};
      return std::nullopt;
    }
    std::string whereText;
    for (const std::string& condition : remaining)
      whereText += (whereText.empty() ? " WHERE " : " AND ") + condition;
    const std::size_t endByte = whereEnd < tokens_.size() ? tokens_[whereEnd].offset : sql_.size();
    return sql_.substr(0, tokens_[from].offset) + "FROM " + fromText + joins + whereText + " " +
           sql_.substr(endByte);
  }

 private:
  bool IsMarker(std::size_t i) const {
    return tokens_[i].IsSymbol("(") && tokens_[i + 1].IsSymbol("+") && tokens_[i + 2].IsSymbol(")");
  }

  bool Marked(Range range) const {
    for (std::size_t i = range.first; i + 2 < range.second; ++i)
      if (IsMarker(i))
        return true;
    return false;
  }

  // The condition's text without its markers.
  std::string Unmarked(Range range) const {
    std::string text;
    std::size_t from = tokens_[range.first].offset;
    for (std::size_t i = range.first; i + 2 < range.second; ++i) {
      if (IsMarker(i)) {
        text += sql_.substr(from, tokens_[i].offset - from);
        from = tokens_[i + 2].end;
        i += 2;
      }
    }
    return text + sql_.substr(from, tokens_[range.second - 1].end - from);
  }

  int DepthAt(std::size_t at) const { return ParenDepthAt(tokens_, at); }
  template <typename IsSeparator>
  std::vector<Range> Split(std::size_t begin, std::size_t end, IsSeparator isSeparator) const {
    return SplitTokens(tokens_, begin, end, isSeparator);
  }
  std::string Text(std::size_t begin, std::size_t end) const {
    return RangeText(sql_, tokens_, begin, end);
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
};

}  // namespace

std::optional<std::string> RewriteOuterJoinMarkers(const std::string& sql,
                                                   const std::vector<SqlToken>& tokens,
                                                   OraError& error) {
  return OuterJoinRewriter(sql, tokens).Rewrite(error);
}

}  // namespace sandbox
