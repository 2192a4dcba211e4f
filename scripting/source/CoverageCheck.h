// CoverageCheck: the last step of a scripting run. It reads the schema's
// objects from all_objects and adds to the run's record every object that
// the report does not hold although nothing failed: objects of a kind the
// tool does not script at all (JAVA SOURCE, DIMENSION, QUEUE, ...), and
// objects of a chosen kind that no phase wrote. Objects the user excluded,
// kinds the user did not choose, parts of other objects (partitions, LOB
// segments, indexes, which come with their tables) and names the server
// generated are not listed.
#pragma once

#include <set>
#include <string>

class OracleSession;
class PhaseWriter;
class UnscriptedObjects;
struct RunSettings;

class CoverageCheck {
 public:
  CoverageCheck(const RunSettings& settings, PhaseWriter& writer, UnscriptedObjects& record,
                OracleSession& session, std::string owner);

  void Run();

  // What the check makes of an object of type: whether a chosen kind covers
  // it (so a phase must have written it), whether no kind of the tool covers
  // it, or neither (a part of another object, or a kind not chosen). A table
  // named in materializedViews is the container of that view; a table named
  // MLOG$_... the table of a materialized view log.
  enum class Coverage { Expected, Unsupported, NotListed };
  static Coverage CoverageOf(const RunSettings& settings, const std::string& type,
                             const std::string& name,
                             const std::set<std::string>& materializedViews);

 private:
  const RunSettings& settings_;
  PhaseWriter& writer_;
  UnscriptedObjects& record_;
  OracleSession& session_;
  std::string owner_;
};
