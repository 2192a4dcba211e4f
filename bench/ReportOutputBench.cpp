// Measures report output: 100,000 INSERT-like statements of five OutputLine
// calls each, on the screen with auto-save off and on (500 lines) and in file
// mode, printing each time and its ratio to file mode.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/SilentRunHost.h"
#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"

namespace {

constexpr int StatementCount = 100000;

enum class Mode { Screen, ScreenAutoSave, File };

// Writes the statements the way data scripting does and returns the seconds taken.
double Measure(Mode mode, const std::string& fileName) {
  MemorySettingsStore store;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  SilentRunHost host;
  ReportOutput output(model, settings, flags, host, store);
  settings.ReportFileName = fileName;
  settings.AutoSave = mode == Mode::ScreenAutoSave ? 1 : 0;
  settings.AutoSaveLines = 500;
  settings.ReportToFile = mode == Mode::File ? 1 : 0;

  const auto start = std::chrono::steady_clock::now();
  output.PrepareReport();
  if (settings.ReportToFile && !output.OpenReportFile()) {
    std::exit(1);
  }
  for (int i = 0; i < StatementCount; ++i) {
    output.OutputLine("INSERT INTO ", CommentColour, false, true);
    output.OutputLine("SCOTT.EMP", AlertColour, false, true);
    output.OutputLine(" (EMPNO, ENAME, JOB, HIREDATE, SAL) VALUES (", CommentColour, false, true);
    output.OutputLine(std::to_string(7000 + i) +
                          ", 'SMITH', 'CLERK', TO_DATE('12/17/1980 00:00', 'MM/DD/YYYY HH24:MI'), "
                          "800",
                      NameColour, false, true);
    output.OutputLine(");\r\n", CommentColour, false, true);
  }
  if (settings.AutoSave) {
    output.AutoSaveReport();
  }
  output.CloseReportFile();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

}  // namespace

int main() {
  const std::filesystem::path directory = std::filesystem::temp_directory_path();
  const std::string fileName =
      (directory / ("report-output-bench-" + std::to_string(::getpid()) + ".sql")).string();

  const double file = Measure(Mode::File, fileName);
  const double screen = Measure(Mode::Screen, fileName);
  const double autoSave = Measure(Mode::ScreenAutoSave, fileName);
  std::filesystem::remove(fileName);

  std::printf("%d statements, 5 OutputLine calls each\n", StatementCount);
  std::printf("%-32s %8.3f s  %5.2f x file mode\n", "screen, auto-save off", screen, screen / file);
  std::printf("%-32s %8.3f s  %5.2f x file mode\n", "screen, auto-save every 500 lines", autoSave,
              autoSave / file);
  std::printf("%-32s %8.3f s  %5.2f x file mode\n", "file mode", file, 1.0);
  return 0;
}
