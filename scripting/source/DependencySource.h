// DependencySource: what the objects of one schema need of each other, as the
// server records it, for ordering stored code, views and types.
#pragma once

#include <string>
#include <vector>

#include "scripting/source/DependencyOrder.h"

// What ReadDependencies adds to the dependencies the server records.
struct DependencyKinds {
  // Each subtype's need of its supertype.
  bool supertypes = false;
  // The order in which a replay creates triggers without firing system
  // triggers: a system trigger comes after the table triggers, one that
  // fires on SERVERERROR after the other system triggers, and one that fires
  // on CREATE after every other trigger, as if it needed them.
  bool triggerFiring = false;
  // What uses a materialized view, as needing {"MATERIALIZED VIEW", name}:
  // the server records the use of its container table.
  bool materializedViews = false;
};

class DependencySource {
 public:
  virtual ~DependencySource() = default;

  // The dependencies among owner's objects into dependencies, with those of
  // kinds. Returns "" or what could not be read; what could be read is kept
  // either way.
  virtual std::string ReadDependencies(const std::string& owner, const DependencyKinds& kinds,
                                       std::vector<ObjectDependency>& dependencies) = 0;
};
