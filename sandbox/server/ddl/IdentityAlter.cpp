// ALTER TABLE ... MODIFY column GENERATED {ALWAYS | BY DEFAULT [ON NULL]} AS
// IDENTITY [(options)]: the generation type of an identity column and the
// options of its sequence, START WITH n and START WITH LIMIT VALUE (the next
// value past the highest one the table holds) included.
#include <cmath>
#include <cstdlib>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/SequenceViewDdl.h"
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

std::string TableDdl::IdentityOptionsText(const std::string& owner, const std::string& sequence,
                                          const std::string& start) {
  const auto options = context_.catalog.Rows(
      "SELECT ?, INCREMENT_BY, MAX_VALUE, MIN_VALUE, CYCLE_FLAG, CACHE_SIZE, ORDER_FLAG "
      "FROM \"SYS.ALL_SEQUENCES\" WHERE SEQUENCE_OWNER = ? AND SEQUENCE_NAME = ?",
      {Value::Text(start), Value::Text(owner), Value::Text(sequence)});
  if (options.empty())
    return {};
  const auto& o = options[0];
  return "START WITH: " + o[0] + ", INCREMENT BY: " + o[1] + ", MAX_VALUE: " + o[2] +
         ", MIN_VALUE: " + o[3] + ", CYCLE_FLAG: " + o[4] + ", CACHE_SIZE: " + o[5] +
         ", ORDER_FLAG: " + o[6] +
         ", SCALE_FLAG: N, EXTEND_FLAG: N, SESSION_FLAG: N, KEEP_VALUE: N";
}

// The sequence's next value becomes start; the cache starts afresh there.
bool TableDdl::RestartIdentity(const std::string& owner, const std::string& sequence,
                               const std::string& start, OraError& error) {
  Catalog& catalog = context_.catalog;
  return catalog.Exec(
             "UPDATE \"SYS.SEQ$\" SET NEXT_VALUE = ?, CACHED_TO = NULL WHERE OWNER = ? "
             "AND NAME = ?",
             {Value::Number(start), Value::Text(owner), Value::Text(sequence)}, error) &&
         catalog.Exec(
             "UPDATE \"SYS.ALL_SEQUENCES\" SET LAST_NUMBER = ? WHERE SEQUENCE_OWNER = ? "
             "AND SEQUENCE_NAME = ?",
             {Value::Number(start), Value::Text(owner), Value::Text(sequence)}, error);
}

// LIMIT VALUE: past the highest value for an ascending sequence, below the
// lowest for a descending one; an empty table keeps the sequence as it is.
bool TableDdl::LimitValue(const std::string& owner, const std::string& table,
                          const std::string& column, const std::string& sequence,
                          std::string& start, OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto increment = catalog.Rows(
      "SELECT INCREMENT_BY FROM \"SYS.ALL_SEQUENCES\" WHERE SEQUENCE_OWNER = ? AND "
      "SEQUENCE_NAME = ?",
      {Value::Text(owner), Value::Text(sequence)});
  if (increment.empty()) {
    error = {2289, "sequence does not exist"};
    return false;
  }
  const long double step = std::strtold(increment[0][0].c_str(), nullptr);
  const auto limit =
      catalog.Rows(std::string("SELECT ") + (step > 0 ? "MAX(" : "MIN(") + QuoteSqliteName(column) +
                       ") FROM " + QuoteSqliteName(StorageName(owner, table)),
                   {});
  if (limit.empty() || limit[0][0].empty())
    return true;
  const long double highest = std::strtold(limit[0][0].c_str(), nullptr);
  start = CanonicalNumberText(static_cast<double>(highest + step));
  return true;
}

