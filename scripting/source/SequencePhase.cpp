// The sequence phase of a scripting run.
#include "scripting/source/SequencePhase.h"

#include <utility>
#include <vector>

#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "scripting/source/DictionaryQuery.h"
#include "scripting/source/OracleNames.h"
#include "scripting/source/PhaseWriter.h"
#include "scripting/tables/ServerRelease.h"

namespace {

// Names are up to 128 bytes; the clauses after the name fit in 400.
constexpr int NameWidth = 128;
constexpr int ClausesWidth = 400;
// The progress bar cycles through 0 .. 99 while statements are written.
constexpr int ProgressCycle = 100;

}  // namespace

SequencePhase::SequencePhase(const RunSettings& settings, RunFlags& flags, RunControl& control,
                             PhaseWriter& writer, OracleSession& session, std::string owner)
    : settings_(settings),
      flags_(flags),
      control_(control),
      writer_(writer),
      session_(session),
      owner_(std::move(owner)) {}

std::string SequencePhase::Query(bool ignoreLastValue, int release) {
  // A bound is left to the server only when it is the default of the
  // sequence's direction on this release: the defaults grew with release 12,
  // and a bound written as NOMAXVALUE would take the target's default.
  const bool current = ReleaseHas(release, 120);
  const std::string defaultMax =
      current ? "9999999999999999999999999999" : "999999999999999999999999999";
  const std::string defaultMin =
      current ? "-9999999999999999999999999999" : "-99999999999999999999999999";
  // A sequence counting down starts at its maximum, as Oracle's default.
  return std::string("select sequence_name, ' INCREMENT BY '||increment_by||' START WITH '||") +
         (ignoreLastValue ? "decode(sign(increment_by), -1, max_value, min_value)"
                          : "last_number") +
         "||decode(sign(increment_by), 1, decode(max_value, " + defaultMax +
         ", ' NOMAXVALUE', ' MAXVALUE '||max_value), ' MAXVALUE '||max_value)"
         "||decode(sign(increment_by), -1, decode(min_value, " +
         defaultMin +
         ", ' NOMINVALUE', ' MINVALUE '||min_value), ' MINVALUE '||min_value)"
         "||decode(cycle_flag, 'N', ' NOCYCLE', ' CYCLE')"
         "||decode(cache_size, 0, ' NOCACHE', ' CACHE '||cache_size)"
         "||decode(order_flag, 'N', ' NOORDER;', ' ORDER;') "
         "from all_sequences where sequence_owner = :owner" +
         // An identity column's sequence comes with its table; scripted on
         // its own it would take a name the target's server may give to the
         // sequence of another identity column (ORA-00955).
         (ReleaseHas(release, dictionary_since::IdentityColumns)
              ? " and sequence_name not in (select sequence_name from all_tab_identity_cols "
                "where owner = :owner)"
              : "") +
         " order by sequence_name";
}

void SequencePhase::Run() {
  writer_.Announce("Sequences");
  writer_.SetProgressRange(0, ProgressCycle);
  writer_.SetProgressPosition(0);
  writer_.SetProgressStep(1);
  flags_.SkipRequested = 0;

  DictionaryQuery query(session_,
                        Query(settings_.IgnoreLastSequenceValue != 0, ServerRelease(session_)),
                        {NameWidth, ClausesWidth});
  query.Bind(":owner", owner_);
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  if (!query.ReadAll(rows, error)) {
    control_.StopIfStopped();
    writer_.ErrorBlock("processing sequences", error);
    writer_.NoteUnscripted("LIST OF SEQUENCES", owner_, error);
    return;
  }
  int position = 0;
  for (std::size_t next = 0;; ++next) {
    writer_.SetProgressPosition(position);
    position = (position + 1) % ProgressCycle;
    control_.CheckStop();
    if (flags_.SkipRequested != 0) {
      flags_.SkipRequested = 0;
      writer_.Notice("Sequences Skipped ...");
      break;
    }
    if (next == rows.size()) {
      break;
    }
    if (next == 0) {
      writer_.Banner("sequences", "The following statements will create the sequences");
    }
    writer_.Statement("CREATE SEQUENCE " + StatementName(rows[next][0]) + rows[next][1] + "\r\n");
    writer_.NoteScripted("SEQUENCE", rows[next][0]);
  }
  writer_.SetProgressPosition(ProgressCycle);
}
