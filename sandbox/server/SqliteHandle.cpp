// SQLite statement helpers.
#include "sandbox/server/SqliteHandle.h"

#include <cerrno>
#include <cstdlib>

#include "sandbox/server/values/DecimalNumber.h"

namespace sandbox {

void BindValue(sqlite3_stmt* statement, int index, const Value& value) {
  switch (value.kind) {
    case Value::Kind::Null:
      sqlite3_bind_null(statement, index);
      break;
    case Value::Kind::Binary:
      sqlite3_bind_blob(statement, index, value.text.data(), static_cast<int>(value.text.size()),
                        SQLITE_TRANSIENT);
      break;
    case Value::Kind::Number: {
      const std::string& t = value.text;
      const auto number = DecimalNumber::Parse(t);
      char* end = nullptr;
      errno = 0;
      const long long asInteger = std::strtoll(t.c_str(), &end, 10);
      if (number && !number->FitsSqliteNumber()) {
        // More digits than SQLite keeps: the canonical text as a BLOB, which
        // NUMERIC affinity leaves as it is.
        const std::string canonical = number->CanonicalText();
        sqlite3_bind_blob(statement, index, canonical.data(), static_cast<int>(canonical.size()),
                          SQLITE_TRANSIENT);
      } else if (errno != ERANGE && end != nullptr && *end == '\0' && !t.empty()) {
        sqlite3_bind_int64(statement, index, asInteger);
      } else {
        const double asReal = std::strtod(t.c_str(), &end);
        if (end != nullptr && *end == '\0')
          sqlite3_bind_double(statement, index, asReal);
        else
          sqlite3_bind_text(statement, index, t.data(), static_cast<int>(t.size()),
                            SQLITE_TRANSIENT);
      }
      break;
    }
    case Value::Kind::Text:
    case Value::Kind::Date:
      if (value.text.empty()) {  // Oracle has no empty strings, however the value was made
        sqlite3_bind_null(statement, index);
        break;
      }
      sqlite3_bind_text(statement, index, value.text.data(), static_cast<int>(value.text.size()),
                        SQLITE_TRANSIENT);
      break;
  }
}

bool SqliteRunner::Exec(const std::string& sql, const std::vector<Value>& params) {
  std::vector<std::vector<std::string>> ignored;
  return Query(sql, params, ignored);
}

bool SqliteRunner::Query(const std::string& sql, const std::vector<Value>& params,
                         std::vector<std::vector<std::string>>& rows) {
  rows.clear();
  const char* tail = sql.c_str();
  while (tail != nullptr && *tail != '\0') {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, tail, -1, &raw, &tail) != SQLITE_OK) {
      lastError_ = sqlite3_errmsg(db_);
      return false;
    }
    SqliteStatement statement(raw);
    if (!statement)
      continue;  // only white space or a comment was left
    const int count = sqlite3_bind_parameter_count(raw);
    for (int i = 0; i < count && i < static_cast<int>(params.size()); ++i)
      BindValue(raw, i + 1, params[i]);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(raw); ++c) {
        const unsigned char* text = sqlite3_column_text(raw, c);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
      rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
      lastError_ = sqlite3_errmsg(db_);
      return false;
    }
  }
  return true;
}

std::string QuoteSqliteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"')
      out += '"';
    out += c;
  }
  return out + "\"";
}

std::string QuoteSqliteText(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += '\'';
    out += c;
  }
  return out + "'";
}

}  // namespace sandbox
