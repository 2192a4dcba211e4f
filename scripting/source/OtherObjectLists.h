// OtherObjectLists: the dictionary queries of the schema's other objects and
// the statement each row becomes: private synonyms and the public synonyms
// that point into the schema, database links (whose passwords are never
// read), materialized views and their logs, and the object and column grants the schema made to
// other users, roles and PUBLIC.
#pragma once

#include <string>

#include "scripting/source/StatementListPhase.h"

// owner is the schema: names in it are written without their owner, so that
// the statements replay into any schema.
StatementList SynonymList(const std::string& owner);
StatementList DatabaseLinkList();
// ownSchema: the schema is the logged-on user's, whose all_ views show every
// grant it made; another schema's are read from the dba_ views.
StatementList ObjectGrantList(const std::string& owner, bool ownSchema);

// Materialized views with their build, refresh and query rewrite options,
// then their comments (the container table's PCTFREE ... with pctClauses, its
// TABLESPACE with storageClauses); only the one named only when it is given.
// The logs of the schema's tables.
StatementList MaterializedViewList(bool pctClauses, bool storageClauses,
                                   const std::string& only = {});
StatementList MaterializedViewLogList();

// The text that stands for a database link's password in its statement.
inline constexpr const char* LinkPasswordPlaceholder = "<password>";
