// The sandbox server's inner interface: what the OCI entry points (sandbox/oci)
// and the PL/SQL interpreter (sandbox/plsql) ask of the simulated Oracle
// server (sandbox/server). Nothing outside sandbox/ includes this file: the
// program reaches the sandbox only through the exported OCI functions.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sandbox {

namespace plsql {
class BlockCache;
class StoredUnits;
}  // namespace plsql

// An Oracle error: code 1017 with message "invalid username/password; logon
// denied" is reported by OCIErrorGet as "ORA-01017: invalid username/password;
// logon denied\n". Codes of other facilities (ORU-10027, PLS-00201 inside an
// ORA-06550 text) are carried in the message with their own prefix.
struct OraError {
  int code = 0;
  std::string message;  // without the "ORA-nnnnn: " prefix
  bool IsSet() const { return code != 0; }
};

// ORA-01013: user requested cancel of current operation.
inline constexpr int kCancelledCode = 1013;

// One SQL value as the server holds it. Text forms are those Oracle's own
// conversion to character gives, independent of the session:
//   Number: canonical decimal text as TO_CHAR(n) gives it ("12.5", "-.5", "100")
//   Date:   "YYYY-MM-DD HH24:MI:SS" (the session's NLS_DATE_FORMAT is applied by
//           Session::ToText, not here)
//   Binary: the raw bytes (RAW, LONG RAW, BLOB)
struct Value {
  enum class Kind { Null, Text, Number, Date, Binary };
  Kind kind = Kind::Null;
  std::string text;

  static Value Null() { return {}; }
  static Value Text(std::string s);  // an empty text becomes Null, as in Oracle
  static Value Number(std::string canonical) { return {Kind::Number, std::move(canonical)}; }
  static Value Integer(long long n) { return {Kind::Number, std::to_string(n)}; }
  static Value Date(std::string iso) { return {Kind::Date, std::move(iso)}; }
  static Value Binary(std::string bytes) { return {Kind::Binary, std::move(bytes)}; }
  bool IsNull() const { return kind == Kind::Null; }
};

// A select-list column as OCI describes it (see oci-reference.md, section 4).
struct ColumnInfo {
  std::string name;            // upper case as stored, or the alias as written
  std::uint16_t dataType = 1;  // SQLT code: 1, 2, 8, 12, 23, 24, 96, 104, 112, 113, 114, 187 ...
  std::uint16_t dataSize = 0;  // bytes: VARCHAR2(100) -> 100, NUMBER -> 22, DATE -> 7
  // The characters a CHAR (n CHAR) or NCHAR value is padded to; 0 for one
  // padded to dataSize bytes.
  std::uint16_t charLength = 0;
  std::int16_t precision = 0;
  std::int8_t scale = 0;
  bool nullable = true;
};

// An open query: its columns and its rows, read one at a time.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual const std::vector<ColumnInfo>& Columns() const = 0;
  // Fills row with the next row's values and returns true; returns false at
  // the end, or on an error (error set).
  virtual bool Next(std::vector<Value>& row, OraError& error) = 0;
};

// Bind variables of one execution, by placeholder name in upper case without
// the colon (":Owner" -> "OWNER"). The OCI layer implements it over bind
// handles; the PL/SQL interpreter implements it over its variables.
class BindSet {
 public:
  virtual ~BindSet() = default;
  virtual bool Has(const std::string& name) const = 0;
  virtual Value Get(const std::string& name) const = 0;
  // OUT values of PL/SQL blocks; returns false with error set (for example
  // ORA-06502) when the bound buffer cannot take the value.
  virtual bool Set(const std::string& name, const Value& value, OraError& error) = 0;
  // The OUT value of a cursor variable: the query it has open (null when it
  // was never opened), which a client fetches through the statement handle
  // it bound (SQLT_RSET). False with error set when the placeholder cannot
  // take a cursor.
  virtual bool SetCursor(const std::string& /*name*/, std::unique_ptr<Cursor> /*cursor*/,
                         OraError& error) {
    error = {6550, "PLS-00306: wrong number or types of arguments in call"};
    return false;
  }
  // DML ... RETURNING ... INTO: binds that take every returned row at once
  // (PL/SQL's RETURNING ... BULK COLLECT INTO), in the order of the INTO
  // placeholders, rather than one row's values through Set.
  virtual bool TakesReturnedRows() const { return false; }
  virtual void SetReturnedRows(std::vector<std::vector<Value>> /*rows*/) {}
};

