// Indexes of the dictionary tables: lookups by owner and name, and by owner
// alone, are index searches as on a real server, so that the cost of one
// object's lookup does not grow with the number of objects in the database.
#pragma once

#include <sqlite3.h>

namespace sandbox {

// Creates the indexes that are missing (all of them in a new database, the
// newer ones in a database file written by an older sandbox). A file that
// cannot be written now (read-only, or locked by another process) keeps
// working without them, only slower: a failure is left unreported.
void EnsureDictionaryIndexes(sqlite3* db);

}  // namespace sandbox
