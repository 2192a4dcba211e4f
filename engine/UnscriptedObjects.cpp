// The record of objects a run could not script (see UnscriptedObjects.h).
#include "engine/UnscriptedObjects.h"

namespace {

// One line of text: server messages end in a line feed and may span lines.
std::string OneLine(const std::string& text) {
  std::string line;
  bool blank = false;
  for (char c : text) {
    if (c == '\r' || c == '\n' || c == '\t' || c == ' ') {
      blank = !line.empty();
      continue;
    }
    if (blank) {
      line += ' ';
      blank = false;
    }
    line += c;
  }
  return line;
}

// The heading line and one line per object.
// verbs holds the verb for one object and for more.
std::string ListText(const std::vector<UnscriptedObject>& objects,
                     const std::pair<const char*, const char*>& verbs, const std::string& heading,
                     const std::string& linePrefix, const std::string& lineEnd) {
  if (objects.empty()) {
    return {};
  }
  const bool one = objects.size() == 1;
  std::string text = linePrefix + std::to_string(objects.size()) +
                     (one ? " object " : " objects ") + (one ? verbs.first : verbs.second) +
                     heading + ":" + lineEnd;
  for (const UnscriptedObject& object : objects) {
    text += linePrefix + "  " + object.Kind;
    if (!object.Name.empty()) {
      text += " " + object.Name;
    }
    text += ": " + (object.Reason.empty() ? std::string("no reason was given") : object.Reason) +
            lineEnd;
  }
  return text;
}

}  // namespace

void UnscriptedObjects::Clear() {
  const std::lock_guard lock(mutex_);
  objects_.clear();
  uncovered_.clear();
  needed_.clear();
  scripted_.clear();
}

void UnscriptedObjects::Add(const std::string& kind, const std::string& name,
                            const std::string& reason) {
  const std::lock_guard lock(mutex_);
  objects_.push_back({kind, name, OneLine(reason)});
}

std::size_t UnscriptedObjects::Count() const {
  const std::lock_guard lock(mutex_);
  return objects_.size();
}

std::vector<UnscriptedObject> UnscriptedObjects::Objects() const {
  const std::lock_guard lock(mutex_);
  return objects_;
}

void UnscriptedObjects::NoteScripted(const std::string& kind, const std::string& name) {
  const std::lock_guard lock(mutex_);
  scripted_.emplace(kind, name);
}

bool UnscriptedObjects::IsAccountedFor(const std::string& kind, const std::string& name) const {
  const std::lock_guard lock(mutex_);
  if (scripted_.count({kind, name}) != 0) {
    return true;
  }
  for (const UnscriptedObject& object : objects_) {
    if (object.Kind == kind && object.Name == name) {
      return true;
    }
  }
  return false;
}

void UnscriptedObjects::AddUncovered(const std::string& kind, const std::string& name,
                                     const std::string& reason) {
  const std::lock_guard lock(mutex_);
  uncovered_.push_back({kind, name, OneLine(reason)});
}

std::size_t UnscriptedObjects::UncoveredCount() const {
  const std::lock_guard lock(mutex_);
  return uncovered_.size();
}

std::vector<UnscriptedObject> UnscriptedObjects::Uncovered() const {
  const std::lock_guard lock(mutex_);
  return uncovered_;
}

void UnscriptedObjects::AddNeeded(const std::string& kind, const std::string& name,
                                  const std::string& reason) {
  const std::lock_guard lock(mutex_);
  for (const UnscriptedObject& object : needed_) {
    if (object.Kind == kind && object.Name == name) {
      return;
    }
  }
  needed_.push_back({kind, name, OneLine(reason)});
}

std::vector<UnscriptedObject> UnscriptedObjects::Needed() const {
  const std::lock_guard lock(mutex_);
  return needed_;
}

std::string UnscriptedObjects::Summary(const std::string& linePrefix,
                                       const std::string& lineEnd) const {
  return ListText(Objects(), {"could", "could"}, " not be scripted", linePrefix, lineEnd) +
         ListText(Uncovered(), {"was", "were"},
                  " not scripted because the tool does not script their kind", linePrefix,
                  lineEnd) +
         ListText(Needed(), {"outside the schema is", "outside the schema are"},
                  " created by the report for its grants", linePrefix, lineEnd);
}
