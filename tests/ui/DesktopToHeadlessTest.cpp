// A configuration saved from the desktop program, run again headless with
// --batch --config, gives the report the desktop run gave (but for the run's
// date and elapsed time).
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "ScriptedPrompts.h"
#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "config/ConfigurationFile.h"
#include "engine/ReportModel.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"

namespace {

// The report's lines without those that name the moment of the run.
QStringList StableLines(QString report) {
  report.remove('\r');
  QStringList lines = report.split('\n');
  static const QRegularExpression moment(R"(Elapsed Time|\d\d:\d\d:\d\d|, \d{4})");
  lines.removeIf([](const QString& line) { return moment.match(line).hasMatch(); });
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) {
    lines.removeLast();
  }
  return lines;
}

TEST(DesktopToHeadlessTest, SavedConfigurationGivesTheSameReportHeadless) {
  QTemporaryDir directory;
  const std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame(*store, prompts, phases);

  RunSettings setup;
  setup.DoData = 0;
  setup.ExcludedTables = {"EMPLOYEES"};
  const QString logon = directory.filePath("logon.qmo");
  ASSERT_FALSE(
      WriteConfigurationFile(logon.toStdString(), EncodeConfiguration("DEMO/demo@demo", setup)));
  ASSERT_TRUE(frame.Configuration().Load(logon, true));
  const QString saved = directory.filePath("saved.qmo");
  prompts.ChooseFile(saved);
  frame.SaveConfigurationAction()->trigger();

  frame.Engine().Driver().StartRun();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return prompts.WasShown("Quillmark for Oracle has finished scripting the database") &&
               !frame.Engine().Driver().IsWorkerActive();
      },
      60000));
  const QString desktopReport = QString::fromStdString(frame.Engine().Model().Text());

  BatchOptions options;
  options.Batch = true;
  options.Quiet = true;
  options.ConfigFile = saved.toStdString();
  options.ReportFile = directory.filePath("headless.sql").toStdString();
  const std::unique_ptr<MemorySettingsStore> headlessStore = SandboxSettings();
  std::ostringstream output;
  std::ostringstream errors;
  ASSERT_EQ(RunBatch(options, *headlessStore, output, errors), BatchFinished) << errors.str();
  QFile headless(QString::fromStdString(options.ReportFile));
  ASSERT_TRUE(headless.open(QIODevice::ReadOnly));
  const QStringList expected = StableLines(desktopReport);
  EXPECT_GT(expected.size(), 10);
  EXPECT_TRUE(desktopReport.contains("create the table DEPARTMENTS"));
  EXPECT_FALSE(desktopReport.contains("create the table EMPLOYEES"));
  EXPECT_EQ(StableLines(QString::fromUtf8(headless.readAll())), expected);
}

}  // namespace
