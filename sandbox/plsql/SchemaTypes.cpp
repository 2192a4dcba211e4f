#include "sandbox/plsql/SchemaTypes.h"

#include <optional>

#include "sandbox/plsql/DictionaryQuery.h"

namespace sandbox::plsql {

namespace {

// Attributes that hold objects that hold objects ... end somewhere; a type
// cannot hold itself but through a REF, which is read as text.
constexpr int kMaxNesting = 32;

std::optional<TypeSpec> LoadType(Session& session, const std::string& owner,
                                 const std::string& name, int depth);

int IntegerOf(const Value& value) {
  return value.IsNull() ? 0 : std::atoi(value.text.c_str());
}

// An attribute's or element's type as ALL_TYPE_ATTRS and ALL_COLL_TYPES
// give it: its modifier, owner, name, length, precision and scale.
std::optional<TypeSpec> MemberType(Session& session, const std::vector<Value>& row, size_t at,
                                   int depth) {
  const std::string& modifier = row[at].text;
  const std::string& owner = row[at + 1].text;
  const std::string& name = row[at + 2].text;
  TypeSpec type;
  if (modifier == "REF")
    return type;  // a REF is kept as its text
  if (!owner.empty())
    return LoadType(session, owner, name, depth + 1);
  if (name == "VARCHAR2" || name == "VARCHAR" || name == "NVARCHAR2" || name == "RAW") {
    type.length = IntegerOf(row[at + 3]);
  } else if (name == "CHAR" || name == "NCHAR") {
    type.base = TypeSpec::Base::Char;
    type.length = IntegerOf(row[at + 3]);
  } else if (name == "NUMBER" || name == "INTEGER" || name == "FLOAT" ||
             name.rfind("BINARY_", 0) == 0) {
    type.base = TypeSpec::Base::Number;
    type.precision = name == "NUMBER" ? IntegerOf(row[at + 4]) : 0;
    type.scale = name == "NUMBER" ? IntegerOf(row[at + 5]) : 0;
  } else if (name == "DATE") {
    type.base = TypeSpec::Base::Date;
  } else {
    type.binary = name == "BLOB";  // CLOB, timestamps and intervals are held as text
  }
  return type;
}

std::optional<TypeSpec> LoadType(Session& session, const std::string& owner,
                                 const std::string& name, int depth) {
  if (depth > kMaxNesting)
    return std::nullopt;
  const std::string where =
      " WHERE OWNER = " + SqlLiteral(owner) + " AND TYPE_NAME = " + SqlLiteral(name);
  const auto kinds = DictionaryRows(session, "SELECT TYPECODE, INCOMPLETE FROM ALL_TYPES" + where);
  if (kinds.empty() || kinds[0].size() < 2 || kinds[0][1].text == "YES")
    return std::nullopt;
  TypeSpec type;
  type.name = name;
  type.sqlType = owner + "." + name;
  if (kinds[0][0].text == "COLLECTION") {
    const auto rows = DictionaryRows(
        session,
        "SELECT COLL_TYPE, UPPER_BOUND, ELEM_TYPE_MOD, ELEM_TYPE_OWNER, ELEM_TYPE_NAME, LENGTH, "
        "PRECISION, SCALE FROM ALL_COLL_TYPES" +
            where);
    if (rows.empty() || rows[0].size() < 8)
      return std::nullopt;
    auto element = MemberType(session, rows[0], 2, depth);
    if (!element)
      return std::nullopt;
    type.base = TypeSpec::Base::Collection;
    type.collection =
        rows[0][0].text == "TABLE" ? TypeSpec::Collection::Nested : TypeSpec::Collection::Varray;
    type.limit = IntegerOf(rows[0][1]);
    type.element = std::make_shared<const TypeSpec>(std::move(*element));
    return type;
  }
  type.base = TypeSpec::Base::Record;
  for (const auto& row : DictionaryRows(
           session,
           "SELECT ATTR_NAME, ATTR_TYPE_MOD, ATTR_TYPE_OWNER, ATTR_TYPE_NAME, LENGTH, PRECISION, "
           "SCALE FROM ALL_TYPE_ATTRS" +
               where + " ORDER BY ATTR_NO")) {
    if (row.size() < 7)
      return std::nullopt;
    auto attribute = MemberType(session, row, 1, depth);
    if (!attribute)
      return std::nullopt;
    type.fields.push_back({row[0].text, std::move(*attribute)});
  }
  return type;
}

}  // namespace

std::shared_ptr<const TypeDecl> LoadSchemaType(Session& session, const std::string& owner,
                                               const std::string& name) {
  auto type = LoadType(session, owner, name, 0);
  if (!type)
    return nullptr;
  auto decl = std::make_shared<TypeDecl>();
  decl->type = std::move(*type);
  return decl;
}

}  // namespace sandbox::plsql
