// Object and collection values in SQL. A value is kept as JSON text: an
// object as an object of its attributes by name (a NULL attribute as null),
// a collection as an array of its elements, and a NULL object or collection
// as SQL NULL. Text comparisons then compare values attribute by attribute,
// and an object whose attributes are all NULL is still NOT NULL.
#include <algorithm>
#include <tuple>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

namespace {

// An argument that is itself an object or collection enters as JSON, not as
// the text it is stored as; a scalar as JSON holds it (RAW as hex digits).
std::string ValueArgument(const std::string& argument, bool userType) {
  return (userType ? "json(" : "ora_object_attribute(") + argument + ")";
}

}  // namespace

bool SqlTranslator::TranslateConstructor(const std::vector<std::string>& parts, std::size_t open,
                                         std::size_t end, std::vector<Unit>& units,
                                         std::size_t& next) {
  if (open >= end || !tokens_[open].IsSymbol("("))
    return false;
  const auto shape = resolver_.ResolveObjectType(parts);
  if (!shape)
    return false;
  const std::size_t close = ClosingParenOf(open, end);
  if (error_.IsSet())
    return true;
  next = close + 1;
  const auto arguments = Arguments(open + 1, close);
  std::string call;
  if (shape->collection) {
    if (shape->upperBound > 0 && static_cast<long long>(arguments.size()) > shape->upperBound) {
      Fail(22909, "exceeded maximum VARRAY limit");
      return true;
    }
    for (const auto& [begin, argumentEnd] : arguments)
      call += (call.empty() ? "" : ", ") +
              ValueArgument(TranslateRange(begin, argumentEnd, true), shape->elementIsUserType);
    units.push_back({"json_array(" + call + ")", true});
    return true;
  }
  if (!shape->instantiable) {
    Fail(22826, "cannot construct an instance of a non instantiable type");
    return true;
  }
  if (arguments.size() != shape->attributes.size()) {
    Fail(2315, "incorrect number of arguments for default constructor");
    return true;
  }
  // A subtype's value says which type it is, so that a column or table of
  // its supertype keeps it whole; other values are stored as before.
  if (shape->subtype)
    call = "'', " + QuoteSqliteText(shape->QualifiedName());
  for (std::size_t a = 0; a < arguments.size(); ++a)
    call += (call.empty() ? "" : ", ") + QuoteSqliteText(shape->attributes[a]) + ", " +
            ValueArgument(TranslateRange(arguments[a].first, arguments[a].second, true),
                          shape->attributeIsUserType[a]);
  units.push_back({"json_object(" + call + ")", true});
  return true;
}

std::string SqlTranslator::AttributeAccess(const std::vector<std::string>& parts) {
  // alias.column.attribute[.attribute ...]: a schema's table.column is
  // never an object's attribute.
  if (parts.size() < 3 || resolver_.ResolveTable(parts[0], parts[1]))
    return {};
  std::string path = "$";
  for (std::size_t p = 2; p < parts.size(); ++p)
    path += ".\"" + parts[p] + "\"";
  return "json_extract(" + QuoteSqliteName(parts[0]) + "." + QuoteSqliteName(parts[1]) + ", " +
         QuoteSqliteText(path) + ")";
}

