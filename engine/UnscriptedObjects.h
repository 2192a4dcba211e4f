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
//
// The record also serves the coverage check at the end of a run: phases note
// each object they wrote with NoteScripted, and the check adds with
// AddUncovered what the schema holds but the report does not (a kind the tool
// does not script, or an object no phase wrote). Those are listed in a second
// part of the summary and leave the report complete for what it covers.
//
// Last, AddNeeded records what the report makes outside the schema: the
// users and roles its grants go to, which belong to the database. The
// summary's third part names them for the DBA.
#pragma once

#include <cstddef>
#include <mutex>
#include <set>
#include <string>
#include <utility>
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

  // An object of the schema the run has written (kind as the dictionary's
  // OBJECT_TYPE spells it).
  void NoteScripted(const std::string& kind, const std::string& name);
  // True when the object was written, or was added as unscripted.
  bool IsAccountedFor(const std::string& kind, const std::string& name) const;
  // An object the report does not hold though nothing failed.
  void AddUncovered(const std::string& kind, const std::string& name, const std::string& reason);
  std::size_t UncoveredCount() const;
  std::vector<UnscriptedObject> Uncovered() const;
  // An object outside the schema that the report creates for its grants;
  // noted once however many statements need it.
  void AddNeeded(const std::string& kind, const std::string& name, const std::string& reason);
  std::vector<UnscriptedObject> Needed() const;

  // "N objects could not be scripted:" and one "KIND NAME: reason" line per
  // object, then "N objects were not scripted because the tool does not
  // script their kind:" and one "KIND NAME: reason" line per uncovered
  // object, then "N objects outside the schema are created by the report for
  // its grants:" and their lines, each line led by linePrefix and ended by
  // lineEnd; empty when the run lacks and needs nothing.
  std::string Summary(const std::string& linePrefix, const std::string& lineEnd) const;

 private:
  mutable std::mutex mutex_;
  std::vector<UnscriptedObject> objects_;
  std::vector<UnscriptedObject> uncovered_;
  std::vector<UnscriptedObject> needed_;
  std::set<std::pair<std::string, std::string>> scripted_;
};
