#include "sandbox/plsql/json/JsonMethods.h"

#include <cctype>
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql::json {

namespace {

constexpr size_t kMaxKeys = 32767;  // JSON_KEY_LIST's limit

PlError NullSelf() {
  return MakeError(30625, "method dispatch on NULL SELF argument is disallowed");
}
PlError SyntaxError() {
  return MakeError(40441, "JSON syntax error");
}
PlError WrongType() {
  return MakeError(40587, "invalid JSON type");
}

// A method that finds nothing (a key or position the document lacks)
// answers NULL unless ON_ERROR asks for errors of missing values.
JsonOutcome Missing(const Node& self, bool array) {
  if (self.onError == 1 || self.onError == 2) {
    if (array)
      throw MakeError(40572, "Invalid JSON array position.");
    throw MakeError(40571, "JSON key not found");
  }
  return {};
}

// A value that does not convert to what the method returns.
JsonOutcome Mismatch(const Node& self) {
  if (self.onError == 1 || self.onError == 3)
    throw MakeError(40566, "JSON path expression selected a value of different data type.");
  return {};
}

JsonOutcome Result(PlValue value) {
  JsonOutcome out;
  out.value = std::move(value);
  return out;
}
JsonOutcome Result(NodePtr node) {
  JsonOutcome out;
  out.node = std::move(node);
  return out;
}

bool Digits(const std::string& text, size_t at, size_t count) {
  if (at + count > text.size())
    return false;
  for (size_t i = at; i < at + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i])))
      return false;
  }
  return true;
}

int Field(const std::string& text, size_t at, size_t count) {
  return std::stoi(text.substr(at, count));
}

// "YYYY-MM-DD" and "HH24:MI:SS" (their digits already checked) name a real
// moment: a day the month has, a time of day.
bool ValidDateTime(const std::string& date, const std::string& time) {
  const int year = Field(date, 0, 4), month = Field(date, 5, 2), day = Field(date, 8, 2);
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1)
    return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last && Field(time, 0, 2) < 24 && Field(time, 3, 2) < 60 && Field(time, 6, 2) < 60;
}

// Oracle's number text as JSON writes it: "0.5", not ".5".
std::string JsonNumber(long double number) {
  std::string text = CanonicalNumber(FormatNumber(number));
  if (text.empty())
    throw ValueError("numeric overflow");
  return text;
}

bool FitsKind(const Node& node, JsonKind kind) {
  switch (kind) {
    case JsonKind::Element:
      return true;
    case JsonKind::Object:
      return node.kind == Node::Kind::Object;
    case JsonKind::Array:
      return node.kind == Node::Kind::Array;
    case JsonKind::Scalar:
      return !node.IsContainer();
  }
  return false;
}

// The document a constructor, PARSE or TREAT gives for its type.
NodePtr OfKind(NodePtr node, JsonKind kind) {
  if (!FitsKind(*node, kind))
    throw WrongType();
  return node;
}

NodePtr ParseText(const PlValue& value, const Session& session) {
  if (value.IsNull())
    throw SyntaxError();
  NodePtr node = Parse(TextOf(value, session));
  if (!node)
    throw SyntaxError();
  return node;
}

NodePtr NodeOfArgument(const JsonArgument& arg, const Session& session) {
  if (arg.isJson)
    return arg.node ? Clone(*arg.node) : std::make_shared<Node>();
  const PlValue& v = arg.value;
  if (v.IsNull())
    return std::make_shared<Node>();
  if (arg.timestamp)
    return MakeScalar(Node::Kind::Timestamp, v.text());
  switch (v.kind()) {
    case PlValue::Kind::Number:
      return MakeScalar(Node::Kind::Number, JsonNumber(v.number()));
    case PlValue::Kind::Boolean:
      return MakeBoolean(v.boolean());
    case PlValue::Kind::Date: {
      std::string iso = v.text();  // "YYYY-MM-DD HH24:MI:SS"
      if (iso.size() > 10)
        iso[10] = 'T';
      return MakeScalar(Node::Kind::Date, iso);
    }
    default:
      return MakeScalar(Node::Kind::String, TextOf(v, session));
  }
}

