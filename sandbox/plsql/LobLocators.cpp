// LOB locators of table rows, found from a statement's text: its one table,
// the select items (or RETURNING expressions) that are LOB columns of it,
// and, for locked rows, the ROWID added to what the statement gives.
#include "sandbox/plsql/LobLocators.h"

#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

namespace {

constexpr std::uint16_t kClobType = 112;
constexpr std::uint16_t kBlobType = 113;

bool IsName(const Token& t) {
  return t.kind == Token::Kind::Identifier || t.kind == Token::Kind::QuotedIdentifier;
}

// The source text of a name token, quoted as it was written.
std::string NameText(const std::string& sql, const Token& t) {
  return sql.substr(t.offset, t.length);
}

// Indexes of the tokens in [begin, end) at the statement's own level.
std::vector<std::size_t> TopLevel(const std::vector<Token>& tokens, std::size_t begin,
                                  std::size_t end) {
  std::vector<std::size_t> top;
  int depth = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (tokens[i].Is(")"))
      --depth;
    if (depth == 0)
      top.push_back(i);
    if (tokens[i].Is("("))
      ++depth;
  }
  return top;
}

// The first top-level token among words at or after begin; end if none.
std::size_t FindTop(const std::vector<Token>& tokens, const std::vector<std::size_t>& top,
                    std::size_t begin, std::initializer_list<const char*> words) {
  for (const std::size_t i : top)
    if (i >= begin && tokens[i].IsAny(words))
      return i;
  return tokens.size();
}

// The column an item [q.]column [[AS] alias] reads, by its name as a
// dictionary holds it; empty for any other item.
std::string ItemColumn(const std::vector<Token>& tokens, std::size_t begin, std::size_t end) {
  std::size_t at = begin;
  if (end - begin >= 3 && IsName(tokens[begin]) && tokens[begin + 1].Is("."))
    at = begin + 2;
  if (at >= end || !IsName(tokens[at]))
    return {};
  const std::size_t rest = end - at - 1;
  const bool aliased = rest == 0 || (rest == 1 && IsName(tokens[at + 1])) ||
                       (rest == 2 && tokens[at + 1].Is("AS") && IsName(tokens[at + 2]));
  return aliased ? tokens[at].text : std::string();
}

// The table [owner.]name starting at token at, as written, and the token
// past it; false when there is none there.
bool ReadTable(const std::string& sql, const std::vector<Token>& tokens, std::size_t at,
               std::string& text, std::size_t& end) {
  if (at >= tokens.size() || !IsName(tokens[at]))
    return false;
  text = NameText(sql, tokens[at]);
  end = at + 1;
  if (end + 1 < tokens.size() && tokens[end].Is(".") && IsName(tokens[end + 1])) {
    text += "." + NameText(sql, tokens[end + 1]);
    end += 2;
  }
  return !(end == at + 1 && tokens[at].Is("DUAL")) && !(end < tokens.size() && tokens[end].Is("@"));
}

// Fills columns and binary for the items between top-level commas of
// [begin, end); false when none is a LOB column of the table.
bool FindLobColumns(Session& session, const std::vector<Token>& tokens,
                    const std::vector<std::size_t>& top, std::size_t begin, std::size_t end,
                    LobRowSource& source) {
  const std::vector<ColumnInfo> described = session.DescribeTable(source.table);
  bool any = false;
  std::size_t itemBegin = begin;
  for (std::size_t k = 0; k <= top.size(); ++k) {
    const std::size_t i = k < top.size() ? top[k] : end;
    if (i < begin || (i < end && !tokens[i].Is(",")))
      continue;
    const std::string column = ItemColumn(tokens, itemBegin, std::min(i, end));
    std::uint16_t type = 0;
    for (const ColumnInfo& c : described)
      if (!column.empty() && c.name == column)
        type = c.dataType;
    const bool lob = type == kClobType || type == kBlobType;
    source.columns.push_back(lob ? column : std::string());
    source.binary.push_back(type == kBlobType);
    any = any || lob;
    itemBegin = i + 1;
    if (i >= end)
      break;
  }
  return any;
}

std::optional<LobRowSource> QuerySource(Session& session, const std::string& sql,
                                        const std::vector<Token>& tokens) {
  if (tokens.empty() || !tokens[0].Is("SELECT") || tokens.size() < 2 ||
      tokens[1].IsAny({"DISTINCT", "UNIQUE", "*"}))
    return std::nullopt;
  const std::vector<std::size_t> top = TopLevel(tokens, 0, tokens.size());
  const std::size_t from = FindTop(tokens, top, 1, {"FROM"});
  if (from == tokens.size() ||
      FindTop(tokens, top, from, {"UNION", "INTERSECT", "MINUS", "GROUP", ",", "JOIN"}) !=
          tokens.size())
    return std::nullopt;
  LobRowSource source;
  std::size_t end = 0;
  if (!ReadTable(sql, tokens, from + 1, source.table, end))
    return std::nullopt;
  if (end < tokens.size() && IsName(tokens[end]) &&
      !tokens[end].IsAny({"WHERE", "FOR", "ORDER", "CONNECT", "START"}))
    ++end;  // an alias
  if (end < tokens.size() && !tokens[end].IsAny({"WHERE", "FOR", "ORDER", "CONNECT", "START"}))
    return std::nullopt;
  if (!FindLobColumns(session, tokens, top, 1, from, source))
    return std::nullopt;
  const std::size_t forAt = FindTop(tokens, top, from, {"FOR"});
  source.locked = forAt + 1 < tokens.size() && tokens[forAt + 1].Is("UPDATE");
  source.text = source.locked ? sql.substr(0, tokens[from].offset) + ", ROWID " +
                                    sql.substr(tokens[from].offset)
                              : sql;
  return source;
}

