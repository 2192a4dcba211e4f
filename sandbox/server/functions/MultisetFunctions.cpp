// Nested tables as multisets in SQL: CARDINALITY, SET, MULTISET UNION /
// INTERSECT / EXCEPT [ALL | DISTINCT], MEMBER OF, SUBMULTISET OF, IS A SET
// and IS EMPTY. A collection is kept as JSON array text (ObjectValues.cpp);
// two elements are equal when their JSON texts are, and an element that is
// NULL makes a comparison with it unknown.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

namespace {

// The elements of a JSON array's text, each as its own JSON text; nullopt
// when the text is no array.
std::optional<std::vector<std::string>> Elements(const std::string& json) {
  std::size_t i = json.find_first_not_of(" \t\r\n");
  if (i == std::string::npos || json[i] != '[')
    return std::nullopt;
  std::vector<std::string> elements;
  std::string current;
  int depth = 0;
  bool inString = false;
  for (++i; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      current += c;
      if (c == '\\' && i + 1 < json.size())
        current += json[++i];
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
      continue;
    if (depth == 0 && (c == ',' || c == ']')) {
      if (!current.empty())
        elements.push_back(std::move(current));
      current.clear();
      if (c == ']')
        return elements;
      continue;
    }
    if (c == '"')
      inString = true;
    else if (c == '[' || c == '{')
      ++depth;
    else if (c == ']' || c == '}')
      --depth;
    current += c;
  }
  return std::nullopt;
}

std::string ArrayText(const std::vector<std::string>& elements) {
  std::string text = "[";
  for (std::size_t i = 0; i < elements.size(); ++i)
    text += (i ? "," : "") + elements[i];
  return text + "]";
}

bool IsNullElement(const std::string& element) {
  return element == "null";
}

// The collection argument's elements; nullopt (and a NULL or error result
// set) when it is NULL or no collection.
std::optional<std::vector<std::string>> CollectionArg(sqlite3_context* ctx, sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return std::nullopt;
  }
  auto elements = Elements(TextArg(value));
  if (!elements)
    ResultOraError(ctx, "ORA-00932: inconsistent datatypes: expected UDT got CHAR");
  return elements;
}

// Distinct elements in the order of their first appearance.
std::vector<std::string> Distinct(const std::vector<std::string>& elements) {
  std::vector<std::string> distinct;
  for (const std::string& element : elements)
    if (std::find(distinct.begin(), distinct.end(), element) == distinct.end())
      distinct.push_back(element);
  return distinct;
}

// Removes one element equal to `element` from `pool`; false when none is.
bool TakeOne(std::vector<std::string>& pool, const std::string& element) {
  const auto found = std::find(pool.begin(), pool.end(), element);
  if (found == pool.end())
    return false;
  pool.erase(found);
  return true;
}

void Cardinality(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (const auto elements = CollectionArg(ctx, argv[0]))
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(elements->size()));
}

void SetOf(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (const auto elements = CollectionArg(ctx, argv[0]))
    ResultText(ctx, ArrayText(Distinct(*elements)));
}

// ora_multiset(operation, distinct, a, b): operation UNION, INTERSECT or
// EXCEPT; ALL keeps duplicates as many times as the operation leaves them.
void Multiset(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::string operation = TextArg(argv[0]);
  const bool distinct = sqlite3_value_int(argv[1]) != 0;
  const auto left = CollectionArg(ctx, argv[2]);
  if (!left)
    return;
  auto right = CollectionArg(ctx, argv[3]);
  if (!right)
    return;
  std::vector<std::string> result;
  if (operation == "UNION") {
    result = *left;
    result.insert(result.end(), right->begin(), right->end());
  } else if (operation == "EXCEPT" && distinct) {
    // EXCEPT DISTINCT drops every element the second has, however often.
    for (const std::string& element : Distinct(*left))
      if (std::find(right->begin(), right->end(), element) == right->end())
        result.push_back(element);
  } else {
    const bool intersect = operation == "INTERSECT";
    for (const std::string& element : *left)
      if (TakeOne(*right, element) == intersect)
        result.push_back(element);
  }
  ResultText(ctx, ArrayText(distinct ? Distinct(result) : result));
}

// ora_member(element, c): the element as a one-element JSON array.
void Member(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto wrapped = Elements(TextArg(argv[0]));
  const auto elements = CollectionArg(ctx, argv[1]);
  if (!elements || !wrapped)
    return;
  if (wrapped->size() != 1 || IsNullElement(wrapped->front()))
    return sqlite3_result_null(ctx);
  bool sawNull = false;
  for (const std::string& element : *elements) {
    if (element == wrapped->front())
      return sqlite3_result_int(ctx, 1);
    sawNull = sawNull || IsNullElement(element);
  }
  if (sawNull)
    return sqlite3_result_null(ctx);
  sqlite3_result_int(ctx, 0);
}

void Submultiset(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const auto part = CollectionArg(ctx, argv[0]);
  if (!part)
    return;
  auto whole = CollectionArg(ctx, argv[1]);
  if (!whole)
    return;
  for (const std::string& element : *part) {
    if (IsNullElement(element))
      return sqlite3_result_null(ctx);
    if (!TakeOne(*whole, element))
      return sqlite3_result_int(ctx, 0);
  }
  sqlite3_result_int(ctx, 1);
}

void IsASet(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (const auto elements = CollectionArg(ctx, argv[0]))
    sqlite3_result_int(ctx, Distinct(*elements).size() == elements->size() ? 1 : 0);
}

void IsEmpty(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (const auto elements = CollectionArg(ctx, argv[0]))
    sqlite3_result_int(ctx, elements->empty() ? 1 : 0);
}

const FunctionEntry kMultisetFunctions[] = {
    {"cardinality", 1, Cardinality, true},     {"ora_set", 1, SetOf, true},
    {"ora_multiset", 4, Multiset, true},       {"ora_member", 2, Member, true},
    {"ora_submultiset", 2, Submultiset, true}, {"ora_is_a_set", 1, IsASet, true},
    {"ora_is_empty", 1, IsEmpty, true},
};

}  // namespace

void RegisterMultisetFunctions(sqlite3* db, SqlFunctionContext* context) {
  RegisterFunctions(db, context, kMultisetFunctions);
}

}  // namespace sandbox
