// ReportOutput: the single path by which a run puts text into the report. It
// appends to the report model, or in file mode writes the report file instead,
// and in auto-save mode keeps the report short by appending it to the report
// file and clearing it whenever it grows past AutoSaveLines lines. Used on the
// worker thread during a run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/LineBreaks.h"
#include "engine/ReportColour.h"
#include "engine/ReportFile.h"
#include "engine/ReportModel.h"

class RunHost;
class SettingsStore;
struct RunFlags;
struct RunSettings;

class ReportOutput {
 public:
  ReportOutput(ReportModel& model, RunSettings& settings, RunFlags& flags, RunHost& host,
               SettingsStore& store);

  // Appends text (callers add their own "\r\n") in colour, underlined or not,
  // with its line breaks in the run's style as origin allows. In file mode the
  // text goes to the report file; when that fails it and all later text goes
  // to the report. With countForAutoSave the call may trigger an auto-save.
  void OutputLine(std::string_view text, ReportColour colour, bool underline, bool countForAutoSave,
                  TextOrigin origin = TextOrigin::Program);

  // Start of every run: clears the report, applies the stored character format
  // and takes the run's line-break style.
  void PrepareReport();

  // File mode: creates ReportFileName (emptying it) and switches auto-save off;
  // on failure says so and clears ReportToFile.
  bool OpenReportFile();
  // File mode: writes text to the report file; the colour is what the text is
  // shown in should the file fail later. On failure says so, leaves file mode,
  // puts the earlier text that did not reach the file into the report and
  // returns false; the caller then shows text in the report. False without a
  // message while no report file is open.
  bool WriteLineToFile(std::string_view text, ReportColour colour = TextColour,
                       bool underline = false);
  // Ends file mode's writing: flushes and closes the report file. A failure is
  // handled as in WriteLineToFile, so nothing is lost; false then.
  bool CloseReportFile();

  // Appends the whole report to the report file (the first auto-save of a run
  // empties it) and reports failures in the report; true when saved.
  bool AutoSaveReport();
  // Makes the next auto-save start a new file (end and stop of a run).
  void ForgetAutoSaveFile() { autoSaveFileStarted_ = false; }
  bool AutoSaveFileStarted() const { return autoSaveFileStarted_; }

 private:
  void ReportAutoSaveFailure(std::string_view step, std::string_view detail = {});
  bool OpenAutoSaveFile(ReportFile& file);
  bool WriteAutoSaveLines(ReportFile& file);
  bool FlushPendingFileText();
  void LeaveFileMode();

  ReportModel& model_;
  RunSettings& settings_;
  RunFlags& flags_;
  RunHost& host_;
  SettingsStore& store_;
  ReportFile reportFile_;
  LineBreakConverter lineBreaks_;
  // Where a colour or underline of file mode's pending text begins.
  struct RunMark {
    std::size_t offset;
    ReportColour colour;
    bool underline;
  };
  // File mode's text not yet flushed, in one buffer written at once, with
  // its colours so that a failed write can put it into the report; it starts
  // at pendingStart_ in the file. Both keep their capacity across flushes.
  std::string pendingText_;
  std::vector<RunMark> pendingMarks_;
  long long pendingStart_ = 0;
  bool autoSaveFileStarted_ = false;
};
