// UnscriptedObjects: the objects a run could not script. A report that
// silently lacks objects is the worst result a run can have, so every phase
// notes here what it had to leave out, and the run ends by saying so: a
// summary in the report, and (headless) a message and exit status 5.
//
// How a phase uses it: whenever an object that should be in the report is
// not, for any reason other than the user's own choice (an error block, a
// generator that failed or printed nothing where it must print something, a
// connection lost again after the one silent reconnect), call once
//
//     engine.Unscripted().Add("TABLE", name, reason);
//
// kind is the object kind in upper case as the dictionary spells it ("TABLE",
// "INDEX", "CONSTRAINT", "SEQUENCE", "PACKAGE BODY", "TABLE DATA", ...); name
// is the object's name (for the indexes or constraints of a table, the
// table's name); reason is a short text, usually the server's error message.
// The run driver empties the record when a run starts and writes the summary
// before the run's closing line. Safe to use from any thread.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

struct UnscriptedObject {
  std::string Kind;
  std::string Name;
  std::string Reason;
};

class UnscriptedObjects {
 public:
  void Clear();
  // Line breaks and surrounding blanks in reason are folded into single blanks.
  void Add(const std::string& kind, const std::string& name, const std::string& reason);

  std::size_t Count() const;
  std::vector<UnscriptedObject> Objects() const;

  // "N objects could not be scripted:" and one "KIND NAME: reason" line per
  // object, each line led by linePrefix and ended by lineEnd; empty when the
  // run lacks nothing.
  std::string Summary(const std::string& linePrefix, const std::string& lineEnd) const;

 private:
  mutable std::mutex mutex_;
  std::vector<UnscriptedObject> objects_;
};