const char* TypeName(const Node& node) {
  switch (node.kind) {
    case Node::Kind::Null:
      return "null";
    case Node::Kind::Boolean:
      return "boolean";
    case Node::Kind::Number:
      return "number";
    case Node::Kind::String:
      return "string";
    case Node::Kind::Date:
      return "date";
    case Node::Kind::Timestamp:
      return "timestamp";
    case Node::Kind::Object:
      return "object";
    case Node::Kind::Array:
      return "array";
  }
  return "null";
}

// value (a member, an element or the instance itself) as result gives it;
// owner's ON_ERROR level decides what a mismatch does.
JsonOutcome Convert(const Node& owner, const NodePtr& value, JsonMethod::Result result) {
  using R = JsonMethod::Result;
  const Node& v = *value;
  if (v.kind == Node::Kind::Null && result != R::Object && result != R::Array &&
      result != R::Element)
    return {};
  switch (result) {
    case R::Element:
      return Result(value);
    case R::Object:
    case R::Array:
      if (v.kind != (result == R::Object ? Node::Kind::Object : Node::Kind::Array))
        return Mismatch(owner);
      return Result(value);
    case R::Text:
      if (v.IsContainer())
        return Mismatch(owner);
      if (v.kind == Node::Kind::Boolean)
        return Result(PlValue::Text(v.boolean ? "true" : "false"));
      return Result(PlValue::Text(v.text));
    case R::Number: {
      long double n = 0;
      if ((v.kind == Node::Kind::Number || v.kind == Node::Kind::String) && ParseNumber(v.text, n))
        return Result(PlValue::Number(n));
      return Mismatch(owner);
    }
    case R::Boolean:
      if (v.kind == Node::Kind::Boolean)
        return Result(PlValue::Boolean(v.boolean));
      if (v.kind == Node::Kind::String && (v.text == "true" || v.text == "false"))
        return Result(PlValue::Boolean(v.text == "true"));
      return Mismatch(owner);
    case R::Date:
    case R::Timestamp: {
      std::string iso;
      if (v.IsContainer() || v.kind == Node::Kind::Boolean || v.kind == Node::Kind::Number ||
          !IsoTimestamp(v.text, iso))
        return Mismatch(owner);
      if (result == R::Timestamp)
        return Result(PlValue::Text(iso));
      return Result(PlValue::Date(iso.substr(0, 10) + " 00:00:00"));  // the time is dropped
    }
    default:
      return {};
  }
}

// The position of an array method's argument; false when it is NULL or no
// whole number.
bool PositionOf(const PlValue& value, long long& position) {
  if (value.IsNull())
    return false;
  const long double n = std::trunc(NumberOf(value));
  if (n < -2147483648.0L || n > 2147483647.0L)
    return false;
  position = static_cast<long long>(n);
  return true;
}

JsonOutcome RunStatic(const JsonMethod& method, JsonKind own, const std::vector<JsonArgument>& args,
                      const Session& session) {
  const std::string name = method.name;
  if (name == "TREAT") {
    // Another kind of document makes the result NULL, as TREAT does.
    const NodePtr& node = args[0].node;
    return Result(node && FitsKind(*node, own) ? node : nullptr);
  }
  if (args.empty()) {  // the empty object or array
    return Result(
        std::make_shared<Node>(own == JsonKind::Object ? Node::Kind::Object : Node::Kind::Array));
  }
  if (args[0].isJson) {  // a constructor from an element: the same document
    if (!args[0].node)
      return {};
    return Result(OfKind(args[0].node, own));
  }
  return Result(OfKind(ParseText(args[0].value, session), own));
}

