#include "sandbox/plsql/json/JsonTree.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "sandbox/server/values/Utf8.h"

namespace sandbox::plsql::json {

namespace {

// Deeper documents are refused rather than risking the stack.
constexpr int kMaxDepth = 500;
// Longer decimal forms are written with an exponent, as Oracle's number text is.
constexpr long long kMaxPlainDigits = 40;
// Oracle's numbers run from 1E-130 to below 1E+126.
constexpr long long kMaxPoint = 126;
constexpr long long kMinPoint = -129;

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  NodePtr ReadDocument() {
    NodePtr node = Read(0);
    SkipBlanks();
    return node && pos_ == text_.size() ? node : nullptr;
  }

 private:
  NodePtr Read(int depth) {
    if (depth > kMaxDepth)
      return nullptr;
    SkipBlanks();
    if (pos_ >= text_.size())
      return nullptr;
    const char c = text_[pos_];
    if (c == '"' || c == '\'') {
      auto node = std::make_shared<Node>(Node::Kind::String);
      return ReadString(node->text) ? node : nullptr;
    }
    if (c == '{' || c == '[')
      return ReadContainer(c == '[', depth);
    for (const char* word : {"null", "true", "false"}) {
      const std::string w = word;
      if (MatchWord(w)) {
        pos_ += w.size();
        return w == "null" ? std::make_shared<Node>() : MakeBoolean(w == "true");
      }
    }
    const size_t start = pos_;
    while (pos_ < text_.size() &&
           std::string("+-.0123456789eE").find(text_[pos_]) != std::string::npos)
      ++pos_;
    std::string number = CanonicalNumber(text_.substr(start, pos_ - start));
    if (number.empty())
      return nullptr;
    return MakeScalar(Node::Kind::Number, std::move(number));
  }

  NodePtr ReadContainer(bool array, int depth) {
    auto node = std::make_shared<Node>(array ? Node::Kind::Array : Node::Kind::Object);
    ++pos_;
    SkipBlanks();
    if (Accept(array ? ']' : '}'))
      return node;
    do {
      if (array) {
        NodePtr item = Read(depth + 1);
        if (!item)
          return nullptr;
        node->items.push_back(std::move(item));
        continue;
      }
      std::string key;
      SkipBlanks();
      if (!ReadKey(key) || (SkipBlanks(), !Accept(':')))
        return nullptr;
      NodePtr value = Read(depth + 1);
      if (!value)
        return nullptr;
      node->PutMember(key, std::move(value));
    } while ((SkipBlanks(), Accept(',')));
    SkipBlanks();
    return Accept(array ? ']' : '}') ? node : nullptr;
  }

  // A quoted key, or (lax) one of letters, digits, "_" and "$".
  bool ReadKey(std::string& key) {
    if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\''))
      return ReadString(key);
    const size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_]))
      ++pos_;
    key = text_.substr(start, pos_ - start);
    return !key.empty() && !std::isdigit(static_cast<unsigned char>(key[0]));
  }

  // Literals in any case, as the lax syntax allows, but not a longer name.
  bool MatchWord(const std::string& word) const {
    if (pos_ + word.size() > text_.size())
      return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != word[i])
        return false;
    }
    return pos_ + word.size() == text_.size() || !IsNameChar(text_[pos_ + word.size()]);
  }

  bool ReadString(std::string& out) {
    const char quote = text_[pos_++];
    while (pos_ < text_.size() && text_[pos_] != quote) {
      char c = text_[pos_++];
      if (static_cast<unsigned char>(c) < 0x20)
        return false;  // control characters must be escaped
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
        case '"':
        case '\'':
        case '\\':
        case '/':
          out += c;
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
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          return false;
      }
    }
    return Accept(quote);
  }

  bool ReadHex(unsigned& code) {
    if (pos_ + 4 > text_.size())
      return false;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      if (!std::isxdigit(static_cast<unsigned char>(c)))
        return false;
      code = code * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                   ? c - '0'
                                                   : std::tolower(c) - 'a' + 10);
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
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void WriteScalar(const Node& node, std::string& out) {
  switch (node.kind) {
    case Node::Kind::Null:
      out += "null";
      return;
    case Node::Kind::Boolean:
      out += node.boolean ? "true" : "false";
      return;
    case Node::Kind::Number:
      out += node.text;
      return;
    default:
      WriteString(node.text, out);
  }
}

}  // namespace

