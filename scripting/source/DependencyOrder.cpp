// Ordering objects by their dependencies.
#include "scripting/source/DependencyOrder.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

class Graph {
 public:
  Graph(const std::vector<ObjectKey>& objects, const std::vector<ObjectDependency>& dependencies)
      : needs_(objects.size()), neededBy_(objects.size()), missing_(objects.size(), 0) {
    std::map<std::pair<std::string, std::string>, std::size_t> index;
    for (std::size_t at = 0; at < objects.size(); ++at) {
      index.emplace(std::make_pair(objects[at].type, objects[at].name), at);
    }
    for (const ObjectDependency& dependency : dependencies) {
      const auto from = index.find({dependency.dependent.type, dependency.dependent.name});
      const auto to = index.find({dependency.referenced.type, dependency.referenced.name});
      if (from == index.end() || to == index.end() || from->second == to->second) {
        continue;
      }
      // The dictionary may list one dependency more than once.
      if (needs_[from->second].insert(to->second).second) {
        neededBy_[to->second].push_back(from->second);
        ++missing_[from->second];
      }
    }
  }

  DependencyOrder Order() {
    const std::size_t count = needs_.size();
    std::set<std::size_t> ready;
    for (std::size_t at = 0; at < count; ++at) {
      if (missing_[at] == 0) {
        ready.insert(at);
      }
    }
    std::vector<bool> written(count, false);
    std::set<std::size_t> neededEarly;
    DependencyOrder result;
    while (result.order.size() < count) {
      if (ready.empty()) {
        std::vector<std::size_t> cycle = CycleFrom(FirstUnwritten(written), written);
        const std::size_t first = *std::min_element(cycle.begin(), cycle.end());
        for (const std::size_t needed : needs_[first]) {
          if (!written[needed]) {
            neededEarly.insert(needed);
          }
        }
        result.cycles.push_back(std::move(cycle));
        ready.insert(first);
      }
      const std::size_t next = *ready.begin();
      ready.erase(ready.begin());
      written[next] = true;
      result.order.push_back(next);
      for (const std::size_t dependent : neededBy_[next]) {
        if (--missing_[dependent] == 0 && !written[dependent]) {
          ready.insert(dependent);
        }
      }
    }
    result.neededEarly.assign(neededEarly.begin(), neededEarly.end());
    return result;
  }

 private:
  static std::size_t FirstUnwritten(const std::vector<bool>& written) {
    return static_cast<std::size_t>(std::find(written.begin(), written.end(), false) -
                                    written.begin());
  }

  // Every unwritten object waits for another unwritten one, so following the
  // first of those from start must come back to an object already passed.
  std::vector<std::size_t> CycleFrom(std::size_t start, const std::vector<bool>& written) const {
    std::vector<std::size_t> path;
    std::map<std::size_t, std::size_t> positionInPath;
    std::size_t at = start;
    while (positionInPath.find(at) == positionInPath.end()) {
      positionInPath.emplace(at, path.size());
      path.push_back(at);
      for (const std::size_t needed : needs_[at]) {
        if (!written[needed]) {
          at = needed;
          break;
        }
      }
    }
    // path runs from dependents to what they need: reversed, it is the
    // order in which the cycle's objects would have to be created.
    std::vector<std::size_t> cycle(path.begin() + static_cast<std::ptrdiff_t>(positionInPath[at]),
                                   path.end());
    std::reverse(cycle.begin(), cycle.end());
    return cycle;
  }

  std::vector<std::set<std::size_t>> needs_;
  std::vector<std::vector<std::size_t>> neededBy_;
  std::vector<std::size_t> missing_;
};

}  // namespace

DependencyOrder OrderByDependencies(const std::vector<ObjectKey>& objects,
                                    const std::vector<ObjectDependency>& dependencies) {
  return Graph(objects, dependencies).Order();
}

std::set<std::size_t> ObjectsNeedingType(const std::vector<ObjectKey>& objects,
                                         const std::vector<ObjectDependency>& dependencies,
                                         const std::string& type) {
  std::set<std::pair<std::string, std::string>> needing;
  for (bool grew = true; grew;) {
    grew = false;
    for (const ObjectDependency& dependency : dependencies) {
      const ObjectKey& referenced = dependency.referenced;
      if ((referenced.type == type || needing.count({referenced.type, referenced.name}) != 0) &&
          needing.insert({dependency.dependent.type, dependency.dependent.name}).second) {
        grew = true;
      }
    }
  }
  std::set<std::size_t> found;
  for (std::size_t at = 0; at < objects.size(); ++at) {
    if (needing.count({objects[at].type, objects[at].name}) != 0) {
      found.insert(at);
    }
  }
  return found;
}
