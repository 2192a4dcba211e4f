#include "sandbox/plsql/ObjectJson.h"

#include <cstdio>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/server/values/Utf8.h"

namespace sandbox::plsql {

namespace {

// Deeper values than this are refused rather than risking the stack.
constexpr int kMaxDepth = 200;

struct Json {
  enum class Kind { Null, Number, Text, Array, Object };
  Kind kind = Kind::Null;
  std::string text;  // Number: as written; Text: unescaped
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& text) : text_(text) {}

  bool ReadDocument(Json& json) {
    if (!Read(json, 0))
      return false;
    SkipBlanks();
    return pos_ == text_.size();
  }

 private:
  bool Read(Json& json, int depth) {
    if (depth > kMaxDepth)
      return false;
    SkipBlanks();
    if (pos_ >= text_.size())
      return false;
    const char c = text_[pos_];
    if (c == '"') {
      json.kind = Json::Kind::Text;
      return ReadString(json.text);
    }
    if (c == '[' || c == '{') {
      const bool array = c == '[';
      json.kind = array ? Json::Kind::Array : Json::Kind::Object;
      ++pos_;
      SkipBlanks();
      if (Accept(array ? ']' : '}'))
        return true;
      do {
        Json item;
        if (array) {
          if (!Read(item, depth + 1))
            return false;
          json.items.push_back(std::move(item));
          continue;
        }
        std::string name;
        SkipBlanks();
        if (!ReadString(name) || (SkipBlanks(), !Accept(':')) || !Read(item, depth + 1))
          return false;
        json.members.emplace_back(std::move(name), std::move(item));
      } while ((SkipBlanks(), Accept(',')));
      return Accept(array ? ']' : '}');
    }
    if (text_.compare(pos_, 4, "null") == 0) {
      pos_ += 4;
      return true;
    }
    for (const char* word : {"true", "false"}) {
      const std::string w = word;
      if (text_.compare(pos_, w.size(), w) == 0) {
        pos_ += w.size();
        json.kind = Json::Kind::Text;
        json.text = w;
        return true;
      }
    }
    const size_t start = pos_;
    while (pos_ < text_.size() &&
           std::string("+-.0123456789eE").find(text_[pos_]) != std::string::npos)
      ++pos_;
    json.kind = Json::Kind::Number;
    json.text = text_.substr(start, pos_ - start);
    return pos_ > start;
  }

  bool ReadString(std::string& out) {
    if (!Accept('"'))
      return false;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size())
        return false;
      c = text_[pos_++];
      switch (c) {
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = 0;
          if (!ReadHex(code))
            return false;
          if (code >= 0xD800 && code < 0xDC00) {  // a surrogate pair
            unsigned low = 0;
            if (!Accept('\\') || !Accept('u') || !ReadHex(low) || low < 0xDC00 || low > 0xDFFF)
              return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          out += c;  // \" \\ \/
      }
    }
    return Accept('"');
  }

  bool ReadHex(unsigned& code) {
    if (pos_ + 4 > text_.size())
      return false;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0)
        return false;
      code = code * 16 + static_cast<unsigned>(digit);
    }
    return true;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
  }
  bool Accept(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  const std::string& text_;
  size_t pos_ = 0;
};

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

Variable Build(const Json& json, const TypeSpec& type, const TypeSpec& top,
               const Session& session) {
  if (json.kind == Json::Kind::Null)
    return NullOf(type);
  Variable var;
  if (type.base == TypeSpec::Base::Collection) {
    if (json.kind != Json::Kind::Array)
      throw NotOfType(top);
    auto collection = std::make_unique<Collection>();
    for (const Json& item : json.items)
      collection->elements[CollectionKey{++collection->size, {}}] =
          Build(item, *type.element, top, session);
    var.collection.Reset(std::move(collection));
    return var;
  }
  if (type.base == TypeSpec::Base::Record) {
    if (json.kind != Json::Kind::Object)
      throw NotOfType(top);
    var = EmptyObject(type);
    for (size_t i = 0; i < type.fields.size(); ++i) {
      for (const auto& [name, value] : json.members) {
        if (name == type.fields[i].name)
          var.fields[i] = Build(value, type.fields[i].type, top, session);
      }
    }
    return var;
  }
  if (json.kind == Json::Kind::Array || json.kind == Json::Kind::Object)
    throw NotOfType(top);
  long double number = 0;
  const PlValue value = json.kind == Json::Kind::Number && ParseNumber(json.text, number)
                            ? PlValue::Number(number)
                            : PlValue::Text(json.text);
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
  Json json;
  if (!JsonReader(value.text()).ReadDocument(json))
    throw NotOfType(type);
  return Build(json, type, type, session);
}

}  // namespace sandbox::plsql
