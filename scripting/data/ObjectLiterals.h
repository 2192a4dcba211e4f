// ObjectLiterals: the rows of object-type columns as constructor calls. For
// each such column the data query selects, instead of the value itself, SQL
// that spells the value's literal on the server: TYPE(attribute literals,
// ...), nested types as nested calls, a collection of scalars as the call
// of its elements in their order, a NULL object as NULL. Values that no
// such literal can put back whole (collections of objects, REFs, LOBs ...)
// make the column unscriptable, unless it holds none but NULLs. A value of
// a type with subtypes is read through TREAT as the type IS OF finds.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class OracleSession;

struct TypeAttribute {
  std::string Name;
  std::string TypeOwner;  // empty for a built-in type
  std::string TypeName;   // TIMESTAMP(6), VARCHAR2 ... or the user type's name
  bool Ref = false;
};

struct TypeName {
  std::string Owner;
  std::string Name;
};

// What a user type is: its ALL_TYPES.TYPECODE, its direct subtypes (a value
// of it may be of one), and its attributes.
struct TypeShape {
  std::string Typecode;
  std::vector<TypeName> Subtypes;
  std::vector<TypeAttribute> Attributes;
  TypeAttribute Element;  // of a collection (its name unused)
};

// Looks a type up; nullopt when the dictionary has no such type.
using TypeLookup =
    std::function<std::optional<TypeShape>(const std::string& owner, const std::string& type)>;

struct ObjectColumnLiteral {
  std::string Column;
  std::string Sql;  // the select item that gives the literal's text
};

struct UnscriptableColumn {
  std::string Column;
  std::string Reason;
};

// SQL giving the literal of valueSql, a value of type owner.type, for a
// script that runs in schema: nullopt with refusal set when no literal can
// put such a value back. Collections need LISTAGG (withElements). A value of
// a type with subtypes is spelt with the constructor of its own type.
std::optional<std::string> ObjectLiteralSql(const std::string& valueSql, const std::string& owner,
                                            const std::string& type, const std::string& schema,
                                            const TypeLookup& lookup, std::string& refusal,
                                            bool withElements = true);

// The same for the rows of an object table read through alias: the
// constructor call that is the whole row (INSERT INTO t VALUES (call)).
std::optional<std::string> RowObjectLiteralSql(const std::string& alias, const std::string& owner,
                                               const std::string& type, const std::string& schema,
                                               const TypeLookup& lookup, std::string& refusal,
                                               bool withElements = true);

// The select item name of an object table's whole row in its data query.
inline constexpr const char* RowObjectColumn = "ROW_OBJECT$";

// The literal of the rows of owner.table when it is an object table whose
// type has subtypes (read through alias); nothing (literal empty) for other
// tables. A row no literal puts back adds its reason to unscriptable.
bool ReadRowObject(OracleSession& session, int release, const std::string& owner,
                   const std::string& table, const std::string& alias,
                   std::optional<ObjectColumnLiteral>& literal,
                   std::vector<UnscriptableColumn>& unscriptable, std::string& error);

// The object-type columns of owner.table, read through the table alias
// alias: their literal select items, and the columns whose values cannot be
// scripted (a column of such a type that holds only NULLs is written NULL),
// from the dictionary of a server of release (see ServerRelease.h). False
// with the server's error text when a query failed.
bool ReadObjectColumns(OracleSession& session, int release, const std::string& owner,
                       const std::string& table, const std::string& alias,
                       std::vector<ObjectColumnLiteral>& literals,
                       std::vector<UnscriptableColumn>& unscriptable, std::string& error);
