// Expansion of ROLLUP, CUBE and GROUPING SETS into grouping sets, and the
// text of the UNION ALL that computes them.
#include "sandbox/server/sql/GroupingSets.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

namespace {

using Range = TokenRange;
using GroupingSet = std::vector<std::string>;  // normalised expressions

class GroupingRewriter {
 public:
  GroupingRewriter(const std::string& sql, const std::vector<SqlToken>& tokens)
      : sql_(sql), tokens_(tokens) {}

  std::optional<std::string> Rewrite(OraError& error) {
    const std::size_t groupAt = FindGroupBy();
    if (groupAt == tokens_.size())
      return std::nullopt;
    // The query block around this GROUP BY.
    const int depth = DepthAt(groupAt);
    std::size_t select = groupAt;
    while (select > 0 && !(tokens_[select].IsWord("SELECT") && DepthAt(select) == depth))
      --select;
    std::size_t from = select;
    while (from < groupAt && !(tokens_[from].IsWord("FROM") && DepthAt(from) == depth))
      ++from;
    std::size_t blockEnd = groupAt + 2, having = 0, order = 0;
    for (; blockEnd < tokens_.size(); ++blockEnd) {
      const SqlToken& t = tokens_[blockEnd];
      if (t.IsSymbol(")") && DepthAt(blockEnd) == depth)
        break;
      if (DepthAt(blockEnd) != depth)
        continue;
      if (t.IsWord("UNION") || t.IsWord("MINUS") || t.IsWord("INTERSECT") || t.IsSymbol(";"))
        break;
      if (t.IsWord("HAVING") && !having)
        having = blockEnd;
      if (t.IsWord("ORDER") && !order)
        order = blockEnd;
    }
    const std::size_t groupEnd = having ? having : order ? order : blockEnd;
    std::vector<GroupingSet> sets;
    std::vector<std::string> texts;  // the grouping expressions as written, by normal form
    if (!Expand(groupAt + 2, groupEnd, sets, error))
      return std::nullopt;
    GroupingSet all;
    for (const GroupingSet& set : sets)
      for (const std::string& expression : set)
        if (std::find(all.begin(), all.end(), expression) == all.end())
          all.push_back(expression);
    const std::vector<Range> items = Items(select + 1, from);
    bool aggregates = false;
    for (std::size_t i = select + 1; i + 1 < from; ++i)
      aggregates = aggregates || (tokens_[i + 1].IsSymbol("(") && IsAggregate(tokens_[i]));
    std::string branches;
    for (const GroupingSet& set : sets) {
      std::string branch = "SELECT ";
      for (std::size_t k = 0; k < items.size(); ++k)
        branch += (k ? ", " : "") + Item(items[k], set, all);
      branch += " " + Text(from, groupAt);
      // The empty set is one group, aggregates or not ("GROUP BY ()").
      if (set.empty() && !aggregates)
        branch += " GROUP BY NULL";
      if (!set.empty()) {
        branch += " GROUP BY ";
        for (std::size_t k = 0; k < set.size(); ++k)
          branch += (k ? ", " : "") + written_[set[k]];
      }
      if (having)
        branch += " HAVING " + Replaced(having + 1, order ? order : blockEnd, set, all);
      branches += (branches.empty() ? "" : " UNION ALL ") + branch;
    }
    std::string query = "SELECT * FROM (" + branches + ")";
    if (order)
      query += " " + Text(order, blockEnd);
    const std::size_t startByte = tokens_[select].offset;
    const std::size_t endByte = blockEnd < tokens_.size() ? tokens_[blockEnd].offset : sql_.size();
    const bool nested = depth > 0;
    return sql_.substr(0, startByte) + (nested ? query : query + " ") + sql_.substr(endByte);
  }

 private:
  // The first GROUP BY whose clause holds ROLLUP, CUBE or GROUPING SETS.
  std::size_t FindGroupBy() const {
    for (std::size_t i = 0; i + 2 < tokens_.size(); ++i) {
      if (!tokens_[i].IsWord("GROUP") || !tokens_[i + 1].IsWord("BY"))
        continue;
      int depth = 0;
      for (std::size_t k = i + 2; k < tokens_.size(); ++k) {
        const SqlToken& t = tokens_[k];
        depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
        if (depth < 0 || (depth == 0 && (t.IsWord("HAVING") || t.IsWord("ORDER") ||
                                         t.IsWord("UNION") || t.IsWord("MINUS"))))
          break;
        if (t.IsWord("ROLLUP") || t.IsWord("CUBE") ||
            (t.IsWord("GROUPING") && k + 1 < tokens_.size() && tokens_[k + 1].IsWord("SETS")))
          return i;
      }
    }
    return tokens_.size();
  }

