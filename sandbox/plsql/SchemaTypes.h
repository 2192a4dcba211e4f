// Schema-level object and collection types (CREATE TYPE) as the PL/SQL
// compiler sees them: read from the dictionary the session sees and made
// into a record type (an object) or a nested table or varray type.
#pragma once

#include <memory>
#include <string>

#include "sandbox/plsql/Ast.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// The type owner.name with the types its attributes or elements name; null
// when the session sees no such complete type.
std::shared_ptr<const TypeDecl> LoadSchemaType(Session& session, const std::string& owner,
                                               const std::string& name);

}  // namespace sandbox::plsql
