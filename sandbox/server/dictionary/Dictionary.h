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

// SQLite name of an object of a schema: "OWNER.NAME". SQLite compares names
// without regard to case, where Oracle's quoted names differ by case ("emp"
// is not EMP); so a lower-case letter is written "~" + letter, "~" itself
// "~~" and a "." inside a name "~,", which keeps the one bare "." between the
// two parts and every name of upper-case letters as it is.
std::string StorageName(const std::string& owner, const std::string& name);

// The owner and name that StorageName joined; false for a name it did not make.
bool SplitStorageName(const std::string& storage, std::string& owner, std::string& name);

}  // namespace sandbox
