#include "sandbox/plsql/json/JsonTypes.h"

#include <array>
#include <memory>

namespace sandbox::plsql::json {

namespace {

constexpr unsigned kElement = 1u << static_cast<unsigned>(JsonKind::Element);
constexpr unsigned kObject = 1u << static_cast<unsigned>(JsonKind::Object);
constexpr unsigned kArray = 1u << static_cast<unsigned>(JsonKind::Array);
constexpr unsigned kScalar = 1u << static_cast<unsigned>(JsonKind::Scalar);
constexpr unsigned kAll = kElement | kObject | kArray | kScalar;
constexpr unsigned kContainers = kObject | kArray;

const char* const kTypeNames[] = {"JSON_ELEMENT_T", "JSON_OBJECT_T", "JSON_ARRAY_T",
                                  "JSON_SCALAR_T"};

struct Declarations {
  std::array<TypeDecl, 4> types;
  TypeDecl keyList;
};

const Declarations& AllDeclarations() {
  static const Declarations declarations = [] {
    Declarations d;
    for (size_t i = 0; i < d.types.size(); ++i) {
      d.types[i].type.base = TypeSpec::Base::Json;
      d.types[i].type.name = kTypeNames[i];
    }
    TypeSpec key;
    key.base = TypeSpec::Base::Varchar2;
    key.length = 4000;
    d.keyList.type.base = TypeSpec::Base::Collection;
    d.keyList.type.collection = TypeSpec::Collection::Varray;
    d.keyList.type.limit = 32767;
    d.keyList.type.element = std::make_shared<const TypeSpec>(key);
    d.keyList.type.name = "JSON_KEY_LIST";
    return d;
  }();
  return declarations;
}

}  // namespace

const TypeDecl* JsonTypeNamed(const std::string& name) {
  const Declarations& d = AllDeclarations();
  for (const TypeDecl& decl : d.types) {
    if (decl.type.name == name)
      return &decl;
  }
  return name == d.keyList.type.name ? &d.keyList : nullptr;
}

const TypeSpec& JsonTypeOf(JsonKind kind) {
  return AllDeclarations().types[static_cast<size_t>(kind)].type;
}

const TypeSpec& KeyListType() {
  return AllDeclarations().keyList.type;
}

JsonKind KindOfType(const TypeSpec& type) {
  for (size_t i = 0; i < std::size(kTypeNames); ++i) {
    if (type.name == kTypeNames[i])
      return static_cast<JsonKind>(i);
  }
  return JsonKind::Element;
}

bool JsonAssignable(const TypeSpec& to, const TypeSpec& from) {
  if (to.base != TypeSpec::Base::Json || from.base != TypeSpec::Base::Json)
    return false;
  return to.name == from.name || KindOfType(to) == JsonKind::Element;
}

const std::vector<JsonMethod>& JsonMethods() {
  using R = JsonMethod::Result;
  static const std::vector<JsonMethod> methods = {
      {"TREAT", kAll, true, 1, 1, R::Own},
      {"PARSE", kAll, true, 1, 1, R::Own, {"JSN"}},
      {"JSON_OBJECT_T", kObject, true, 0, 1, R::Own, {"JSN"}},
      {"JSON_ARRAY_T", kArray, true, 0, 1, R::Own, {"JSN"}},
      {"JSON_SCALAR_T", kScalar, true, 1, 1, R::Own, {"JSN"}},
      {"TO_STRING", kAll, false, 0, 0, R::Text},
      {"STRINGIFY", kAll, false, 0, 0, R::Text},
      {"TO_CLOB", kAll, false, 0, 0, R::Text},
      {"TO_BLOB", kAll, false, 0, 0, R::Blob},
      {"TO_CLOB", kAll, false, 1, 1, R::IntoArgument, {"C"}},
      {"TO_BLOB", kAll, false, 1, 1, R::IntoArgument, {"C"}},
      {"TO_NUMBER", kAll, false, 0, 0, R::Number},
      {"TO_BOOLEAN", kAll, false, 0, 0, R::Boolean},
      {"TO_DATE", kAll, false, 0, 0, R::Date},
      {"TO_TIMESTAMP", kAll, false, 0, 0, R::Timestamp},
      {"IS_OBJECT", kAll, false, 0, 0, R::Boolean},
      {"IS_ARRAY", kAll, false, 0, 0, R::Boolean},
      {"IS_SCALAR", kAll, false, 0, 0, R::Boolean},
      {"IS_STRING", kAll, false, 0, 0, R::Boolean},
      {"IS_NUMBER", kAll, false, 0, 0, R::Boolean},
      {"IS_BOOLEAN", kAll, false, 0, 0, R::Boolean},
      {"IS_TRUE", kAll, false, 0, 0, R::Boolean},
      {"IS_FALSE", kAll, false, 0, 0, R::Boolean},
      {"IS_NULL", kAll, false, 0, 0, R::Boolean},
      {"IS_DATE", kAll, false, 0, 0, R::Boolean},
      {"IS_TIMESTAMP", kAll, false, 0, 0, R::Boolean},
      {"GET_SIZE", kAll, false, 0, 0, R::Number},
      {"ON_ERROR", kAll, false, 1, 1, R::None, {"VAL"}},
      {"CLONE", kObject | kArray | kScalar, false, 0, 0, R::Own},
      {"GET", kContainers, false, 1, 1, R::Element, {"KEY"}},
      {"GET_STRING", kContainers, false, 1, 1, R::Text, {"KEY"}},
      {"GET_CLOB", kContainers, false, 1, 1, R::Text, {"KEY"}},
      {"GET_NUMBER", kContainers, false, 1, 1, R::Number, {"KEY"}},
      {"GET_BOOLEAN", kContainers, false, 1, 1, R::Boolean, {"KEY"}},
      {"GET_DATE", kContainers, false, 1, 1, R::Date, {"KEY"}},
      {"GET_TIMESTAMP", kContainers, false, 1, 1, R::Timestamp, {"KEY"}},
      {"GET_OBJECT", kContainers, false, 1, 1, R::Object, {"KEY"}},
      {"GET_ARRAY", kContainers, false, 1, 1, R::Array, {"KEY"}},
      {"GET_TYPE", kContainers, false, 1, 1, R::Text, {"KEY"}},
      {"REMOVE", kContainers, false, 1, 1, R::None, {"KEY"}},
      {"PUT", kObject, false, 2, 2, R::None, {"KEY", "VAL"}},
      {"PUT_NULL", kObject, false, 1, 1, R::None, {"KEY"}},
      {"HAS", kObject, false, 1, 1, R::Boolean, {"KEY"}},
      {"RENAME_KEY", kObject, false, 2, 2, R::None, {"KEYOLD", "KEYNEW"}},
      {"GET_KEYS", kObject, false, 0, 0, R::KeyList},
      {"PUT", kArray, false, 2, 3, R::None, {"POS", "VAL", "OVERWRITE"}},
      {"PUT_NULL", kArray, false, 1, 2, R::None, {"POS", "OVERWRITE"}},
      {"APPEND", kArray, false, 1, 1, R::None, {"VAL"}},
      {"APPEND_NULL", kArray, false, 0, 0, R::None},
  };
  return methods;
}

int FindJsonMethod(JsonKind kind, const std::string& name, bool isStatic, bool procedure) {
  const auto& methods = JsonMethods();
  const unsigned bit = 1u << static_cast<unsigned>(kind);
  int found = -1;
  for (size_t i = 0; i < methods.size(); ++i) {
    const JsonMethod& m = methods[i];
    if (name != m.name || (m.owners & bit) == 0 || m.isStatic != isStatic || name == "TREAT")
      continue;
    if (IsProcedure(m) == procedure)
      return static_cast<int>(i);
    if (found < 0)
      found = static_cast<int>(i);
  }
  return found;
}

bool IsProcedure(const JsonMethod& method) {
  return method.result == JsonMethod::Result::None ||
         method.result == JsonMethod::Result::IntoArgument;
}

int TreatMethod() {
  return 0;
}

}  // namespace sandbox::plsql::json