JsonOutcome RunObject(const std::string& name, Node& self, const std::vector<JsonArgument>& args,
                      const Session& session) {
  const auto key = [&](size_t i) {
    return args[i].value.IsNull() ? std::string() : TextOf(args[i].value, session);
  };
  if (name == "PUT") {
    self.PutMember(key(0), NodeOfArgument(args[1], session));
    return {};
  }
  if (name == "PUT_NULL") {
    self.PutMember(key(0), std::make_shared<Node>());
    return {};
  }
  if (name == "HAS")
    return Result(PlValue::Boolean(self.Member(key(0)) != nullptr));
  if (name == "GET_KEYS") {
    if (self.members.size() > kMaxKeys)
      throw MakeError(40684, "maximum number of key names exceeded");
    JsonOutcome out;
    for (const auto& member : self.members)
      out.keys.push_back(member.first);
    return out;
  }
  auto& members = self.members;
  const std::string k = key(0);
  auto found = members.begin();
  while (found != members.end() && found->first != k)
    ++found;
  if (name == "REMOVE") {
    if (found != members.end())
      members.erase(found);
    return {};
  }
  if (name == "RENAME_KEY") {
    // The member keeps its place; another member of the new name gives way.
    const std::string renamed = key(1);
    if (found == members.end() || renamed == k)
      return {};
    found->first = renamed;
    for (auto other = members.begin(); other != members.end(); ++other) {
      if (other != found && other->first == renamed) {
        members.erase(other);
        break;
      }
    }
    return {};
  }
  return {};
}

JsonOutcome RunArray(const std::string& name, Node& self, const std::vector<JsonArgument>& args,
                     const Session& session) {
  auto& items = self.items;
  if (name == "APPEND" || name == "APPEND_NULL") {
    items.push_back(name == "APPEND" ? NodeOfArgument(args[0], session) : std::make_shared<Node>());
    return {};
  }
  long long position = 0;
  const bool valid = PositionOf(args[0].value, position);
  if (name == "PUT" || name == "PUT_NULL") {
    if (!valid || position < 0)
      throw MakeError(40572, "Invalid JSON array position.");
    NodePtr value = name == "PUT" ? NodeOfArgument(args[1], session) : std::make_shared<Node>();
    const size_t overwriteArg = name == "PUT" ? 2 : 1;
    const bool overwrite = args.size() > overwriteArg && !args[overwriteArg].value.IsNull() &&
                           args[overwriteArg].value.kind() == PlValue::Kind::Boolean &&
                           args[overwriteArg].value.boolean();
    const auto at = static_cast<size_t>(position);
    if (at >= items.size())
      items.push_back(std::move(value));
    else if (overwrite)
      items[at] = std::move(value);
    else
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
    return {};
  }
  if (name == "REMOVE") {
    if (valid && position >= 0 && static_cast<size_t>(position) < items.size())
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
    return {};
  }
  return {};
}

// GET and its typed forms, and GET_TYPE, of a member or element.
JsonOutcome RunGet(const JsonMethod& method, Node& self, const std::vector<JsonArgument>& args,
                   const Session& session) {
  NodePtr value;
  const bool array = self.kind == Node::Kind::Array;
  if (array) {
    long long position = 0;
    if (PositionOf(args[0].value, position) && position >= 0 &&
        static_cast<size_t>(position) < self.items.size())
      value = self.items[static_cast<size_t>(position)];
  } else if (!args[0].value.IsNull()) {
    value = self.Member(TextOf(args[0].value, session));
  }
  if (!value)
    return Missing(self, array);
  if (std::string(method.name) == "GET_TYPE")
    return Result(PlValue::Text(TypeName(*value)));
  if (std::string(method.name) == "GET_CLOB" && value->IsContainer())
    return Result(PlValue::Text(Serialize(*value)));
  return Convert(self, value, method.result);
}

