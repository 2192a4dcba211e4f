// A configuration saved from the desktop program, run again headless with
// --batch --config, gives the report the desktop run gave (but for the run's
// date and elapsed time); the desktop's split folder option writes the files
// that --split writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
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

// A desktop window logged on to the demo database with setup.
class DesktopToHeadlessTest : public ::testing::Test {
 protected:
  // Loads setup as a configuration file; false when the window refused it.
  bool LoadSetup(const RunSettings& setup) {
    const QString logon = directory.filePath("logon.qmo");
    return !WriteConfigurationFile(logon.toStdString(),
                                   EncodeConfiguration("DEMO/demo@demo", setup)) &&
           frame.Configuration().Load(logon, true);
  }
  // Starts a scripting run and waits for its end.
  bool RunDesktop() {
    frame.Engine().Driver().StartRun();
    return QTest::qWaitFor(
        [&] {
          return prompts.WasShown("Quillmark for Oracle has finished scripting the database") &&
                 !frame.Engine().Driver().IsWorkerActive();
        },
        60000);
  }

  QTemporaryDir directory;
  const std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame{*store, prompts, phases};
};

TEST_F(DesktopToHeadlessTest, SavedConfigurationGivesTheSameReportHeadless) {
  RunSettings setup;
  setup.DoData = 0;
  setup.ExcludedTables = {"EMPLOYEES"};
  ASSERT_TRUE(LoadSetup(setup));
  const QString saved = directory.filePath("saved.qmo");
  prompts.ChooseFile(saved);
  frame.SaveConfigurationAction()->trigger();
  ASSERT_TRUE(RunDesktop());
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

// Every file under folder with its bytes.
std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::ifstream file(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    files[entry.path().lexically_relative(folder).generic_string()] = bytes.str();
  }
  return files;
}

TEST_F(DesktopToHeadlessTest, SplitFolderOptionWritesTheFilesThatSplitWritesHeadless) {
  ASSERT_TRUE(LoadSetup(RunSettings()));
  const std::string desktopFolder = directory.filePath("desktop").toStdString();
  frame.Engine().Settings().SplitFolder = desktopFolder;
  ASSERT_TRUE(RunDesktop());
  // The run's report went to the folder; the window's output mode is as it was.
  EXPECT_EQ(frame.Engine().Settings().ReportToFile, 0);
  EXPECT_EQ(frame.Engine().Settings().StableOutput, 0);

  BatchOptions options;
  options.Batch = true;
  options.Quiet = true;
  options.ConnectString = "DEMO/demo@demo";
  options.Kinds = BatchKindNames();
  options.SplitDirectory = directory.filePath("headless").toStdString();
  const std::unique_ptr<MemorySettingsStore> headlessStore = SandboxSettings();
  std::ostringstream output;
  std::ostringstream errors;
  ASSERT_EQ(RunBatch(options, *headlessStore, output, errors), BatchFinished) << errors.str();
  const std::map<std::string, std::string> files = FilesUnder(desktopFolder);
  EXPECT_GT(files.size(), 40u);
  EXPECT_EQ(files.count("tables/DEPARTMENTS.sql"), 1u);
  EXPECT_EQ(FilesUnder(options.SplitDirectory), files);
}

}  // namespace
