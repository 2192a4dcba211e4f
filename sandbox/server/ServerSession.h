// A session of one user on a sandbox database: runs queries through the
// dialect layer, DML with Oracle's row counts, session settings, DDL (through
// DdlExecutor) and anonymous blocks (through the PL/SQL interpreter).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <sqlite3.h>

#include "sandbox/server/DateFormat.h"
#include "sandbox/server/Server.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/SqlToken.h"
#include "sandbox/server/SqlTranslator.h"

namespace sandbox {

class ServerSession : public Session, public NameResolver {
 public:
  ServerSession(std::shared_ptr<ServerDatabase> database, std::string user);

  const std::string& UserName() const override { return user_; }
  const std::string& CurrentSchema() const override { return schema_; }
  Database& GetDatabase() override { return *database_; }
  std::unique_ptr<Cursor> OpenQuery(const std::string& sql, const BindSet& binds,
                                    OraError& error) override;
  bool Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
               OraError& error, OraError& warning) override;
  std::string ToText(const Value& value) const override;
  std::vector<ColumnInfo> DescribeTable(const std::string& name) override;
  ServerOutput& Output() override { return output_; }

  std::optional<std::string> ResolveTable(const std::string& schema,
                                          const std::string& name) override;
  bool ResolveSequence(const std::string& schema, const std::string& name, std::string& owner,
                       std::string& sequence) override;

  ServerDatabase& Server() { return *database_; }
  const std::string& DateFormatModel() const { return dateFormat_; }

 private:
  // Sets the function context to this session; call under the database lock.
  void EnterStatement();
  bool PrepareTranslated(const std::string& sql, const std::vector<SqlToken>& tokens,
                         const BindSet& binds, TranslatedStatement& translated,
                         SqliteStatement& statement, OraError& error);
  bool ExecuteDml(const std::string& sql, const std::vector<SqlToken>& tokens, const BindSet& binds,
                  std::uint64_t& rowsProcessed, OraError& error);
  bool ExecuteMerge(const std::string& sql, const std::vector<SqlToken>& tokens,
                    const BindSet& binds, std::uint64_t& rowsProcessed, OraError& error);
  bool AlterSession(const std::vector<SqlToken>& tokens, OraError& error);
  bool NextSequenceValue(const std::string& owner, const std::string& name, bool next,
                         std::string& value, std::string& message);
  OraError NameConstraintError(OraError error) const;
  bool ColumnNullable(sqlite3_stmt* statement, int column);

  std::shared_ptr<ServerDatabase> database_;
  std::string user_;
  std::string schema_;
  std::string dateFormat_ = "DD-MON-RR";
  // dateFormat_ parsed, for ToText; parsed again when the model changes.
  mutable std::string parsedModel_;
  mutable std::optional<DateFormat> parsedFormat_;
  std::string timestampFormat_ = "DD-MON-RR HH.MI.SSXFF AM";
  std::string timestampTzFormat_ = "DD-MON-RR HH.MI.SSXFF AM TZR";
  std::string timeZone_;
  ServerOutput output_;
  std::map<std::string, std::string> currentValues_;  // CURRVAL per "OWNER.SEQUENCE"
};

}  // namespace sandbox