bool TableDdl::ModifyIdentity(const std::string& owner, const std::string& table,
                              const std::string& column, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table), Value::Text(column)};
  const auto identity = catalog.Rows(
      "SELECT i.SEQUENCE_NAME, c.DEFAULT_ON_NULL FROM \"SYS.ALL_TAB_IDENTITY_COLS\" i JOIN "
      "\"SYS.ALL_TAB_COLS\" c ON c.OWNER = i.OWNER AND c.TABLE_NAME = i.TABLE_NAME AND "
      "c.COLUMN_NAME = i.COLUMN_NAME WHERE i.OWNER = ? AND i.TABLE_NAME = ? AND i.COLUMN_NAME = ?",
      key);
  if (identity.empty()) {
    error = {30673, "column to be modified is not an identity column"};
    return false;
  }
  const std::string& sequence = identity[0][0];
  const auto current = catalog.Rows(
      "SELECT IDENTITY_OPTIONS FROM \"SYS.ALL_TAB_IDENTITY_COLS\" WHERE OWNER = ? AND "
      "TABLE_NAME = ? AND COLUMN_NAME = ?",
      key);
  in_.Skip();  // GENERATED
  bool always = true;
  bool onNull = false;
  if (in_.AcceptWords("BY", "DEFAULT")) {
    always = false;
    onNull = in_.AcceptWords("ON", "NULL");
  } else if (!in_.ExpectWord("ALWAYS", error)) {
    return false;
  }
  if (!in_.ExpectWord("AS", error) || !in_.ExpectWord("IDENTITY", error))
    return false;
  if (onNull != (identity[0][1] == "YES")) {
    // The ON NULL default lives in the table's storage, which this does not rebuild.
    error = {22859, "invalid modification of columns"};
    return false;
  }
  std::string start;
  std::string otherOptions;
  if (in_.Peek().IsSymbol("(")) {
    std::size_t begin = 0, end = 0;
    if (!ReadParenthesised(begin, end, error))
      return false;
    const std::vector<SqlToken>& tokens = context_.tokens;
    std::size_t optionsFrom = begin;
    for (std::size_t i = begin; i < end; ++i) {
      if (!(tokens[i].IsWord("START") && i + 1 < end && tokens[i + 1].IsWord("WITH")))
        continue;
      otherOptions += " " + context_.SourceText(optionsFrom, i);
      std::size_t next = i + 2;
      if (next + 1 < end && tokens[next].IsWord("LIMIT") && tokens[next + 1].IsWord("VALUE")) {
        if (!LimitValue(owner, table, column, sequence, start, error))
          return false;
        next += 2;
      } else {
        std::string number;
        if (next < end && tokens[next].IsSymbol("-")) {
          number = "-";
          ++next;
        }
        if (next >= end || tokens[next].type != SqlToken::Type::Number) {
          error = {1722, "invalid number"};
          return false;
        }
        start = number + tokens[next].text;
        ++next;
      }
      optionsFrom = next;
      i = next - 1;
    }
    otherOptions += " " + context_.SourceText(optionsFrom, end);
  }
  if (otherOptions.find_first_not_of(' ') != std::string::npos) {
    const std::string sql = "ALTER SEQUENCE \"" + owner + "\".\"" + sequence + "\"" + otherOptions;
    std::vector<SqlToken> tokens;
    std::size_t errorOffset = 0;
    if (!TokenizeSql(sql, tokens, errorOffset)) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    DdlContext inner{context_.session, sql, tokens, catalog, context_.compileSchema};
    if (!SequenceViewDdl(inner).AlterSequence(error))
      return false;
  }
  if (!start.empty() && !RestartIdentity(owner, sequence, start, error))
    return false;
  // The options show the start the column was last given.
  std::string shownStart = start;
  if (shownStart.empty() && !current.empty()) {
    const std::string& text = current[0][0];
    const std::size_t from = text.find("START WITH: ");
    const std::size_t value = from == std::string::npos ? from : from + 12;
    shownStart =
        value == std::string::npos ? "" : text.substr(value, text.find(',', value) - value);
  }
  return catalog.Exec(
      "UPDATE \"SYS.ALL_TAB_IDENTITY_COLS\" SET GENERATION_TYPE = ?, IDENTITY_OPTIONS = ? WHERE "
      "OWNER = ? AND TABLE_NAME = ? AND COLUMN_NAME = ?",
      {Value::Text(always ? "ALWAYS" : "BY DEFAULT"),
       Value::Text(IdentityOptionsText(owner, sequence, shownStart)), key[0], key[1], key[2]},
      error);
}

}  // namespace sandbox
