// Indexes of the dictionary tables: lookups by owner and name, and by owner
// alone, are index searches as on a real server, so that the cost of one
// object's lookup does not grow with the number of objects in the database.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

// Creates the indexes that are missing (all of them in a new database, the
// newer ones in a database file written by an older sandbox). Returns false
// with message on failure.
bool EnsureDictionaryIndexes(sqlite3* db, std::string& message);

}  // namespace sandbox
