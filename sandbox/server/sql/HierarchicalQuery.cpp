// Reading a hierarchical query block and writing its recursive WITH.
#include "sandbox/server/sql/HierarchicalQuery.h"

#include "sandbox/server/sql/SqlTranslator.h"
#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

namespace {

class HierarchyRewriter {
 public:
  HierarchyRewriter(const std::string& sql, const std::vector<SqlToken>& tokens)
      : sql_(sql), tokens_(tokens) {}

  std::optional<std::string> Rewrite(OraError& error) {
    std::size_t connect = 0;
    while (connect + 1 < tokens_.size() &&
           !(tokens_[connect].IsWord("CONNECT") && tokens_[connect + 1].IsWord("BY")))
      ++connect;
    if (connect + 1 >= tokens_.size())
      return std::nullopt;
    const int depth = DepthAt(connect);
    std::size_t select = connect;
    while (select > 0 && !(tokens_[select].IsWord("SELECT") && DepthAt(select) == depth))
      --select;
    // The clauses of the block, each up to the next one.
    std::size_t from = 0, where = 0, start = 0, order = 0, end = select + 1;
    for (; end < tokens_.size(); ++end) {
      const SqlToken& t = tokens_[end];
      const int at = DepthAt(end);
      if (at < depth ||
          (at == depth && (t.IsSymbol(")") || t.IsWord("UNION") || t.IsWord("MINUS") ||
                           t.IsWord("INTERSECT") || t.IsSymbol(";"))))
        break;
      if (at != depth)
        continue;
      if (t.IsWord("FROM") && !from)
        from = end;
      else if (t.IsWord("WHERE") && !where)
        where = end;
      else if (t.IsWord("START") && end + 1 < tokens_.size() && tokens_[end + 1].IsWord("WITH"))
        start = end;
      else if (t.IsWord("ORDER") && !order)
        order = end;
    }
    const std::vector<std::size_t> marks = {from, where, start, connect, order, end};
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
    const std::size_t fromEnd = clauseEnd(from);
    for (std::size_t i = from + 1; i < fromEnd; ++i)
      if ((tokens_[i].IsSymbol(",") && DepthAt(i) == depth) || tokens_[i].IsWord("JOIN")) {
        error = {1437, "cannot have join with CONNECT BY"};
        return std::nullopt;
      }
    const SqlToken& last = tokens_[fromEnd - 1];
    alias_ = last.type == SqlToken::Type::QuotedName ? "\"" + last.text + "\"" : last.Upper();
    std::string table = Text(from + 1, fromEnd);
    if (fromEnd - from == 2 || tokens_[fromEnd - 2].IsSymbol("."))
      table += " " + alias_;
    std::size_t conditionBegin = connect + 2;
    const bool noCycle = conditionBegin < end && tokens_[conditionBegin].IsWord("NOCYCLE");
    conditionBegin += noCycle ? 1 : 0;
    const std::size_t conditionEnd = clauseEnd(connect);
    bool prior = false;
    for (std::size_t i = conditionBegin; i < conditionEnd; ++i)
      prior = prior || tokens_[i].IsWord("PRIOR");
    const bool siblings = order && order + 1 < end && tokens_[order + 1].IsWord("SIBLINGS");
    // A row's place among its siblings: its ORDER SIBLINGS BY keys, its
    // rowid, or for a row generator (no PRIOR) its level. The quoted name is
    // SQLite's row number: a plain ROWID is the pseudo-column's rowid text.
    std::string key = "printf('%012d', " + alias_ + ".\"ROWID\")";
    if (siblings) {
      key.clear();
      for (std::size_t i = order + 3, itemStart = order + 3; i <= clauseEnd(order); ++i)
        if (i == clauseEnd(order) || (tokens_[i].IsSymbol(",") && DepthAt(i) == depth)) {
          // Keys sort as text: numbers fixed-width, words padded on the right.
          std::size_t keyEnd = i;
          while (keyEnd > itemStart + 1 &&
                 (tokens_[keyEnd - 1].IsWord("ASC") || tokens_[keyEnd - 1].IsWord("DESC")))
            --keyEnd;
          const std::string k = "(" + Condition(itemStart, keyEnd) + ")";
          key += std::string(key.empty() ? "" : " || '|' || ") + "(CASE WHEN typeof(" + k +
                 ") IN ('integer', 'real') THEN printf('%030.9f', " + k +
                 " + 1e15) ELSE printf('%-60s', " + k + ") END)";
          itemStart = i + 1;
        }
    }
    const std::string rootKey = prior ? key : std::string("printf('%012d', 1)");
    const std::string childKey =
        prior ? key : std::string("printf('%012d', QM_HIER.\"LEVEL\" + 1)");
    const std::string roots = start ? Text(start + 2, clauseEnd(start)) : std::string("1 = 1");
    // A row generator's rows sort by level alone: its path is the level, not
    // a text that grows with every level (quadratic in the rows made).
    const std::string childPath =
        prior ? "QM_HIER.QM_PATH || '/' || " + childKey : "'/' || " + childKey;
    std::string recursive = "SELECT " + alias_ + ".*, QM_HIER.\"LEVEL\" + 1, " + childPath +
                            " FROM " + table + " JOIN QM_HIER ON (" +
                            Condition(conditionBegin, conditionEnd) + ")";
    if (prior)  // a row already on the path closes a loop, which ends there
      recursive += " AND instr(QM_HIER.QM_PATH, '/' || " + key + ") = 0";
    const std::string with = "WITH QM_HIER AS (SELECT " + alias_ + ".*, 1 \"LEVEL\", '/' || " +
                             rootKey + " QM_PATH FROM " + table + " WHERE " + roots +
                             " UNION ALL " + recursive + ") ";
    std::string query = "SELECT " + Text(select + 1, from) + " FROM QM_HIER " + alias_;
    if (where)
      query += " WHERE " + Text(where + 1, clauseEnd(where));
    query += " ORDER BY " +
             (order && !siblings ? Text(order + 2, clauseEnd(order)) : alias_ + ".QM_PATH");
    const std::size_t endByte = end < tokens_.size() ? tokens_[end].offset : sql_.size();
    const std::string text = with + query;
    return sql_.substr(0, tokens_[select].offset) +
           (depth > 0 ? "SELECT * FROM (" + text + ")" : text) + " " + sql_.substr(endByte);
  }

