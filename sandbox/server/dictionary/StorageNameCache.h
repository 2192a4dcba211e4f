// The names of a database's SQLite tables and views, read once per schema
// version: resolving a name in a statement is then a hash lookup instead of a
// scan of sqlite_master, whose size grows with the schema.
#pragma once

#include <sqlite3.h>

#include <string>
#include <unordered_set>

#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

class StorageNameCache {
 public:
  // True when db holds a table or view of that SQLite name.
  bool Contains(sqlite3* db, const std::string& storageName);
  // A number that changes whenever the names are read again, that is after
  // every change of the schema: what is derived from the schema may be kept
  // while it stays the same.
  unsigned long long Generation(sqlite3* db) {
    Refresh(db);
    return generation_;
  }
  // Reads the names again at the next lookup. DDL calls it when it ends,
  // because a rolled-back change gives an earlier schema version back.
  void Forget() { loaded_ = false; }
  // While held, lookups trust the names without reading the schema version
  // again (that takes a lock on a database file): only this connection's own
  // DDL, which calls Forget, can change them meanwhile.
  void Hold(sqlite3* db) {
    Refresh(db);
    held_ = true;
  }
  void Release() { held_ = false; }

 private:
  // The schema cookie, which every committed or pending schema change moves,
  // also one made by another connection to the same file.
  long long SchemaVersion(sqlite3* db);
  void Refresh(sqlite3* db);

  SqliteStatement versionQuery_;
  long long version_ = 0;
  bool loaded_ = false;
  bool held_ = false;
  unsigned long long generation_ = 0;
  std::unordered_set<std::string> names_;
};

}  // namespace sandbox
