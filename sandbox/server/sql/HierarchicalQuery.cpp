// Reading a hierarchical query block and writing its recursive WITH.
//
// The block's FROM list (one table, a view, a subquery or a join) becomes
// QM_SRC, numbered so that every row has a place among its siblings; the
// join's conditions (ON, and WHERE terms that compare two of its items) are
// applied there, before the hierarchy is built. QM_HIER walks the hierarchy
// from the START WITH rows, carrying what CONNECT_BY_ROOT, SYS_CONNECT_BY_PATH
// and PRIOR in the select list need from the rows above. The rest of WHERE
// filters the rows of the hierarchy, which come in depth-first order.
#include "sandbox/server/sql/HierarchicalQuery.h"

#include <algorithm>
#include <map>

#include "sandbox/server/sql/SqlTranslator.h"
#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

namespace {

// Where a piece of the block's text is evaluated: over the source rows that
// start the hierarchy, over a child row joined to its parent, or over the
// finished hierarchy.
enum class Place { Root, Child, Outer };

class HierarchyRewriter {
 public:
  HierarchyRewriter(const std::string& sql, const std::vector<SqlToken>& tokens,
                    NameResolver& resolver)
      : sql_(sql), tokens_(tokens), resolver_(resolver) {}

  std::optional<std::string> Rewrite(OraError& error) {
    std::size_t connect = 0;
    while (connect + 1 < tokens_.size() &&
           !(tokens_[connect].IsWord("CONNECT") && tokens_[connect + 1].IsWord("BY")))
      ++connect;
    if (connect + 1 >= tokens_.size())
      return std::nullopt;
    ReadDepths();
    const int depth = depths_[connect];
    std::size_t select = connect;
    while (select > 0 && !(tokens_[select].IsWord("SELECT") && depths_[select] == depth))
      --select;
    ReadSubqueries(select);
    // The clauses of the block, each up to the next one.
    std::size_t from = 0, where = 0, start = 0, group = 0, having = 0, order = 0, end = select + 1;
    for (; end < tokens_.size(); ++end) {
      const SqlToken& t = tokens_[end];
      const int at = depths_[end];
      if (at < depth ||
          (at == depth && (t.IsSymbol(")") || t.IsWord("UNION") || t.IsWord("MINUS") ||
                           t.IsWord("INTERSECT") || t.IsSymbol(";"))))
        break;
      if (at != depth)
        continue;
      const bool by = end + 1 < tokens_.size() && tokens_[end + 1].IsWord("BY");
      if (t.IsWord("FROM") && !from)
        from = end;
      else if (t.IsWord("WHERE") && !where)
        where = end;
      else if (t.IsWord("START") && end + 1 < tokens_.size() && tokens_[end + 1].IsWord("WITH"))
        start = end;
      else if (t.IsWord("GROUP") && by && !group)
        group = end;
      else if (t.IsWord("HAVING") && !having)
        having = end;
      else if (t.IsWord("ORDER") && !order)
        order = end;
    }
    const std::vector<std::size_t> marks = {from, where, start, connect, group, having, order, end};
    auto clauseEnd = [&](std::size_t at) {
      std::size_t next = end;
      for (std::size_t mark : marks)
        if (mark > at && mark < next)
          next = mark;
      return next;
    };
    if (!from) {
      error = {923, "FROM keyword not found where expected"};
      return std::nullopt;
    }
    const std::string fromText = ReadItems(from + 1, clauseEnd(from), depth);
    if (items_.empty()) {
      error = {903, "invalid table name"};
      return std::nullopt;
    }
    std::size_t conditionBegin = connect + 2;
    const bool noCycle = conditionBegin < end && tokens_[conditionBegin].IsWord("NOCYCLE");
    conditionBegin += noCycle ? 1 : 0;
    const std::size_t conditionEnd = clauseEnd(connect);
    bool prior = false;
    for (std::size_t i = conditionBegin; i < conditionEnd; ++i)
      prior = prior || tokens_[i].IsWord("PRIOR");
    const bool siblings = order && order + 1 < end && tokens_[order + 1].IsWord("SIBLINGS");
    const std::string row = joined_ ? "QM_C" : items_.front().alias;
    outer_ = joined_ ? "QM_H" : row;
    row_ = row;

    // The outer query first: it names what the hierarchy has to carry.
    std::vector<TokenRange> joinTerms, filterTerms;
    if (where)
      SplitWhere(where + 1, clauseEnd(where), depth, joinTerms, filterTerms);
    ReadSelectAliases(select + 1, from);
    std::string query = "SELECT ";
    for (const TokenRange& item : ListItems(tokens_, select + 1, from)) {
      const auto star = StarList(item.first, item.second);
      query += (query.size() > 7 ? ", " : "") +
               (star ? *star : Map(item.first, item.second, Place::Outer));
    }
    // A row that closes a loop stays in the hierarchy, unexpanded, so that
    // its parent can tell CONNECT_BY_ISCYCLE; it is not one of the answers.
    std::string filter = noCycle && prior ? outer_ + ".QM_LOOP = 0" : "";
    for (const TokenRange& term : filterTerms)
      filter += (filter.empty() ? "" : " AND ") +
                ("(" + Map(term.first, term.second, Place::Outer) + ")");
    std::string tail;
    if (!filter.empty())
      tail += " WHERE " + filter;
    if (group)
      tail += " GROUP BY " + Map(group + 2, clauseEnd(group), Place::Outer);
    if (having)
      tail += " HAVING " + Map(having + 1, clauseEnd(having), Place::Outer);
    if (order && !siblings)
      tail += " ORDER BY " + Map(order + 2, clauseEnd(order), Place::Outer);
    else if (!group)
      tail += " ORDER BY " + outer_ + ".QM_PATH";

    // A row's place among its siblings: its ORDER SIBLINGS BY keys, its
    // number in the source, or for a row generator (no PRIOR) its level.
    // Siblings with equal keys keep their number after the keys, and the
    // numbers of a row's ancestors tell a loop (a path of keys cannot).
    const std::string id = "printf('%012d', " + row + ".QM_RN)";
    std::string key = id;
    std::string ancestors = "QM_P.QM_PATH";
    if (siblings) {
      key.clear();
      for (const TokenRange& item : ListItems(tokens_, order + 3, clauseEnd(order)))
        key += SiblingKey(item) + " || '|' || ";
      key += id;
      if (prior) {
        const std::string carried = "QM_P.QM_CARRY" + std::to_string(carried_ + 1);
        Carry("'/' || " + id, carried + " || '/' || " + id);
        ancestors = carried;
      }
    }
    const std::string rootKey = prior ? key : std::string("printf('%012d', 1)");
    const std::string childKey = prior ? key : std::string("printf('%012d', QM_P.\"LEVEL\" + 1)");
    const std::string roots =
        start ? Map(start + 2, clauseEnd(start), Place::Root) : std::string("1 = 1");
    // A row generator's rows sort by level alone: its path is the level, not
    // a text that grows with every level (quadratic in the rows made).
    const std::string childPath =
        prior ? "QM_P.QM_PATH || '/' || " + childKey : "'/' || " + childKey;
    if (cycle_ && !noCycle) {
      error = {30930, "NOCYCLE keyword is required with CONNECT_BY_ISCYCLE pseudocolumn"};
      return std::nullopt;
    }
    // A row already on the path closes a loop: an error, or with NOCYCLE a
    // row marked as such and not expanded.
    const std::string onPath = "instr(" + ancestors + ", '/' || " + id + ") > 0";
    const std::string loop = !prior ? std::string("0")
                             : noCycle
                                 ? "CASE WHEN " + onPath + " THEN 1 ELSE 0 END"
                                 : "CASE WHEN " + onPath + " THEN ora_connect_by_loop() ELSE 0 END";
    const std::string up =
        noCycle && prior ? "CASE WHEN " + onPath + " THEN QM_P.QM_PATH END" : std::string("NULL");
    std::string recursive = "SELECT " + row + ".*, QM_P.\"LEVEL\" + 1, " + childPath +
                            childCarried_ + ", " + loop + ", " + up + " FROM QM_SRC " + row +
                            " JOIN QM_HIER QM_P ON (" +
                            Map(conditionBegin, conditionEnd, Place::Child) + ")";
    if (prior)
      recursive += " AND QM_P.QM_LOOP = 0";

    std::string source = "SELECT ";
    if (joined_) {
      for (const auto& [name, text] : columns_)
        source += text + " AS \"" + name + "\", ";
    } else {
      source += row + ".*, ";
    }
    source += "row_number() OVER () AS QM_RN FROM " + fromText;
    std::string joinFilter;
    for (const TokenRange& term : joinTerms)
      joinFilter +=
          (joinFilter.empty() ? "" : " AND ") + ("(" + Text(term.first, term.second) + ")");
    if (!joinFilter.empty())
      source += " WHERE " + joinFilter;
    const std::string with = "WITH QM_SRC AS (" + source + "), QM_HIER AS (SELECT " + row +
                             ".*, 1 \"LEVEL\", '/' || " + rootKey + " QM_PATH" + rootCarried_ +
                             ", 0 AS QM_LOOP, NULL AS QM_UP FROM QM_SRC " + row + " WHERE " +
                             roots + " UNION ALL " + recursive + ") ";
    // Whether a row has children shows in depth-first order: the next row
    // is one level deeper.
    // Whether a row has a child that is also its ancestor: the loop rows
    // name their parent's path.
    std::string hierarchy = "QM_HIER";
    if (leaf_ || cycle_) {
      hierarchy = "(SELECT QM_HIER.*";
      if (leaf_)
        hierarchy +=
            ", CASE WHEN lead(\"LEVEL\") OVER (ORDER BY QM_PATH) > \"LEVEL\" THEN 0 "
            "ELSE 1 END AS QM_ISLEAF";
      if (cycle_)
        hierarchy +=
            ", CASE WHEN QM_PATH IN (SELECT QM_UP FROM QM_HIER WHERE QM_LOOP = 1) "
            "THEN 1 ELSE 0 END AS QM_ISCYCLE";
      hierarchy += " FROM QM_HIER)";
    }
    query += " FROM " + hierarchy + " " + outer_ + tail;
    const std::size_t endByte = end < tokens_.size() ? tokens_[end].offset : sql_.size();
    const std::string text = with + query;
    // A block that is not the whole statement (a subquery, one side of a
    // UNION, an INSERT's rows) becomes a subquery: its WITH and ORDER BY
    // stay its own.
    const bool whole = select == 0 && end >= tokens_.size();
    return sql_.substr(0, tokens_[select].offset) +
           (whole ? text : "SELECT * FROM (" + text + ")") + " " + sql_.substr(endByte);
  }

