// Constructor-call literals of object values, built by the data query.
#include "scripting/data/ObjectLiterals.h"

#include "scripting/data/DataQueryText.h"
#include "scripting/source/DictionaryQuery.h"
#include "scripting/tables/ServerRelease.h"

namespace {

constexpr int NameWidth = 128;
constexpr int FlagWidth = 30;

// Types of other schemas that are the server's own (XMLTYPE, spatial ...):
// their columns are left to the server's own description.
bool IsServerOwned(const std::string& owner) {
  return owner == "SYS" || owner == "MDSYS" || owner == "XDB" || owner == "ORDSYS" ||
         owner == "CTXSYS" || owner == "PUBLIC";
}

std::string NullOr(const std::string& value, const std::string& literal) {
  return "nvl2(" + value + ", " + literal + ", 'NULL')";
}

// SQL giving the literal of a built-in value; empty when there is none that
// gives the value back exactly.
std::string ScalarLiteralSql(const std::string& value, const std::string& type) {
  if (type == "VARCHAR2" || type == "CHAR" || type == "VARCHAR") {
    return NullOr(value, "'''' || replace(" + value + ", '''', '''''') || ''''");
  }
  if (type == "NVARCHAR2" || type == "NCHAR") {
    return NullOr(value, "'N''' || replace(" + value + ", '''', '''''') || ''''");
  }
  // The session's numeric characters are fixed to ".," for the data phase.
  if (type == "NUMBER" || type == "FLOAT" || type == "INTEGER") {
    return "nvl(to_char(" + value + "), 'NULL')";
  }
  if (type == "DATE") {
    return NullOr(value, "'TO_DATE(''' || to_char(" + value +
                             ", 'YYYY-MM-DD HH24:MI:SS') || ''', ''YYYY-MM-DD HH24:MI:SS'')'");
  }
  if (type.rfind("TIMESTAMP(", 0) == 0 && type.find(" WITH ") == std::string::npos) {
    return NullOr(value, "'TO_TIMESTAMP(''' || to_char(" + value +
                             ", 'YYYY-MM-DD HH24:MI:SS.FF9') || ''', ''YYYY-MM-DD "
                             "HH24:MI:SS.FF9'')'");
  }
  if (type == "RAW") {
    return NullOr(value, "'HEXTORAW(''' || rawtohex(" + value + ") || ''')'");
  }
  return {};
}

// The elements of a collection of scalars, in their order, as the arguments
// of its constructor; an empty collection as a call without any.
std::optional<std::string> CollectionLiteralSql(const std::string& valueSql,
                                                const std::string& constructor,
                                                const TypeShape& shape, std::string& refusal) {
  const std::string element = shape.Element.TypeOwner.empty() && !shape.Element.Ref
                                  ? ScalarLiteralSql("column_value", shape.Element.TypeName)
                                  : std::string();
  if (element.empty()) {
    refusal = "its type " + constructor + " is a collection of " +
              (shape.Element.Ref ? "REFs" : shape.Element.TypeName) +
              ", whose elements no literal puts back";
    return std::nullopt;
  }
  return "case when " + valueSql + " is null then 'NULL' else '" + constructor +
         "(' || (select listagg(" + element + ", ', ') within group (order by rownum) from table(" +
         valueSql + ")) || ')' end";
}

// Whether column of owner.table holds no value but NULL.
bool HoldsOnlyNulls(OracleSession& session, const std::string& owner, const std::string& table,
                    const std::string& column, bool& onlyNulls, std::string& error) {
  DictionaryQuery values(session,
                         "select count(*) from " + SqlName(owner) + "." + SqlName(table) +
                             " t where t." + QuotedName(column) + " is not null and rownum = 1",
                         {FlagWidth});
  std::vector<DictionaryQuery::Row> rows;
  if (!values.ReadAll(rows, error)) {
    return false;
  }
  onlyNulls = rows.empty() || rows[0][0] == "0";
  return true;
}

}  // namespace

