#include "sandbox/server/sql/StarColumns.h"

#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

namespace {

bool IsName(const SqlToken& t) {
  return t.type == SqlToken::Type::Word || t.type == SqlToken::Type::QuotedName;
}

bool EndsFromClause(const SqlToken& t) {
  for (const char* word : {"WHERE", "GROUP", "ORDER", "HAVING", "UNION", "MINUS", "INTERSECT",
                           "EXCEPT", "CONNECT", "START", "FOR", "SET", "VALUES", "RETURNING"})
    if (t.IsWord(word))
      return true;
  return t.IsSymbol(")") || t.IsSymbol(";");
}

bool IsJoinWord(const SqlToken& t) {
  for (const char* word : {"JOIN", "INNER", "LEFT", "RIGHT", "FULL", "OUTER", "CROSS", "NATURAL"})
    if (t.IsWord(word))
      return true;
  return false;
}

// After the parenthesis at open, or end when it is not closed.
std::size_t AfterClose(const std::vector<SqlToken>& tokens, std::size_t open, std::size_t end) {
  int depth = 0;
  for (std::size_t i = open; i < end; ++i) {
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0)
      return i + 1;
  }
  return end;
}

// [schema.]name at i: its parts, and the index after them.
std::size_t ReadName(const std::vector<SqlToken>& tokens, std::size_t i, std::size_t end,
                     std::vector<std::string>& parts) {
  parts = {tokens[i].Upper()};
  for (++i; i + 1 < end && tokens[i].IsSymbol(".") && IsName(tokens[i + 1]); i += 2)
    parts.push_back(tokens[i + 1].Upper());
  return i;
}

std::optional<std::vector<std::string>> VisibleColumnsOf(NameResolver& resolver,
                                                         const std::vector<std::string>& parts) {
  if (parts.size() > 2)
    return std::nullopt;
  const auto storage = resolver.ResolveTable(parts.size() == 2 ? parts[0] : "", parts.back());
  return storage ? resolver.VisibleColumns(*storage) : std::nullopt;
}

std::string ColumnsOf(const std::string& alias, const std::vector<std::string>& columns) {
  std::string text;
  for (const std::string& column : columns)
    text += (text.empty() ? "" : ", ") + QuoteSqliteName(alias) + "." + QuoteSqliteName(column);
  return text;
}

}  // namespace

StarColumns::StarColumns(const std::vector<SqlToken>& tokens, std::size_t listEnd, std::size_t end,
                         NameResolver& resolver) {
  std::size_t i = listEnd;
  // SELECT ... INTO variables FROM: the items start after FROM.
  while (i < end && !tokens[i].IsWord("FROM"))
    i = tokens[i].IsSymbol("(") ? AfterClose(tokens, i, end) : i + 1;
  bool expectItem = true;
  for (++i; i < end;) {
    const SqlToken& t = tokens[i];
    if (t.IsSymbol("(")) {
      i = AfterClose(tokens, i, end);
      if (expectItem) {  // a subquery, known by its alias alone
        if (i < end && IsName(tokens[i]) && !IsReservedWord(tokens[i]))
          sources_.push_back({tokens[i++].Upper(), std::nullopt, {}});
        else
          named_ = false;
        expectItem = false;
      }
      continue;
    }
    if (EndsFromClause(t))
      break;
    if (t.IsSymbol(",") || IsJoinWord(t)) {
      expectItem = true;
    } else if (t.IsWord("ON") || t.IsWord("USING")) {
      expectItem = false;
    } else if (expectItem && IsName(t)) {
      std::vector<std::string> parts;
      i = ReadName(tokens, i, end, parts);
      if (i < end && tokens[i].IsSymbol("(")) {  // TABLE(...), JSON_TABLE(...)
        const std::size_t open = i;
        i = AfterClose(tokens, i, end);
        expectItem = false;
        if (parts.size() != 1 || parts[0] != "TABLE") {
          named_ = false;
          continue;
        }
        Source source;
        if (i < end && IsName(tokens[i]) && !IsReservedWord(tokens[i]))
          source.alias = tokens[i++].Upper();
        source.elements = ElementColumns(tokens, open, i - 1, source.alias, resolver);
        collections_ = true;
        sources_.push_back(std::move(source));
        continue;
      }
      Source source{parts.back(), VisibleColumnsOf(resolver, parts), {}};
      if (i < end && IsName(tokens[i]) && !IsReservedWord(tokens[i]))
        source.alias = tokens[i++].Upper();
      sources_.push_back(std::move(source));
      expectItem = false;
      continue;
    }
    ++i;
  }
}

