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

}  // namespace

void UnscriptedObjects::Clear() {
  const std::lock_guard lock(mutex_);
  objects_.clear();
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

std::string UnscriptedObjects::Summary(const std::string& linePrefix,
                                       const std::string& lineEnd) const {
  const std::vector<UnscriptedObject> objects = Objects();
  if (objects.empty()) {
    return {};
  }
  std::string text = linePrefix + std::to_string(objects.size()) +
                     (objects.size() == 1 ? " object" : " objects") +
                     " could not be scripted:" + lineEnd;
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
