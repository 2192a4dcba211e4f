// The *.qmo record stream: length prefixes at their limits, a file built by
// hand from the record table, wide texts, a full round trip, and damaged
// files that must change nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

#include "config/ConfigurationFile.h"

namespace {

// Builds record streams byte by byte, independently of the program's writer.
struct Bytes {
  std::string data;
  Bytes& U8(unsigned value) {
    data += static_cast<char>(value);
    return *this;
  }
  Bytes& U16(unsigned value) { return U8(value & 0xFF).U8(value >> 8); }
  Bytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  Bytes& ShortText(const std::string& text) {
    U8(static_cast<unsigned>(text.size()));
    data += text;
    return *this;
  }
};

// The bytes of record 83 as this version writes it: a count and five
// (name, integer) pairs.
std::size_t NamedSwitchRecordSize() {
  std::size_t size = 4;
  for (const std::string name :
       {"DoSynonym", "DoObjectGrant", "DoDatabaseLink", "DoMaterializedView", "DoMviewLog"}) {
    size += 1 + name.size() + 4;
  }
  return size;
}

RunSettings Decoded(const std::string& bytes, ConfigurationHeader* header = nullptr) {
  RunSettings settings;
  ConfigurationHeader read;
  const std::optional<std::string> problem = DecodeConfiguration(bytes, read, settings);
  EXPECT_FALSE(problem) << *problem;
  if (header != nullptr) {
    *header = read;
  }
  return settings;
}

TEST(ConfigurationFileTest, TextLengthPrefixesAtTheirLimits) {
  const auto prefixOf = [](std::size_t length) {
    RunSettings settings;
    settings.StatementText = std::string(length, 's');
    const std::string bytes = EncodeConfiguration("", settings);
    // Records 1 and 2, 66 integers and the empty report file name come first.
    const std::size_t at = (1 + 11) + 1 + 66 * 4 + 1;
    EXPECT_EQ(Decoded(bytes).StatementText.size(), length);
    return bytes.substr(at, 7);
  };
  EXPECT_EQ(prefixOf(254).substr(0, 2), std::string("\xFE"
                                                    "s"));
  EXPECT_EQ(prefixOf(255).substr(0, 4), std::string("\xFF\xFF\x00s", 4));
  EXPECT_EQ(prefixOf(65533).substr(0, 4), std::string("\xFF\xFD\xFFs", 4));
  EXPECT_EQ(prefixOf(65534), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
  EXPECT_EQ(prefixOf(0).substr(0, 1), std::string("\x00", 1));
}

TEST(ConfigurationFileTest, HandWrittenFileIsReadFieldByField) {
  Bytes file;
  file.ShortText("Version 9.9").ShortText("OTHER:SCOTT/tiger@orcl");
  // Records 3 to 69: each integer is its record number, but for the text
  // record 7; record 70 is the statement.
  for (unsigned record = 3; record <= 69; ++record) {
    if (record == 7) {
      file.ShortText("/tmp/report.sql");
    } else {
      file.U32(record);
    }
  }
  file.ShortText("select * from dual");
  // Records 71 to 81: list n holds n - 70 entries.
  for (unsigned record = 71; record <= 81; ++record) {
    file.U32(record - 70);
    for (unsigned i = 0; i < record - 70; ++i) {
      file.ShortText("L" + std::to_string(record) + "_" + std::to_string(i));
    }
  }
  file.U32(3).ShortText("EMP").ShortText("x = 1").ShortText("DEPT").ShortText("y = 2");
  file.ShortText("EMP").ShortText("x = 3");

  ConfigurationHeader header;
  const RunSettings s = Decoded(file.data, &header);
  EXPECT_EQ(header.Version, "Version 9.9");
  EXPECT_EQ(header.ConnectString, "OTHER:SCOTT/tiger@orcl");
  EXPECT_EQ(s.SpecialNameMode, 3);
  EXPECT_EQ(s.AutoSaveLines, 6);
  EXPECT_EQ(s.ReportFileName, "/tmp/report.sql");
  EXPECT_EQ(s.ReportToFile, 8);
  EXPECT_EQ(s.DataIgnoreLeadingSpaces, 16);
  EXPECT_EQ(s.DoTableSkipped, 27);
  EXPECT_EQ(s.DoProcedureSkipped, 36);
  EXPECT_EQ(s.DoObjectPrivileges, 42);
  EXPECT_EQ(s.DoTable, 43);
  EXPECT_EQ(s.DoViewSource, 51);
  EXPECT_EQ(s.DoData, 56);
  EXPECT_EQ(s.NoDiffProcedure, 67);
  EXPECT_EQ(s.PrivilegeTrimSpaces, 69);
  EXPECT_EQ(s.StatementText, "select * from dual");
  EXPECT_EQ(s.IgnoredColumnPatterns, (std::vector<std::string>{"L71_0"}));
  EXPECT_EQ(s.ExcludedTables.size(), 2u);
  EXPECT_EQ(s.ExcludedTables[1], "L72_1");
  EXPECT_EQ(s.ExcludedViewSources.size(), 11u);
  EXPECT_EQ(s.DataConditions.size(), 2u);
  EXPECT_EQ(s.DataConditions.at("EMP"), "x = 3");
  EXPECT_EQ(s.OwnTablesOnly, 1);
  // The file ends after record 82, as an older version wrote it: the kinds
  // that version did not know are on, whatever the settings held before.
  RunSettings before;
  before.DoSynonym = 0;
  before.DoMviewLog = 0;
  ConfigurationHeader ignored;
  ASSERT_FALSE(DecodeConfiguration(file.data, ignored, before));
  for (const int flag : {before.DoSynonym, before.DoObjectGrant, before.DoDatabaseLink,
                         before.DoMaterializedView, before.DoMviewLog}) {
    EXPECT_EQ(flag, 1);
  }

  // A newer file's switches that this version does not know are passed
  // over; the ones it names are taken, the others are on.
  file.U32(3).ShortText("DoSomethingNew").U32(0).ShortText("DoSynonym").U32(0);
  file.ShortText("DoMviewLog").U32(0);
  before.DoDatabaseLink = 0;
  ASSERT_FALSE(DecodeConfiguration(file.data, ignored, before));
  EXPECT_EQ(before.DoSynonym, 0);
  EXPECT_EQ(before.DoMviewLog, 0);
  EXPECT_EQ(before.DoDatabaseLink, 1);
  EXPECT_EQ(before.DoObjectGrant, 1);
}

TEST(ConfigurationFileTest, WideTextsAreReadAsUtf8) {
  RunSettings settings;
  std::string bytes = EncodeConfiguration("", settings);
  // Replace the empty connect string (one zero byte after record 1) by a
  // wide text: "é" and U+1F600 as a surrogate pair, and a lone surrogate.
  Bytes wide;
  wide.U8(0xFF).U16(0xFFFE).U8(4).U16(0x00E9).U16(0xD83D).U16(0xDE00).U16(0xDC00);
  bytes.replace(12, 1, wide.data);
  ConfigurationHeader header;
  Decoded(bytes, &header);
  EXPECT_EQ(header.ConnectString, "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST(ConfigurationFileTest, EveryFieldSurvivesARoundTrip) {
  RunSettings written;
  for (const auto field : {&RunSettings::DoTable, &RunSettings::DoData, &RunSettings::DoTypeBody,
                           &RunSettings::DoSynonym, &RunSettings::DoMaterializedView,
                           &RunSettings::NoDiffData, &RunSettings::DoTableSkipped,
                           &RunSettings::DataCompareNumericByValue, &RunSettings::ReportToFile}) {
    written.*field = 1 - written.*field;
  }
  written.TriggerSourceLimit = 64000;
  written.AutoSaveLines = -5;  // stored as its 32 bits, read back as written
  written.ConstraintNameMode = 2;
  written.ReportFileName = std::string(300, 'r');
  written.StatementText = "select 'it''s' from dual\r\nwhere 1 = 1";
  written.ExcludedTables = {"EMP", "Mixed Case", std::string(128, 'T')};
  written.ExcludedTypeBodies = {"TB"};
  written.IgnoredColumnPatterns = {"%_ID", "CREATED%"};
  written.DataConditions = {{"EMP", "where sal > 0"}, {"DEPT", ""}};
  const std::string bytes = EncodeConfiguration("S:U/p@w:d@db", written);

  ConfigurationHeader header;
  RunSettings read = Decoded(bytes, &header);
  EXPECT_EQ(header.Version, ConfigurationVersion);
  EXPECT_EQ(header.ConnectString, "S:U/p@w:d@db");
  EXPECT_EQ(EncodeConfiguration(header.ConnectString, read), bytes);
  EXPECT_EQ(read.AutoSaveLines, -5);
  EXPECT_EQ(read.ExcludedTables, written.ExcludedTables);
  EXPECT_EQ(read.DataConditions, written.DataConditions);
  EXPECT_EQ(read.DoTable, 0);
  EXPECT_EQ(read.DoSynonym, 0);
  EXPECT_EQ(read.DoMaterializedView, 0);
  EXPECT_EQ(read.DoObjectGrant, 1);
}

TEST(ConfigurationFileTest, DamagedFilesChangeNothingAndNameTheRecord) {
  RunSettings full;
  full.ExcludedTables = {"A", "B"};
  full.DataConditions = {{"EMP", "x = 1"}};
  const std::string bytes = EncodeConfiguration("U/p@db", full);

  RunSettings current;
  current.ExcludedTables = {"KEEP"};
  current.DoData = 0;
  ConfigurationHeader header{"old", "old connect"};
  // Cut just after record 82 the file is an older version's, which loads.
  const std::size_t olderLength = bytes.size() - NamedSwitchRecordSize();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    if (length == olderLength) {
      continue;
    }
    const std::optional<std::string> problem =
        DecodeConfiguration(std::string_view(bytes).substr(0, length), header, current);
    ASSERT_TRUE(problem) << "length " << length;
    EXPECT_EQ(problem->rfind("Record ", 0), 0u) << *problem;
  }
  EXPECT_EQ(current.ExcludedTables, std::vector<std::string>{"KEEP"});
  EXPECT_EQ(current.DoData, 0);
  EXPECT_EQ(header.ConnectString, "old connect");

  // Lengths and counts beyond the end are errors, not allocations.
  Bytes huge;
  huge.ShortText("Version 1.1").U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0u);
  std::optional<std::string> problem = DecodeConfiguration(huge.data, header, current);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("Record 2 (connect string)"), std::string::npos) << *problem;
  EXPECT_NE(problem->find("larger than the rest of the file"), std::string::npos);
  std::string manyEntries = EncodeConfiguration("", RunSettings());
  manyEntries.erase(manyEntries.size() - NamedSwitchRecordSize());
  manyEntries.replace(manyEntries.size() - 4, 4, "\xFF\xFF\xFF\x7F");
  problem = DecodeConfiguration(manyEntries, header, current);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("Record 82 (DataConditions)"), std::string::npos) << *problem;

  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string noise(random() % 600, '\0');
    for (char& c : noise) {
      c = static_cast<char>(random());
    }
    RunSettings scratch;
    DecodeConfiguration(noise, header, scratch);
  }
}

TEST(ConfigurationFileTest, FilesAreWrittenWholeForTheOwnerOnly) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("qmo-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory);
  const std::string path = (directory / "setup.qmo").string();
  std::ofstream(path) << "old contents";
  const std::string bytes = EncodeConfiguration("U/secret@db", RunSettings());
  ASSERT_FALSE(WriteConfigurationFile(path, bytes));
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  std::string read;
  ASSERT_FALSE(ReadConfigurationFile(path, read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                          std::filesystem::directory_iterator()),
            1);

  EXPECT_TRUE(WriteConfigurationFile((directory / "missing" / "x.qmo").string(), bytes));
  EXPECT_EQ(ReadConfigurationFile((directory / "missing.qmo").string(), read),
            "Could not open config file.");
  EXPECT_EQ(ReadConfigurationFile(directory.string(), read), "Could not open config file.");
  std::filesystem::remove_all(directory);
}

}  // namespace
