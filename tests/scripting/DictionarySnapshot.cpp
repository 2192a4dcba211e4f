// Reading and comparing dictionary snapshots.
#include "tests/scripting/DictionarySnapshot.h"

#include <algorithm>
#include <regex>
#include <set>

#include "oracle/OracleSession.h"
#include "oracle/OracleStatement.h"

namespace {

constexpr int ValueWidth = 4000;
// The longest line of a condition that a script carries as it is.
constexpr std::size_t LongestPlainConditionLine = 255;

std::vector<std::vector<std::string>> QueryRows(OracleSession& session, const std::string& sql,
                                                int columns) {
  constexpr int rows = OracleStatement::MaxRowsPerFetch;
  const std::size_t slot = ValueWidth + 1;
  std::vector<char> buffer(slot * rows * static_cast<std::size_t>(columns));
  OracleStatement statement(session);
  statement.Prepare(sql);
  for (int column = 0; column < columns; ++column) {
    statement.DefineStringArray(column + 1, &buffer[slot * rows * static_cast<std::size_t>(column)],
                                ValueWidth, rows);
  }
  std::vector<std::vector<std::string>> result;
  if (!statement.Execute()) {
    return result;
  }
  do {
    for (int row = 0; row < statement.RowsInBatch(); ++row) {
      std::vector<std::string> values;
      for (int column = 0; column < columns; ++column) {
        values.emplace_back(&buffer[slot * (rows * static_cast<std::size_t>(column) +
                                            static_cast<std::size_t>(row))]);
      }
      result.push_back(std::move(values));
    }
  } while (statement.FetchNext());
  return result;
}

std::string WithoutTrailingWhiteSpace(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

std::string WhiteSpaceAsBlanks(const std::string& text) {
  std::string result;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !result.empty()) {
      result += ' ';
    }
    blank = false;
    result += c;
  }
  return result;
}

// A check condition comes back line for line without the blanks that ended
// its lines; one that a script could not carry so (a blank line, a line of
// "/" or ".", one starting with "#" or past the longest) comes back as one
// line and cut at blanks.
std::string ConditionAsScripted(const std::string& condition) {
  std::string kept;
  std::size_t from = 0;
  while (from <= condition.size()) {
    std::size_t to = condition.find('\n', from);
    if (to == std::string::npos) {
      to = condition.size();
    }
    const std::string line = condition.substr(from, to - from);
    const std::string bare = WithoutTrailingWhiteSpace(line);
    const std::size_t start = bare.find_first_not_of(" \t");
    if (line.size() > LongestPlainConditionLine || line.rfind('#', 0) == 0 ||
        start == std::string::npos || bare.substr(start) == "/" || bare.substr(start) == ".") {
      return WhiteSpaceAsBlanks(condition);
    }
    kept += (from == 0 ? "" : "\n") + bare;
    from = to + 1;
  }
  return kept;
}

std::string Normalized(const std::string& column, std::string value,
                       const std::set<std::string>& generated) {
  value = WithoutTrailingWhiteSpace(std::move(value));
  if (generated.count(value) != 0) {
    return "<generated>";
  }
  // Hidden columns of function-based indexes and the sequences of identity
  // columns are numbered by the server that made them.
  // So are partitions, subpartitions and LOB segments that were not named.
  static const std::regex serverNumbered(
      "(SYS_NC|ISEQ\\$\\$_|SYS_SUBP|SYS_P|SYS_LOB|SYS_IL)[0-9]+");
  value = std::regex_replace(value, serverNumbered, "$1#");
  if (column == "SEARCH_CONDITION") {
    return ConditionAsScripted(value);
  }
  return value;
}

std::set<std::string> GeneratedNames(OracleSession& session) {
  std::set<std::string> names;
  for (const char* sql :
       {"select constraint_name from user_constraints where generated = 'GENERATED NAME'",
        "select index_name from user_indexes where generated = 'Y'"}) {
    for (const auto& row : QueryRows(session, sql, 1)) {
      names.insert(row[0]);
    }
  }
  return names;
}

}  // namespace

