// Table and view names of a sandbox database, looked up in SQLite's schema.
#include "sandbox/server/dictionary/StorageNameCache.h"

namespace sandbox {

long long StorageNameCache::SchemaVersion(sqlite3* db) {
  if (!versionQuery_) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA schema_version", -1, &raw, nullptr) != SQLITE_OK)
      return -1;
    versionQuery_.reset(raw);
  }
  sqlite3_stmt* query = versionQuery_.get();
  const long long version = sqlite3_step(query) == SQLITE_ROW ? sqlite3_column_int64(query, 0) : -1;
  sqlite3_reset(query);
  return version;
}

void StorageNameCache::Refresh(sqlite3* db) {
  if (held_ && loaded_)
    return;
  const long long version = SchemaVersion(db);
  if (loaded_ && version == version_ && version >= 0)
    return;
  answers_.clear();
  version_ = version;
  loaded_ = true;
  ++generation_;
}

// PRAGMA table_info finds the name in SQLite's parsed schema without reading
// sqlite_master: a table or view has rows, and a view that no longer compiles
// (one over a dropped table) fails; a missing name has neither.
bool StorageNameCache::Probe(sqlite3* db, const std::string& storageName) {
  const std::string pragma = "PRAGMA main.table_info(" + QuoteSqliteName(storageName) + ")";
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, pragma.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return true;
  }
  SqliteStatement statement(raw);
  return sqlite3_step(raw) != SQLITE_DONE;
}

bool StorageNameCache::Contains(sqlite3* db, const std::string& storageName) {
  Refresh(db);
  const auto known = answers_.find(storageName);
  if (known != answers_.end())
    return known->second;
  return answers_[storageName] = Probe(db, storageName);
}

}  // namespace sandbox