class Database;

// The event a system trigger fires for, as the event attribute functions
// (ORA_SYSEVENT, ORA_DICT_OBJ_TYPE, ...) give it: the DDL verb and the object
// it names, or the errors of a failed call; empty outside a system trigger.
struct SystemEvent {
  std::string name;  // "CREATE", "DROP", "LOGON" ...
  std::string objectType, objectOwner, objectName;
  // SERVERERROR: the error stack, top first, as ORA_SERVER_ERROR(n) and
  // ORA_SERVER_ERROR_MSG(n) give it ("ORA-00942: table or view does not exist").
  struct Error {
    int code = 0;
    std::string message;
  };
  std::vector<Error> errors;
};

// What a statement is, from its first words, as OCI_ATTR_STMT_TYPE and
// OCI_ATTR_SQLFNCODE report it.
struct StatementKind {
  std::uint16_t statementType = 0;  // OCI_STMT_SELECT = 1 ... OCI_STMT_DECLARE = 9
  std::uint16_t sqlFunctionCode = 0;
};
StatementKind ClassifyStatement(const std::string& sql);

// One logged-on user session of one database.
class Session {
 public:
  virtual ~Session() = default;
  virtual const std::string& UserName() const = 0;  // upper case
  virtual const std::string& CurrentSchema() const = 0;
  virtual Database& GetDatabase() = 0;

  // SELECT (and WITH) statements. Binds are read once, when the query opens.
  virtual std::unique_ptr<Cursor> OpenQuery(const std::string& sql, const BindSet& binds,
                                            OraError& error) = 0;
  // The columns OpenQuery would give, found without running the query (as
  // for a describe-only execution or a PL/SQL compilation). Empty with error
  // set when the query is wrong.
  virtual std::vector<ColumnInfo> DescribeQuery(const std::string& sql, const BindSet& binds,
                                                OraError& error) {
    const auto cursor = OpenQuery(sql, binds, error);
    return cursor ? cursor->Columns() : std::vector<ColumnInfo>{};
  }
  // Every other statement: DDL, DML, ALTER SESSION, COMMIT, ROLLBACK, and
  // anonymous PL/SQL blocks (handed to the interpreter). rowsProcessed is the
  // OCI_ATTR_ROW_COUNT of a DML statement. Returns false with error set on
  // failure; warning is set (and true returned) for a PL/SQL unit created with
  // compilation errors (ORA-24344).
  virtual bool Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
                       OraError& error, OraError& warning) = 0;

  // Character text of a value as a string define receives it: dates in the
  // session's NLS_DATE_FORMAT, binary as upper-case hex, numbers as they are.
  virtual std::string ToText(const Value& value) const = 0;

  // Columns of a table or view visible to this session, for %TYPE and
  // %ROWTYPE; name may be "OWNER.TABLE" or "TABLE". Empty when not found.
  virtual std::vector<ColumnInfo> DescribeTable(const std::string& name) = 0;

  // DBMS_OUTPUT state, kept per session across calls as Oracle keeps it.
  struct ServerOutput {
    bool enabled = false;
    std::int64_t bufferSize = 20000;  // bytes, ENABLE(size)
    std::int64_t bytesUsed = 0;
    std::vector<std::string> lines;  // complete lines not yet read by GET_LINE
    std::string pending;             // PUT text not yet ended by NEW_LINE
  };
  virtual ServerOutput& Output() = 0;

  // Asks the statement this session runs to end with ORA-01013 (a break of
  // the client); callable from any thread. A request made while no statement
  // runs holds for the next call, until TakeInterrupt withdraws it.
  virtual void Interrupt() = 0;
  // True, once, when an interrupt request is pending; withdraws it.
  virtual bool TakeInterrupt() = 0;

  // Where the PL/SQL interpreter keeps the blocks it compiled in this session
  // for reuse; null when the session keeps none.
  virtual plsql::BlockCache* CompiledBlocks() { return nullptr; }
  // The stored procedures, functions and packages this session compiled for
  // calls, with their package state; null when the session keeps none (and
  // so can call none).
  virtual plsql::StoredUnits* StoredCode() { return nullptr; }
  // The INSERTING, UPDATING and DELETING predicates: whether the trigger
  // firing now fires for event ("INSERT", "UPDATE" or "DELETE") and, when
  // column is given, for an UPDATE that sets that column (named in any case).
  // False outside a trigger.
  virtual bool TriggerFiredBy(const std::string& /*event*/, const std::string& /*column*/) const {
    return false;
  }
  // The event of the system trigger firing now; null outside one.
  virtual const SystemEvent* FiringSystemEvent() const { return nullptr; }
  // Before a stored unit of type runs: an INVALID one is compiled again, as
  // Oracle does on first use, and becomes VALID when it compiles.
  virtual void CompileBeforeUse(const std::string& /*owner*/, const std::string& /*name*/,
                                const std::string& /*type*/) {}
  // The user whose rights the running code has (SYS_CONTEXT's CURRENT_USER)
  // and the schema its names resolve in. A definer's rights unit runs as its
  // owner and gives the caller's back when it returns.
  struct Rights {
    std::string user;
    std::string schema;
  };
  virtual Rights CurrentRights() const { return {UserName(), CurrentSchema()}; }
  virtual void SetRights(const Rights& /*rights*/) {}
  // What the code running now was called from, innermost last: a function
  // called in a query may not change data, one called in any SQL may not
  // commit or run DDL, unless an autonomous transaction runs inside it.
  enum class CallContext { Query, Dml, Autonomous };
  virtual void PushCallContext(CallContext /*context*/) {}
  virtual void PopCallContext() {}
  // True when the autonomous transaction of the innermost call has changes
  // it neither committed nor rolled back.
  virtual bool AutonomousPending() const { return false; }
  // What DBMS_APPLICATION_INFO and DBMS_SESSION set for the session (MODULE,
  // ACTION, CLIENT_INFO, CLIENT_IDENTIFIER), as SYS_CONTEXT('USERENV', ...)
  // reads it; an empty value clears one.
  virtual std::string SessionAttribute(const std::string& /*name*/) const { return {}; }
  virtual void SetSessionAttribute(const std::string& /*name*/, const std::string& /*value*/) {}
};

