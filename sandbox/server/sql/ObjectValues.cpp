// Object and collection values in SQL. A value is kept as JSON text: an
// object as an object of its attributes by name (a NULL attribute as null),
// a collection as an array of its elements, and a NULL object or collection
// as SQL NULL. Text comparisons then compare values attribute by attribute,
// and an object whose attributes are all NULL is still NOT NULL.
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
    for (const auto& [begin, argumentEnd] : arguments)
      call += (call.empty() ? "" : ", ") +
              ValueArgument(TranslateRange(begin, argumentEnd, true), shape->elementIsUserType);
    units.push_back({"json_array(" + call + ")", true});
    return true;
  }
  if (arguments.size() != shape->attributes.size()) {
    Fail(2315, "incorrect number of arguments for default constructor");
    return true;
  }
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

}  // namespace sandbox
