// Reading a declared data type from DDL: a built-in type (VARCHAR2(10 CHAR),
// NUMBER(8,2), TIMESTAMP(3) WITH TIME ZONE ...) or a user-defined object or
// collection type, for table columns, type attributes and collection elements.
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/TokenStream.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

// The kind of a user-defined type: its ALL_TYPES.TYPECODE and, for a
// collection, ALL_COLL_TYPES.COLL_TYPE ("TABLE" or "VARYING ARRAY").
struct UserTypeKind {
  std::string typecode;
  std::string collection;
  bool incomplete = false;
};

// The user type owner.name, nullopt when there is none.
std::optional<UserTypeKind> FindUserType(Catalog& catalog, const std::string& owner,
                                         const std::string& name);

bool ReadBuiltinType(TokenStream& in, OracleType& type, OraError& error);

// A built-in type, or [schema.]name of a user type (schema defaulting to
// defaultOwner); ORA-00902 when neither.
bool ReadDeclaredType(TokenStream& in, Catalog& catalog, const std::string& defaultOwner,
                      OracleType& type, OraError& error);

}  // namespace sandbox
