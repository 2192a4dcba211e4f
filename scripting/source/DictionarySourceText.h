// DictionarySourceText: the definitions of stored source objects read from
// the data dictionary of a session. Stored units and triggers come from
// all_source byte for byte; a view is rebuilt from its columns in
// all_tab_columns and its query text in all_views; a trigger that all_source
// does not hold (old releases) from its description, WHEN condition and body
// in all_triggers, where also its status comes from. Names
// are bound as the dictionary spells them, so lower-case and mixed-case names
// are found. A connection lost while an object is read is logged on again once
// and the object read again.
#pragma once

#include <functional>
#include <string>

#include "scripting/source/SourceTextSource.h"

class OracleSession;
class OracleStatement;

class DictionarySourceText final : public SourceTextSource {
 public:
  // Source lines per fetch and the size of each line's buffer.
  static constexpr int LinesPerFetch = 20;
  static constexpr int LineBufferSize = 4020;
  // Longest column name of current releases.
  static constexpr int MaxNameLength = 128;

  // stepProgress (may be empty) is called once per fetched batch of source
  // lines or view columns.
  DictionarySourceText(OracleSession& session, std::function<void()> stepProgress);

  std::string FetchSourceText(const std::string& owner, const std::string& name,
                              const std::string& dictionaryType,
                              SourceDefinition& definition) override;

 private:
  std::string FetchDefinition(const std::string& owner, const std::string& name,
                              const std::string& type, SourceDefinition& definition);
  std::string FetchStoredUnit(const std::string& owner, const std::string& name,
                              const std::string& type, std::string& text);
  std::string FetchView(const std::string& owner, const std::string& name, std::string& text);
  // " OF type WITH OBJECT IDENTIFIER ..." of an object view; empty for
  // another view and on releases without object views.
  std::string FetchObjectViewClause(const std::string& owner, const std::string& name,
                                    std::string& clause);
  std::string FetchTrigger(const std::string& owner, const std::string& name,
                           SourceDefinition& definition);
  // Runs statement (binds and defines done) and passes each row of each batch
  // to onRow(row); returns the error text, "" when it ran to its end.
  std::string FetchRows(OracleStatement& statement, const std::function<void(int)>& onRow);
  // The LONG value of sql for owner and name into value; the error text.
  std::string FetchLong(const std::string& sql, const std::string& owner, const std::string& name,
                        std::string& value);
  // The text of the last error, "" for no rows; keeps its code.
  std::string ErrorOfFailure();

  OracleSession& session_;
  std::function<void()> stepProgress_;
  int lastErrorCode_ = 0;
};
