// The report and window calls of the scripting phases.
#include "scripting/connection/PhaseOutput.h"

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/RunHost.h"

void PhaseOutput::Status(const std::string& text) {
  if (host_ != nullptr) {
    host_->SetStatusText(text);
  }
}

void PhaseOutput::StepProgress() {
  if (host_ != nullptr) {
    host_->StepProgress();
  }
}

void PhaseOutput::Comment(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, CommentColour, false, countForAutoSave);
}

void PhaseOutput::Name(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, NameColour, false, countForAutoSave);
}