std::vector<DictionaryView> TableDictionaryViews() {
  // DEFAULT_LENGTH is left out: it counts the blanks that followed a default
  // in its statement, which differ between a script and its source.
  return {
      {"user_tables",
       {"TABLE_NAME",   "TABLESPACE_NAME", "PCT_FREE",        "PCT_USED",    "INI_TRANS",
        "MAX_TRANS",    "INITIAL_EXTENT",  "NEXT_EXTENT",     "MIN_EXTENTS", "MAX_EXTENTS",
        "PCT_INCREASE", "FREELISTS",       "FREELIST_GROUPS", "TEMPORARY",   "DURATION",
        "IOT_TYPE",     "PARTITIONED",     "ROW_MOVEMENT",    "COMPRESSION", "COMPRESS_FOR"}},
      {"user_tab_cols",
       {"TABLE_NAME", "COLUMN_NAME", "DATA_TYPE", "DATA_LENGTH", "DATA_PRECISION", "DATA_SCALE",
        "NULLABLE", "COLUMN_ID", "DATA_DEFAULT", "CHAR_LENGTH", "CHAR_USED", "HIDDEN_COLUMN",
        "VIRTUAL_COLUMN", "IDENTITY_COLUMN", "DEFAULT_ON_NULL", "USER_GENERATED"}},
      {"user_constraints",
       {"TABLE_NAME", "CONSTRAINT_NAME", "CONSTRAINT_TYPE", "SEARCH_CONDITION", "R_OWNER",
        "R_CONSTRAINT_NAME", "DELETE_RULE", "STATUS", "DEFERRABLE", "DEFERRED", "VALIDATED",
        "GENERATED", "INDEX_NAME"}},
      {"user_cons_columns", {"TABLE_NAME", "CONSTRAINT_NAME", "COLUMN_NAME", "POSITION"}},
      {"user_indexes",
       {"TABLE_NAME", "INDEX_NAME", "INDEX_TYPE", "UNIQUENESS", "COMPRESSION", "PREFIX_LENGTH",
        "TABLESPACE_NAME", "INI_TRANS", "MAX_TRANS", "PCT_FREE", "GENERATED", "LOGGING",
        "VISIBILITY", "PARTITIONED"}},
      {"user_ind_columns",
       {"TABLE_NAME", "INDEX_NAME", "COLUMN_NAME", "COLUMN_POSITION", "DESCEND"}},
      {"user_ind_expressions",
       {"TABLE_NAME", "INDEX_NAME", "COLUMN_EXPRESSION", "COLUMN_POSITION"}},
      {"user_tab_comments", {"TABLE_NAME", "TABLE_TYPE", "COMMENTS"}},
      {"user_col_comments", {"TABLE_NAME", "COLUMN_NAME", "COMMENTS"}},
      {"user_tab_identity_cols",
       {"TABLE_NAME", "COLUMN_NAME", "GENERATION_TYPE", "IDENTITY_OPTIONS"}},
      {"user_part_tables",
       {"TABLE_NAME", "PARTITIONING_TYPE", "SUBPARTITIONING_TYPE", "PARTITION_COUNT",
        "DEF_SUBPARTITION_COUNT", "PARTITIONING_KEY_COUNT", "SUBPARTITIONING_KEY_COUNT",
        "DEF_TABLESPACE_NAME", "DEF_PCT_FREE", "DEF_COMPRESSION", "REF_PTN_CONSTRAINT_NAME",
        "INTERVAL"}},
      {"user_tab_partitions",
       {"TABLE_NAME", "PARTITION_NAME", "COMPOSITE", "SUBPARTITION_COUNT", "HIGH_VALUE",
        "PARTITION_POSITION", "TABLESPACE_NAME", "PCT_FREE", "COMPRESSION", "INTERVAL"}},
      {"user_tab_subpartitions",
       {"TABLE_NAME", "PARTITION_NAME", "SUBPARTITION_NAME", "HIGH_VALUE", "SUBPARTITION_POSITION",
        "TABLESPACE_NAME"}},
      {"user_part_key_columns", {"NAME", "OBJECT_TYPE", "COLUMN_NAME", "COLUMN_POSITION"}},
      {"user_subpart_key_columns", {"NAME", "OBJECT_TYPE", "COLUMN_NAME", "COLUMN_POSITION"}},
      {"user_part_indexes",
       {"INDEX_NAME", "TABLE_NAME", "PARTITIONING_TYPE", "SUBPARTITIONING_TYPE", "PARTITION_COUNT",
        "PARTITIONING_KEY_COUNT", "LOCALITY", "ALIGNMENT"}},
      {"user_ind_partitions",
       {"INDEX_NAME", "PARTITION_NAME", "COMPOSITE", "HIGH_VALUE", "PARTITION_POSITION", "STATUS",
        "TABLESPACE_NAME", "LOGGING", "INTERVAL"}},
      {"user_ind_subpartitions",
       {"INDEX_NAME", "PARTITION_NAME", "SUBPARTITION_NAME", "HIGH_VALUE", "SUBPARTITION_POSITION",
        "STATUS", "TABLESPACE_NAME"}},
      {"user_lobs",
       {"TABLE_NAME", "COLUMN_NAME", "SEGMENT_NAME", "TABLESPACE_NAME", "CHUNK", "CACHE", "LOGGING",
        "IN_ROW", "SECUREFILE"}},
  };
}

