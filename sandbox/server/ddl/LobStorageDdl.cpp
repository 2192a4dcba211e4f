// LOB storage clauses and ALL_LOBS rows.
#include "sandbox/server/ddl/LobStorageDdl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sandbox {

namespace {

constexpr long long kDefaultChunk = 8192;

bool ReadLobParameters(TokenStream& in, LobSpec& spec, OraError& error) {
  if (!in.ExpectSymbol("(", error))
    return false;
  while (!in.AcceptSymbol(")")) {
    long long value = 0;
    if (in.AtEnd()) {
      error = {907, "missing right parenthesis"};
      return false;
    }
    if (in.AcceptWord("TABLESPACE")) {
      std::string name;
      if (!in.ReadName(name, error, 959, "tablespace does not exist"))
        return false;
      spec.tablespace = name;
    } else if (in.Peek().IsWord("ENABLE") || in.Peek().IsWord("DISABLE")) {
      spec.inRow = in.Peek().IsWord("ENABLE");
      in.Skip();
      if (!in.ExpectWord("STORAGE", error) || !in.ExpectWord("IN", error) ||
          !in.ExpectWord("ROW", error))
        return false;
    } else if (in.AcceptWord("CHUNK")) {
      if (!in.ReadSize(value, error))
        return false;
      spec.chunk = value;
    } else if (in.AcceptWord("PCTVERSION") || in.AcceptWord("FREEPOOLS")) {
      if (!in.ReadInteger(value, error))
        return false;
    } else if (in.AcceptWord("RETENTION")) {
      if (in.AcceptWord("MIN") && !in.ReadInteger(value, error))
        return false;
      in.AcceptWord("AUTO") || in.AcceptWord("MAX") || in.AcceptWord("NONE");
    } else if (in.AcceptWord("CACHE")) {
      spec.cache = true;
      in.AcceptWord("READS");
    } else if (in.AcceptWord("NOCACHE")) {
      spec.cache = false;
    } else if (in.Peek().IsWord("LOGGING") || in.Peek().IsWord("NOLOGGING")) {
      spec.logging = in.Peek().IsWord("LOGGING");
      in.Skip();
    } else if (in.AcceptWord("COMPRESS")) {
      spec.compression = "MEDIUM";
      for (const char* level : {"HIGH", "MEDIUM", "LOW"})
        if (in.AcceptWord(level))
          spec.compression = level;
    } else if (in.AcceptWord("NOCOMPRESS")) {
      spec.compression.clear();
    } else if (in.AcceptWord("DEDUPLICATE") || in.AcceptWord("KEEP_DUPLICATES")) {
      spec.deduplicate = !spec.deduplicate;
    } else if (in.Peek().IsWord("STORAGE") || in.Peek().IsWord("INDEX")) {
      in.Skip();
      if (in.Peek().IsSymbol("("))
        in.Seek(in.MatchingParen() + 1);
      else
        in.Skip();
    } else {
      error = {22853, "invalid LOB storage option specification"};
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadLobClause(TokenStream& in, LobSpec& spec, OraError& error) {
  if (!in.ReadNameList(spec.columns, error) || !in.ExpectWord("STORE", error) ||
      !in.ExpectWord("AS", error))
    return false;
  if (in.AcceptWord("BASICFILE"))
    spec.secureFile = false;
  else
    in.AcceptWord("SECUREFILE");
  if (!in.AtEnd() && !in.Peek().IsSymbol("(") &&
      (in.Peek().type == SqlToken::Type::Word || in.Peek().type == SqlToken::Type::QuotedName)) {
    if (spec.columns.size() > 1) {
      error = {22853, "invalid LOB storage option specification"};
      return false;
    }
    if (!in.ReadName(spec.segmentName, error, 904, "invalid identifier"))
      return false;
  }
  return !in.Peek().IsSymbol("(") || ReadLobParameters(in, spec, error);
}

bool AddLobRows(Catalog& catalog, const std::string& owner, const std::string& table,
                const std::vector<LobSpec>& specs, const std::string& tableSpace, bool partitioned,
                OraError& error) {
  const std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  const auto objectId = catalog.Rows(
      "SELECT OBJECT_ID FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "OBJECT_TYPE = 'TABLE'",
      key);
  const auto columns = catalog.Rows(
      "SELECT COLUMN_NAME, DATA_TYPE, INTERNAL_COLUMN_ID FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? "
      "AND TABLE_NAME = ? AND DATA_TYPE IN ('CLOB', 'NCLOB', 'BLOB') ORDER BY INTERNAL_COLUMN_ID",
      key);
  for (const LobSpec& spec : specs)
    for (const std::string& name : spec.columns)
      if (std::none_of(columns.begin(), columns.end(),
                       [&](const auto& column) { return column[0] == name; })) {
        error = {904, "\"" + name + "\": invalid identifier"};
        return false;
      }
  for (const auto& column : columns) {
    const LobSpec fallback;
    const LobSpec* spec = &fallback;
    for (const LobSpec& given : specs)
      if (std::find(given.columns.begin(), given.columns.end(), column[0]) != given.columns.end())
        spec = &given;
    char number[64];
    std::snprintf(number, sizeof number, "%010lldC%05lld$$",
                  objectId.empty() ? 0LL : std::atoll(objectId[0][0].c_str()),
                  std::atoll(column[2].c_str()));
    const bool secure = spec->secureFile;
    const char* unset = secure ? "NO" : "NONE";
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_LOBS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?)",
            {Value::Text(owner), Value::Text(table), Value::Text(column[0]),
             Value::Text(spec->segmentName.empty() ? "SYS_LOB" + std::string(number)
                                                   : spec->segmentName),
             Value::Text(spec->tablespace.value_or(tableSpace)),
             Value::Text("SYS_IL" + std::string(number)),
             Value::Integer(spec->chunk.value_or(kDefaultChunk)),
             secure ? Value::Null() : Value::Integer(10),
             secure ? Value::Null() : Value::Integer(900), Value::Text(spec->cache ? "YES" : "NO"),
             Value::Text(spec->logging ? "YES" : "NO"), Value::Text(unset),
             Value::Text(spec->compression.empty() ? unset : spec->compression),
             Value::Text(spec->deduplicate ? "LOB" : unset),
             Value::Text(spec->inRow ? "YES" : "NO"),
             Value::Text(column[1] == "BLOB" ? "NOT APPLICABLE" : "ENDIAN NEUTRAL"),
             Value::Text(partitioned ? "YES" : "NO"), Value::Text(secure ? "YES" : "NO")},
            error))
      return false;
  }
  return true;
}

bool RemoveLobRows(Catalog& catalog, const std::string& owner, const std::string& table,
                   OraError& error) {
  return catalog.Exec("DELETE FROM \"SYS.ALL_LOBS\" WHERE OWNER = ? AND TABLE_NAME = ?",
                      {Value::Text(owner), Value::Text(table)}, error);
}

}  // namespace sandbox