std::size_t SqlTranslator::TranslateObjectRow(const std::string& storage, std::size_t at,
                                              std::size_t end, std::vector<Unit>& units,
                                              std::size_t columnsUnit) {
  if (at + 2 >= end || !tokens_[at].IsWord("VALUES") || !tokens_[at + 1].IsSymbol("("))
    return at;
  // VALUES (:object): a bound object (a PL/SQL variable) of the table's
  // type, whose attributes are the row.
  if (at + 3 < end && tokens_[at + 2].type == SqlToken::Type::Bind &&
      tokens_[at + 3].IsSymbol(")")) {
    const auto table = resolver_.ObjectTableType(storage);
    const auto shape =
        table ? resolver_.ResolveObjectType({table->first, table->second}) : std::nullopt;
    if (!shape || shape->collection)
      return at;
    const std::string bind = BindPlaceholder(tokens_[at + 2].text);
    std::string row;
    for (const std::string& attribute : shape->attributes)
      row += (row.empty() ? "" : ", ") + std::string("json_extract(") + bind + ", " +
             QuoteSqliteText("$.\"" + attribute + "\"") + ")";
    units.push_back({"VALUES"});
    units.push_back({"(" + row + ")", true});
    return at + 4;
  }
  const std::size_t close = Matching(at + 1, end);
  std::vector<std::string> parts;
  const std::size_t open = IsNameToken(tokens_[at + 2]) ? QualifiedName(at + 2, close, parts) : 0;
  if (open == 0 || open >= close || !tokens_[open].IsSymbol("(") ||
      Matching(open, close) + 1 != close)
    return at;
  const auto table = resolver_.ObjectTableType(storage);
  const auto shape = table ? resolver_.ResolveObjectType(parts) : std::nullopt;
  if (!shape || shape->collection)
    return at;
  if (shape->owner != table->first || shape->name != table->second)
    return TranslateSubtypeRow(storage, *table, *shape, at, close, units, columnsUnit);
  if (!shape->instantiable) {
    Fail(22826, "cannot construct an instance of a non instantiable type");
    return end;
  }
  const auto arguments = Arguments(open + 1, close - 1);
  if (arguments.size() != shape->attributes.size()) {
    Fail(2315, "incorrect number of arguments for default constructor");
    return end;
  }
  std::string row;
  for (const auto& [begin, argumentEnd] : arguments)
    row += (row.empty() ? "" : ", ") + TranslateRange(begin, argumentEnd, true);
  units.push_back({"VALUES"});
  units.push_back({"(" + row + ")", true});
  return close + 1;
}

std::size_t SqlTranslator::TranslateSubtypeRow(const std::string& storage,
                                               const std::pair<std::string, std::string>& table,
                                               const ObjectTypeShape& shape, std::size_t at,
                                               std::size_t close, std::vector<Unit>& units,
                                               std::size_t columnsUnit) {
  // A subtype's instance: the table's columns take the attributes its type
  // has, the hidden type column the whole object.
  const auto family = resolver_.TypeFamily(table.first, table.second);
  const bool under = std::any_of(family.begin(), family.end(), [&](const TypeFamilyMember& member) {
    return member.type == shape.QualifiedName();
  });
  if (!under || !resolver_.HoldsSubtypeRows(storage) || columnsUnit >= units.size())
    return at;
  const auto declared = resolver_.ResolveObjectType({table.first, table.second});
  if (!declared)
    return at;
  std::string& columns = units[columnsUnit].text;
  columns.insert(columns.rfind(')'), ", \"SYS_NC_TYPEID$\"");
  std::string row;
  for (const std::string& attribute : declared->attributes)
    row += "json_extract(\"ROW$\".o, " + QuoteSqliteText("$.\"" + attribute + "\"") + "), ";
  units.push_back({"SELECT " + row + "\"ROW$\".o FROM (SELECT " +
                   TranslateRange(at + 2, close, true) + " AS o) \"ROW$\""});
  return close + 1;
}

std::size_t SqlTranslator::TranslateMultiset(std::size_t open, std::size_t typeBegin,
                                             std::size_t close, std::vector<Unit>& units) {
  std::vector<std::string> parts;
  const bool named = typeBegin < close && IsNameToken(tokens_[typeBegin]) &&
                     QualifiedName(typeBegin, close, parts) == close;
  const auto shape = named ? resolver_.ResolveObjectType(parts) : std::nullopt;
  if (!shape || !shape->collection) {
    Fail(22907, "invalid CAST to a type that is not a nested table or VARRAY");
    return close + 1;
  }
  const std::size_t queryClose = Matching(open, close);
  const std::string query = TranslateRange(open + 1, queryClose, false);
  // The query's rows, in its order, become the elements: one column each for
  // scalars, one column per attribute for objects.
  std::string columns = "v", element = ValueArgument("v", shape->elementIsUserType);
  if (!shape->elementAttributes.empty()) {
    columns.clear();
    element.clear();
    for (std::size_t a = 0; a < shape->elementAttributes.size(); ++a) {
      const std::string column = "a" + std::to_string(a + 1);
      columns += (a == 0 ? "" : ", ") + column;
      element += (a == 0 ? "" : ", ") + QuoteSqliteText(shape->elementAttributes[a]) + ", " +
                 ValueArgument(column, shape->elementAttributeIsUserType[a]);
    }
    element = "json_object(" + element + ")";
  }
  units.push_back({"(WITH \"MULTISET$\"(" + columns + ") AS (" + query +
                       ") SELECT json_group_array(" + element + ") FROM \"MULTISET$\")",
                   true});
  return close + 1;
}

