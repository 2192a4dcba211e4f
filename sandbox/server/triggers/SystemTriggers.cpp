// Finding and firing system triggers.
#include "sandbox/server/triggers/SystemTriggers.h"

#include <algorithm>
#include <cstdio>

#include "sandbox/plsql/Interpreter.h"
#include "sandbox/server/EmptyBindSet.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/ddl/ObjectCompiler.h"
#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/triggers/DdlEvent.h"

namespace sandbox {

namespace {

// The events a DDL trigger fires for.
constexpr const char* kDdlEvents[] = {
    "ALTER",
    "ANALYZE",
    "ASSOCIATE STATISTICS",
    "AUDIT",
    "COMMENT",
    "CREATE",
    "DISASSOCIATE STATISTICS",
    "DROP",
    "GRANT",
    "NOAUDIT",
    "RENAME",
    "REVOKE",
    "TRUNCATE",
};

// "CREATE OR DROP " as ALL_TRIGGERS.TRIGGERING_EVENT keeps it.
std::vector<std::string> EventList(const std::string& text) {
  std::vector<std::string> events;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t or_ = text.find(" OR ", begin);
    std::string event =
        text.substr(begin, or_ == std::string::npos ? std::string::npos : or_ - begin);
    while (!event.empty() && event.back() == ' ')
      event.pop_back();
    if (!event.empty())
      events.push_back(event);
    if (or_ == std::string::npos)
      return events;
    begin = or_ + 4;
  }
}

std::string OraCode(int code) {
  char text[16];
  std::snprintf(text, sizeof text, "ORA-%05d", code);
  return text;
}

// Keeps the event on the session while a trigger runs, for the event
// attribute functions and for the statements a system trigger may not run.
class EventScope {
 public:
  EventScope(ServerSession& session, const SystemEvent& event) : session_(session) {
    session_.SystemEvents().push_back(event);
  }
  ~EventScope() { session_.SystemEvents().pop_back(); }
  EventScope(const EventScope&) = delete;
  EventScope& operator=(const EventScope&) = delete;

 private:
  ServerSession& session_;
};

// Runs one trigger in its owner's names; failure is its own error, and
// schemaSet the schema an ALTER SESSION in it set (empty for none).
bool RunOne(ServerSession& session, const SystemTrigger& trigger, const SystemEvent& event,
            OraError& failure, std::string& schemaSet) {
  const std::string qualified = trigger.owner + "." + trigger.name;
  const RightsGuard rights(session, trigger.owner);
  if (!trigger.valid && !CompileInUse(session, {trigger.owner, trigger.name, "TRIGGER"})) {
    failure = {4098, "trigger '" + qualified + "' is invalid and failed re-validation"};
    return false;
  }
  const auto body = plsql::CompileTriggerBody(session, trigger.body, failure);
  if (!body) {
    failure = {4098, "trigger '" + qualified + "' is invalid and failed re-validation"};
    return false;
  }
  EmptyBindSet noBinds;
  const EventScope scope(session, event);
  if (!trigger.when.empty()) {
    auto cursor = session.OpenQuery("SELECT 1 FROM DUAL WHERE " + trigger.when, noBinds, failure);
    std::vector<Value> row;
    if (!cursor || !cursor->Next(row, failure))
      return !failure.IsSet();
  }
  // A system trigger's trail names lines of the trigger alone, as of an
  // anonymous block.
  const bool ran = plsql::RunTriggerBody(session, *body, std::string(), noBinds, failure);
  if (session.CurrentSchema() != trigger.owner)
    schemaSet = session.CurrentSchema();
  return ran;
}

bool FireOne(ServerSession& session, const SystemTrigger& trigger, const SystemEvent& event,
             OraError& error) {
  const std::string schemaBefore = session.CurrentSchema();
  OraError failure;
  std::string schemaSet;
  const bool done = RunOne(session, trigger, event, failure, schemaSet);
  // ALTER SESSION SET CURRENT_SCHEMA in a logon trigger holds for the
  // session: the idiom that gives an application's users its schema.
  if (!schemaSet.empty() && schemaSet != schemaBefore)
    session.SetRights({session.CurrentRights().user, schemaSet});
  if (!done)
    error = {604, "error occurred at recursive SQL level 1\n" + OraCode(failure.code) + ": " +
                      failure.message};
  return done;
}

}  // namespace

bool IsDdlEvent(const std::string& event) {
  return std::find(std::begin(kDdlEvents), std::end(kDdlEvents), event) != std::end(kDdlEvents);
}

