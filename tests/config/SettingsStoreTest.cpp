// The settings stores: the in-memory one and the QSettings one in an INI
// directory, read back by a second instance as at the next start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

#include "config/MemorySettingsStore.h"
#include "config/QtSettingsStore.h"
#include "engine/ReportCharFormat.h"
#include "engine/RunSettings.h"

namespace {

namespace fs = std::filesystem;

TEST(MemorySettingsStore, KeepsValuesPerSectionAndKey) {
  MemorySettingsStore store;
  EXPECT_EQ(store.GetInt("Settings", "asl", 500), 500);
  EXPECT_EQ(store.GetString("Settings", "szFaceName", "Courier New"), "Courier New");
  store.SetInt("Settings", "asl", 20);
  store.SetString("Recent DB", "asl", "text");
  EXPECT_EQ(store.GetInt("Settings", "asl", 500), 20);
  EXPECT_EQ(store.GetString("Recent DB", "asl", ""), "text");
  EXPECT_TRUE(store.Contains("Settings", "asl"));
  store.Remove("Settings", "asl");
  store.Remove("Settings", "never-there");
  EXPECT_FALSE(store.Contains("Settings", "asl"));
  EXPECT_TRUE(store.Contains("Recent DB", "asl"));
}

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qt-store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path directory_;
};

TEST_F(QtSettingsStoreTest, StoreFileIsReadableByItsOwnerOnly) {
  const fs::path file = directory_ / "Quillmark for Oracle.ini";
  {
    std::ofstream(file) << "[Settings]\nasl=1\n";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    QtSettingsStore store(directory_.string());
    store.SetString("Recent DB", "Login1", "scott/tiger@orcl");
    store.Sync();
  }
  EXPECT_EQ(fs::status(file).permissions() & (fs::perms::group_all | fs::perms::others_all),
            fs::perms::none);
  QtSettingsStore reopened(directory_.string());
  EXPECT_EQ(reopened.GetInt("Settings", "asl", 0), 1);
}

TEST_F(QtSettingsStoreTest, ValuesSurviveANewInstanceAndSectionsAreGroups) {
  {
    QtSettingsStore store((directory_ / "sub").string());
    store.SetInt("Settings", "asl", 750);
    store.SetInt("Settings", "dwMask", static_cast<int>(0xB0000013u));
    store.SetString("Settings", "szFaceName", "Liberation Mono \xC3\xA9");
    store.SetString("Recent DB", "Login1", "scott@orcl");
    store.SetString("Recent DB", "a/b", "slash");
    store.Sync();
    EXPECT_EQ(fs::path(store.Location()).parent_path(), directory_ / "sub");
  }
  QtSettingsStore reopened((directory_ / "sub").string());
  EXPECT_EQ(reopened.GetInt("Settings", "asl", 0), 750);
  EXPECT_EQ(static_cast<unsigned>(reopened.GetInt("Settings", "dwMask", 0)), 0xB0000013u);
  EXPECT_EQ(reopened.GetString("Settings", "szFaceName", ""), "Liberation Mono \xC3\xA9");
  EXPECT_EQ(reopened.GetString("Recent DB", "Login1", ""), "scott@orcl");
  EXPECT_EQ(reopened.GetString("Recent DB", "a/b", ""), "slash");
  EXPECT_EQ(reopened.GetInt("Settings", "missing", 42), 42);
  EXPECT_EQ(reopened.GetString("Settings", "missing", "none"), "none");
  // A string that is no number reads as the default integer.
  EXPECT_EQ(reopened.GetInt("Recent DB", "Login1", 9), 9);
  reopened.Remove("Settings", "asl");
  EXPECT_FALSE(reopened.Contains("Settings", "asl"));
  reopened.Sync();

  std::ifstream in(reopened.Location());
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[Settings]"), std::string::npos);
  EXPECT_NE(text.str().find("[Recent%20DB]"), std::string::npos);
}