 private:
  struct Item {
    std::string alias;  // as SQL text: upper case, or quoted
    std::string text;   // the item as written, with the alias it is given
  };

  // "*" or "alias.*": the columns of the items it names, in FROM order, by
  // their own names. A join's source carries them as "ALIAS.COLUMN".
  std::optional<std::string> StarList(std::size_t begin, std::size_t end) {
    const bool star = end == begin + 1 && tokens_[begin].IsSymbol("*");
    const bool aliasStar = end == begin + 3 && IsAlias(tokens_[begin]) &&
                           tokens_[begin + 1].IsSymbol(".") && tokens_[begin + 2].IsSymbol("*");
    if (!star && !aliasStar)
      return std::nullopt;
    const auto quote = [](const std::string& name) {
      std::string quoted = "\"";
      for (char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      return quoted + "\"";
    };
    std::string list;
    for (const Item& item : items_) {
      if (aliasStar && item.alias != NameText(tokens_[begin]))
        continue;
      const auto columns = resolver_.StarColumns("SELECT * FROM " + item.text);
      if (!columns || columns->empty())
        return std::nullopt;
      for (const std::string& column : *columns) {
        std::string reference = outer_ + "." + quote(column);
        if (joined_) {
          std::string stored;
          for (char c : item.alias + "." + column)
            if (c != '"')
              stored += c;
          columns_.emplace(stored, item.alias + "." + quote(column));
          reference = outer_ + "." + quote(stored) + " AS " + quote(column);
        }
        list += (list.empty() ? "" : ", ") + reference;
      }
    }
    return list;
  }

  static bool IsName(const SqlToken& t) {
    return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
  }
  static std::string NameText(const SqlToken& t) {
    return t.type == SqlToken::Type::QuotedName ? "\"" + t.text + "\"" : t.Upper();
  }
  static bool IsColumn(const SqlToken& t) {
    return IsName(t) && !IsReservedWord(t) && !t.IsWord("LEVEL") && !t.IsWord("PRIOR") &&
           !t.IsWord("SYSDATE") && !t.IsWord("SYSTIMESTAMP") && !t.IsWord("USER") &&
           !t.IsWord("ROWNUM") && !t.IsWord("FIRST") && !t.IsWord("LAST") &&
           !t.IsWord("CONNECT_BY_ISLEAF") && !t.IsWord("CONNECT_BY_ISCYCLE");
  }

  void ReadDepths() {
    int depth = 0;
    depths_.resize(tokens_.size());
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      depths_[i] = depth;
      depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
    }
  }

