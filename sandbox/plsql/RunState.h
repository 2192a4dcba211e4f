// The run-time state of declarations: the values of variables and the
// cursors of one scope. A block's scope lives while the block runs; a
// package's lives as long as the session.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct Collection;
namespace json {
struct Node;
}

// A collection held by value: copying a variable copies its elements, as
// assigning one collection to another does in PL/SQL.
class CollectionBox {
 public:
  CollectionBox() = default;
  CollectionBox(const CollectionBox& other);
  CollectionBox& operator=(const CollectionBox& other);
  CollectionBox(CollectionBox&&) noexcept = default;
  CollectionBox& operator=(CollectionBox&&) noexcept = default;
  ~CollectionBox();

  Collection* get() const { return collection_.get(); }
  void Reset(std::unique_ptr<Collection> collection);

 private:
  std::unique_ptr<Collection> collection_;
};

struct CursorState {
  std::unique_ptr<Cursor> cursor;
  bool isOpen = false;
  long long rowCount = 0;
  int lastFetch = -1;  // -1 none yet, 0 no row, 1 a row
};

struct Variable {
  PlValue value;
  // A cursor variable's cursor, shared by the variables assigned from it as
  // PL/SQL cursor variables point at one work area; null until opened.
  std::shared_ptr<CursorState> cursor;
  std::vector<Variable> fields;  // records; an object without fields is atomically NULL
  CollectionBox collection;      // collections; empty while a nested table or varray is null
  // A JSON object type's value: the document it points at, shared by the
  // variables assigned from it; null for a NULL instance.
  std::shared_ptr<json::Node> json;
  // An object's own type ("OWNER.NAME") when PL/SQL constructed it, so that a
  // variable of a supertype runs its methods' overrides; empty otherwise.
  std::string objectType;
};

// An element's index: a whole number, or text for INDEX BY VARCHAR2.
struct CollectionKey {
  long long number = 0;
  std::string text;
  bool operator<(const CollectionKey& other) const {
    return number != other.number ? number < other.number : text < other.text;
  }
};

struct Collection {
  std::map<CollectionKey, Variable> elements;
  // Nested tables and varrays: the slots from 1 that EXTEND made, deleted
  // elements included.
  long long size = 0;
};

struct Scope {
  std::map<const VarDecl*, Variable> variables;
  std::map<const CursorDecl*, CursorState> cursors;
};

// A compound trigger's declarations as its timing sections share them: they
// are made at the first section that runs and last for one triggering
// statement.
struct TriggerState {
  Scope scope;
  bool declared = false;
};

}  // namespace sandbox::plsql
