#include "sandbox/plsql/ObjectJson.h"

#include <cstdio>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/json/JsonTree.h"

namespace sandbox::plsql {

namespace {

void WriteString(const std::string& text, std::string& out) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

void WriteScalar(const PlValue& value, std::string& out) {
  switch (value.kind()) {
    case PlValue::Kind::Null:
    case PlValue::Kind::Boolean:  // no SQL type holds one
      out += "null";
      return;
    case PlValue::Kind::Number: {
      // Oracle's ".5" is no JSON number.
      const std::string number = FormatNumber(value.number());
      const size_t dot = number[0] == '-' ? 1 : 0;
      out += number[dot] == '.' ? number.substr(0, dot) + "0" + number.substr(dot) : number;
      return;
    }
    case PlValue::Kind::Text:
    case PlValue::Kind::Date:
      WriteString(value.text(), out);
      return;
  }
}

void Write(const Variable& var, const TypeSpec& type, std::string& out) {
  if (type.base == TypeSpec::Base::Collection) {
    const Collection* collection = var.collection.get();
    if (collection == nullptr) {
      out += "null";
      return;
    }
    out += '[';
    bool first = true;
    for (const auto& [key, element] : collection->elements) {
      out += first ? "" : ",";
      first = false;
      Write(element, *type.element, out);
    }
    out += ']';
    return;
  }
  if (type.base == TypeSpec::Base::Record) {
    if (var.fields.size() != type.fields.size()) {
      out += "null";
      return;
    }
    out += '{';
    for (size_t i = 0; i < type.fields.size(); ++i) {
      out += i == 0 ? "" : ",";
      WriteString(type.fields[i].name, out);
      out += ':';
      Write(var.fields[i], type.fields[i].type, out);
    }
    out += '}';
    return;
  }
  WriteScalar(var.value, out);
}

PlError NotOfType(const TypeSpec& type) {
  return MakeError(932, "inconsistent datatypes: expected " + type.sqlType + " got CHAR");
}

Variable Build(const json::Node& node, const TypeSpec& type, const TypeSpec& top,
               const Session& session) {
  using Kind = json::Node::Kind;
  if (node.kind == Kind::Null)
    return NullOf(type);
  Variable var;
  if (type.base == TypeSpec::Base::Collection) {
    if (node.kind != Kind::Array)
      throw NotOfType(top);
    auto collection = std::make_unique<Collection>();
    for (const json::NodePtr& item : node.items)
      collection->elements[CollectionKey{++collection->size, {}}] =
          Build(*item, *type.element, top, session);
    var.collection.Reset(std::move(collection));
    return var;
  }
  if (type.base == TypeSpec::Base::Record) {
    if (node.kind != Kind::Object)
      throw NotOfType(top);
    var = EmptyObject(type);
    for (size_t i = 0; i < type.fields.size(); ++i) {
      if (const json::NodePtr value = node.Member(type.fields[i].name))
        var.fields[i] = Build(*value, type.fields[i].type, top, session);
    }
    return var;
  }
  if (node.IsContainer())
    throw NotOfType(top);
  long double number = 0;
  const PlValue value =
      node.kind == Kind::Number && ParseNumber(node.text, number) ? PlValue::Number(number)
      : node.kind == Kind::Boolean ? PlValue::Text(node.boolean ? "true" : "false")
                                   : PlValue::Text(node.text);
  var.value = Coerce(value, type, session);
  return var;
}

}  // namespace

Variable NullOf(const TypeSpec& type) {
  Variable var;
  if (type.base == TypeSpec::Base::Collection && type.collection == TypeSpec::Collection::IndexBy)
    var.collection.Reset(std::make_unique<Collection>());
  if (type.base == TypeSpec::Base::Record && !type.IsObject())
    var = EmptyObject(type);
  return var;
}

Variable EmptyObject(const TypeSpec& type) {
  Variable var;
  for (const RecordField& field : type.fields)
    var.fields.push_back(NullOf(field.type));
  var.objectType = type.sqlType;
  return var;
}

Value ToColumnValue(const Variable& var, const TypeSpec& type) {
  std::string json;
  Write(var, type, json);
  return json == "null" ? Value::Null() : Value::Text(json);
}

Variable FromColumnValue(const PlValue& value, const TypeSpec& type, const Session& session) {
  if (value.IsNull())
    return NullOf(type);
  if (value.kind() != PlValue::Kind::Text)
    throw NotOfType(type);
  const json::NodePtr document = json::Parse(value.text());
  if (!document)
    throw NotOfType(type);
  return Build(*document, type, type, session);
}

}  // namespace sandbox::plsql