void SqlTranslator::ReadCollectionTables() {
  for (std::size_t i = 0; i + 1 < tokens_.size(); ++i) {
    if (!tokens_[i].IsWord("TABLE") || !tokens_[i + 1].IsSymbol("(") ||
        (i > 0 && !tokens_[i - 1].IsWord("FROM") && !tokens_[i - 1].IsSymbol(",") &&
         !tokens_[i - 1].IsWord("JOIN")))
      continue;
    const std::size_t close = Matching(i + 1, tokens_.size());
    const bool aliased = close + 1 < tokens_.size() && IsNameToken(tokens_[close + 1]) &&
                         !IsReservedWord(tokens_[close + 1]);
    collectionAliases_.push_back(aliased ? tokens_[close + 1].Upper() : std::string());
  }
}

std::size_t SqlTranslator::TranslateCollectionTable(std::size_t at, std::size_t end,
                                                    std::vector<Unit>& units, bool allowAlias) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (error_.IsSet())
    return end;
  if (close == at + 2) {
    Fail(936, "missing expression");
    return end;
  }
  // The elements of a collection value (a JSON array) in their order.
  std::string item = "json_each(" + TranslateRange(at + 2, close, true) + ")";
  std::size_t next = close + 1;
  if (allowAlias && next < end && IsNameToken(tokens_[next]) && !IsReservedWord(tokens_[next])) {
    item += " AS " + QuoteSqliteName(tokens_[next].Upper());
    ++next;
  }
  units.push_back({item});
  return next;
}

std::string SqlTranslator::CollectionElement(const std::vector<std::string>& parts) const {
  if (collectionAliases_.empty())
    return {};
  if (parts.size() == 1 && parts[0] == "COLUMN_VALUE")
    return "\"value\"";
  if (parts.size() < 2 || parts[0].empty() ||
      std::find(collectionAliases_.begin(), collectionAliases_.end(), parts[0]) ==
          collectionAliases_.end())
    return {};
  const std::string value = QuoteSqliteName(parts[0]) + ".\"value\"";
  if (parts.size() == 2 && parts[1] == "COLUMN_VALUE")
    return value;
  // The attributes of an object element.
  std::string path = "$";
  for (std::size_t p = 1; p < parts.size(); ++p)
    path += ".\"" + parts[p] + "\"";
  return "json_extract(" + value + ", " + QuoteSqliteText(path) + ")";
}

