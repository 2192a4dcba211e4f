// The report and window calls of the scripting phases.
#include "scripting/connection/PhaseWriter.h"

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/RunHost.h"

void PhaseWriter::Status(const std::string& text) {
  if (host_ != nullptr) {
    host_->SetStatusText(text);
  }
}

void PhaseWriter::StepProgress() {
  if (host_ != nullptr) {
    host_->StepProgress();
  }
}

void PhaseWriter::Comment(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, CommentColour, false, countForAutoSave);
}

void PhaseWriter::Name(const std::string& text, bool countForAutoSave) {
  output_.OutputLine(text, NameColour, false, countForAutoSave);
}
