// Writing the statements of a list of dictionary rows.
#include "scripting/source/StatementListPhase.h"

#include <algorithm>
#include <cctype>

#include "engine/RunControl.h"
#include "scripting/source/PhaseWriter.h"

namespace {

constexpr int ProgressCycle = 100;

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

}  // namespace

void RunStatementList(const StatementList& list, RunControl& control, PhaseWriter& writer,
                      OracleSession& session, const std::string& owner) {
  writer.Announce(list.Subject);
  writer.SetProgressRange(0, ProgressCycle);
  writer.SetProgressPosition(0);
  writer.SetProgressStep(1);
  bool bannerWritten = false;
  int position = 0;
  for (const StatementListQuery& listQuery : list.Queries) {
    DictionaryQuery query(session, listQuery.Sql, listQuery.ColumnWidths);
    query.Bind(":owner", owner);
    std::vector<DictionaryQuery::Row> rows;
    std::string error;
    if (!query.ReadAll(rows, error)) {
      control.StopIfStopped();
      writer.ErrorBlock("processing " + list.Label, error);
      writer.NoteUnscripted("LIST OF " + UpperCase(list.Label), owner, error);
      continue;
    }
    if (listQuery.Fold) {
      rows = listQuery.Fold(std::move(rows));
    }
    for (const DictionaryQuery::Row& row : rows) {
      writer.SetProgressPosition(position);
      position = (position + 1) % ProgressCycle;
      control.CheckStop();
      if (!bannerWritten) {
        writer.Banner(list.Label, list.Sentence);
        bannerWritten = true;
      }
      const ListedStatement statement = listQuery.Build(row);
      writer.Statement(statement.Text);
      for (const ListedObject& object : statement.Objects) {
        writer.NoteScripted(object.Type, object.Name);
      }
      for (const auto& [object, reason] : statement.Needed) {
        writer.NoteNeeded(object.Type, object.Name, reason);
      }
    }
  }
  writer.SetProgressPosition(ProgressCycle);
}