  // Which tokens after select stand in a subquery of the block: their plain
  // names are the subquery's own columns.
  void ReadSubqueries(std::size_t select) {
    nested_.assign(tokens_.size(), false);
    std::vector<bool> open;
    for (std::size_t i = select; i < tokens_.size(); ++i) {
      if (tokens_[i].IsSymbol(")") && !open.empty())
        open.pop_back();
      const bool inside = !open.empty() && open.back();
      nested_[i] = inside;
      if (tokens_[i].IsSymbol("("))
        open.push_back(inside || (i + 1 < tokens_.size() && (tokens_[i + 1].IsWord("SELECT") ||
                                                             tokens_[i + 1].IsWord("WITH"))));
    }
  }

  // The FROM list's items and their aliases; answers the list's text, an
  // alias given to a subquery that has none.
  std::string ReadItems(std::size_t begin, std::size_t end, int depth) {
    static const char* const joinWords[] = {"JOIN",  "INNER", "LEFT",    "RIGHT", "FULL",
                                            "OUTER", "CROSS", "NATURAL", "ON",    "USING"};
    auto isJoinWord = [&](std::size_t i) {
      if (depths_[i] != depth)
        return false;
      for (const char* word : joinWords)
        if (tokens_[i].IsWord(word))
          return true;
      return false;
    };
    std::string text;
    std::size_t copied = begin;
    std::size_t i = begin;
    while (i < end) {
      if (tokens_[i].IsSymbol(",") || isJoinWord(i)) {
        joined_ = true;
        const bool condition = tokens_[i].IsWord("ON") || tokens_[i].IsWord("USING");
        ++i;
        // An ON or USING condition runs to the next item.
        while (condition && i < end &&
               !(depths_[i] == depth && (tokens_[i].IsSymbol(",") || isJoinWord(i))))
          ++i;
        continue;
      }
      std::size_t itemEnd = i;
      while (itemEnd < end && !(depths_[itemEnd] == depth &&
                                (tokens_[itemEnd].IsSymbol(",") || isJoinWord(itemEnd))))
        ++itemEnd;
      const SqlToken& last = tokens_[itemEnd - 1];
      Item item;
      if (last.IsSymbol(")")) {
        item.alias = "QM_S" + std::to_string(items_.size() + 1);
        item.text = Text(i, itemEnd) + " " + item.alias;
        text += Text(copied, itemEnd) + " " + item.alias;
        copied = itemEnd;
      } else {
        item.alias = NameText(last);
        item.text = Text(i, itemEnd);
      }
      items_.push_back(item);
      i = itemEnd;
    }
    return text + (copied < end ? " " + Text(copied, end) : std::string());
  }

