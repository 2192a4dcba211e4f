// The *.qmo record stream: length prefixes at their limits, a file built by
// hand from the record table, wide texts, a full round trip, and damaged
// files that must change nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
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
  file.ShortText("Version 1.1").ShortText("OTHER:SCOTT/tiger@orcl");
  // Records 3 to 69: flags alternate with the record number's parity, the
  // integers with a range hold a value of it; record 7 is a text and record
  // 70 the statement.
  for (unsigned record = 3; record <= 69; ++record) {
    if (record == 7) {
      file.ShortText("/tmp/report.sql");
    } else if (record == 3 || record == 40) {
      file.U32(2);
    } else if (record == 6 || record == 9) {
      file.U32(100 + record);
    } else {
      file.U32(record % 2);
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
  EXPECT_EQ(header.Version, "Version 1.1");
  EXPECT_EQ(header.ConnectString, "OTHER:SCOTT/tiger@orcl");
  EXPECT_EQ(s.SpecialNameMode, 2);
  EXPECT_EQ(s.AutoSaveLines, 106);
  EXPECT_EQ(s.ReportFileName, "/tmp/report.sql");
  EXPECT_EQ(s.ReportToFile, 0);
  EXPECT_EQ(s.TriggerSourceLimit, 109);
  EXPECT_EQ(s.DataIgnoreLeadingSpaces, 0);
  EXPECT_EQ(s.DoTableSkipped, 1);
  EXPECT_EQ(s.DoProcedureSkipped, 0);
  EXPECT_EQ(s.ConstraintNameMode, 2);
  EXPECT_EQ(s.DoObjectPrivileges, 0);
  EXPECT_EQ(s.DoTable, 1);
  EXPECT_EQ(s.DoViewSource, 1);
  EXPECT_EQ(s.DoData, 0);
  EXPECT_EQ(s.NoDiffProcedure, 1);
  EXPECT_EQ(s.PrivilegeTrimSpaces, 1);
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
  written.AutoSaveLines = 999999;
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
  EXPECT_EQ(read.AutoSaveLines, 999999);
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

// Whatever the settings hold, the writer's file reads back: integers out of
// their range are written as the nearest value in it, flags as 0 or 1.
TEST(ConfigurationFileTest, EveryFileTheWriterMakesIsAccepted) {
  std::mt19937 random(11);
  const int odd[] = {-5, 0, 1, 2, 3, 99, 100, 64001, 999999, 1000000, INT32_MIN, INT32_MAX};
  for (int round = 0; round < 300; ++round) {
    RunSettings settings;
    for (int* field :
         {&settings.SpecialNameMode, &settings.AutoSaveLines, &settings.TriggerSourceLimit,
          &settings.ConstraintNameMode, &settings.DoTable, &settings.ReportToFile,
          &settings.AutoSave, &settings.PrivilegeTrimSpaces, &settings.NoDiffData}) {
      *field = odd[random() % std::size(odd)];
    }
    settings.ReportFileName = round % 3 == 0 ? "" : "/tmp/report " + std::to_string(round) + ".sql";
    settings.StatementText = std::string(random() % 300, 'q') + "\r\n\tselect";
    settings.ExcludedViews.assign(random() % 4, std::string(random() % 260, 'V'));
    settings.DataConditions[std::string(random() % 3, 'T')] = "x\ny";
    const std::string bytes = EncodeConfiguration("S:u/p@db", settings);
    RunSettings read;
    ConfigurationHeader header;
    const std::optional<std::string> problem = DecodeConfiguration(bytes, header, read);
    ASSERT_FALSE(problem) << *problem;
    EXPECT_EQ(EncodeConfiguration(header.ConnectString, read), bytes);
    EXPECT_GE(read.AutoSaveLines, 1);
    EXPECT_LE(read.TriggerSourceLimit, 64000);
    EXPECT_TRUE(read.DoTable == 0 || read.DoTable == 1);
  }
}

// Damage the format cannot hold is refused whole: another version, bytes
// after the last record, zeros, an integer out of its range and a report
// file name that is not a path.
TEST(ConfigurationFileTest, WhatTheFormatCannotHoldIsRefused) {
  RunSettings settings;
  settings.ReportFileName = "/tmp/r.sql";
  const std::string good = EncodeConfiguration("U/p@db", settings);
  RunSettings current;
  current.ReportFileName = "kept";
  ConfigurationHeader header;
  const auto refusal = [&](const std::string& bytes) {
    const std::optional<std::string> problem = DecodeConfiguration(bytes, header, current);
    EXPECT_EQ(current.ReportFileName, "kept");
    return problem.value_or("accepted");
  };

  std::string otherVersion = good;
  otherVersion[11] = '2';
  EXPECT_NE(refusal(otherVersion).find("\"Version 1.2\" is not a version"), std::string::npos);
  EXPECT_NE(refusal(good + "x").find("1 bytes more after its last record"), std::string::npos);
  EXPECT_NE(refusal(std::string(4096, '\0')).find("Record 1 (version)"), std::string::npos);

  // Record 3 (SpecialNameMode) starts after the two texts.
  const std::size_t record3 = 1 + 11 + 1 + 6;
  std::string mode = good;
  mode[record3] = 3;
  EXPECT_NE(refusal(mode).find("Record 3 (SpecialNameMode) could not be read: 3 is not in 0 to 2"),
            std::string::npos)
      << refusal(mode);
  std::string flag = good;
  flag[record3 + 4] = 2;  // IgnoreLastSequenceValue
  EXPECT_NE(refusal(flag).find("Record 4"), std::string::npos);

  for (const std::string& name :
       {std::string("/tmp/\x1b]0;x\x07.sql"), std::string("a\0b", 3), std::string(5000, 'n')}) {
    RunSettings odd;
    odd.ReportFileName = name;
    EXPECT_NE(refusal(EncodeConfiguration("", odd)).find("Record 7 (ReportFileName)"),
              std::string::npos);
  }
  EXPECT_NE(refusal(EncodeConfiguration("",
                                        [] {
                                          RunSettings odd;
                                          odd.ReportFileName = "/tmp/\x1b.sql";
                                          return odd;
                                        }()))
                .find("\\x1b"),
            std::string::npos);

  // Most single-byte changes are caught; none of the rest loads a report
  // file name that is not the written one with a byte changed.
  int accepted = 0;
  for (std::size_t at = 0; at < good.size(); ++at) {
    std::string changed = good;
    changed[at] = static_cast<char>(changed[at] ^ 0x41);
    RunSettings read;
    if (!DecodeConfiguration(changed, header, read)) {
      ++accepted;
      EXPECT_EQ(read.ReportFileName.size(), settings.ReportFileName.size()) << at;
    }
  }
  EXPECT_LT(accepted, static_cast<int>(good.size()) / 4);
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
  // Each reason in words of its own.
  EXPECT_EQ(ReadConfigurationFile((directory / "missing.qmo").string(), read),
            "Could not open config file: No such file or directory.");
  EXPECT_EQ(ReadConfigurationFile(directory.string(), read),
            "Could not open config file: it is a folder.");
  EXPECT_EQ(ReadConfigurationFile("/dev/null", read),
            "Could not open config file: it is not a regular file.");
  std::filesystem::remove_all(directory);
}

}  // namespace
