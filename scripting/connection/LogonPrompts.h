// LogonPrompts: the questions the connect procedure puts to the user when a
// connect string lacks something. The desktop program answers with its login
// and password dialogs, the command line from the terminal or environment.
#pragma once

#include <memory>
#include <optional>
#include <string>

struct SessionHolder;

class LogonPrompts {
 public:
  virtual ~LogonPrompts() = default;

  // The password of user at database; nothing when the user cancels.
  virtual std::optional<std::string> AskPassword(const std::string& user,
                                                 const std::string& database) = 0;
  // The full login dialog: a holder with a logged-on session, or null on cancel.
  virtual std::unique_ptr<SessionHolder> AskLogon() = 0;
};
