// Message boxes as text on the error stream for the headless front end.
#include "app/ConsoleRunHost.h"

#include <ostream>

void ConsoleRunHost::SetCaption(const std::string& fullCaption) {
  const std::lock_guard lock(mutex_);
  caption_ = fullCaption;
}

std::string ConsoleRunHost::Caption() {
  const std::lock_guard lock(mutex_);
  return caption_;
}

MessageAnswer ConsoleRunHost::ShowMessage(const std::string& text, MessageButtons buttons,
                                          MessageIcon icon) {
  const std::lock_guard lock(mutex_);
  const char* prefix = icon == MessageIcon::Error     ? "Error: "
                       : icon == MessageIcon::Warning ? "Warning: "
                                                      : "";
  errors_ << prefix << text;
  if (text.empty() || text.back() != '\n') {
    errors_ << '\n';
  }
  const MessageAnswer answer =
      buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  if (buttons != MessageButtons::Ok) {
    errors_ << "(answered " << (answer == MessageAnswer::Yes ? "Yes" : "OK") << ")\n";
  }
  errors_.flush();
  return answer;
}
