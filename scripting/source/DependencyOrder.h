// DependencyOrder: objects put in an order in which each comes after the
// objects it depends on, so that a replay compiles every one of them. Ties
// keep the order given (the kind's order, then the name), so that the same
// schema always gives the same script. A cycle cannot be ordered: the first
// object of it in the given order is written first, the cycle is reported and
// the objects it needs that are not yet written are named, so that a kind
// that has forward declarations (types) can declare them.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

// An object of one schema as the dictionary names it.
struct ObjectKey {
  std::string type;  // "VIEW", "PACKAGE", "TYPE" ...
  std::string name;

  bool operator==(const ObjectKey&) const = default;
};

// dependent needs referenced, both in the same schema.
struct ObjectDependency {
  ObjectKey dependent;
  ObjectKey referenced;
};

struct DependencyOrder {
  // Indexes into the objects given, each once.
  std::vector<std::size_t> order;
  // Each cycle found, its objects in dependency order.
  std::vector<std::vector<std::size_t>> cycles;
  // Objects that are needed before they could be written, in the order given.
  std::vector<std::size_t> neededEarly;
};

// objects ordered by dependencies; dependencies on objects outside the list
// and of an object on itself are ignored.
DependencyOrder OrderByDependencies(const std::vector<ObjectKey>& objects,
                                    const std::vector<ObjectDependency>& dependencies);

// Indexes of the objects that need an object of type, directly or through
// any chain of dependencies (a view over a view over a materialized view).
std::set<std::size_t> ObjectsNeedingType(const std::vector<ObjectKey>& objects,
                                         const std::vector<ObjectDependency>& dependencies,
                                         const std::string& type);
