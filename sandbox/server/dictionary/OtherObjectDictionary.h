// The dictionary of database links and materialized views: the stored rows
// (SYS.LINK$, SYS.MVIEW$, SYS.MLOG$) and the ALL_, USER_ and DBA_ views
// over them that Oracle offers (ALL_DB_LINKS, ALL_MVIEWS, ALL_MVIEW_LOGS,
// ALL_MVIEW_COMMENTS). Created when a database opens, so that a database
// written by an older sandbox gains them too.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

bool CreateOtherObjectDictionary(sqlite3* db, std::string& message);

// True for the names of the views above.
bool IsOtherObjectDictionaryName(const std::string& upperName);

}  // namespace sandbox