namespace {

std::string QualifiedType(const std::string& owner, const std::string& type) {
  return QuotedName(owner) + "." + QuotedName(type);
}

// The literal of a value of owner.type: objectSql is the value as IS OF and
// TREAT take it, attributeSql what its attributes are read through (the
// same but for an object table's row, whose alias names them).
std::optional<std::string> LiteralSql(const std::string& objectSql, const std::string& attributeSql,
                                      const std::string& owner, const std::string& type,
                                      const std::string& schema, const TypeLookup& lookup,
                                      std::string& refusal, bool withElements) {
  const std::optional<TypeShape> shape = lookup(owner, type);
  if (!shape) {
    refusal = "its type " + owner + "." + type + " is not in the dictionary";
    return std::nullopt;
  }
  const std::string constructor =
      owner == schema ? SqlName(type) : SqlName(owner) + "." + SqlName(type);
  if (shape->Typecode == "COLLECTION") {
    if (!withElements) {
      refusal = "its type " + type + " is a collection, whose elements this server cannot list";
      return std::nullopt;
    }
    return CollectionLiteralSql(objectSql, constructor, *shape, refusal);
  }
  if (shape->Typecode != "OBJECT") {
    refusal = "its type " + type + " is neither an object nor a collection type";
    return std::nullopt;
  }
  // A value of a subtype is written with that type's constructor: its own
  // attributes would be lost under the supertype's.
  std::string subtypes;
  for (const TypeName& subtype : shape->Subtypes) {
    const std::string name = QualifiedType(subtype.Owner, subtype.Name);
    const std::string treated = "treat(" + objectSql + " as " + name + ")";
    const auto literal = LiteralSql(treated, treated, subtype.Owner, subtype.Name, schema, lookup,
                                    refusal, withElements);
    if (!literal) {
      return std::nullopt;
    }
    subtypes += " when " + objectSql + " is of (" + name + ") then " + *literal;
  }
  std::string literal = "'" + constructor + "('";
  for (std::size_t i = 0; i < shape->Attributes.size(); ++i) {
    const TypeAttribute& attribute = shape->Attributes[i];
    const std::string value = attributeSql + "." + QuotedName(attribute.Name);
    std::string part;
    if (attribute.Ref) {
      refusal = "attribute " + attribute.Name + " of " + type + " is a REF";
      return std::nullopt;
    }
    if (!attribute.TypeOwner.empty()) {
      const auto nested = LiteralSql(value, value, attribute.TypeOwner, attribute.TypeName, schema,
                                     lookup, refusal, withElements);
      if (!nested) {
        return std::nullopt;
      }
      part = *nested;
    } else {
      part = ScalarLiteralSql(value, attribute.TypeName);
      if (part.empty()) {
        refusal = "attribute " + attribute.Name + " of " + type + " is of type " +
                  attribute.TypeName + ", which no literal in a constructor puts back";
        return std::nullopt;
      }
    }
    literal += std::string(i == 0 ? " || " : " || ', ' || ") + part;
  }
  literal += " || ')'";
  return "case when " + objectSql + " is null then 'NULL'" + subtypes + " else " + literal + " end";
}

}  // namespace

std::optional<std::string> ObjectLiteralSql(const std::string& valueSql, const std::string& owner,
                                            const std::string& type, const std::string& schema,
                                            const TypeLookup& lookup, std::string& refusal,
                                            bool withElements) {
  return LiteralSql(valueSql, valueSql, owner, type, schema, lookup, refusal, withElements);
}

std::optional<std::string> RowObjectLiteralSql(const std::string& alias, const std::string& owner,
                                               const std::string& type, const std::string& schema,
                                               const TypeLookup& lookup, std::string& refusal,
                                               bool withElements) {
  return LiteralSql("value(" + alias + ")", alias, owner, type, schema, lookup, refusal,
                    withElements);
}

namespace {

// The dictionary's types, as a server of release shows them; a failed query
// leaves its text in error.
TypeLookup DictionaryTypes(OracleSession& session, int release, std::string& error) {
  return [&session, release, &error](const std::string& typeOwner,
                                     const std::string& type) -> std::optional<TypeShape> {
    DictionaryQuery kind(session,
                         "select typecode from all_types where owner = :owner and type_name = "
                         ":type",
                         {FlagWidth});
    kind.Bind(":owner", typeOwner);
    kind.Bind(":type", type);
    std::vector<DictionaryQuery::Row> found;
    if (!kind.ReadAll(found, error) || found.empty()) {
      return std::nullopt;
    }
    TypeShape shape{found[0][0], {}, {}, {}};
    // Before release 9 no type has subtypes.
    if (ReleaseHas(release, dictionary_since::TypeInheritance)) {
      DictionaryQuery subtypes(session,
                               "select owner, type_name from all_types where supertype_owner = "
                               ":owner and supertype_name = :type order by owner, type_name",
                               {NameWidth, NameWidth});
      subtypes.Bind(":owner", typeOwner);
      subtypes.Bind(":type", type);
      if (!subtypes.ReadAll(found, error)) {
        return std::nullopt;
      }
      for (const DictionaryQuery::Row& row : found) {
        shape.Subtypes.push_back({row[0], row[1]});
      }
    }
    DictionaryQuery attributes(session,
                               "select attr_name, attr_type_owner, attr_type_name, "
                               "attr_type_mod from all_type_attrs where owner = :owner and "
                               "type_name = :type order by attr_no",
                               {NameWidth, NameWidth, NameWidth, FlagWidth});
    attributes.Bind(":owner", typeOwner);
    attributes.Bind(":type", type);
    if (!attributes.ReadAll(found, error)) {
      return std::nullopt;
    }
    for (const DictionaryQuery::Row& row : found) {
      shape.Attributes.push_back({row[0], row[1], row[2], row[3] == "REF"});
    }
    if (shape.Typecode != "COLLECTION") {
      return shape;
    }
    DictionaryQuery element(session,
                            "select elem_type_owner, elem_type_name, elem_type_mod from "
                            "all_coll_types where owner = :owner and type_name = :type",
                            {NameWidth, NameWidth, FlagWidth});
    element.Bind(":owner", typeOwner);
    element.Bind(":type", type);
    if (!element.ReadAll(found, error) || found.empty()) {
      return std::nullopt;
    }
    shape.Element = {"COLUMN_VALUE", found[0][0], found[0][1], found[0][2] == "REF"};
    return shape;
  };
}

}  // namespace