// Holds a call context for as long as it lives.
class CallContextGuard {
 public:
  CallContextGuard(Session& session, Session::CallContext context) : session_(session) {
    session.PushCallContext(context);
  }
  ~CallContextGuard() { session_.PopCallContext(); }
  CallContextGuard(const CallContextGuard&) = delete;
  CallContextGuard& operator=(const CallContextGuard&) = delete;

 private:
  Session& session_;
};

// Runs the session as owner (a definer's rights unit or a trigger) for as long
// as it lives; an empty owner keeps the caller's rights.
class RightsGuard {
 public:
  RightsGuard(Session& session, const std::string& owner)
      : session_(session), saved_(session.CurrentRights()) {
    if (!owner.empty())
      session.SetRights({owner, owner});
  }
  ~RightsGuard() { session_.SetRights(saved_); }
  RightsGuard(const RightsGuard&) = delete;
  RightsGuard& operator=(const RightsGuard&) = delete;

 private:
  Session& session_;
  Session::Rights saved_;
};

// One database, chosen by the connect identifier.
class Database {
 public:
  virtual ~Database() = default;
  virtual const std::string& Name() const = 0;    // global name, e.g. "DEMO"
  virtual std::string VersionBanner() const = 0;  // as OCIServerVersion returns it
  // Logs a user on; ORA-01017 for an unknown user or a wrong password.
  virtual std::unique_ptr<Session> Logon(const std::string& user, const std::string& password,
                                         OraError& error) = 0;
};

// Finds or creates the database that a connect identifier names (see the
// README for the forms); nullptr with ORA-12154 when it names none. Databases
// live for the rest of the process and are shared by all attaches.
std::shared_ptr<Database> AttachDatabase(const std::string& connectIdentifier, OraError& error);

}  // namespace sandbox
