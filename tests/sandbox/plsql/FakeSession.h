// A stand-in for the sandbox server's session in interpreter tests: tables it
// describes, queries it answers with canned rows (recording the binds they
// were opened with), statements it records, and the DBMS_OUTPUT state.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql::testing {

using Row = std::vector<Value>;

struct FakeQuery {
  std::vector<ColumnInfo> columns;
  // Rows for the binds the query is opened with.
  std::function<std::vector<Row>(const BindSet&)> rows;
};

class FakeSession : public Session {
 public:
  explicit FakeSession(std::string banner = "Oracle Database 19c Enterprise Edition");

  void AddTable(const std::string& name, std::vector<ColumnInfo> columns);
  void AddQuery(const std::string& sql, FakeQuery query);

  // SQL texts opened or executed, in order; describing opens count too.
  const std::vector<std::string>& Statements() const { return statements_; }
  // Bind values of the last query opened with the given text.
  std::map<std::string, Value> LastBinds(const std::string& sql) const;

  const std::string& UserName() const override { return user_; }
  const std::string& CurrentSchema() const override { return user_; }
  Database& GetDatabase() override { return *database_; }
  std::unique_ptr<Cursor> OpenQuery(const std::string& sql, const BindSet& binds,
                                    OraError& error) override;
  bool Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
               OraError& error, OraError& warning) override;
  std::string ToText(const Value& value) const override { return value.text; }
  std::vector<ColumnInfo> DescribeTable(const std::string& name) override;
  ServerOutput& Output() override { return output_; }
  // The interpreter never runs long here: a request only waits to be taken.
  void Interrupt() override { interruptRequested_ = true; }
  bool TakeInterrupt() override { return std::exchange(interruptRequested_, false); }

 private:
  void RecordBinds(const std::string& sql, const BindSet& binds);

  std::string user_ = "SYSTEM";
  std::unique_ptr<Database> database_;
  std::map<std::string, std::vector<ColumnInfo>> tables_;
  std::map<std::string, FakeQuery> queries_;
  std::map<std::string, std::map<std::string, Value>> lastBinds_;
  std::vector<std::string> statements_;
  ServerOutput output_;
  bool interruptRequested_ = false;
};

ColumnInfo TextColumn(const std::string& name, std::uint16_t size);
ColumnInfo NumberColumn(const std::string& name, std::int16_t precision = 0, std::int8_t scale = 0);

}  // namespace sandbox::plsql::testing