void SqlTranslator::ReadObjectTables() {
  bool calls = false;
  for (std::size_t i = 0; i + 2 < tokens_.size() && !calls; ++i)
    calls =
        ((tokens_[i].IsWord("VALUE") || tokens_[i].IsWord("SYS_TYPEID")) &&
         tokens_[i + 1].IsSymbol("(")) ||
        (tokens_[i].IsSymbol(".") && IsNameToken(tokens_[i + 1]) && tokens_[i + 2].IsSymbol("("));
  if (!calls)
    return;
  for (std::size_t i = 0; i + 1 < tokens_.size(); ++i) {
    if (!(tokens_[i].IsWord("FROM") || tokens_[i].IsWord("JOIN") || tokens_[i].IsSymbol(",")) ||
        !IsNameToken(tokens_[i + 1]) || IsReservedWord(tokens_[i + 1]))
      continue;
    std::vector<std::string> parts;
    const std::size_t next = QualifiedName(i + 1, tokens_.size(), parts);
    if (parts.size() > 2 || next >= tokens_.size() || !IsNameToken(tokens_[next]) ||
        IsReservedWord(tokens_[next]))
      continue;
    const auto storage =
        resolver_.ResolveTable(parts.size() == 2 ? parts[0] : std::string(), parts.back());
    if (storage)
      tableAliases_[tokens_[next].Upper()] = *storage;
    if (storage && resolver_.HoldsSubtypeRows(*storage))
      subtypeRowAliases_.insert(tokens_[next].Upper());
    const auto type = storage ? resolver_.ObjectTableType(*storage) : std::nullopt;
    const auto shape =
        type ? resolver_.ResolveObjectType({type->first, type->second}) : std::nullopt;
    if (shape && !shape->collection)
      objectTables_[tokens_[next].Upper()] = *shape;
  }
}

bool SqlTranslator::TranslateObjectValue(std::size_t at, std::size_t end, std::vector<Unit>& units,
                                         std::size_t& next) {
  if (at + 3 >= end || !IsNameToken(tokens_[at + 2]) || !tokens_[at + 3].IsSymbol(")"))
    return false;
  const std::string alias = tokens_[at + 2].Upper();
  const auto table = objectTables_.find(alias);
  if (table == objectTables_.end())
    return false;
  units.push_back({RowObject(alias, table->second), true});
  next = at + 4;
  return true;
}

std::string SqlTranslator::RowObject(const std::string& alias, const ObjectTypeShape& shape) const {
  // The row's columns are the type's attributes, which make the object again.
  std::string call = shape.subtype ? "'', " + QuoteSqliteText(shape.QualifiedName()) : "";
  std::string columns;
  for (std::size_t a = 0; a < shape.attributes.size(); ++a) {
    const std::string value =
        ValueArgument(QuoteSqliteName(alias) + "." + QuoteSqliteName(shape.attributes[a]),
                      shape.attributeIsUserType[a]);
    call += (call.empty() ? "" : ", ") + QuoteSqliteText(shape.attributes[a]) + ", " + value;
    columns += ", " + QuoteSqliteText("$.\"" + shape.attributes[a] + "\"") + ", " + value;
  }
  if (subtypeRowAliases_.count(alias) == 0)
    return "json_object(" + call + ")";
  // A subtype's row keeps the whole object in its type column, whose
  // attributes the row's columns may since have changed.
  const std::string kept = QuoteSqliteName(alias) + ".\"SYS_NC_TYPEID$\"";
  return "(CASE WHEN " + kept + " IS NULL THEN json_object(" + call + ") ELSE json_set(" + kept +
         columns + ") END)";
}

bool SqlTranslator::TranslateMethodCall(const std::vector<std::string>& parts, std::size_t open,
                                        std::size_t end, std::vector<Unit>& units,
                                        std::size_t& next) {
  if (open >= end || !tokens_[open].IsSymbol("(") || parts.size() < 2 || parts.size() > 3)
    return false;
  std::string object, owner, type;
  if (parts.size() == 2) {
    const auto table = objectTables_.find(parts[0]);
    if (table == objectTables_.end())
      return false;
    object = RowObject(parts[0], table->second);
    owner = table->second.owner;
    type = table->second.name;
  } else {
    const auto table = tableAliases_.find(parts[0]);
    const auto column = table == tableAliases_.end()
                            ? std::nullopt
                            : resolver_.ColumnObjectType(table->second, parts[1]);
    if (!column)
      return false;
    object = QuoteSqliteName(parts[0]) + "." + QuoteSqliteName(parts[1]);
    std::tie(owner, type) = *column;
  }
  const std::size_t close = ClosingParenOf(open, end);
  if (error_.IsSet())
    return true;
  const std::string arguments = TranslateRange(open + 1, close, true);
  units.push_back({DispatchedCall(owner, type, parts.back(), object, arguments), true});
  next = close + 1;
  return true;
}

}  // namespace sandbox