TEST_F(QtSettingsStoreTest, RunSettingsAndFontRoundTripThroughTheFile) {
  RunSettings settings;
  settings.AutoSave = 1;
  settings.AutoSaveLines = 12;
  settings.DoTypeBody = 0;
  settings.RunMode = ScriptingRunMode;
  ReportCharFormat format;
  format.SetFont("DejaVu Sans Mono", 10, false, true);
  {
    QtSettingsStore store(directory_.string());
    settings.SaveRunSettings(store);
    format.Save(store);
    store.Sync();
  }
  QtSettingsStore store(directory_.string());
  RunSettings loaded;
  loaded.LoadRunSettings(store);
  MemorySettingsStore expected;
  MemorySettingsStore actual;
  settings.SaveRunSettings(expected);
  loaded.SaveRunSettings(actual);
  for (const std::string& key : RunSettings::StoredKeys()) {
    EXPECT_EQ(actual.GetInt(SettingsSection, key, -1), expected.GetInt(SettingsSection, key, -2))
        << key;
  }
  EXPECT_EQ(loaded.SqlCommentPrefix, "-- ");
  EXPECT_EQ(ReportCharFormat::Load(store), format);
}

TEST_F(QtSettingsStoreTest, ANewFileIsReadableByItsOwnerAloneAfterSaving) {
  QtSettingsStore store(directory_.string());
  store.SetString("Recent DB", "0", "scott/tiger@orcl");
  store.Sync();
  EXPECT_TRUE(store.Problem().empty()) << store.Problem();
  const fs::perms permissions = fs::status(store.Location()).permissions();
  EXPECT_EQ(permissions & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(QtSettingsStoreTest, AnUnusableFileIsToldInItsOwnWordsAndNeverOverwritten) {
  const fs::path file = directory_ / "Quillmark for Oracle.ini";
  fs::create_directory(file);
  const std::string asDirectory = QtSettingsStore(directory_.string()).Problem();
  EXPECT_NE(asDirectory.find("is a directory"), std::string::npos) << asDirectory;
  fs::remove(file);

  const std::string garbage(
      "\x7f"
      "ELF\0\x01binary\nnot a setting\n",
      24);
  std::ofstream(file, std::ios::binary) << garbage;
  {
    QtSettingsStore store(directory_.string());
    EXPECT_NE(store.Problem().find("is not a settings file; it was kept as"), std::string::npos)
        << store.Problem();
    store.SetInt("Settings", "asl", 3);
    store.Sync();
  }
  std::ifstream kept(file.string() + ".unusable", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), garbage);
  EXPECT_EQ(QtSettingsStore(directory_.string()).GetInt("Settings", "asl", 0), 3);

  // Comments, continued lines and blank lines are a settings file.
  std::ofstream(file) << "; comment\n[Settings]\n\nasl=4\nlong=a\\\n  b\n";
  EXPECT_EQ(QtSettingsStore(directory_.string()).Problem(), "");

  if (::geteuid() != 0) {  // the superuser reads every file
    fs::permissions(file, fs::perms::none);
    const std::string unreadable = QtSettingsStore(directory_.string()).Problem();
    EXPECT_NE(unreadable.find("cannot be read (Permission denied)"), std::string::npos)
        << unreadable;
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  }
}

TEST_F(QtSettingsStoreTest, IntegersBeyondTheIntRangeReadAsItsNearestEnd) {
  std::ofstream(directory_ / "Quillmark for Oracle.ini")
      << "[Settings]\nbig=99999999999\nsmall=-99999999999\nword=abc\n";
  QtSettingsStore store(directory_.string());
  EXPECT_EQ(store.GetInt("Settings", "big", 0), 2147483647);
  EXPECT_EQ(store.GetInt("Settings", "small", 0), -2147483647 - 1);
  EXPECT_EQ(store.GetInt("Settings", "word", 7), 7);
}

}  // namespace
