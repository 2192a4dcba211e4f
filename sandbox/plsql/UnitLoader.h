// Finds stored procedures, functions and packages by name through the
// dictionary the session sees (ALL_OBJECTS, ALL_SYNONYMS, ALL_SOURCE) and
// compiles them into the session's store, or takes the compiled unit from
// the store while its text and the units it calls are unchanged.
#pragma once

#include <memory>
#include <string>

#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct LoadedUnit {
  std::shared_ptr<const StoredUnit> unit;
  // Set to "OWNER.NAME" when the unit exists but does not compile (or calls
  // itself round a circle of units), for PLS-00905.
  std::string invalid;
};

// The unit owner.name, through owner's synonyms and, when publicSynonyms,
// PUBLIC's. Neither unit nor invalid is set when no such unit exists or the
// session keeps no store.
LoadedUnit LoadStoredUnit(Session& session, const std::string& owner, const std::string& name,
                          bool publicSynonyms);

}  // namespace sandbox::plsql