bool SystemTrigger::FiresFor(const std::string& event) const {
  return std::any_of(events.begin(), events.end(), [&](const std::string& own) {
    return own == event || (own == "DDL" && IsDdlEvent(event));
  });
}

std::vector<SystemTrigger> SessionSystemTriggers(ServerSession& session) {
  std::vector<std::vector<std::string>> rows;
  SqliteRunner(session.Server().Handle())
      .Query(
          "SELECT t.OWNER, t.TRIGGER_NAME, t.TRIGGER_TYPE, t.TRIGGERING_EVENT, t.TRIGGER_BODY, "
          "o.STATUS, t.WHEN_CLAUSE FROM \"SYS.ALL_TRIGGERS\" t JOIN \"SYS.ALL_OBJECTS\" o ON "
          "o.OWNER = t.OWNER "
          "AND o.OBJECT_NAME = t.TRIGGER_NAME AND o.OBJECT_TYPE = 'TRIGGER' WHERE t.TABLE_NAME IS "
          "NULL AND ((t.TABLE_OWNER = ? AND t.BASE_OBJECT_TYPE = 'SCHEMA') OR (t.TABLE_OWNER = "
          "'SYS' AND t.BASE_OBJECT_TYPE = 'DATABASE')) AND t.STATUS = 'ENABLED' ORDER BY "
          "o.OBJECT_ID",
          {Value::Text(session.UserName())}, rows);
  std::vector<SystemTrigger> triggers;
  for (const auto& row : rows) {
    SystemTrigger trigger;
    trigger.owner = row[0];
    trigger.name = row[1];
    trigger.before = row[2].rfind("BEFORE", 0) == 0;
    trigger.events = EventList(row[3]);
    trigger.body = row[4];
    trigger.valid = row[5] != "INVALID";
    trigger.when = row[6];
    triggers.push_back(std::move(trigger));
  }
  return triggers;
}

bool FireSystemTriggers(ServerSession& session, const std::vector<SystemTrigger>& triggers,
                        bool before, const SystemEvent& event, OraError& error) {
  for (const SystemTrigger& trigger : triggers) {
    if (trigger.before == before && trigger.FiresFor(event.name) &&
        !FireOne(session, trigger, event, error))
      return false;
  }
  return true;
}

DdlTriggers::DdlTriggers(ServerSession& session, const std::vector<SqlToken>& tokens,
                         Catalog& catalog)
    : session_(session), triggers_(SessionSystemTriggers(session)) {
  if (triggers_.empty())
    return;
  if (const auto found = ReadDdlEvent(tokens, session.CurrentSchema(), catalog)) {
    event_ = found->event;
    objectExisted_ = found->objectExists;
    fires_ = true;
  }
}

bool DdlTriggers::Before(OraError& error) {
  if (!fires_ || !objectExisted_)
    return true;
  return FireSystemTriggers(session_, triggers_, true, event_, error);
}

bool DdlTriggers::After(OraError& error) {
  if (!fires_)
    return true;
  // A trigger the statement created does not fire for its own creation, and
  // one it dropped fires no more.
  const std::vector<SystemTrigger> now = SessionSystemTriggers(session_);
  std::vector<SystemTrigger> kept;
  for (const SystemTrigger& trigger : triggers_) {
    if (std::any_of(now.begin(), now.end(), [&](const SystemTrigger& still) {
          return still.owner == trigger.owner && still.name == trigger.name;
        }))
      kept.push_back(trigger);
  }
  return FireSystemTriggers(session_, kept, false, event_, error);
}

bool FireLogonTriggers(ServerSession& session, OraError& error) {
  const std::vector<SystemTrigger> triggers = SessionSystemTriggers(session);
  if (triggers.empty())
    return true;
  const SystemEvent logon{"LOGON", {}, {}, {}, {}};
  Catalog catalog(session.Server());
  const std::string noSql;
  const std::vector<SqlToken> noTokens;
  const DdlContext context{session, noSql, noTokens, catalog, {}};
  OraError failure;
  if (session.RunAsOneCall(
          [&] { return FireSystemTriggers(session, triggers, false, logon, failure); }))
    return true;
  OraError notAdministrator;
  if (context.Require("ADMINISTER DATABASE TRIGGER", notAdministrator))
    return true;
  error = failure;
  return false;
}

void FireLogoffTriggers(ServerSession& session) {
  const std::vector<SystemTrigger> triggers = SessionSystemTriggers(session);
  if (triggers.empty())
    return;
  OraError ignored;
  const SystemEvent logoff{"LOGOFF", {}, {}, {}, {}};
  session.RunAsOneCall(
      [&] { return FireSystemTriggers(session, triggers, true, logoff, ignored); });
}

}  // namespace sandbox
