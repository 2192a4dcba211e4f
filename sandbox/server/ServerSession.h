// A session of one user on a sandbox database: runs queries through the
// dialect layer, DML with Oracle's row counts, session settings, DDL (through
// DdlExecutor) and anonymous blocks (through the PL/SQL interpreter).
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include <sqlite3.h>

#include "sandbox/plsql/BlockCache.h"
#include "sandbox/plsql/StoredUnit.h"
#include "sandbox/server/Server.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/SqlTranslator.h"
#include "sandbox/server/triggers/TableTriggers.h"
#include "sandbox/server/values/DateFormat.h"

namespace sandbox {

class ServerSession : public Session, public NameResolver {
 public:
  ServerSession(std::shared_ptr<ServerDatabase> database, std::string user);
  ~ServerSession() override;
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  const std::string& UserName() const override { return user_; }
  const std::string& CurrentSchema() const override { return schema_; }
  Database& GetDatabase() override { return *database_; }
  std::unique_ptr<Cursor> OpenQuery(const std::string& sql, const BindSet& binds,
                                    OraError& error) override;
  std::vector<ColumnInfo> DescribeQuery(const std::string& sql, const BindSet& binds,
                                        OraError& error) override;
  bool Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
               OraError& error, OraError& warning) override;
  std::string ToText(const Value& value) const override;
  std::vector<ColumnInfo> DescribeTable(const std::string& name) override;
  ServerOutput& Output() override { return output_; }
  plsql::BlockCache* CompiledBlocks() override;
  plsql::StoredUnits* StoredCode() override { return &storedUnits_; }
  void Interrupt() override { interrupt_.store(true); }
  bool TakeInterrupt() override { return interrupt_.exchange(false); }

  std::optional<std::string> ResolveTable(const std::string& schema,
                                          const std::string& name) override;
  std::optional<std::vector<std::string>> VisibleColumns(const std::string& storage) override;
  std::optional<std::vector<std::string>> StarColumns(const std::string& query) override;
  bool ResolveSequence(const std::string& schema, const std::string& name, std::string& owner,
                       std::string& sequence) override;
  bool ResolveFunction(const std::vector<std::string>& parts, std::string& owner, std::string& unit,
                       std::string& member) override;
  std::optional<ObjectTypeShape> ResolveObjectType(const std::vector<std::string>& parts) override;
  std::optional<ObjectTypeShape> FunctionResultType(const std::vector<std::string>& parts,
                                                    std::size_t arguments) override;
  std::optional<std::pair<std::string, std::string>> ColumnObjectType(
      const std::string& storage, const std::string& column) override;
  std::optional<std::pair<std::string, std::string>> ObjectTableType(
      const std::string& storage) override;
  std::vector<TypeFamilyMember> TypeFamily(const std::string& owner,
                                           const std::string& name) override;
  bool HoldsSubtypeRows(const std::string& storage) override;

  bool TriggerFiredBy(const std::string& event, const std::string& column) const override;
  const SystemEvent* FiringSystemEvent() const override {
    return systemEvents_.empty() ? nullptr : &systemEvents_.back();
  }
  void CompileBeforeUse(const std::string& owner, const std::string& name,
                        const std::string& type) override;
  Rights CurrentRights() const override { return {currentUser_, schema_}; }
  std::string SessionAttribute(const std::string& name) const override;
  void SetSessionAttribute(const std::string& name, const std::string& value) override;
  void SetRights(const Rights& rights) override;
  void PushCallContext(CallContext context) override;
  void PopCallContext() override;
  bool AutonomousPending() const override;

  ServerDatabase& Server() { return *database_; }
  // A unique key's error names the constraint rather than the columns.
  OraError NameConstraintError(OraError error) const;
  // The triggers firing now, innermost last: their event and the columns
  // an UPDATE sets. Their number is how deep triggers nest.
  struct FiringTrigger {
    DmlEvent event;
    const std::vector<std::string>* setColumns;
  };
  std::vector<FiringTrigger>& Firing() { return firing_; }
  // While a statement with row triggers reads its rows with a query, the
  // stored functions that query calls are called from DML, not from a query.
  class DmlRowReading {
   public:
    explicit DmlRowReading(ServerSession& session) : session_(session) { ++session_.dmlRowReads_; }
    ~DmlRowReading() { --session_.dmlRowReads_; }
    DmlRowReading(const DmlRowReading&) = delete;
    DmlRowReading& operator=(const DmlRowReading&) = delete;

   private:
    ServerSession& session_;
  };
  // Runs call as one call of a client: when it fails (returns false), what
  // it changed is undone, as a failed anonymous block's changes are.
  bool RunAsOneCall(const std::function<bool()>& call);
  // The events of the system triggers firing now, innermost last.
  std::vector<SystemEvent>& SystemEvents() { return systemEvents_; }
  // Tables ("OWNER.NAME") whose rows a statement with row triggers is
  // changing: a statement that names one fails with ORA-04091.
  std::vector<std::string>& MutatingTables() { return mutating_; }
  const std::string& DateFormatModel() const { return dateFormat_; }
  // How deep compilations of views and triggers in use nest within this
  // session's statement (views of FORCE views may refer to one another in a
  // circle).
  int& CompileInUseDepth() { return compileInUseDepth_; }

 private:
  // One call the session serves, counted while it runs: a client's own call
  // (none other running) that fails fires the SERVERERROR triggers.
  class ClientCall {
   public:
    explicit ClientCall(ServerSession& session);
    ~ClientCall();
    ClientCall(const ClientCall&) = delete;
    ClientCall& operator=(const ClientCall&) = delete;
    void Failed(const OraError& error);

