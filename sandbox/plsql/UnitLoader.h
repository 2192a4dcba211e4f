// Finds stored procedures, functions and packages by name through the
// dictionary the session sees (ALL_OBJECTS, ALL_SYNONYMS, ALL_SOURCE) and
// compiles them into the session's store, or takes the compiled unit from
// the store while its text and the units it calls are unchanged.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sandbox/plsql/Parser.h"
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

// The compiled methods of the object type owner.name (its body's methods
// are the unit's members); invalid set when the body does not compile.
LoadedUnit LoadTypeBody(Session& session, const std::string& owner, const std::string& name);

// The error the compiler finds in the unit owner.name of type (PROCEDURE,
// FUNCTION, PACKAGE or PACKAGE BODY) as the dictionary holds it, when it is
// an error in the code; none when the unit compiles, or fails only on what
// this compiler lacks. A package body is compiled with its declaration.
std::optional<CompileError> CheckStoredUnit(Session& session, const std::string& owner,
                                            const std::string& name, const std::string& type);

}  // namespace sandbox::plsql
