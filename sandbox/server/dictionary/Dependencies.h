// What uses what: the ALL_DEPENDENCIES rows of views, stored units and
// triggers, and Oracle's rule that follows from them: when an object is
// dropped or replaced, everything that uses it, directly or through other
// objects, becomes INVALID until it is compiled again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/dictionary/Catalog.h"

namespace sandbox {

struct ObjectRef {
  std::string owner;
  std::string name;
  std::string type;  // ALL_OBJECTS.OBJECT_TYPE
  bool operator==(const ObjectRef& other) const {
    return owner == other.owner && name == other.name && type == other.type;
  }
};

// The object a name of PL/SQL or SQL text means, seen from schema owner:
// parts are the dotted name's parts (upper case). The first part is an object
// of the schema, else a public synonym, else (with a second part) a schema.
// Synonyms on the way are appended to synonyms when given.
std::optional<ObjectRef> ResolveObjectName(Catalog& catalog, const std::string& owner,
                                           const std::vector<std::string>& parts,
                                           std::vector<ObjectRef>* synonyms = nullptr);

// Makes referenced the dependencies of dependant (replacing its old rows).
bool RecordDependencies(Catalog& catalog, const ObjectRef& dependant,
                        const std::vector<ObjectRef>& referenced, OraError& error);

// Marks INVALID every object that uses owner.name, and what uses those.
bool InvalidateDependants(Catalog& catalog, const std::string& owner, const std::string& name,
                          OraError& error);

// An object going away: its dependants become INVALID and its rows (as a
// dependant and as a referenced object) and compilation errors go.
bool ForgetObject(Catalog& catalog, const ObjectRef& object, OraError& error);

// A schema going away: what other schemas have that uses its objects becomes
// INVALID, and the schema's rows go.
bool ForgetSchema(Catalog& catalog, const std::string& user, OraError& error);

}  // namespace sandbox
