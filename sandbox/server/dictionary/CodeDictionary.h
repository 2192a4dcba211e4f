// Dictionary tables of stored code that databases made by older builds lack:
// ALL_DEPENDENCIES and ALL_PROCEDURES with their USER_ and DBA_ views, the
// column names a view was created with, and the scheduler's job views
// (always empty). Made on every open (IF NOT
// EXISTS), before the filtered ALL_ views that read them.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

bool CreateCodeDictionary(sqlite3* db, std::string& message);

}  // namespace sandbox