Node::~Node() {
  std::vector<NodePtr> pending;
  const auto detach = [&pending](Node& n) {
    for (NodePtr& item : n.items)
      pending.push_back(std::move(item));
    for (auto& member : n.members)
      pending.push_back(std::move(member.second));
    n.items.clear();
    n.members.clear();
  };
  detach(*this);
  while (!pending.empty()) {
    NodePtr next = std::move(pending.back());
    pending.pop_back();
    if (next && next.use_count() == 1)
      detach(*next);  // its destructor then finds nothing left to free
  }
}

NodePtr Node::Member(const std::string& key) const {
  for (const auto& [name, value] : members) {
    if (name == key)
      return value;
  }
  return nullptr;
}

void Node::PutMember(const std::string& key, NodePtr value) {
  for (auto& [name, old] : members) {
    if (name == key) {
      old = std::move(value);
      return;
    }
  }
  members.emplace_back(key, std::move(value));
}

NodePtr MakeScalar(Node::Kind kind, std::string text) {
  auto node = std::make_shared<Node>(kind);
  node->text = std::move(text);
  return node;
}

NodePtr MakeBoolean(bool value) {
  auto node = std::make_shared<Node>(Node::Kind::Boolean);
  node->boolean = value;
  return node;
}

NodePtr Parse(const std::string& text) {
  return Reader(text).ReadDocument();
}

std::string Serialize(const Node& node) {
  std::string out;
  struct Frame {
    const Node* node;
    size_t next;
  };
  std::vector<Frame> stack;
  const auto enter = [&](const Node& n) {
    if (!n.IsContainer()) {
      WriteScalar(n, out);
      return;
    }
    out += n.kind == Node::Kind::Array ? '[' : '{';
    stack.push_back({&n, 0});
  };
  enter(node);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const Node& container = *frame.node;
    const bool array = container.kind == Node::Kind::Array;
    const size_t size = array ? container.items.size() : container.members.size();
    if (frame.next == size) {
      out += array ? ']' : '}';
      stack.pop_back();
      continue;
    }
    const size_t i = frame.next++;
    if (i > 0)
      out += ',';
    if (!array) {
      WriteString(container.members[i].first, out);
      out += ':';
    }
    enter(array ? *container.items[i] : *container.members[i].second);
  }
  return out;
}

NodePtr Clone(const Node& node) {
  const auto copyOne = [](const Node& from) {
    auto to = std::make_shared<Node>(from.kind);
    to->text = from.text;
    to->boolean = from.boolean;
    to->onError = from.onError;
    return to;
  };
  NodePtr root = copyOne(node);
  std::vector<std::pair<const Node*, Node*>> pending{{&node, root.get()}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    for (const NodePtr& item : from->items) {
      to->items.push_back(copyOne(*item));
      pending.emplace_back(item.get(), to->items.back().get());
    }
    for (const auto& [key, value] : from->members) {
      to->members.emplace_back(key, copyOne(*value));
      pending.emplace_back(value.get(), to->members.back().second.get());
    }
  }
  return root;
}

std::string CanonicalNumber(const std::string& text) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+'))
    ++i;
  std::string digits;
  long long exponent = 0;
  bool sawDigit = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    digits += text[i];
    sawDigit = true;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      digits += text[i];
      --exponent;
      sawDigit = true;
    }
  }
  if (!sawDigit)
    return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    const bool down = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
      ++i;
    long long power = 0;
    bool sawPower = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      if (power < 1000000)  // far beyond any number Oracle holds; no overflow
        power = power * 10 + (text[i] - '0');
      sawPower = true;
    }
    if (!sawPower)
      return {};
    exponent += down ? -power : power;
  }
  if (i != text.size())
    return {};
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos)
    return "0";
  digits.erase(0, first);
  const size_t last = digits.find_last_not_of('0');
  exponent += static_cast<long long>(digits.size() - last - 1);
  digits.erase(last + 1);
  const auto count = static_cast<long long>(digits.size());
  const long long point = count + exponent;  // digits before the decimal point
  if (point > kMaxPoint || point < kMinPoint)
    return {};  // beyond what an Oracle number holds
  std::string out = negative ? "-" : "";
  if (point > kMaxPlainDigits || point < -kMaxPlainDigits + count) {
    out += digits.substr(0, 1);
    if (count > 1)
      out += "." + digits.substr(1);
    out += "E" + std::string(point - 1 >= 0 ? "+" : "-") + std::to_string(std::llabs(point - 1));
  } else if (exponent >= 0) {
    out += digits + std::string(static_cast<size_t>(exponent), '0');
  } else if (point > 0) {
    out += digits.substr(0, static_cast<size_t>(point)) + "." +
           digits.substr(static_cast<size_t>(point));
  } else {
    out += "0." + std::string(static_cast<size_t>(-point), '0') + digits;
  }
  return out;
}

}  // namespace sandbox::plsql::json
