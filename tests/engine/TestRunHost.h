// TestRunHost: a run host that records every call as one line of an event log
// and answers message boxes from a script, safe to call from the worker and
// the test thread at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/RunHost.h"

class TestRunHost : public RunHost {
 public:
  void SetCaption(const std::string& fullCaption) override;
  std::string Caption() override;
  bool CreateControlPanel() override;
  void DestroyControlPanel() override;
  void SetStatusText(const std::string& text) override;
  void SetProgressRange(int low, int high) override;
  void SetProgressPosition(int position) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                            MessageIcon icon) override;
  void BeginSaving(int lineCount) override;
  void StepSaving() override;
  void EndSaving() override;
  void RestoreMainWindow() override;
  void EndProcess(int exitCode) override;
  void MoveCaretToEnd() override;

  // While required, a message box asked from another thread than this one
  // waits until this thread calls Pump, as a window's blocking calls do.
  void RequirePumpForMessages(bool required);
  // Carries out the message boxes waiting for this thread.
  void Pump();

  // The next message boxes answer these, in order; after them Yes for
  // questions and Ok for notices.
  void QueueAnswer(MessageAnswer answer);

  std::vector<std::string> Events() const;
  std::vector<std::string> Messages() const;
  // Events that begin with prefix.
  std::vector<std::string> EventsStartingWith(const std::string& prefix) const;
  // Waits until an event equal to event was recorded; false on timeout.
  bool WaitForEvent(const std::string& event,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  void Record(std::string event);

  mutable std::mutex mutex_;
  std::condition_variable recorded_;
  std::vector<std::string> events_;
  std::vector<std::string> messages_;
  std::deque<MessageAnswer> answers_;
  std::string caption_;
  std::optional<std::thread::id> pumpingThread_;
  long long messagesAsked_ = 0;
  long long messagesPumped_ = 0;
};
