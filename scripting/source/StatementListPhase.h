// StatementListPhase: a phase that writes one statement for each row of one
// or more dictionary queries under one banner: the synonyms, database links,
// materialized views and their logs, and the grants the schema made. Each
// query binds the schema to ":owner"; its rows become statements through the
// query's own builder. A query that fails writes the error block and is noted
// as a lost list; the queries after it still run. Honours Pause and Stop
// before every row.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scripting/source/DictionaryQuery.h"

class OracleSession;
class PhaseWriter;
class RunControl;

// An object as ALL_OBJECTS names it.
struct ListedObject {
  std::string Type;
  std::string Name;
};

// What one row becomes: the statement text (with its line ends), the
// objects it creates (none for a grant or a comment, which are no objects of
// their own; two for a materialized view and its container table) and the
// objects outside the schema it needs but the report cannot make (the user a
// grant names), each with the reason it is needed.
struct ListedStatement {
  std::string Text;
  std::vector<ListedObject> Objects;
  std::vector<std::pair<ListedObject, std::string>> Needed = {};
};

struct StatementListQuery {
  std::string Sql;
  std::vector<int> ColumnWidths;
  std::function<ListedStatement(const DictionaryQuery::Row&)> Build;
  // When set, makes the rows that belong to one statement one row before
  // they are built (a log's filter columns come one row each).
  std::function<std::vector<DictionaryQuery::Row>(std::vector<DictionaryQuery::Row>)> Fold = {};
};

struct StatementList {
  std::string Subject;   // "Synonyms": status text and caption
  std::string Label;     // "synonyms": the banner's label
  std::string Sentence;  // the banner's sentence
  std::vector<StatementListQuery> Queries;
};

void RunStatementList(const StatementList& list, RunControl& control, PhaseWriter& writer,
                      OracleSession& session, const std::string& owner);