bool ReadRowObject(OracleSession& session, int release, const std::string& owner,
                   const std::string& table, const std::string& alias,
                   std::optional<ObjectColumnLiteral>& literal,
                   std::vector<UnscriptableColumn>& unscriptable, std::string& error) {
  literal.reset();
  if (!ReleaseHas(release, dictionary_since::TypeInheritance)) {
    return true;
  }
  DictionaryQuery tableType(session,
                            "select table_type_owner, table_type from all_object_tables where "
                            "owner = :owner and table_name = :tab",
                            {NameWidth, NameWidth});
  tableType.Bind(":owner", owner);
  tableType.Bind(":tab", table);
  std::vector<DictionaryQuery::Row> rows;
  if (!tableType.ReadAll(rows, error)) {
    return false;
  }
  std::string lookupError;
  const TypeLookup lookup = DictionaryTypes(session, release, lookupError);
  const std::optional<TypeShape> shape =
      rows.empty() || rows[0][0].empty() ? std::nullopt : lookup(rows[0][0], rows[0][1]);
  if (!lookupError.empty()) {
    error = lookupError;
    return false;
  }
  // Rows of a type without subtypes are their columns' values.
  if (!shape || shape->Subtypes.empty()) {
    return true;
  }
  std::string refusal;
  const auto sql = RowObjectLiteralSql(alias, rows[0][0], rows[0][1], owner, lookup, refusal,
                                       ReleaseHas(release, dictionary_since::Listagg));
  if (!lookupError.empty()) {
    error = lookupError;
    return false;
  }
  if (sql) {
    literal = ObjectColumnLiteral{RowObjectColumn, *sql};
  } else {
    unscriptable.push_back({RowObjectColumn, refusal});
  }
  return true;
}

bool ReadObjectColumns(OracleSession& session, int release, const std::string& owner,
                       const std::string& table, const std::string& alias,
                       std::vector<ObjectColumnLiteral>& literals,
                       std::vector<UnscriptableColumn>& unscriptable, std::string& error) {
  DictionaryQuery columns(session,
                          "select column_name, data_type_owner, data_type, data_type_mod from "
                          "all_tab_columns where owner = :owner and table_name = :tab and "
                          "data_type_owner is not null order by column_id",
                          {NameWidth, NameWidth, NameWidth, FlagWidth});
  columns.Bind(":owner", owner);
  columns.Bind(":tab", table);
  std::vector<DictionaryQuery::Row> rows;
  if (!columns.ReadAll(rows, error)) {
    return false;
  }
  std::string lookupError;
  const TypeLookup lookup = DictionaryTypes(session, release, lookupError);
  for (const DictionaryQuery::Row& row : rows) {
    if (row[3] != "REF" && IsServerOwned(row[1])) {
      continue;
    }
    std::string refusal = "it holds REFs";
    const std::string value = alias + "." + QuotedName(row[0]);
    const auto literal = row[3] == "REF"
                             ? std::nullopt
                             : ObjectLiteralSql(value, row[1], row[2], owner, lookup, refusal,
                                                ReleaseHas(release, dictionary_since::Listagg));
    if (!lookupError.empty()) {
      error = lookupError;
      return false;
    }
    if (literal) {
      literals.push_back({row[0], *literal});
      continue;
    }
    bool onlyNulls = false;
    if (!HoldsOnlyNulls(session, owner, table, row[0], onlyNulls, error)) {
      return false;
    }
    if (onlyNulls) {
      literals.push_back({row[0], "'NULL'"});
    } else {
      unscriptable.push_back({row[0], refusal});
    }
  }
  return true;
}