  // An expression's text upper-cased without blanks, as Oracle matches a
  // select item to a grouping expression.
  std::string Normal(std::size_t begin, std::size_t end) {
    std::string text;
    for (std::size_t i = begin; i < end; ++i)
      text += tokens_[i].type == SqlToken::Type::Word ? tokens_[i].Upper() : tokens_[i].text;
    if (!written_.count(text))
      written_[text] = Text(begin, end);
    return text;
  }

  static std::vector<GroupingSet> Cross(const std::vector<GroupingSet>& a,
                                        const std::vector<GroupingSet>& b) {
    std::vector<GroupingSet> product;
    for (const GroupingSet& x : a)
      for (const GroupingSet& y : b) {
        GroupingSet set = x;
        for (const std::string& e : y)
          if (std::find(set.begin(), set.end(), e) == set.end())
            set.push_back(e);
        product.push_back(set);
      }
    return product;
  }

  // A column list element: "a" or "(a, b)"; "()" is the empty set.
  GroupingSet Columns(Range item) {
    GroupingSet set;
    if (tokens_[item.first].IsSymbol("(") && Matching(item.first) + 1 == item.second) {
      for (Range inner : Items(item.first + 1, item.second - 1))
        set.push_back(Normal(inner.first, inner.second));
    } else {
      set.push_back(Normal(item.first, item.second));
    }
    return set;
  }

  bool Expand(std::size_t begin, std::size_t end, std::vector<GroupingSet>& sets, OraError& error) {
    sets = {GroupingSet()};
    for (Range item : Items(begin, end)) {
      std::vector<GroupingSet> element;
      const SqlToken& t = tokens_[item.first];
      const bool rollup = t.IsWord("ROLLUP"), cube = t.IsWord("CUBE");
      const bool groupingSets = t.IsWord("GROUPING") && item.first + 1 < item.second &&
                                tokens_[item.first + 1].IsWord("SETS");
      if (rollup || cube || groupingSets) {
        const std::size_t open = item.first + (groupingSets ? 2 : 1);
        if (open >= item.second || !tokens_[open].IsSymbol("(")) {
          error = {906, "missing left parenthesis"};
          return false;
        }
        const std::vector<Range> inner = Items(open + 1, Matching(open));
        if (groupingSets) {
          for (Range part : inner) {
            std::vector<GroupingSet> partSets;
            if (!Expand(part.first, part.second, partSets, error))
              return false;
            element.insert(element.end(), partSets.begin(), partSets.end());
          }
        } else {
          std::vector<GroupingSet> columns;
          for (Range part : inner)
            columns.push_back(Columns(part));
          if (rollup) {
            for (std::size_t n = columns.size() + 1; n-- > 0;) {
              GroupingSet set;
              for (std::size_t k = 0; k < n; ++k)
                set.insert(set.end(), columns[k].begin(), columns[k].end());
              element.push_back(set);
            }
          } else {
            const std::size_t count = std::size_t{1} << columns.size();
            for (std::size_t mask = count; mask-- > 0;) {
              GroupingSet set;
              for (std::size_t k = 0; k < columns.size(); ++k)
                if (mask & (std::size_t{1} << (columns.size() - 1 - k)))
                  set.insert(set.end(), columns[k].begin(), columns[k].end());
              element.push_back(set);
            }
          }
        }
      } else {
        element.push_back(Columns(item));
      }
      sets = Cross(sets, element);
    }
    return true;
  }

  // The text of [begin, end) for one grouping set: grouping expressions not
  // in it become NULL outside aggregates; GROUPING and GROUPING_ID constants.
  std::string Replaced(std::size_t begin, std::size_t end, const GroupingSet& set,
                       const GroupingSet& all) {
    std::string out;
    std::size_t aggregateEnd = 0;  // inside an aggregate's arguments up to here
    for (std::size_t i = begin; i < end;) {
      const SqlToken& t = tokens_[i];
      const bool call = i + 1 < end && tokens_[i + 1].IsSymbol("(");
      if (call && (t.IsWord("GROUPING") || t.IsWord("GROUPING_ID"))) {
        const std::size_t close = Matching(i + 1);
        long long value = 0;
        for (Range argument : Items(i + 2, close)) {
          const std::string e = Resolved(Normal(argument.first, argument.second), all);
          value = value * 2 + (std::find(set.begin(), set.end(), e) == set.end() ? 1 : 0);
        }
        out += " " + std::to_string(value);
        i = close + 1;
        continue;
      }
      if (call && i >= aggregateEnd && IsAggregate(t))
        aggregateEnd = Matching(i + 1);
      bool replaced = false;
      const bool lone = (t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName) &&
                        !call && !(i > begin && tokens_[i - 1].IsSymbol(".")) &&
                        !(i + 1 < end && tokens_[i + 1].IsSymbol("."));
      if (i >= aggregateEnd && lone) {
        const std::string name = Normal(i, i + 1), e = Resolved(name, all);
        if (e != name && std::find(set.begin(), set.end(), e) == set.end()) {
          out += " NULL";
          ++i;
          continue;
        }
      }
      if (i >= aggregateEnd) {
        for (const std::string& e : all) {
          if (std::find(set.begin(), set.end(), e) != set.end())
            continue;
          std::size_t k = i;
          std::string text;
          while (k < end && text.size() < e.size()) {
            text += tokens_[k].type == SqlToken::Type::Word ? tokens_[k].Upper() : tokens_[k].text;
            ++k;
          }
          const bool wholeName = !(i > begin && tokens_[i - 1].IsSymbol(".")) &&
                                 !(k < end && tokens_[k].IsSymbol("."));
          if (text == e && wholeName) {
            out += " NULL";
            i = k;
            replaced = true;
            break;
          }
        }
      }
      if (!replaced) {
        out += " " + Text(i, i + 1);
        ++i;
      }
    }
    return out;
  }