   private:
    ServerSession& session_;
    bool outermost_;
    bool inTransaction_;  // when the call began
  };
  std::unique_ptr<Cursor> StartQuery(const std::string& sql, const BindSet& binds, OraError& error);
  // Sets the function context to this session; call under the database lock.
  void EnterStatement();
  bool PrepareTranslated(const std::string& sql, const std::vector<SqlToken>& tokens,
                         const BindSet& binds, TranslatedStatement& translated,
                         SqliteStatement& statement, OraError& error);
  // Translates and prepares a query and describes its select list; call
  // under the database lock. typedByValue tells, per column, whether its type
  // follows each value (an expression the translation could not type).
  bool PrepareQuery(const std::string& sql, const BindSet& binds, SqliteStatement& statement,
                    std::vector<ColumnInfo>& columns, std::vector<bool>& typedByValue,
                    OraError& error);
  bool ExecuteStatement(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
                        OraError& error, OraError& warning);
  // An anonymous block, undone as a whole when an exception leaves it.
  bool RunBlock(const std::string& sql, BindSet& binds, OraError& error);
  // ORA-14551 / ORA-14552 for a statement a function called in SQL may not run.
  static OraError NotInTrigger(const SqlToken& verb);
  bool AllowedInCall(const SqlToken& verb, OraError& error) const;
  // INSERT, UPDATE or DELETE, with RETURNING ... INTO :binds given the one
  // row's values (DmlReturning.cpp).
  bool ExecuteReturning(const std::string& sql, const std::vector<SqlToken>& tokens, BindSet& binds,
                        std::uint64_t& rowsProcessed, OraError& error);
  // The values of a row a RETURNING clause gave.
  std::vector<Value> ReturnedRow(sqlite3_stmt* statement);
  // returned, when given, receives the rows of the statement's RETURNING.
  bool ExecuteDml(const std::string& sql, const std::vector<SqlToken>& tokens, const BindSet& binds,
                  std::uint64_t& rowsProcessed, OraError& error,
                  std::vector<std::vector<Value>>* returned = nullptr);
  // The triggers of the table a DML statement changes; null when none of
  // them is enabled for the statement's event.
  std::shared_ptr<const TableTriggers> TargetTriggers(const std::vector<SqlToken>& tokens);
  // ResolveTable without the check for mutating tables.
  std::optional<std::string> FindTable(const std::string& schema, const std::string& name);
  bool ExecuteMerge(const std::string& sql, const std::vector<SqlToken>& tokens,
                    const BindSet& binds, std::uint64_t& rowsProcessed, OraError& error);
  bool AlterSession(const std::vector<SqlToken>& tokens, OraError& error);
  bool NextSequenceValue(const std::string& owner, const std::string& name, bool next,
                         std::string& value, std::string& message);
  // Replaces owner.name by what the owner's synonym of that name names, else
  // (when publicToo) a public synonym's; false when there is none.
  bool FollowSynonym(std::string& owner, std::string& name, bool publicToo);
  // A stored function called in SQL, with the error as "ORA-nnnnn: text".
  bool CallStoredFunction(const std::string& owner, const std::string& unit,
                          const std::string& member, const std::vector<Value>& arguments,
                          Value& result, std::string& message);
  bool ColumnNullable(sqlite3_stmt* statement, int column);
  std::vector<ColumnInfo> DescribeUncached(const std::string& name);

  // An ORA-01013 failure answers a pending interrupt request.
  void AnswerInterrupt(const OraError& error);

  std::shared_ptr<ServerDatabase> database_;
  std::atomic<bool> interrupt_{false};
  std::string user_;
  std::string schema_;
  std::string currentUser_;  // the owner of the definer's rights unit running now, else user_
  // MODULE, ACTION, CLIENT_INFO and CLIENT_IDENTIFIER, by name.
  std::map<std::string, std::string> attributes_;
  std::string dateFormat_ = "DD-MON-RR";
  // dateFormat_ parsed, for ToText; parsed again when the model changes.
  mutable std::string parsedModel_;
  mutable std::optional<DateFormat> parsedFormat_;
  std::string timestampFormat_ = "DD-MON-RR HH.MI.SSXFF AM";
  std::string timestampTzFormat_ = "DD-MON-RR HH.MI.SSXFF AM TZR";
  std::string timeZone_;
  long long sessionId_;
  ServerOutput output_;
  std::map<std::string, std::string> currentValues_;  // CURRVAL per "OWNER.SEQUENCE"
  // What was derived from the dictionary as it was at one schema generation
  // and current schema: DescribeTable's answers (compiling a block anchors
  // many declarations to the same few views) and compiled blocks.
  struct SchemaView {
    unsigned long long generation = 0;
    std::string schema;
  };
  // True, and seen brought up to date, when the schema or the current
  // schema changed since seen; call under the database lock.
  bool SchemaChangedSince(SchemaView& seen);
  std::map<std::string, std::vector<ColumnInfo>> described_;
  SchemaView describedView_;
  std::set<std::string> callableNames_;  // of functions, packages and synonyms
  SchemaView callableView_;
  std::set<std::string> typeNames_;  // of object and collection types
  SchemaView typeView_;
  std::vector<CallContext> callContexts_;
  int storedFunctionDepth_ = 0;  // stored functions in SQL running now, nested
  plsql::BlockCache compiled_;
  SchemaView compiledView_;
  int compileInUseDepth_ = 0;
  plsql::StoredUnits storedUnits_;
  TriggerCache triggers_;
  std::vector<FiringTrigger> firing_;
  std::vector<SystemEvent> systemEvents_;
  int dmlRowReads_ = 0;  // DmlRowReading scopes open now
  int callDepth_ = 0;    // ClientCall scopes open now
  std::vector<std::string> mutating_;
  std::string mutatingSeen_;  // a mutating table the statement being translated names
};

}  // namespace sandbox