 private:
  static bool IsColumn(const SqlToken& t) {
    return (t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName) &&
           !IsReservedWord(t) && !t.IsWord("LEVEL") && !t.IsWord("PRIOR") && !t.IsWord("SYSDATE") &&
           !t.IsWord("USER") && !t.IsWord("ROWNUM");
  }

  // The CONNECT BY condition as a join of a child row to its parent in the
  // hierarchy: PRIOR columns are the parent's, the others the child's.
  std::string Condition(std::size_t begin, std::size_t end) const {
    std::string out;
    bool parent = false;
    for (std::size_t i = begin; i < end; ++i) {
      const SqlToken& t = tokens_[i];
      if (t.IsWord("PRIOR")) {
        parent = true;
        continue;
      }
      if (t.IsWord("LEVEL")) {
        out += " (QM_HIER.\"LEVEL\" + 1)";
        continue;
      }
      const bool call = i + 1 < end && tokens_[i + 1].IsSymbol("(");
      if (IsColumn(t) && !call && !(i > begin && tokens_[i - 1].IsSymbol("."))) {
        const bool qualified = i + 2 < end && tokens_[i + 1].IsSymbol(".");
        out += std::string(" ") + (parent ? "QM_HIER" : alias_) + ".";
        out += Text(qualified ? i + 2 : i, qualified ? i + 3 : i + 1);
        i += qualified ? 2 : 0;
        parent = false;
        continue;
      }
      out += " " + Text(i, i + 1);
    }
    return out;
  }

  int DepthAt(std::size_t at) const { return ParenDepthAt(tokens_, at); }
  std::string Text(std::size_t begin, std::size_t end) const {
    return RangeText(sql_, tokens_, begin, end);
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  std::string alias_;
};

}  // namespace

std::optional<std::string> RewriteHierarchicalQuery(const std::string& sql,
                                                    const std::vector<SqlToken>& tokens,
                                                    OraError& error) {
  return HierarchyRewriter(sql, tokens).Rewrite(error);
}

}  // namespace sandbox
