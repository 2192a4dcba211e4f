// The recording run host of the engine tests.
#include "tests/engine/TestRunHost.h"

#include <algorithm>

void TestRunHost::Record(std::string event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  recorded_.notify_all();
}

void TestRunHost::SetCaption(const std::string& fullCaption) {
  {
    std::lock_guard lock(mutex_);
    caption_ = fullCaption;
  }
  Record("caption " + fullCaption);
}

std::string TestRunHost::Caption() {
  std::lock_guard lock(mutex_);
  return caption_;
}

bool TestRunHost::CreateControlPanel() {
  Record("create panel");
  return true;
}

void TestRunHost::DestroyControlPanel() {
  Record("destroy panel");
}
void TestRunHost::SetStatusText(const std::string& text) {
  Record("status " + text);
}
void TestRunHost::SetProgressRange(int low, int high) {
  Record("range " + std::to_string(low) + ".." + std::to_string(high));
}
void TestRunHost::SetProgressPosition(int position) {
  Record("position " + std::to_string(position));
}
void TestRunHost::SetProgressStep(int step) {
  Record("step " + std::to_string(step));
}
void TestRunHost::StepProgress() {
  Record("step progress");
}

MessageAnswer TestRunHost::ShowMessage(const std::string& text, MessageButtons buttons,
                                       MessageIcon) {
  MessageAnswer answer = buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  {
    std::unique_lock lock(mutex_);
    if (pumpingThread_ && *pumpingThread_ != std::this_thread::get_id()) {
      const long long ticket = ++messagesAsked_;
      recorded_.wait(lock, [&] { return messagesPumped_ >= ticket; });
    }
    messages_.push_back(text);
    if (buttons != MessageButtons::Ok && !answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
  }
  Record("message " + text);
  return answer;
}

void TestRunHost::BeginSaving(int lineCount) {
  Record("saving " + std::to_string(lineCount));
}
void TestRunHost::StepSaving() {}
void TestRunHost::EndSaving() {
  Record("saved");
}
void TestRunHost::RestoreMainWindow() {
  Record("restore window");
}
void TestRunHost::EndProcess(int exitCode) {
  Record("end process " + std::to_string(exitCode));
}
void TestRunHost::MoveCaretToEnd() {
  Record("caret to end");
}

void TestRunHost::RequirePumpForMessages(bool required) {
  {
    std::lock_guard lock(mutex_);
    pumpingThread_.reset();
    if (required) {
      pumpingThread_ = std::this_thread::get_id();
    }
    messagesPumped_ = messagesAsked_;
  }
  recorded_.notify_all();
}

void TestRunHost::Pump() {
  {
    std::lock_guard lock(mutex_);
    messagesPumped_ = messagesAsked_;
  }
  recorded_.notify_all();
}

void TestRunHost::QueueAnswer(MessageAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

std::vector<std::string> TestRunHost::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<std::string> TestRunHost::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::string> TestRunHost::EventsStartingWith(const std::string& prefix) const {
  std::vector<std::string> matching;
  for (const std::string& event : Events()) {
    if (event.rfind(prefix, 0) == 0) {
      matching.push_back(event);
    }
  }
  return matching;
}

bool TestRunHost::WaitForEvent(const std::string& event, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, timeout, [&] {
    return std::find(events_.begin(), events_.end(), event) != events_.end();
  });
}
