// INSERT, UPDATE and DELETE of a table that has triggers, run row by row as
// Oracle fires them: the statement's rows are found first (the rows an
// INSERT's VALUES or query gives, the rows an UPDATE or DELETE selects, with
// the values its SET expressions give), then BEFORE STATEMENT triggers fire,
// each row goes through its BEFORE ROW triggers, its change and its AFTER ROW
// triggers, and AFTER STATEMENT triggers fire last. The caller undoes the
// whole statement when this fails.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/TokenRanges.h"
#include "sandbox/server/triggers/TableTriggers.h"
#include "sandbox/server/triggers/TriggerFiring.h"

namespace sandbox {

class ServerSession;

// The table a DML statement changes, as written: false when the statement
// is not a single-table INSERT, UPDATE or DELETE this server reads.
bool FindDmlTarget(const std::vector<SqlToken>& tokens, std::string& schema, std::string& name);

class TriggeredDml {
 public:
  TriggeredDml(ServerSession& session, const TableTriggers& table, const std::string& sql,
               const std::vector<SqlToken>& tokens, const BindSet& binds);
  bool Run(std::uint64_t& rowsProcessed, OraError& error);

 private:
  // The parts of the statement, as token ranges.
  struct Parts {
    DmlEvent event = DmlEvent::Insert;
    TokenRange target;                 // the table and its alias
    std::vector<std::string> columns;  // INSERT's list, UPDATE's SET columns
    std::vector<std::string> values;   // INSERT VALUES items, SET expressions
    TokenRange query{0, 0};            // INSERT's subquery
    TokenRange where{0, 0};            // UPDATE's and DELETE's condition
    TokenRange from{0, 0};             // UPDATE ... FROM (of MERGE): the other tables
  };
  bool ReadParts(OraError& error);
  bool ReadInsert(std::size_t at, OraError& error);
  bool ReadUpdate(std::size_t at, OraError& error);
  bool ReadTupleAssignment(TokenRange item, OraError& error);
  // The column token of [alias.]column.
  std::size_t ColumnOf(TokenRange item) const;
  bool AddSetColumn(std::size_t name, OraError& error);
  std::size_t SkipTarget(std::size_t at) const;
  std::string Text(TokenRange range) const;

  // The rows the statement works on, read whole before any changes.
  bool ReadRows(const std::string& query, std::vector<std::vector<Value>>& rows, OraError& error);
  bool FindRows(std::vector<std::vector<Value>>& rows, OraError& error);
  // A row as FindRows read it, as the triggers see it: given marks the
  // columns the statement sets, rowNumber is the table row's.
  bool ReadRow(const std::vector<Value>& found, TriggerRow& row, std::vector<bool>& given,
               std::int64_t& rowNumber, OraError& error);
  // The table's defaults for the columns an INSERT leaves out, into row.
  bool ApplyDefaults(TriggerRow& row, const std::vector<bool>& given, OraError& error);
  bool ChangeRow(TriggerRow& row, const std::vector<bool>& given, std::int64_t rowNumber,
                 OraError& error);
  bool Step(const std::string& sql, const std::vector<Value>& values, OraError& error);
  int ColumnIndex(const std::string& name) const;
  // A column the statement may write: ORA-00904 for none, ifVirtual for a
  // virtual one.
  bool CheckColumn(const std::string& column, const OraError& ifVirtual, OraError& error) const;

  ServerSession& session_;
  const TableTriggers& table_;
  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
  const BindSet& binds_;
  Parts parts_;
  std::map<std::string, SqliteStatement> statements_;  // per-row changes by text
};

}  // namespace sandbox