std::vector<DictionaryView> OtherObjectDictionaryViews() {
  return {
      {"user_synonyms", {"SYNONYM_NAME", "TABLE_OWNER", "TABLE_NAME", "DB_LINK"}},
      {"all_synonyms where owner = 'PUBLIC'", {"SYNONYM_NAME", "TABLE_OWNER", "TABLE_NAME"}},
      {"all_tab_privs",
       {"GRANTOR", "GRANTEE", "TABLE_SCHEMA", "TABLE_NAME", "PRIVILEGE", "GRANTABLE", "HIERARCHY"}},
      {"all_col_privs",
       {"GRANTOR", "GRANTEE", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME", "PRIVILEGE",
        "GRANTABLE"}},
      {"user_db_links", {"DB_LINK", "USERNAME", "HOST"}},
      {"user_mviews",
       {"MVIEW_NAME", "CONTAINER_NAME", "QUERY", "REWRITE_ENABLED", "REFRESH_MODE",
        "REFRESH_METHOD", "BUILD_MODE"}},
      {"user_mview_logs",
       {"MASTER", "LOG_TABLE", "ROWIDS", "PRIMARY_KEY", "OBJECT_ID", "SEQUENCE",
        "INCLUDE_NEW_VALUES"}},
      {"user_mview_comments", {"MVIEW_NAME", "COMMENTS"}},
      {"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}},
  };
}

DictionarySnapshot TakeDictionarySnapshot(OracleSession& session,
                                          const std::vector<DictionaryView>& views) {
  const std::set<std::string> generated = GeneratedNames(session);
  DictionarySnapshot snapshot;
  for (const DictionaryView& view : views) {
    std::string sql;
    for (const std::string& column : view.columns) {
      sql += (sql.empty() ? "select " : ", ") + column;
    }
    sql += " from " + view.view;
    std::vector<std::string>& rows = snapshot.rows[view.view];
    for (const auto& values : QueryRows(session, sql, static_cast<int>(view.columns.size()))) {
      std::string row;
      for (std::size_t i = 0; i < values.size(); ++i) {
        row += (i == 0 ? "" : "|") + Normalized(view.columns[i], values[i], generated);
      }
      rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end());
  }
  return snapshot;
}

std::string DictionaryDifferences(const DictionarySnapshot& source,
                                  const DictionarySnapshot& target) {
  std::string differences;
  const auto onlyIn = [&differences](const char* side, const std::string& view,
                                     const std::vector<std::string>& rows,
                                     const std::vector<std::string>& other) {
    std::vector<std::string> missing;
    std::set_difference(rows.begin(), rows.end(), other.begin(), other.end(),
                        std::back_inserter(missing));
    for (const std::string& row : missing) {
      differences += view + " only in " + side + ": " + row + "\n";
    }
  };
  static const std::vector<std::string> none;
  for (const auto& [view, rows] : source.rows) {
    const auto other = target.rows.find(view);
    onlyIn("source", view, rows, other == target.rows.end() ? none : other->second);
  }
  for (const auto& [view, rows] : target.rows) {
    const auto other = source.rows.find(view);
    onlyIn("target", view, rows, other == source.rows.end() ? none : other->second);
  }
  return differences;
}
