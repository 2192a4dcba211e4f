// Values of schema-level object and collection types in the form their
// columns hold (sandbox/server/sql/ObjectValues.cpp): JSON text, an object
// as an object of its attributes by name, a collection as an array of its
// elements, a NULL object or collection as SQL NULL.
#pragma once

#include "sandbox/plsql/PlValue.h"
#include "sandbox/plsql/RunState.h"

namespace sandbox::plsql {

// The column value of var, a value of type (a schema-level type).
Value ToColumnValue(const Variable& var, const TypeSpec& type);

// A value of type from a column's value: NULL makes a null object or
// collection. Throws PlError (ORA-00932) for text that holds no such value,
// and the assignment's errors for elements and attributes that do not fit.
Variable FromColumnValue(const PlValue& value, const TypeSpec& type, const Session& session);

// A value of type with nothing in it: NULL scalars, null objects (an object
// without fields is atomically NULL) and null nested tables and varrays, an
// empty index-by table, a record of such fields.
Variable NullOf(const TypeSpec& type);
// An object (or record) of type whose fields are each NullOf their type.
Variable EmptyObject(const TypeSpec& type);

}  // namespace sandbox::plsql
