// Connection: one logon of a user to a database, from OCISessionBegin to
// OCISessionEnd. Statements that opened a cursor keep it alive, so a cursor
// never outlives the session it reads from. A test can break it (see
// ConnectionBreaker): the next server call then fails with ORA-03113 and every
// later one with ORA-03114, as a client sees a dropped connection.
#pragma once

#include <memory>

#include "sandbox/server/Server.h"

namespace sandbox::oci {

class Connection {
 public:
  Connection(std::shared_ptr<Database> database, std::unique_ptr<Session> session);

  Database& GetDatabase() const { return *database_; }
  Session& GetSession() const { return *session_; }

  // Called at the start of every server call: false with the error to report
  // when the connection is broken or has been ended.
  bool Check(OraError& error);
  // Marks the connection as lost; false if it already was, or has ended.
  bool Break();
  void End() { state_ = State::Ended; }
  bool IsOpen() const { return state_ == State::Open; }

 private:
  enum class State { Open, BreakPending, Broken, Ended };
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
  State state_ = State::Open;
};

}  // namespace sandbox::oci
