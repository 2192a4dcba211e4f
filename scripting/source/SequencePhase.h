// SequencePhase: one CREATE SEQUENCE statement for every sequence of the
// schema, in name order, under one banner. The database composes each
// statement's clauses from all_sequences; the phase writes the name, quoted
// when it needs quotes. START WITH is the next value the sequence would hand
// out (its last number as the dictionary reports it, which already lies past
// every cached value) or, when the run ignores last values, the value it
// starts from by default: its minimum, or its maximum when it counts down.
// MAXVALUE and MINVALUE are written exactly unless they are the server's
// default for the direction and release.
// Honours Pause, Stop and Skip before every row.
#pragma once

#include <string>

class OracleSession;
class RunControl;
class PhaseWriter;
struct RunFlags;
struct RunSettings;

class SequencePhase {
 public:
  SequencePhase(const RunSettings& settings, RunFlags& flags, RunControl& control,
                PhaseWriter& writer, OracleSession& session, std::string owner);

  void Run();

  // The query of the sequences of the owner bound to ":owner": column 1 the
  // sequence name, column 2 the statement after it, for a server of release
  // (as ServerRelease gives it).
  static std::string Query(bool ignoreLastValue, int release);

 private:
  const RunSettings& settings_;
  RunFlags& flags_;
  RunControl& control_;
  PhaseWriter& writer_;
  OracleSession& session_;
  std::string owner_;
};
