// Firing SERVERERROR triggers.
#include "sandbox/server/triggers/ServerErrorTriggers.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/integrity/TransactionRules.h"
#include "sandbox/server/triggers/SystemTriggers.h"

namespace sandbox {

namespace {

// Errors that are no true errors, or too grave to go on with.
constexpr int kNotFired[] = {18, 20, 1034, 1403, 1422, 1423, 4030};

std::string CodeText(const char* facility, int code) {
  std::string digits = std::to_string(code);
  digits.insert(0, digits.size() < 5 ? 5 - digits.size() : 0, '0');
  return std::string(facility) + "-" + digits;
}

// The code of a line "ORA-nnnnn: ..." or "PLS-nnnnn: ...", -1 for another.
int LineCode(const std::string& line) {
  if (line.size() < 11 || (line.compare(0, 4, "ORA-") != 0 && line.compare(0, 4, "PLS-") != 0) ||
      line[9] != ':')
    return -1;
  for (std::size_t i = 4; i < 9; ++i)
    if (!std::isdigit(static_cast<unsigned char>(line[i])))
      return -1;
  return std::stoi(line.substr(4, 5));
}

void Fire(ServerSession& session, const SystemEvent& event, bool inTransaction) {
  const std::vector<SystemTrigger> triggers = SessionSystemTriggers(session);
  if (std::none_of(triggers.begin(), triggers.end(),
                   [](const SystemTrigger& t) { return t.FiresFor("SERVERERROR"); }))
    return;
  // The triggers' work joins the client's open transaction (what an
  // autonomous block of theirs commits outlives its rollback); a failed
  // call that had none leaves them a transaction of their own, committed.
  OraError ignored;
  if (session.RunAsOneCall(
          [&] { return FireSystemTriggers(session, triggers, false, event, ignored); }) &&
      !inTransaction)
    TransactionRules(session).Commit(ignored);
}

}  // namespace

std::vector<SystemEvent::Error> ErrorStack(const OraError& error) {
  std::vector<SystemEvent::Error> stack;
  std::istringstream lines(error.message);
  std::string line;
  std::getline(lines, line);
  stack.push_back({error.code, CodeText("ORA", error.code) + ": " + line});
  while (std::getline(lines, line)) {
    const int code = LineCode(line);
    if (code >= 0)
      stack.push_back({code, line});
    else
      stack.back().message += "\n" + line;
  }
  return stack;
}

void FireServerErrorTriggers(ServerSession& session, const OraError& error, bool inTransaction) {
  if (std::find(std::begin(kNotFired), std::end(kNotFired), error.code) != std::end(kNotFired))
    return;
  SystemEvent event;
  event.name = "SERVERERROR";
  event.errors = ErrorStack(error);
  Fire(session, event, inTransaction);
}

}  // namespace sandbox