  bool IsAlias(const SqlToken& t) const {
    if (!IsName(t))
      return false;
    for (const Item& item : items_)
      if (item.alias == NameText(t))
        return true;
    return false;
  }

  // WHERE's terms: those that compare two items of a join are the join's,
  // applied before the hierarchy; the others filter its rows.
  void SplitWhere(std::size_t begin, std::size_t end, int depth, std::vector<TokenRange>& join,
                  std::vector<TokenRange>& filter) const {
    bool between = false;
    auto isAnd = [&](std::size_t i) {
      if (depths_[i] != depth)
        return false;
      if (tokens_[i].IsWord("BETWEEN"))
        between = true;
      if (!tokens_[i].IsWord("AND"))
        return false;
      const bool separates = !between;
      between = false;
      return separates;
    };
    for (const TokenRange& term : SplitTokens(tokens_, begin, end, isAnd)) {
      std::vector<std::string> named;
      for (std::size_t i = term.first; i + 1 < term.second; ++i)
        if (tokens_[i + 1].IsSymbol(".") && IsAlias(tokens_[i]) && !nested_[i] &&
            std::find(named.begin(), named.end(), NameText(tokens_[i])) == named.end())
          named.push_back(NameText(tokens_[i]));
      (joined_ && named.size() > 1 ? join : filter).push_back(term);
    }
  }

  // The names the select list gives its columns, which ORDER BY may use.
  void ReadSelectAliases(std::size_t begin, std::size_t end) {
    for (const TokenRange& item : ListItems(tokens_, begin, end)) {
      const std::size_t last = item.second - 1;
      if (last > item.first && IsName(tokens_[last]) && !tokens_[last - 1].IsSymbol("."))
        selectAliases_.push_back(NameText(tokens_[last]));
    }
  }

