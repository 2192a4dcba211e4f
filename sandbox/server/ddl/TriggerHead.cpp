// Reading the head of CREATE TRIGGER.
#include "sandbox/server/ddl/TriggerHead.h"

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/dictionary/Catalog.h"

namespace sandbox {

namespace {

// The events of system triggers, as CREATE TRIGGER names them.
const char* const kSystemEvents[] = {
    "ALTER",   "ANALYZE",  "AUDIT",       "COMMENT", "CREATE",         "DDL",   "DROP",
    "GRANT",   "NOAUDIT",  "RENAME",      "REVOKE",  "TRUNCATE",       "LOGON", "LOGOFF",
    "STARTUP", "SHUTDOWN", "SERVERERROR", "SUSPEND", "DB_ROLE_CHANGE",
};

// A system event at the stream's position, consumed; empty when none.
std::string ReadSystemEvent(TokenStream& in) {
  if (in.AcceptWords("ASSOCIATE", "STATISTICS"))
    return "ASSOCIATE STATISTICS";
  if (in.AcceptWords("DISASSOCIATE", "STATISTICS"))
    return "DISASSOCIATE STATISTICS";
  for (const char* event : kSystemEvents)
    if (in.AcceptWord(event))
      return event;
  return {};
}

bool StartsSystemEvent(const TokenStream& in) {
  TokenStream probe = in;
  return !ReadSystemEvent(probe).empty();
}

// Events of the database or the session that only one timing has.
bool TimingAllowed(const std::string& timing, const std::string& event, OraError& error) {
  if (timing == "BEFORE" && (event == "STARTUP" || event == "SERVERERROR" ||
                             event == "DB_ROLE_CHANGE" || event == "SUSPEND")) {
    error = {30500, "database open triggers and server error triggers cannot have BEFORE type"};
    return false;
  }
  if (timing == "AFTER" && event == "SHUTDOWN") {
    error = {30501, "instance shutdown triggers cannot have AFTER type"};
    return false;
  }
  if (timing == "BEFORE" && event == "LOGON") {
    error = {30508, "client logon triggers cannot have BEFORE type"};
    return false;
  }
  if (timing == "AFTER" && event == "LOGOFF") {
    error = {30509, "client logoff triggers cannot have AFTER type"};
    return false;
  }
  return true;
}

// event [OR event ...] ON [schema.]SCHEMA | DATABASE.
bool ReadSystemHead(DdlContext& context, TokenStream& in, TriggerHead& head, OraError& error) {
  do {
    const std::string event = ReadSystemEvent(in);
    if (event.empty()) {
      error = {969, "missing ON keyword"};
      return false;
    }
    if (!TimingAllowed(head.timing, event, error))
      return false;
    head.events += (head.events.empty() ? "" : " OR ") + event;
  } while (in.AcceptWord("OR"));
  // Oracle keeps a system trigger's events with a blank at the end.
  head.events += ' ';
  if (!in.ExpectWord("ON", error))
    return false;
  if (in.AcceptWord("DATABASE")) {
    head.baseType = "DATABASE";
    head.tableOwner = "SYS";
    return context.Require("ADMINISTER DATABASE TRIGGER", error);
  }
  head.tableOwner = context.Schema();
  if (!in.Peek().IsWord("SCHEMA")) {
    if (!in.ReadName(head.tableOwner, error, 904, "invalid identifier") ||
        !in.ExpectSymbol(".", error))
      return false;
    if (!context.catalog.UserExists(head.tableOwner)) {
      error = {1918, "user '" + head.tableOwner + "' does not exist"};
      return false;
    }
  }
  if (!in.ExpectWord("SCHEMA", error))
    return false;
  head.baseType = "SCHEMA";
  return true;
}

// INSERT | DELETE | UPDATE [OF col, ...] [OR ...] ON table [REFERENCING ...]
// [FOR EACH ROW].
bool ReadDmlHead(DdlContext& context, TokenStream& in, TriggerHead& head, OraError& error) {
  do {
    if (in.AcceptWord("INSERT"))
      head.events += head.events.empty() ? "INSERT" : " OR INSERT";
    else if (in.AcceptWord("DELETE"))
      head.events += head.events.empty() ? "DELETE" : " OR DELETE";
    else if (in.AcceptWord("UPDATE")) {
      head.events += head.events.empty() ? "UPDATE" : " OR UPDATE";
      if (in.AcceptWord("OF")) {
        do {
          std::string column;
          if (!in.ReadName(column, error, 904, "invalid identifier"))
            return false;
          head.columns += (head.columns.empty() ? "" : ",") + column;
        } while (in.AcceptSymbol(","));
      }
    } else {
      error = {969, "missing ON keyword"};
      return false;
    }
  } while (in.AcceptWord("OR"));
  if (!in.ExpectWord("ON", error) ||
      !in.ReadQualifiedName(head.tableOwner, head.table, context.Schema(), error))
    return false;
  head.baseType = context.catalog.ObjectType(head.tableOwner, head.table).value_or("");
  if (head.baseType != "TABLE" && head.baseType != "VIEW") {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (!head.compound && (head.baseType == "VIEW") != (head.timing == "INSTEAD OF")) {
    error = head.baseType == "VIEW"
                ? OraError{25001, "cannot create this trigger type on views"}
                : OraError{25002, "cannot create INSTEAD OF triggers on tables"};
    return false;
  }
  if (in.AcceptWord("REFERENCING")) {
    std::string oldName = "OLD", newName = "NEW";
    while (in.Peek().IsWord("OLD") || in.Peek().IsWord("NEW") || in.Peek().IsWord("PARENT")) {
      const bool isOld = in.Peek().IsWord("OLD");
      in.Skip();
      in.AcceptWord("AS");
      std::string alias;
      if (!in.ReadName(alias, error, 904, "invalid identifier"))
        return false;
      (isOld ? oldName : newName) = alias;
    }
    head.referencing = "REFERENCING NEW AS " + newName + " OLD AS " + oldName;
  }
  head.eachRow = !head.compound && in.AcceptWords("FOR", "EACH") && in.AcceptWord("ROW");
  return true;
}

}  // namespace

std::string TriggerHead::TriggerType() const {
  if (compound)
    return "COMPOUND";
  if (IsSystem())
    return timing + " EVENT";
  return timing == "INSTEAD OF" ? "INSTEAD OF" : timing + (eachRow ? " EACH ROW" : " STATEMENT");
}

bool ReadTriggerHead(DdlContext& context, TokenStream& in, TriggerHead& head, OraError& error) {
  if (in.AcceptWord("BEFORE"))
    head.timing = "BEFORE";
  else if (in.AcceptWord("AFTER"))
    head.timing = "AFTER";
  else if (in.AcceptWords("INSTEAD", "OF"))
    head.timing = "INSTEAD OF";
  else if (in.AcceptWord("FOR"))
    head.compound = true;  // only DML events follow
  else {
    error = {969, "missing ON keyword"};
    return false;
  }
  if (!head.compound && head.timing != "INSTEAD OF" && StartsSystemEvent(in))
    return ReadSystemHead(context, in, head, error);
  return ReadDmlHead(context, in, head, error);
}

}  // namespace sandbox
