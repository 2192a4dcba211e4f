// What the methods of the JSON object types do to their documents: parse,
// read members and elements with the conversions and errors of each GET
// method (as ON_ERROR chooses), put, remove and serialize.
#pragma once

#include <string>
#include <vector>

#include "sandbox/plsql/PlValue.h"
#include "sandbox/plsql/json/JsonTree.h"
#include "sandbox/plsql/json/JsonTypes.h"

namespace sandbox::plsql::json {

struct JsonArgument {
  PlValue value;  // a scalar argument; a timestamp as ISO 8601 text
  NodePtr node;   // the document of a JSON object type's argument; null for NULL
  bool isJson = false;
  bool timestamp = false;
};

struct JsonOutcome {
  PlValue value;                  // a scalar result; a timestamp as ISO 8601 text
  NodePtr node;                   // a JSON object type's result; null for NULL
  std::vector<std::string> keys;  // GET_KEYS
};

// Runs method on self (null for a static method or a NULL instance, which
// gives ORA-30625); own is the type it was called on, or TREAT's target.
// Throws PlError for Oracle's errors.
JsonOutcome RunJsonMethod(const JsonMethod& method, JsonKind own, const NodePtr& self,
                          const std::vector<JsonArgument>& args, const Session& session);

// "YYYY-MM-DDTHH24:MI:SS[.ffffff]" from Oracle's ISO 8601 forms (a date
// alone, "T" or a blank before the time, a trailing "Z"); false for others.
bool IsoTimestamp(const std::string& text, std::string& iso);

}  // namespace sandbox::plsql::json
