// Status, progress and report pieces of the sequence and privilege phases.
#include "scripting/source/PhaseWriter.h"

#include <utility>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunHost.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"

PhaseWriter::PhaseWriter(const RunSettings& settings, ReportOutput& output, RunHost* host,
                         std::string databaseName, UnscriptedObjects* unscripted)
    : settings_(settings),
      output_(output),
      host_(host),
      databaseName_(std::move(databaseName)),
      unscripted_(unscripted) {}

void PhaseWriter::Announce(const std::string& subject) {
  if (host_ != nullptr) {
    host_->SetStatusText("Analyzing " + subject + " ...");
    host_->SetCaption(CaptionFor("Analyzing " + subject));
  }
}

void PhaseWriter::SetProgressRange(int low, int high) {
  if (host_ != nullptr) {
    host_->SetProgressRange(low, high);
  }
}

void PhaseWriter::SetProgressPosition(int position) {
  if (host_ != nullptr) {
    host_->SetProgressPosition(position);
  }
}

void PhaseWriter::SetProgressStep(int step) {
  if (host_ != nullptr) {
    host_->SetProgressStep(step);
  }
}

void PhaseWriter::Banner(const std::string& label, const std::string& sentence) {
  output_.OutputLine("\r\n\r\n\r\n" + BannerOpen, CommentColour, false, true);
  output_.OutputLine("*  " + label + "\r\n*\r\n", CommentColour, false, true);
  output_.OutputLine("*  " + sentence, CommentColour, false, false);
  output_.OutputLine(BannerClose, CommentColour, false, true);
}

void PhaseWriter::Statement(const std::string& text) {
  output_.OutputLine(text, NameColour, false, true);
}

void PhaseWriter::Notice(const std::string& text) {
  output_.OutputLine("\r\n" + settings_.SqlCommentPrefix + text, NoticeColour, false, true);
}

void PhaseWriter::ErrorBlock(const std::string& activity, const std::string& error) {
  const std::string& prefix = settings_.SqlCommentPrefix;
  // The client's text ends in a line feed of its own.
  const std::size_t end = error.find_last_not_of(" \r\n");
  const std::string text = error.substr(0, end == std::string::npos ? 0 : end + 1);
  output_.OutputLine("\r\n\r\n\r\n" + prefix + "The following error was received while " + activity,
                     NoticeColour, false, false);
  output_.OutputLine(" in database ", NoticeColour, false, false);
  output_.OutputLine(databaseName_ + " :\r\n", NameColour, false, false);
  output_.OutputLine(prefix + text + "\r\n\r\n", NoticeColour, false, true);
}

void PhaseWriter::NoteScripted(const std::string& kind, const std::string& name) {
  if (unscripted_ != nullptr) {
    unscripted_->NoteScripted(kind, name);
  }
}

void PhaseWriter::NoteUnscripted(const std::string& kind, const std::string& name,
                                 const std::string& reason) {
  if (unscripted_ != nullptr) {
    unscripted_->Add(kind, name, reason);
  }
}

void PhaseWriter::NoteNeeded(const std::string& kind, const std::string& name,
                             const std::string& reason) {
  if (unscripted_ != nullptr) {
    unscripted_->AddNeeded(kind, name, reason);
  }
}
