// PL/SQL's JSON object types as the compiler knows them: JSON_ELEMENT_T and
// its subtypes JSON_OBJECT_T, JSON_ARRAY_T and JSON_SCALAR_T, the
// JSON_KEY_LIST varray, and the methods each type has.
#pragma once

#include <string>
#include <vector>

#include "sandbox/plsql/Ast.h"

namespace sandbox::plsql::json {

enum class JsonKind { Element, Object, Array, Scalar };

// The type a name stands for (JSON_ELEMENT_T ... JSON_KEY_LIST); null for
// any other name.
const TypeDecl* JsonTypeNamed(const std::string& name);
const TypeSpec& JsonTypeOf(JsonKind kind);
const TypeSpec& KeyListType();
JsonKind KindOfType(const TypeSpec& type);  // type: a Base::Json type
// Whether a variable of type to may take a value of type from: the same
// type, or any JSON type into JSON_ELEMENT_T.
bool JsonAssignable(const TypeSpec& to, const TypeSpec& from);

struct JsonMethod {
  // What a call gives: nothing (a procedure), a scalar of a PL/SQL type, a
  // JSON object type, the key list, or Own: the type it was called on.
  // Blob: the UTF-8 bytes of text. IntoArgument: a procedure that writes
  // the text into its first argument, a CLOB (a BLOB when Blob is its name's).
  enum class Result {
    None,
    IntoArgument,
    Blob,
    Text,
    Number,
    Boolean,
    Date,
    Timestamp,
    Element,
    Object,
    Array,
    KeyList,
    Own
  };
  const char* name;
  unsigned owners;  // a bit per JsonKind whose type has the method
  bool isStatic;    // STATIC functions and constructors, called on the type
  int minArgs;
  int maxArgs;
  Result result;
  // The parameters' names, for arguments given by name ("KEY", "POS" ...).
  std::vector<const char*> params = {};
};

const std::vector<JsonMethod>& JsonMethods();
// The index in JsonMethods() of a member (or, when isStatic, a static)
// method of kind called name, the procedure of the name when procedure is
// set and there is one, else the function; -1 when the type has none.
int FindJsonMethod(JsonKind kind, const std::string& name, bool isStatic, bool procedure = false);
bool IsProcedure(const JsonMethod& method);
// The index of TREAT(value AS type), which the compiler makes a method too.
int TreatMethod();

}  // namespace sandbox::plsql::json
