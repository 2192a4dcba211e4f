// The in-memory JSON documents that PL/SQL's JSON object types point at:
// parsed from text (with the lax syntax Oracle accepts), changed in place,
// and written back as Oracle writes them (members in the order they were
// put, numbers in their canonical decimal form, compact).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sandbox::plsql::json {

struct Node;
using NodePtr = std::shared_ptr<Node>;

struct Node {
  // Date and Timestamp are values put from PL/SQL, written as ISO 8601 text.
  enum class Kind { Null, Boolean, Number, String, Date, Timestamp, Object, Array };

  Node() = default;
  explicit Node(Kind k) : kind(k) {}
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  // Frees a deep document without recursing once per level.
  ~Node();

  Kind kind = Kind::Null;
  // Number: canonical decimal text; String: the text unescaped; Date
  // "YYYY-MM-DDTHH24:MI:SS"; Timestamp the same with fractional seconds.
  std::string text;
  bool boolean = false;
  std::vector<NodePtr> items;                            // Array
  std::vector<std::pair<std::string, NodePtr>> members;  // Object, in order
  // ON_ERROR's level for this instance: 0 answers NULL where a value is
  // missing or does not convert, 1 raises every error, 2 only for what is
  // missing, 3 only for what does not convert.
  int onError = 0;

  bool IsContainer() const { return kind == Kind::Object || kind == Kind::Array; }
  // The member's value; null when there is none.
  NodePtr Member(const std::string& key) const;
  // Replaces the member's value where it stands, or adds it at the end.
  void PutMember(const std::string& key, NodePtr value);
};

NodePtr MakeScalar(Node::Kind kind, std::string text);
NodePtr MakeBoolean(bool value);

// The document text holds; null when it is no JSON (or nests deeper than
// the parser allows).
NodePtr Parse(const std::string& text);
// Compact JSON text of node and everything in it.
std::string Serialize(const Node& node);
// A deep copy, which shares nothing with node.
NodePtr Clone(const Node& node);

// The canonical decimal text of a JSON number ("1.50" is "1.5", "1e3" is
// "1000", ".5" is "0.5"); empty when text is no number or one beyond the
// range of Oracle's numbers.
std::string CanonicalNumber(const std::string& text);

}  // namespace sandbox::plsql::json
