// What a session's user may read of the data dictionary, as Oracle decides
// it: the ALL_ views list the user's own objects and those it holds an
// object privilege on (directly, through PUBLIC or through its roles), and
// everything for a user with the DBA role or SELECT ANY DICTIONARY; the DBA_
// views exist only for such a user (ORA-00942 for everybody else).
//
// The dictionary's base tables keep every row (DDL writes them by their
// storage names); a user's query of an ALL_ name is resolved to a view over
// the base table that filters by the ora_sees_dictionary() and
// ora_is_grantee(name) functions, which read the running user's standing
// from the function context.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

// Creates the filtering views and DBA_TAB_PRIVS when they are missing (a new
// database, or a persistent one made by an older build). False with message
// on failure.
bool CreateVisibilityViews(sqlite3* db, std::string& message);

// Registers ora_sees_dictionary() and ora_is_grantee(name) on db.
void RegisterVisibilityFunctions(sqlite3* db, SqlFunctionContext* context);

// Fills context's standing for its userName: the grantees it acts as (the
// user, PUBLIC and every role it holds, directly or through other roles) and
// whether it sees the whole dictionary. Called before every statement.
void RefreshVisibility(sqlite3* db, SqlFunctionContext& context);

// Names of dictionary views defined here, beside those of Dictionary.cpp.
bool IsVisibilityViewName(const std::string& upperName);

// Storage that the dictionary name upperName resolves to for the running
// user; nullopt when the user may not read it.
std::optional<std::string> VisibleDictionaryStorage(const std::string& upperName,
                                                    const SqlFunctionContext& context);

}  // namespace sandbox
