// Message boxes as text on the error stream for the headless front end.
#include "app/ConsoleRunHost.h"

#include <ostream>

#include "app/TerminalProgress.h"

ConsoleRunHost::~ConsoleRunHost() {
  ReleaseHeldMessage(true);
}

void ConsoleRunHost::SetCaption(const std::string& fullCaption) {
  {
    const std::lock_guard lock(mutex_);
    caption_ = fullCaption;
  }
  if (progress_ != nullptr) {
    progress_->SetPhase(fullCaption);
  }
}

void ConsoleRunHost::SetStatusText(const std::string& text) {
  if (progress_ != nullptr) {
    progress_->SetStatus(text);
  }
}

void ConsoleRunHost::SetProgressRange(int low, int high) {
  if (progress_ != nullptr) {
    progress_->SetRange(low, high);
  }
}

void ConsoleRunHost::SetProgressPosition(int position) {
  if (progress_ != nullptr) {
    progress_->SetPosition(position);
  }
}

void ConsoleRunHost::SetProgressStep(int step) {
  if (progress_ != nullptr) {
    progress_->SetStep(step);
  }
}

void ConsoleRunHost::StepProgress() {
  if (progress_ != nullptr) {
    progress_->Step();
  }
}

std::string ConsoleRunHost::Caption() {
  const std::lock_guard lock(mutex_);
  return caption_;
}

MessageAnswer ConsoleRunHost::ShowMessage(const std::string& text, MessageButtons buttons,
                                          MessageIcon icon) {
  const MessageAnswer answer =
      buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  const bool information = icon == MessageIcon::Information && buttons == MessageButtons::Ok;
  if (quiet_ && information) {
    return answer;
  }
  const std::lock_guard lock(mutex_);
  if (!held_.empty()) {
    Write(held_, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
    held_.clear();
  }
  if (information) {
    held_ = text;
  } else {
    Write(text, buttons, icon, answer);
  }
  return answer;
}

void ConsoleRunHost::ReleaseHeldMessage(bool show) {
  const std::lock_guard lock(mutex_);
  if (show && !held_.empty()) {
    Write(held_, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
  }
  held_.clear();
}

void ConsoleRunHost::Write(const std::string& text, MessageButtons buttons, MessageIcon icon,
                           MessageAnswer answer) {
  if (progress_ != nullptr) {
    progress_->ClearLine();
  }
  const char* prefix = icon == MessageIcon::Error     ? "Error: "
                       : icon == MessageIcon::Warning ? "Warning: "
                                                      : "";
  errors_ << prefix << text;
  if (text.empty() || text.back() != '\n') {
    errors_ << '\n';
  }
  if (buttons != MessageButtons::Ok) {
    errors_ << "(answered " << (answer == MessageAnswer::Yes ? "Yes" : "OK") << ")\n";
  }
  errors_.flush();
}