JsonOutcome RunMember(const JsonMethod& method, const NodePtr& selfPtr,
                      const std::vector<JsonArgument>& args, const Session& session) {
  Node& self = *selfPtr;
  const std::string name = method.name;
  using K = Node::Kind;
  if (name == "TO_STRING" || name == "STRINGIFY" || name == "TO_CLOB" || name == "TO_BLOB")
    return Result(PlValue::Text(Serialize(self)));
  if (name.rfind("IS_", 0) == 0) {
    const K k = self.kind;
    const bool answer = name == "IS_OBJECT"    ? k == K::Object
                        : name == "IS_ARRAY"   ? k == K::Array
                        : name == "IS_SCALAR"  ? !self.IsContainer()
                        : name == "IS_STRING"  ? k == K::String
                        : name == "IS_NUMBER"  ? k == K::Number
                        : name == "IS_BOOLEAN" ? k == K::Boolean
                        : name == "IS_TRUE"    ? k == K::Boolean && self.boolean
                        : name == "IS_FALSE"   ? k == K::Boolean && !self.boolean
                        : name == "IS_NULL"    ? k == K::Null
                        : name == "IS_DATE"    ? k == K::Date
                                               : k == K::Timestamp;
    return Result(PlValue::Boolean(answer));
  }
  if (name == "GET_SIZE") {
    const size_t size = self.kind == K::Object  ? self.members.size()
                        : self.kind == K::Array ? self.items.size()
                                                : 1;
    return Result(PlValue::Number(static_cast<long double>(size)));
  }
  if (name == "ON_ERROR") {
    const PlValue& level = args[0].value;
    const long double n = level.IsNull() ? -1 : NumberOf(level);
    if (n != std::trunc(n) || n < 0 || n > 4)
      throw ValueError("numeric or value error");
    self.onError = static_cast<int>(n);
    return {};
  }
  if (name == "CLONE")
    return Result(Clone(self));
  if (name.rfind("TO_", 0) == 0)
    return self.IsContainer() ? Mismatch(self) : Convert(self, selfPtr, method.result);
  if (name.rfind("GET", 0) == 0 && name != "GET_KEYS")
    return RunGet(method, self, args, session);
  if (self.kind == K::Array)
    return RunArray(name, self, args, session);
  return RunObject(name, self, args, session);
}

}  // namespace

bool IsoTimestamp(const std::string& text, std::string& iso) {
  // YYYY-MM-DD, then optionally [T ]HH:MI:SS[.fff...][Z]
  if (!Digits(text, 0, 4) || text.size() < 10 || text[4] != '-' || !Digits(text, 5, 2) ||
      text[7] != '-' || !Digits(text, 8, 2))
    return false;
  std::string time = "00:00:00";
  std::string fraction;
  size_t at = 10;
  if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
    if (!Digits(text, at + 1, 2) || text.size() < at + 9 || text[at + 3] != ':' ||
        !Digits(text, at + 4, 2) || text[at + 6] != ':' || !Digits(text, at + 7, 2))
      return false;
    time = text.substr(at + 1, 8);
    at += 9;
    if (at < text.size() && text[at] == '.') {
      const size_t start = ++at;
      while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;
      fraction = text.substr(start, at - start);
      if (fraction.empty() || fraction.size() > 9)
        return false;
    }
  }
  if (at < text.size() && text[at] == 'Z')
    ++at;
  if (at != text.size() || !ValidDateTime(text.substr(0, 10), time))
    return false;
  iso = text.substr(0, 10) + "T" + time + (fraction.empty() ? "" : "." + fraction);
  return true;
}

JsonOutcome RunJsonMethod(const JsonMethod& method, JsonKind own, const NodePtr& self,
                          const std::vector<JsonArgument>& args, const Session& session) {
  if (method.isStatic)
    return RunStatic(method, own, args, session);
  if (!self)
    throw NullSelf();
  return RunMember(method, self, args, session);
}

}  // namespace sandbox::plsql::json
