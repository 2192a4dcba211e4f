// A schema written as one file per object (--split): every object in its own
// file, install.sql replayed into a fresh database rebuilds the schema with
// the same dictionary and the same stored text byte for byte, a second run
// changes no byte, a changed object changes exactly its file and a dropped
// object's file is removed.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/scripting/restore/ReplayFixture.h"

namespace {

namespace fs = std::filesystem;

class SplitRoundTripTest : public ReplayFixture {
 protected:
  // Splits schema into folder; the run's exit status.
  int Split(const std::string& schema, const std::string& password, const std::string& database,
            const fs::path& folder) {
    auto settings = SandboxSettings();
    BatchOptions options = RunOptions(schema, password, database, BatchKindNames());
    options.SplitDirectory = folder.string();
    std::ostringstream output;
    std::ostringstream errors;
    const int status = RunBatch(options, *settings, output, errors);
    EXPECT_EQ(output.str(), "");
    lastErrors = errors.str();
    return status;
  }

  // Every file under folder with its bytes.
  static std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file()) {
        files[entry.path().lexically_relative(folder).generic_string()] =
            ReadWholeFile(entry.path());
      }
    }
    return files;
  }

  // files with the remarks that name a constraint's generated name left out.
  static std::map<std::string, std::string> WithoutGeneratedNames(
      std::map<std::string, std::string> files) {
    const std::string remark = "-- original system constraint name was SYS_C";
    for (auto& [path, bytes] : files) {
      for (std::size_t at = bytes.find(remark); at != std::string::npos; at = bytes.find(remark)) {
        bytes.erase(at, bytes.find('\n', at) + 1 - at);
      }
    }
    return files;
  }

  // install.sql with each "@@file" line replaced by the file, as SQL*Plus
  // runs it.
  static std::string ExpandedInstall(const fs::path& folder) {
    std::istringstream install(ReadWholeFile(folder / "install.sql"));
    std::string script;
    for (std::string line; std::getline(install, line);) {
      script += line.rfind("@@", 0) == 0 ? ReadWholeFile(folder / line.substr(2)) : line + "\n";
    }
    return script;
  }

  // The views a replay must give back, with stored source byte for byte.
  static std::vector<DictionaryView> Views() {
    std::vector<DictionaryView> views = TableDictionaryViews();
    views.push_back({"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}});
    // Blanks, tabs and line feeds made visible: the snapshot drops trailing
    // white space.
    views.push_back({"user_source",
                     {"NAME", "TYPE", "LINE",
                      "REPLACE(REPLACE(REPLACE(TEXT, ' ', '<b>'), CHR(9), '<t>'), CHR(10), "
                      "'<n>')"}});
    views.push_back(
        {"user_sequences", {"SEQUENCE_NAME", "MIN_VALUE", "MAX_VALUE", "INCREMENT_BY"}});
    return views;
  }

  std::string lastErrors;
};

TEST_F(SplitRoundTripTest, NamesThatNeedEncodingGetFilesOfTheirOwnAndReplayByteForByte) {
  const std::string source = "file:" + (directory / "source.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/split_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;
  const fs::path folder = directory / "split";
  ASSERT_EQ(Split("SPLIT", "split", source, folder), BatchFinished) << lastErrors;

  const std::map<std::string, std::string> files = Files(folder);
  const std::string longLower = [] {
    std::string name;
    for (int i = 0; i < 128; ++i) {
      name += "^l";
    }
    return name.substr(0, 180) + "~";
  }();
  for (const char* file :
       {"tables/EMP.sql", "tables/E^m^p.sql", "data/E^m^p.sql", "tables/^e^m^p_^n^o^t^e^s.sql",
        "procedures/A^d^d_R^o^w.sql", "procedures/ADD_ROW.sql", "sequences/LOWER_SEQ.sql",
        "tables/O^r^d^e^r%20L^i^n^e^s.sql", "data/^e^m^p_^n^o^t^e^s.sql", "data/EMP.sql",
        "indexes/^e^m^p_^i^x.sql", "sequences/^l^o^w^e^r_^s^e^q.sql",
        "procedures/^a^d^d_^r^o^w.sql", "functions/TWICE.sql", "triggers/EMP_BI.sql",
        "views/^e^m^p_^v.sql"}) {
    EXPECT_EQ(files.count(file), 1u) << file;
  }
  const auto shortened = files.lower_bound("tables/" + longLower);
  ASSERT_NE(shortened, files.end());
  EXPECT_EQ(shortened->first.rfind("tables/" + longLower, 0), 0u);
  // Each object in its own file: the table EMP's file holds no other table.
  EXPECT_EQ(files.at("tables/EMP.sql").find("\"emp_notes\""), std::string::npos);
  EXPECT_EQ(files.at("procedures/^a^d^d_^r^o^w.sql").find('\r'), std::string::npos);

  const std::string target = "file:" + (directory / "target.db").string();
  const sandbox::testing::RunResult replay =
      Replay("SPLIT", "split", ExpandedInstall(folder), target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");
  EXPECT_EQ(DictionaryDifferences(Snapshot("SPLIT", "split", source, Views()),
                                  Snapshot("SPLIT", "split", target, Views())),
            "");

  // The replayed schema splits into the same bytes, but for the names its
  // server generated.
  const fs::path again = directory / "again";
  ASSERT_EQ(Split("SPLIT", "split", target, again), BatchFinished) << lastErrors;
  EXPECT_EQ(WithoutGeneratedNames(Files(again)), WithoutGeneratedNames(files));
}

TEST_F(SplitRoundTripTest, DemoSchemaSplitsStablyAndOnlyTheFilesOfChangedObjectsChange) {
  const fs::path first = directory / "first";
  ASSERT_EQ(Split("DEMO", "demo", "demo", first), BatchFinished) << lastErrors;
  EXPECT_GT(Files(first).size(), 40u);
  const std::string target = "file:" + (directory / "demo-target.db").string();
  const sandbox::testing::RunResult replay = Replay("DEMO", "demo", ExpandedInstall(first), target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  // A second run over the unchanged schema into the same folder changes no
  // byte.
  const fs::path folder = directory / "rebuilt";
  ASSERT_EQ(Split("DEMO", "demo", target, folder), BatchFinished) << lastErrors;
  const std::map<std::string, std::string> files = Files(folder);
  ASSERT_EQ(Split("DEMO", "demo", target, folder), BatchFinished) << lastErrors;
  EXPECT_EQ(Files(folder), files);

  // One changed procedure changes its file alone; a dropped view's file goes.
  const sandbox::testing::RunResult changed = sandbox::testing::RunScript(
      "DEMO/demo@" + target,
      "create or replace procedure raise_salary (p_emp_id in number, p_percent in number) is\n"
      "begin\n  null;\nend raise_salary;\n/\ndrop view open_orders;\n");
  ASSERT_EQ(changed.status, 0) << changed.output;
  ASSERT_EQ(Split("DEMO", "demo", target, folder), BatchFinished) << lastErrors;
  const std::map<std::string, std::string> after = Files(folder);
  std::vector<std::string> differing;
  for (const auto& [path, bytes] : files) {
    const auto now = after.find(path);
    if (now == after.end() || now->second != bytes) {
      differing.push_back(path);
    }
  }
  EXPECT_EQ(differing, (std::vector<std::string>{"install.sql", "procedures/RAISE_SALARY.sql",
                                                 "views/OPEN_ORDERS.sql"}));
  EXPECT_EQ(after.size() + 1, files.size());
  EXPECT_NE(lastErrors.find("The files of objects that are gone were removed from " +
                            folder.string() + ":\n  views/OPEN_ORDERS.sql"),
            std::string::npos)
      << lastErrors;
}

}  // namespace
