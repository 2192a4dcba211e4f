// Save Configuration as and Open Configuration offscreen against the sandbox:
// the round trip of settings and connect string, the reconnect question, a
// damaged file that changes nothing, and loads refused during a run.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ScriptedPrompts.h"
#include "config/ConfigurationFile.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"

namespace {

constexpr const char* ReconnectQuestion =
    "Do you wish to re-connect to the database on the config file?";

class ConfigurationCommandsTest : public ::testing::Test {
 protected:
  ConfigurationCommandsTest() : store(SandboxSettings()), frame(*store, prompts, phases) {}

  RunSettings& Settings() { return frame.Engine().Settings(); }
  QString PathOf(const char* name) const { return directory.filePath(name); }

  // A file written by our writer with connectString and a few changed options.
  QString WriteConfiguration(const char* name, const std::string& connectString) {
    RunSettings settings;
    settings.DoData = 0;
    settings.ExcludedTables = {"AUDIT_LOG"};
    settings.DataConditions["EMP"] = "DEPTNO = 10";
    settings.StatementText = "select * from dept\n";
    const QString path = PathOf(name);
    EXPECT_FALSE(
        WriteConfigurationFile(path.toStdString(), EncodeConfiguration(connectString, settings)));
    return path;
  }

  std::unique_ptr<MemorySettingsStore> store;
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame;
  QTemporaryDir directory;
};

TEST_F(ConfigurationCommandsTest, SavedSetupComesBackWithItsConnection) {
  frame.Configuration().Load(WriteConfiguration("logon.qmo", "DEMO/demo@demo"), true);
  ASSERT_NE(frame.Connection(), nullptr);
  EXPECT_FALSE(frame.Connection()->NotConnected());
  EXPECT_EQ(phases.Connection(), frame.Connection());
  EXPECT_FALSE(prompts.WasShown(ReconnectQuestion));  // a silent load asks nothing

  Settings().DoSequence = 0;
  Settings().IgnoredColumnPatterns = {"%_TS", "ROW_ID"};
  const QString saved = PathOf("saved.qmo");
  prompts.ChooseFile(saved);
  frame.SaveConfigurationAction()->trigger();
  EXPECT_EQ(QFile(saved).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

  std::string bytes;
  ASSERT_FALSE(ReadConfigurationFile(saved.toStdString(), bytes));
  ConfigurationHeader header;
  RunSettings read;
  ASSERT_FALSE(DecodeConfiguration(bytes, header, read));
  EXPECT_EQ(header.ConnectString, frame.Connection()->ConnectString());
  EXPECT_EQ(read.DoSequence, 0);
  EXPECT_EQ(read.DoData, 0);
  EXPECT_EQ(read.IgnoredColumnPatterns, Settings().IgnoredColumnPatterns);
  EXPECT_EQ(read.DataConditions.at("EMP"), "DEPTNO = 10");

  // Answering No keeps the session but still replaces every option.
  const std::shared_ptr<DatabaseConnection> first = frame.Connection();
  Settings() = RunSettings();
  prompts.ChooseFile(saved);
  prompts.Answer(MessageAnswer::No);
  frame.OpenConfigurationAction()->trigger();
  EXPECT_TRUE(prompts.WasShown(ReconnectQuestion));
  EXPECT_EQ(frame.Connection(), first);
  EXPECT_EQ(Settings().DoSequence, 0);
  EXPECT_EQ(Settings().ExcludedTables, std::vector<std::string>{"AUDIT_LOG"});
  EXPECT_EQ(Settings().StatementText, "select * from dept\n");

  prompts.ChooseFile(saved);
  prompts.Answer(MessageAnswer::Yes);
  frame.OpenConfigurationAction()->trigger();
  ASSERT_NE(frame.Connection(), first);
  EXPECT_FALSE(frame.Connection()->NotConnected());
  EXPECT_EQ(phases.Connection(), frame.Connection());
}

TEST_F(ConfigurationCommandsTest, EmptyConnectStringKeepsTheConnectionWithoutAsking) {
  frame.Configuration().Load(WriteConfiguration("logon.qmo", "DEMO/demo@demo"), true);
  const std::shared_ptr<DatabaseConnection> first = frame.Connection();
  prompts.ChooseFile(WriteConfiguration("none.qmo", ""));
  frame.OpenConfigurationAction()->trigger();
  EXPECT_FALSE(prompts.WasShown(ReconnectQuestion));
  EXPECT_EQ(frame.Connection(), first);
  EXPECT_EQ(Settings().DoData, 0);
}

TEST_F(ConfigurationCommandsTest, DamagedOrMissingFileChangesNothing) {
  const QString path = WriteConfiguration("cut.qmo", "DEMO/demo@demo");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.resize(file.size() / 2);
  file.close();

  EXPECT_FALSE(frame.Configuration().Load(path, true));
  EXPECT_EQ(frame.Connection(), nullptr);  // no reconnect from a half-read file
  EXPECT_EQ(Settings().DoData, 1);
  EXPECT_TRUE(prompts.Messages().last().startsWith("Could not read config file '" + path + "'"));

  EXPECT_FALSE(frame.Configuration().Load(PathOf("missing.qmo"), false));
  EXPECT_EQ(prompts.Messages().last(), "Could not open config file.");

  prompts.ChooseFile(PathOf("no/such/folder/x.qmo"));
  frame.SaveConfigurationAction()->trigger();
  EXPECT_TRUE(prompts.Messages().last().startsWith("Could not open config file."));
}

TEST_F(ConfigurationCommandsTest, LoadIsRefusedWhileARunIsInProgress) {
  const QString path = WriteConfiguration("logon.qmo", "DEMO/demo@demo");
  frame.Engine().Flags().Running = 1;
  prompts.ChooseFile(path);
  frame.OpenConfigurationAction()->trigger();
  EXPECT_EQ(prompts.FileDialogsShown(), 0);
  EXPECT_FALSE(frame.Configuration().Load(path, true));
  frame.Engine().Flags().Running = 0;
  EXPECT_EQ(frame.Connection(), nullptr);
  EXPECT_EQ(Settings().DoData, 1);
  EXPECT_TRUE(prompts.Messages().last().startsWith("A configuration cannot be opened while"));
}

}  // namespace
