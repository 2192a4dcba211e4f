// The message boxes that the Oracle client layer shows: a logon failure, a
// server error, a client library that cannot be used. The desktop program
// implements this interface with real message boxes; headless runs use
// StderrClientMessages. Every message here has a single OK button.
#pragma once

#include <string>

enum class MessageKind { Information, Warning, Error };

class ClientMessages {
 public:
  virtual ~ClientMessages() = default;

  // Shows text and returns when the user has acknowledged it.
  virtual void Show(const std::string& text, MessageKind kind) = 0;
};