  // Oracle matches a column to a grouping expression by the column it names:
  // STORE_NAME is S.STORE_NAME, and the other way round, where only one
  // grouping expression names that column.
  static std::string Resolved(const std::string& e, const GroupingSet& all) {
    if (std::find(all.begin(), all.end(), e) != all.end() || !IsColumnName(e))
      return e;
    const std::size_t dot = e.rfind('.');
    std::string found;
    for (const std::string& x : all) {
      const std::size_t xDot = x.rfind('.');
      if (!IsColumnName(x) || (dot == std::string::npos) == (xDot == std::string::npos) ||
          e.substr(dot + 1) != x.substr(xDot + 1))
        continue;
      if (!found.empty())
        return e;  // ambiguous
      found = x;
    }
    return found.empty() ? e : found;
  }

  static bool IsColumnName(const std::string& e) {
    return !e.empty() && std::all_of(e.begin(), e.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
             c == '.' || c == '"';
    });
  }

  static bool IsAggregate(const SqlToken& t) {
    return t.IsWord("SUM") || t.IsWord("COUNT") || t.IsWord("AVG") || t.IsWord("MIN") ||
           t.IsWord("MAX") || t.IsWord("LISTAGG") || t.IsWord("STDDEV") || t.IsWord("VARIANCE");
  }

  bool IsQualifiedName(Range item) const {
    for (std::size_t i = item.first; i < item.second; ++i) {
      const bool name =
          tokens_[i].type == SqlToken::Type::Word || tokens_[i].type == SqlToken::Type::QuotedName;
      if ((i - item.first) % 2 == 0 ? !name : !tokens_[i].IsSymbol("."))
        return false;
    }
    return true;
  }

  // A select item with the name Oracle gives it kept as an alias.
  std::string Item(Range item, const GroupingSet& set, const GroupingSet& all) {
    std::size_t end = item.second;
    std::string alias;
    const SqlToken& last = tokens_[end - 1];
    if (item.second - item.first >= 2 &&
        (last.type == SqlToken::Type::Word || last.type == SqlToken::Type::QuotedName) &&
        !tokens_[end - 2].IsSymbol(".") &&
        (tokens_[end - 2].IsWord("AS") || tokens_[end - 2].type != SqlToken::Type::Symbol ||
         tokens_[end - 2].IsSymbol(")"))) {
      alias = last.type == SqlToken::Type::QuotedName ? last.text : last.Upper();
      end -= tokens_[end - 2].IsWord("AS") ? 2 : 1;
    } else if (IsQualifiedName(item)) {
      alias = last.type == SqlToken::Type::QuotedName ? last.text : last.Upper();
    } else {
      for (char c : Text(item.first, end))
        if (!std::isspace(static_cast<unsigned char>(c)))
          alias += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      alias.resize(std::min<std::size_t>(alias.size(), 30));
    }
    if (tokens_[end - 1].IsSymbol("*"))
      return Text(item.first, end);
    std::string quoted;
    for (char c : alias)
      quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return Replaced(item.first, end, set, all) + " \"" + quoted + "\"";
  }

  int DepthAt(std::size_t at) const { return ParenDepthAt(tokens_, at); }
  std::size_t Matching(std::size_t open) const { return ClosingParen(tokens_, open); }
  std::vector<Range> Items(std::size_t begin, std::size_t end) const {
    return ListItems(tokens_, begin, end);
  }
  std::string Text(std::size_t begin, std::size_t end) const {
    return RangeText(sql_, tokens_, begin, end);
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  std::map<std::string, std::string> written_;
};

}  // namespace

std::optional<std::string> RewriteGroupingSets(const std::string& sql,
                                               const std::vector<SqlToken>& tokens,
                                               OraError& error) {
  return GroupingRewriter(sql, tokens).Rewrite(error);
}

}  // namespace sandbox
