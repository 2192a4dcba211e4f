// report_view_bench: how fast the desktop report view keeps up with a run.
// A worker appends 100,000 INSERT-like statements (five OutputLine calls each)
// to the report while the view catches up from its timer offscreen; the time
// until the view shows the whole report is printed against file mode.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "bench/SilentRunHost.h"
#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "ui/CTallyfoldView.h"

namespace {

constexpr int StatementCount = 100000;

void WriteStatements(ReportOutput& output) {
  for (int i = 0; i < StatementCount; ++i) {
    output.OutputLine("INSERT INTO ", CommentColour, false, true);
    output.OutputLine("SCOTT.EMPLOYEES", AlertColour, false, true);
    output.OutputLine(" (EMPNO, ENAME, HIREDATE, SAL) VALUES (", CommentColour, false, true);
    output.OutputLine(std::to_string(7000 + i) + ", 'SMITH', '17-12-1980', 800.50", NameColour,
                      false, true);
    output.OutputLine(");\r\n", CommentColour, false, true);
  }
}

double FileModeSeconds(const QString& path) {
  ReportModel model;
  RunSettings settings;
  RunFlags flags;
  SilentRunHost host;
  MemorySettingsStore store;
  settings.ReportToFile = 1;
  settings.ReportFileName = path.toStdString();
  ReportOutput output(model, settings, flags, host, store);
  QElapsedTimer timer;
  timer.start();
  output.OpenReportFile();
  WriteStatements(output);
  output.CloseReportFile();
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

struct ScreenTimes {
  double written;  // the worker has written every statement
  double shown;    // the view shows the whole report
  int shownLines;
};

// A worker writes in screen mode while the view catches up from its timer.
ScreenTimes ScreenMode(bool autoSave, const QString& path) {
  ReportModel model;
  RunSettings settings;
  RunFlags flags;
  SilentRunHost host;
  MemorySettingsStore store;
  settings.AutoSave = autoSave ? 1 : 0;
  settings.AutoSaveLines = 500;
  settings.ReportFileName = path.toStdString();
  ReportOutput output(model, settings, flags, host, store);
  CTallyfoldView view(model, nullptr);
  view.resize(800, 600);
  view.show();

  QElapsedTimer timer;
  timer.start();
  std::atomic<qint64> writtenAt{0};
  std::thread worker([&] {
    WriteStatements(output);
    writtenAt = timer.nsecsElapsed();
  });
  while (writtenAt == 0 || view.HasPendingRuns()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  worker.join();
  view.CatchUp();  // what came after the last tick
  return {static_cast<double>(writtenAt) / 1e9, static_cast<double>(timer.nsecsElapsed()) / 1e9,
          view.document()->blockCount()};
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir dir;
  const QString path = dir.filePath("report.sql");

  const double file = FileModeSeconds(path);
  std::printf("%d statements, five OutputLine calls each\n", StatementCount);
  std::printf("file mode:               %7.3f s\n", file);
  for (const bool autoSave : {false, true}) {
    const ScreenTimes times = ScreenMode(autoSave, path);
    std::printf("%s run %7.3f s (%5.1f x file mode), view complete %7.3f s (%5.1f x), %d lines\n",
                autoSave ? "auto-save (500 lines):" : "screen mode:           ", times.written,
                times.written / file, times.shown, times.shown / file, times.shownLines);
  }
  return 0;
}
