// Connection: the state machine of a logon and its injected failures.
#include "sandbox/oci/Connection.h"

#include <utility>

#include "sandbox/oci/ClientErrors.h"

namespace sandbox::oci {

Connection::Connection(std::shared_ptr<Database> database, std::unique_ptr<Session> session)
    : database_(std::move(database)), session_(std::move(session)) {}

bool Connection::Check(OraError& error) {
  switch (state_) {
    case State::Open:
      return true;
    case State::BreakPending:
      state_ = State::Broken;
      error = errors::EndOfFileOnChannel();
      return false;
    case State::Broken:
      error = errors::NotConnected();
      return false;
    case State::Ended:
      error = errors::NotLoggedOn();
      return false;
  }
  return false;
}

bool Connection::Break() {
  if (state_ != State::Open)
    return false;
  state_ = State::BreakPending;
  return true;
}

}  // namespace sandbox::oci
