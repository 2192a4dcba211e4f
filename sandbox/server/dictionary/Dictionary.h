// The data dictionary of a sandbox database: SQLite tables named after
// Oracle's SYS views (ALL_TABLES, ALL_TAB_COLUMNS, ...) that DDL keeps up to
// date, with the USER_ views and ALL_CATALOG defined over them.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

// Creates the dictionary in an empty database and seeds SYSTEM, the standard
// roles and the global name. Returns false with message on failure.
bool CreateDictionary(sqlite3* db, const std::string& globalName, std::string& message);

// True when db already holds a dictionary (a persistent database reopened).
bool HasDictionary(sqlite3* db);

// Brings the views of a dictionary made by an older build up to this one's:
// ALL_TAB_COLUMNS lists invisible columns. False with message on failure.
bool UpgradeDictionary(sqlite3* db, std::string& message);

// Names of SYS objects that unqualified names resolve to after the schema's own.
bool IsDictionaryName(const std::string& upperName);

// SQLite name of an object of a schema.
std::string StorageName(const std::string& owner, const std::string& name);

}  // namespace sandbox
