// DictionaryDependencies: the dependencies among one schema's objects from
// all_dependencies, each type's supertype from all_types (a subtype can only
// be created after its supertype), and the creation order of triggers that
// fires no system trigger, from all_triggers. A server without one of these views
// answers what the other holds and names the one it lacks.
#pragma once

#include "scripting/source/DependencySource.h"

class OracleSession;

class DictionaryDependencies final : public DependencySource {
 public:
  explicit DictionaryDependencies(OracleSession& session) : session_(session) {}

  std::string ReadDependencies(const std::string& owner, const DependencyKinds& kinds,
                               std::vector<ObjectDependency>& dependencies) override;

 private:
  OracleSession& session_;
};
