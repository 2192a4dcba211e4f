// DependencySource: what the objects of one schema need of each other, as the
// server records it, for ordering stored code, views and types.
#pragma once

#include <string>
#include <vector>

#include "scripting/source/DependencyOrder.h"

class DependencySource {
 public:
  virtual ~DependencySource() = default;

  // The dependencies among owner's objects into dependencies, with each
  // subtype's need of its supertype when withSupertypes. Returns "" or what
  // could not be read; what could be read is kept either way.
  virtual std::string ReadDependencies(const std::string& owner, bool withSupertypes,
                                       std::vector<ObjectDependency>& dependencies) = 0;
};