  // One ORDER SIBLINGS BY item as text that sorts as the item does: numbers
  // fixed-width, words padded on the right; descending words as their bytes'
  // inverted hexadecimal digits, padded past every digit. NULL sorts last
  // ascending and first descending, unless NULLS says otherwise.
  std::string SiblingKey(const TokenRange& item) {
    std::size_t keyEnd = item.second;
    std::optional<bool> nullsFirst;
    if (keyEnd > item.first + 2 && tokens_[keyEnd - 2].IsWord("NULLS")) {
      nullsFirst = tokens_[keyEnd - 1].IsWord("FIRST");
      keyEnd -= 2;
    }
    bool descending = false;
    if (keyEnd > item.first + 1 &&
        (tokens_[keyEnd - 1].IsWord("ASC") || tokens_[keyEnd - 1].IsWord("DESC"))) {
      descending = tokens_[keyEnd - 1].IsWord("DESC");
      --keyEnd;
    }
    const std::string k = "(" + Map(item.first, keyEnd, Place::Child) + ")";
    const std::string number =
        descending ? "printf('%030.9f', 1e15 - " + k + ")" : "printf('%030.9f', " + k + " + 1e15)";
    const std::string word =
        descending
            ? "rpad(translate(hex(" + k + "), '0123456789ABCDEF', 'FEDCBA9876543210'), 120, 'Z')"
            : "printf('%-60s', " + k + ")";
    const std::string null = nullsFirst.value_or(descending) ? "char(1)" : "char(1114111)";
    return "(CASE WHEN " + k + " IS NULL THEN " + null + " WHEN typeof(" + k +
           ") IN ('integer', 'real') THEN " + number + " ELSE " + word + " END)";
  }

  // The end of the operand that starts at i: a name (qualified or called),
  // or a parenthesized expression.
  std::size_t OperandEnd(std::size_t i, std::size_t end) const {
    if (i >= end)
      return end;
    if (tokens_[i].IsSymbol("("))
      return std::min(end, ClosingParen(tokens_, i) + 1);
    std::size_t at = i + 1;
    while (at + 1 < end && tokens_[at].IsSymbol(".") && IsName(tokens_[at + 1]))
      at += 2;
    if (at < end && tokens_[at].IsSymbol("("))
      return std::min(end, ClosingParen(tokens_, at) + 1);
    return at;
  }

  // A value the hierarchy carries from row to row: its text at the root and
  // in a child row (where QM_P is the parent); answers the outer query's
  // name for it.
  std::string Carry(const std::string& root, const std::string& child) {
    const std::string name = "QM_CARRY" + std::to_string(++carried_);
    rootCarried_ += ", " + root + " AS " + name;
    childCarried_ += ", " + child;
    return outer_ + "." + name;
  }

  // The column at name (qualified by the alias at qualifier, when it is
  // set) of the source row alias: a join's source names it "ITEM.COLUMN".
  std::string Column(const std::string& alias, std::optional<std::size_t> qualifier,
                     std::size_t name) {
    if (!joined_)
      return alias + "." + Text(name, name + 1);
    const std::string text =
        (qualifier ? NameText(tokens_[*qualifier]) + "." : std::string()) + NameText(tokens_[name]);
    std::string stored;
    for (char c : text)
      if (c != '"')
        stored += c;
    columns_.emplace(stored, text);
    return alias + ".\"" + stored + "\"";
  }

  // A name that reads a column: not a keyword, a called function, a type
  // after AS, the word of a literal (DATE '...') or a field of EXTRACT and TRIM.
  bool ReadsColumn(std::size_t i, std::size_t begin, std::size_t end) const {
    const SqlToken& t = tokens_[i];
    if (!IsColumn(t) ||
        (i > begin && (tokens_[i - 1].IsSymbol(".") || tokens_[i - 1].IsWord("AS"))))
      return false;
    if (i + 1 >= end)
      return true;
    const SqlToken& next = tokens_[i + 1];
    return !next.IsSymbol("(") && !next.IsSymbol(".") && next.type != SqlToken::Type::String &&
           next.type != SqlToken::Type::Number && !next.IsWord("FROM");
  }

