// Whether a database holds a SQLite table or view of a name, asked of
// SQLite's own parsed schema (a hash lookup) and remembered until the schema
// changes. Reading every name of sqlite_master again after each DDL statement
// would make loading a schema quadratic in its size.
#pragma once

#include <sqlite3.h>

#include <string>
#include <unordered_map>

#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

class StorageNameCache {
 public:
  // True when db holds a table or view of that SQLite name.
  bool Contains(sqlite3* db, const std::string& storageName);
  // A number that changes after every change of the schema: what is derived
  // from the schema may be kept while it stays the same.
  unsigned long long Generation(sqlite3* db) {
    Refresh(db);
    return generation_;
  }
  // Forgets the answers at the next lookup. DDL calls it when it ends,
  // because a rolled-back change gives an earlier schema version back.
  void Forget() { loaded_ = false; }
  // While held, lookups trust the answers without reading the schema version
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
  static bool Probe(sqlite3* db, const std::string& storageName);

  SqliteStatement versionQuery_;
  long long version_ = 0;
  bool loaded_ = false;
  bool held_ = false;
  unsigned long long generation_ = 0;
  std::unordered_map<std::string, bool> answers_;
};

}  // namespace sandbox