std::string StarColumns::ElementColumns(const std::vector<SqlToken>& tokens, std::size_t open,
                                        std::size_t close, const std::string& alias,
                                        NameResolver& resolver) {
  // The type: a constructor's name, or CAST(... AS type)'s.
  std::vector<std::string> type;
  std::size_t callOpen = 0, callEnd = 0;  // the parentheses of a name's call
  const std::size_t at = open + 1;
  if (at + 1 < close && tokens[at].IsWord("CAST") && tokens[at + 1].IsSymbol("(")) {
    for (std::size_t k = AfterClose(tokens, at + 1, close) - 1; k > at; --k)
      if (tokens[k].IsWord("AS") && k + 1 < close && IsName(tokens[k + 1])) {
        ReadName(tokens, k + 1, close, type);
        break;
      }
  } else if (at < close && IsName(tokens[at])) {
    const std::size_t after = ReadName(tokens, at, close, type);
    if (after >= close || !tokens[after].IsSymbol("(")) {
      type.clear();  // a column, whose type the text does not show
    } else {
      callOpen = after;
      callEnd = AfterClose(tokens, after, close) - 1;
    }
  }
  auto shape = type.empty() ? std::nullopt : resolver.ResolveObjectType(type);
  // A stored function's call: the collection type it returns.
  if (!shape && callOpen != 0) {
    std::size_t arguments = callEnd > callOpen + 1 ? 1 : 0;
    int depth = 0;
    for (std::size_t k = callOpen + 1; k < callEnd; ++k) {
      depth += tokens[k].IsSymbol("(") ? 1 : tokens[k].IsSymbol(")") ? -1 : 0;
      arguments += depth == 0 && tokens[k].IsSymbol(",") ? 1 : 0;
    }
    shape = resolver.FunctionResultType(type, arguments);
  }
  const std::string value = (alias.empty() ? "" : QuoteSqliteName(alias) + ".") + "\"value\"";
  if (!shape || !shape->collection || shape->elementAttributes.empty())
    return value + " AS \"COLUMN_VALUE\"";
  std::string text;
  for (const std::string& attribute : shape->elementAttributes)
    text += (text.empty() ? "" : ", ") + std::string("json_extract(") + value + ", " +
            QuoteSqliteText("$.\"" + attribute + "\"") + ") AS " + QuoteSqliteName(attribute);
  return text;
}

std::string StarColumns::All() const {
  bool invisible = collections_;
  for (const Source& source : sources_)
    invisible = invisible || source.visible.has_value();
  if (!invisible || !named_)
    return {};
  std::string text;
  for (const Source& source : sources_)
    text +=
        (text.empty() ? "" : ", ") + (!source.elements.empty() ? source.elements
                                      : source.visible ? ColumnsOf(source.alias, *source.visible)
                                                       : QuoteSqliteName(source.alias) + ".*");
  return text;
}

std::string StarColumns::Of(const std::string& qualifier) const {
  for (const Source& source : sources_)
    if (source.alias == qualifier)
      return !source.elements.empty() ? source.elements
             : source.visible         ? ColumnsOf(source.alias, *source.visible)
                                      : std::string();
  return {};
}

std::string InsertColumnList(const std::vector<SqlToken>& tokens, std::size_t at, std::size_t end,
                             NameResolver& resolver) {
  if (at >= end || !IsName(tokens[at]))
    return {};
  std::vector<std::string> parts;
  ReadName(tokens, at, end, parts);
  const auto columns = VisibleColumnsOf(resolver, parts);
  if (!columns)
    return {};
  std::string text;
  for (const std::string& column : *columns)
    text += (text.empty() ? " (" : ", ") + QuoteSqliteName(column);
  return text + ")";
}

}  // namespace sandbox
