// Reading a MERGE statement and writing out its parts.
#include "sandbox/server/sql/MergeStatement.h"

#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

namespace {

class MergeReader {
 public:
  MergeReader(const std::string& sql, const std::vector<SqlToken>& tokens)
      : sql_(sql), tokens_(tokens), in_(tokens) {}

  bool Read(std::vector<std::string>& statements, OraError& error) {
    in_.Skip();  // MERGE
    if (!in_.ExpectWord("INTO", error))
      return false;
    std::size_t start = in_.Position();
    if (!SkipName(error))
      return false;
    target_ = Text(start, in_.Position());
    targetAlias_ = tokens_[in_.Position() - 1].text;
    if (!in_.AtEnd() && IsAlias(in_.Peek()) && !in_.Peek().IsWord("USING")) {
      targetAlias_ = in_.Peek().text;
      in_.Skip();
    }
    if (!in_.ExpectWord("USING", error))
      return false;
    start = in_.Position();
    if (!in_.AtEnd() && in_.Peek().IsSymbol("(")) {
      in_.Seek(in_.MatchingParen() + 1);
    } else if (!SkipName(error)) {
      return false;
    }
    source_ = Text(start, in_.Position());
    if (!in_.AtEnd() && IsAlias(in_.Peek()) && !in_.Peek().IsWord("ON")) {
      source_ += " " + in_.Peek().text;
      in_.Skip();
    }
    if (!in_.ExpectWord("ON", error))
      return false;
    if (in_.AtEnd() || !in_.Peek().IsSymbol("(")) {
      error = {969, "missing ON keyword"};
      return false;
    }
    start = in_.Position();
    in_.Seek(in_.MatchingParen() + 1);
    condition_ = Text(start, in_.Position());
    std::string update, insert;
    while (!in_.AtEnd()) {
      if (!in_.ExpectWord("WHEN", error))
        return false;
      const bool matched = !in_.AcceptWord("NOT");
      if (!in_.ExpectWord("MATCHED", error) || !in_.ExpectWord("THEN", error))
        return false;
      if (matched ? !ReadUpdate(statements, error) : !ReadInsert(insert, error))
        return false;
    }
    if (!insert.empty())
      statements.push_back(insert);
    if (statements.empty()) {
      error = {905, "missing keyword"};
      return false;
    }
    return true;
  }

 private:
  static bool IsAlias(const SqlToken& t) {
    return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
  }

  bool SkipName(OraError& error) {
    if (in_.AtEnd() || !IsAlias(in_.Peek())) {
      error = {903, "invalid table name"};
      return false;
    }
    in_.Skip();
    while (in_.AcceptSymbol(".")) {
      if (in_.AtEnd() || !IsAlias(in_.Peek())) {
        error = {903, "invalid table name"};
        return false;
      }
      in_.Skip();
    }
    return true;
  }

  std::string Text(std::size_t begin, std::size_t end) const {
    if (begin >= end)
      return {};
    return sql_.substr(tokens_[begin].offset, tokens_[end - 1].end - tokens_[begin].offset);
  }

  // Index of the next WHEN, or DELETE of "DELETE WHERE", at this depth.
  std::size_t ClauseEnd(std::size_t from, bool stopAtDelete) const {
    int depth = 0;
    for (std::size_t i = from; i < tokens_.size(); ++i) {
      depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
      if (depth == 0 &&
          (tokens_[i].IsWord("WHEN") || (stopAtDelete && tokens_[i].IsWord("DELETE"))))
        return i;
    }
    return tokens_.size();
  }

  // Where the matched rows are: the source joined on the condition.
  std::string MatchedRows() const {
    return "EXISTS (SELECT 1 FROM " + source_ + " WHERE " + condition_ + ")";
  }

  // UPDATE SET a = x, t.b = y [WHERE c] [DELETE WHERE d]
  bool ReadUpdate(std::vector<std::string>& statements, OraError& error) {
    if (!in_.ExpectWord("UPDATE", error) || !in_.ExpectWord("SET", error))
      return false;
    const std::size_t end = ClauseEnd(in_.Position(), true);
    std::size_t whereAt = end;
    int depth = 0;
    for (std::size_t i = in_.Position(); i < end; ++i) {
      depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
      if (depth == 0 && tokens_[i].IsWord("WHERE")) {
        whereAt = i;
        break;
      }
    }
    // The target's columns are named without their qualifier.
    std::string assignments;
    std::size_t itemStart = in_.Position();
    depth = 0;
    for (std::size_t i = in_.Position(); i <= whereAt; ++i) {
      if (i < whereAt)
        depth += tokens_[i].IsSymbol("(") ? 1 : tokens_[i].IsSymbol(")") ? -1 : 0;
      if (i == whereAt || (depth == 0 && tokens_[i].IsSymbol(","))) {
        std::size_t column = itemStart;
        if (column + 2 < i && tokens_[column + 1].IsSymbol("."))
          column += 2;
        assignments += (assignments.empty() ? "" : ", ") + Text(column, i);
        itemStart = i + 1;
      }
    }
    std::string where = condition_;
    if (whereAt < end)
      where += " AND (" + Text(whereAt + 1, end) + ")";
    statements.push_back("UPDATE " + target_ + " " + targetAlias_ + " SET " + assignments +
                         " FROM " + source_ + " WHERE " + where);
    in_.Seek(end);
    if (in_.AcceptWord("DELETE")) {
      if (!in_.ExpectWord("WHERE", error))
        return false;
      const std::size_t deleteEnd = ClauseEnd(in_.Position(), false);
      statements.push_back("DELETE FROM " + target_ + " " + targetAlias_ + " WHERE " +
                           MatchedRows() + " AND (" + Text(in_.Position(), deleteEnd) + ")");
      in_.Seek(deleteEnd);
    }
    return true;
  }

  // INSERT [(columns)] VALUES (values) [WHERE c]
  bool ReadInsert(std::string& insert, OraError& error) {
    if (!in_.ExpectWord("INSERT", error))
      return false;
    std::string columns;
    if (!in_.AtEnd() && in_.Peek().IsSymbol("(")) {
      const std::size_t start = in_.Position();
      in_.Seek(in_.MatchingParen() + 1);
      columns = " " + Text(start, in_.Position());
    }
    if (!in_.ExpectWord("VALUES", error))
      return false;
    if (in_.AtEnd() || !in_.Peek().IsSymbol("(")) {
      error = {906, "missing left parenthesis"};
      return false;
    }
    const std::size_t valuesStart = in_.Position() + 1;
    const std::size_t valuesEnd = in_.MatchingParen();
    in_.Seek(valuesEnd + 1);
    const std::size_t end = ClauseEnd(in_.Position(), false);
    std::string where =
        "NOT EXISTS (SELECT 1 FROM " + target_ + " " + targetAlias_ + " WHERE " + condition_ + ")";
    if (in_.AcceptWord("WHERE"))
      where += " AND (" + Text(in_.Position(), end) + ")";
    insert = "INSERT INTO " + target_ + columns + " SELECT " + Text(valuesStart, valuesEnd) +
             " FROM " + source_ + " WHERE " + where;
    in_.Seek(end);
    return true;
  }

  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  TokenStream in_;
  std::string target_, targetAlias_, source_, condition_;
};

}  // namespace

bool RewriteMerge(const std::string& sql, const std::vector<SqlToken>& tokens,
                  std::vector<std::string>& statements, OraError& error) {
  statements.clear();
  return MergeReader(sql, tokens).Read(statements, error);
}

}  // namespace sandbox
