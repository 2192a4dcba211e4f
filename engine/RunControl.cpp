// Pause, resume, skip and stop, and the worker's side of them.
#include "engine/RunControl.h"

#include <chrono>
#include <thread>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunFlags.h"
#include "engine/RunHost.h"
#include "engine/RunPhases.h"
#include "engine/RunSettings.h"

RunControl::RunControl(RunSettings& settings, RunFlags& flags, ReportOutput& output, RunHost& host)
    : settings_(settings), flags_(flags), output_(output), host_(host) {}

void RunControl::PauseCommand() {
  if (!flags_.Paused) {
    flags_.SavedCaption = host_.Caption();
  }
  host_.SetCaption(CaptionFor("Paused"));
  flags_.Paused = 1;
}

void RunControl::ResumeCommand() {
  if (!flags_.Paused) {
    return;
  }
  host_.SetCaption(flags_.SavedCaption);
  host_.MoveCaretToEnd();
  flags_.Paused = 0;
}

void RunControl::SkipCommand() {
  flags_.SkipRequested = 1;
}

void RunControl::StopCommand() {
  const MessageAnswer answer = host_.ShowMessage(
      "You won't be able to resume this script if you stop it.\nAre you sure you want to stop?",
      MessageButtons::YesNo, MessageIcon::Question);
  if (answer == MessageAnswer::Yes) {
    flags_.ReportSaved = 0;
    RequestStop();
  }
}

void RunControl::RequestStop() {
  flags_.Running = 0;
  if (phases_ != nullptr) {
    phases_->InterruptServerCall();
  }
}

bool RunControl::CanPause() const {
  return flags_.Running && !flags_.Paused;
}
bool RunControl::CanResume() const {
  return flags_.Running && flags_.Paused;
}
bool RunControl::CanSkip() const {
  return flags_.Running && flags_.SkipAllowed && !flags_.Paused;
}
bool RunControl::CanStop() const {
  return flags_.Running != 0;
}

void RunControl::CheckPause() {
  while (flags_.Paused) {
    if (!flags_.Running) {
      flags_.Paused = 0;
      StopRun();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(PausePollMilliseconds));
  }
}

void RunControl::CheckStop() {
  CheckPause();
  StopIfStopped();
}

void RunControl::StopIfStopped() {
  if (!flags_.Running) {
    StopRun();
  }
}

void RunControl::StopRun() {
  output_.OutputLine("\r\n\r\n" + settings_.SqlCommentPrefix + "Quillmark Stopped ...",
                     NoticeColour, false, true);
  host_.SetCaption(CaptionFor("Stopped"));
  if (settings_.AutoSave) {
    output_.AutoSaveReport();
    output_.ForgetAutoSaveFile();
  }
  if (settings_.ReportToFile) {
    flags_.ReportSaved = 1;
    output_.CloseReportFile();
  }
  host_.ShowMessage("Quillmark for Oracle has been stopped.", MessageButtons::Ok,
                    MessageIcon::Information);
  host_.SetCaption(CaptionFor("Ready"));
  flags_.Stopped = 1;
  throw RunStopped{};
}
