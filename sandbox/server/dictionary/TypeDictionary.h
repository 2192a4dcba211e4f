// The dictionary tables of object types, collections, nested tables and
// object tables. They are made when a database opens (if missing), so that
// a database file written before they existed gains them too.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

// false with SQLite's message when the tables cannot be made.
bool CreateTypeDictionary(sqlite3* db, std::string& message);
// True for the names of the views over those tables (ALL_TYPES, USER_TYPES ...).
bool IsTypeDictionaryName(const std::string& upperName);

}  // namespace sandbox