  // The text of [begin, end) at place: column names read the source row (or
  // the parent's, after PRIOR), and the hierarchy's own operators read what
  // it carries.
  std::string Map(std::size_t begin, std::size_t end, Place place, bool parent = false) {
    std::string out;
    const std::string alias = parent ? std::string("QM_P") : row_;
    for (std::size_t i = begin; i < end; ++i) {
      const SqlToken& t = tokens_[i];
      if (t.IsWord("PRIOR") || t.IsWord("CONNECT_BY_ROOT")) {
        const std::size_t operandEnd = OperandEnd(i + 1, end);
        if (place == Place::Outer) {
          // The parent's value (NULL at a root), or the root's.
          out += " " + (t.IsWord("PRIOR")
                            ? Carry("NULL", "(" + Map(i + 1, operandEnd, Place::Child, true) + ")")
                            : Carry("(" + Map(i + 1, operandEnd, Place::Root) + ")",
                                    "QM_P.QM_CARRY" + std::to_string(carried_ + 1)));
        } else {
          out += " (" + Map(i + 1, operandEnd, place, t.IsWord("PRIOR")) + ")";
        }
        i = operandEnd - 1;
        continue;
      }
      if (t.IsWord("SYS_CONNECT_BY_PATH") && place == Place::Outer && i + 1 < end &&
          tokens_[i + 1].IsSymbol("(")) {
        const std::size_t close = std::min(end, ClosingParen(tokens_, i + 1));
        const std::vector<TokenRange> args = ListItems(tokens_, i + 2, close);
        if (args.size() == 2) {
          const std::string separator = "(" + Text(args[1].first, args[1].second) + ")";
          const std::string next = "QM_P.QM_CARRY" + std::to_string(carried_ + 1);
          out += " " +
                 Carry(separator + " || (" + Map(args[0].first, args[0].second, Place::Root) + ")",
                       next + " || " + separator + " || (" +
                           Map(args[0].first, args[0].second, Place::Child) + ")");
          i = close;
          continue;
        }
      }
      if (t.IsWord("CONNECT_BY_ISLEAF") && place == Place::Outer) {
        leaf_ = true;
        out += " " + outer_ + ".QM_ISLEAF";
        continue;
      }
      if (t.IsWord("CONNECT_BY_ISCYCLE") && place == Place::Outer) {
        cycle_ = true;
        out += " " + outer_ + ".QM_ISCYCLE";
        continue;
      }
      if (t.IsWord("LEVEL") && place != Place::Outer) {
        out += place == Place::Root ? " 1" : " (QM_P.\"LEVEL\" + 1)";
        continue;
      }
      const bool afterDot = i > begin && tokens_[i - 1].IsSymbol(".");
      if (i + 2 < end && IsAlias(t) && tokens_[i + 1].IsSymbol(".") && IsColumn(tokens_[i + 2]) &&
          !(i + 3 < end && tokens_[i + 3].IsSymbol("(")) && !afterDot) {
        // A qualified column: the outer query of one table keeps its alias.
        out += " " + (place == Place::Outer && !joined_
                          ? Text(i, i + 3)
                          : Column(place == Place::Outer ? outer_ : alias, i, i + 2));
        i += 2;
        continue;
      }
      if (!nested_[i] && ReadsColumn(i, begin, end)) {
        if (place != Place::Outer) {
          out += " " + Column(alias, std::nullopt, i);
          continue;
        }
        // The outer query reads its columns by their own names; a join's
        // source must offer them.
        if (joined_ && std::find(selectAliases_.begin(), selectAliases_.end(), NameText(t)) ==
                           selectAliases_.end())
          Column(outer_, std::nullopt, i);
      }
      out += " " + Text(i, i + 1);
    }
    return out;
  }

  std::string Text(std::size_t begin, std::size_t end) const {
    return RangeText(sql_, tokens_, begin, end);
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  std::vector<int> depths_;
  std::vector<bool> nested_;
  std::vector<Item> items_;
  bool joined_ = false;
  std::string row_;                             // the source row's alias in the recursive WITH
  std::string outer_;                           // the hierarchy's alias in the outer query
  std::map<std::string, std::string> columns_;  // a join's source columns: name -> text
  std::vector<std::string> selectAliases_;
  int carried_ = 0;
  std::string rootCarried_, childCarried_;
  bool leaf_ = false;
  bool cycle_ = false;
  NameResolver& resolver_;
};

}  // namespace

std::optional<std::string> RewriteHierarchicalQuery(const std::string& sql,
                                                    const std::vector<SqlToken>& tokens,
                                                    NameResolver& resolver, OraError& error) {
  return HierarchyRewriter(sql, tokens, resolver).Rewrite(error);
}

}  // namespace sandbox
