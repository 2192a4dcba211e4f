// Cached table and view names of a sandbox database.
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
  names_.clear();
  SqliteRunner runner(db);
  std::vector<std::vector<std::string>> rows;
  runner.Query("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')", {}, rows);
  for (auto& row : rows)
    names_.insert(std::move(row[0]));
  version_ = version;
  loaded_ = true;
  ++generation_;
}

bool StorageNameCache::Contains(sqlite3* db, const std::string& storageName) {
  Refresh(db);
  return names_.count(storageName) != 0;
}

}  // namespace sandbox