std::optional<LobRowSource> DmlSource(Session& session, const std::string& sql,
                                      const std::vector<Token>& tokens,
                                      const std::string& placeholder) {
  std::size_t tableAt = 0;
  if (tokens.size() > 2 && tokens[0].Is("INSERT") && tokens[1].Is("INTO"))
    tableAt = 2;
  else if (tokens.size() > 1 && tokens[0].Is("UPDATE"))
    tableAt = 1;
  else
    return std::nullopt;
  LobRowSource source;
  std::size_t end = 0;
  if (!ReadTable(sql, tokens, tableAt, source.table, end))
    return std::nullopt;
  const std::vector<std::size_t> top = TopLevel(tokens, 0, tokens.size());
  const std::size_t returning = FindTop(tokens, top, end, {"RETURNING", "RETURN"});
  const std::size_t into = FindTop(tokens, top, returning, {"INTO"});
  if (into == tokens.size() || tokens.back().kind != Token::Kind::Bind ||
      !FindLobColumns(session, tokens, top, returning + 1, into, source))
    return std::nullopt;
  source.locked = true;  // the statement locks the rows it changes
  source.text = sql.substr(0, tokens[into].offset) + ", ROWID " + sql.substr(tokens[into].offset) +
                ", :" + placeholder;
  return source;
}

}  // namespace

bool MayTakeLocators(const std::vector<ExprPtr>& targets) {
  for (const ExprPtr& target : targets) {
    const TypeSpec* type = target && target->kind == Expr::Kind::Variable && target->variable
                               ? &target->variable->type
                               : nullptr;
    if (type != nullptr && type->base == TypeSpec::Base::Varchar2 && type->length == 0)
      return true;
  }
  return false;
}

std::optional<LobRowSource> FindLobRows(Session& session, const std::string& sql,
                                        const std::string& returningPlaceholder) {
  std::vector<Token> tokens;
  LexError error;
  if (!Tokenize(sql, tokens, error))
    return std::nullopt;
  if (!tokens.empty() && tokens.back().kind == Token::Kind::End)
    tokens.pop_back();
  return returningPlaceholder.empty() ? QuerySource(session, sql, tokens)
                                      : DmlSource(session, sql, tokens, returningPlaceholder);
}

namespace {

// Whether the row's LOB column holds a LOB, empty or not: RETURNING gives
// an empty CLOB as it gives an empty string, NULL.
bool HoldsLob(Session& session, const LobLocation& location) {
  DynamicBinds binds;
  binds.values["R"] = Value::Text(location.rowId);
  OraError error;
  const auto cursor =
      session.OpenQuery("SELECT 1 FROM " + location.table + " WHERE ROWID = :R AND \"" +
                            location.column + "\" IS NOT NULL",
                        binds, error);
  std::vector<Value> row;
  if (!cursor)
    throw FromOraError(error);
  const bool found = cursor->Next(row, error);
  if (error.IsSet())
    throw FromOraError(error);
  return found;
}

}  // namespace

std::vector<PlValue> LobRowSource::Values(Session& session, std::vector<Value> row) const {
  std::string rowId;
  if (locked && !row.empty()) {
    rowId = row.back().text;
    row.pop_back();
  }
  // A view's rows have no ROWID here: its LOBs stay temporary.
  const bool located = !locked || !rowId.empty();
  std::vector<PlValue> values;
  for (std::size_t i = 0; i < row.size(); ++i) {
    values.push_back(FromSqlValue(row[i]));
    if (!located || i >= columns.size() || columns[i].empty())
      continue;
    auto location =
        std::make_shared<const LobLocation>(LobLocation{table, columns[i], rowId, binary[i]});
    // A LOB of length zero is a value, unlike a NULL column.
    if (values.back().IsNull() &&
        (row[i].kind != Value::Kind::Null || (!rowId.empty() && HoldsLob(session, *location))))
      values.back() = PlValue::EmptyLob();
    if (!values.back().IsNull())
      values.back() = values.back().WithLob(std::move(location), false);
  }
  return values;
}

void WriteThroughLocator(Session& session, const LobLocation& location, const PlValue& contents) {
  if (location.rowId.empty())
    throw MakeError(22920, "row containing the LOB value is not locked");
  DynamicBinds binds;
  binds.values["R"] = Value::Text(location.rowId);
  std::string value = location.binary ? "EMPTY_BLOB()" : "EMPTY_CLOB()";
  if (!contents.text().empty()) {
    binds.values["V"] = location.binary ? BinaryToSql(contents) : Value::Text(contents.text());
    value = ":V";
  }
  std::uint64_t rows = 0;
  OraError error, warning;
  if (!session.Execute("UPDATE " + location.table + " SET \"" + location.column + "\" = " + value +
                           " WHERE ROWID = :R",
                       binds, rows, error, warning))
    throw FromOraError(error);
}

}  // namespace sandbox::plsql
