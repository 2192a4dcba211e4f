// Tests of the client library loader: the choice table, the search order of
// choice 0 under versioned file names, the failure exit, and the refusal of
// libraries the session cannot use.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "oracle/ClientLibrary.h"
#include "tests/oracle/SandboxClient.h"

namespace fs = std::filesystem;

namespace {

struct ProbeResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

// Runs the probe with libraryPath as its only library search path.
// NLS_LANG is unset unless nlsLang names a value.
ProbeResult RunProbe(const fs::path& libraryPath, const std::string& arguments,
                     const std::string& nlsLang = "") {
  const std::string nlsSetting = nlsLang.empty() ? "-u NLS_LANG" : "NLS_LANG='" + nlsLang + "'";
  const std::string command = "env " + nlsSetting + " LD_LIBRARY_PATH='" + libraryPath.string() +
                              "' '" + QUILLMARK_LOADER_PROBE + "' " + arguments + " 2>&1";
  ProbeResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return result;
  }
  std::array<char, 256> chunk{};
  while (fgets(chunk.data(), static_cast<int>(chunk.size()), pipe) != nullptr) {
    result.output += chunk.data();
  }
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// A temporary directory holding links to the sandbox library under client names.
class LinkDirectory {
 public:
  LinkDirectory() {
    static int counter = 0;
    path_ = fs::temp_directory_path() / ("quillmark-oracle-links-" + std::to_string(::getpid()) +
                                         "-" + std::to_string(++counter));
    fs::create_directories(path_);
  }
  ~LinkDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  void Link(const std::string& name) const {
    fs::create_symlink(SandboxLibraryPath(), path_ / name);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

const std::string Utf8 = "NLS_LANG=AMERICAN_AMERICA.AL32UTF8\n";

}  // namespace

TEST(ClientLibraryLoader, ChoiceZeroSearchesVersionedNamesInOrder) {
  LinkDirectory only18;
  only18.Link("libclntsh.so.18.1");
  ProbeResult result = RunProbe(only18.Path(), "0");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output, "kind=84 usable=1 file=libclntsh.so.18.1\n" + Utf8);

  LinkDirectory oldAndNew;
  oldAndNew.Link("libclntsh.so.12.1");
  oldAndNew.Link("libclntsh.so.19.1");
  result = RunProbe(oldAndNew.Path(), "0");
  EXPECT_EQ(result.output, "kind=85 usable=1 file=libclntsh.so.19.1\n" + Utf8);

  LinkDirectory current;
  current.Link("libclntsh.so.12.1");
  current.Link("libclntsh.so");
  result = RunProbe(current.Path(), "0");
  EXPECT_EQ(result.output, "kind=0 usable=1 file=libclntsh.so\n" + Utf8);
}

TEST(ClientLibraryLoader, FixedChoicesLoadTheirOneName) {
  LinkDirectory links;
  links.Link("libclntsh.so.12.1");
  EXPECT_EQ(RunProbe(links.Path(), "83").output,
            "kind=83 usable=1 file=libclntsh.so.12.1\n" + Utf8);
  // 84 names only its own file, even though another release is present.
  const ProbeResult missing = RunProbe(links.Path(), "84");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find(ClientLibrary::LoadFailureText), std::string::npos);
}

TEST(ClientLibraryLoader, NamedChoiceWithoutOcidllLoadsTheDefaultName) {
  LinkDirectory links;
  links.Link("libclntsh.so");
  const ProbeResult result = RunProbe(links.Path(), "99");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output, "kind=99 usable=1 file=libclntsh.so\n" + Utf8);

  // A character set the user chose is left alone.
  EXPECT_EQ(RunProbe(links.Path(), "99", "GERMAN_GERMANY.WE8ISO8859P1").output,
            "kind=99 usable=1 file=libclntsh.so\nNLS_LANG=GERMAN_GERMANY.WE8ISO8859P1\n");
}

TEST(ClientLibraryLoader, NothingLoadedShowsTheMessageAndExitsWithOne) {
  LinkDirectory empty;
  for (const char* choice : {"5", "0", "99"}) {
    const ProbeResult result = RunProbe(empty.Path(), choice);
    EXPECT_EQ(result.exitCode, 1) << "choice " << choice;
    EXPECT_EQ(result.output, std::string("Error: ") + ClientLibrary::LoadFailureText + "\n")
        << "choice " << choice;
  }
}

TEST(ClientLibraryLoader, AnOcidllThatCannotBeLoadedIsNamedWithTheLoadersReason) {
  LinkDirectory empty;
  const std::string missing = (empty.Path() / "nowhere.so").string();
  const ProbeResult result = RunProbe(empty.Path(), "99 '" + missing + "'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.output.rfind("Error: The Oracle client library named by the setting OCIDLL, \"" +
                                    missing + "\", could not be loaded: ",
                                0),
            0u)
      << result.output;
  EXPECT_NE(result.output.find("No such file"), std::string::npos) << result.output;
  // Shown once: the output has one line.
  EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
}

TEST(ClientLibraryLoader, Oracle7ChoicesAreRefusedWithoutEndingTheProcess) {
  LinkDirectory empty;
  const ProbeResult result = RunProbe(empty.Path(), "72");
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.output, "kind=72 usable=0 file=\nNLS_LANG=(unset)\n");

  MemorySettingsStore settings;
  settings.SetInt("Settings", "OCIVER", 71);
  RecordingMessages messages;
  OracleSession session(settings, messages);
  EXPECT_EQ(session.LibraryKind(), 71);
  EXPECT_FALSE(session.Connect("system", "manager", "demo", true, true));
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("Oracle 7"), std::string::npos);
  // Statements on a refused library fail cleanly instead of calling into nothing.
  EXPECT_FALSE(session.ExecuteSql("begin null; end;"));
  EXPECT_EQ(session.QueryValue("select 1 from dual", "", "", ""), "");
}

TEST(ClientLibraryLoader, LibraryLackingAnEntryPointIsRefused) {
  MemorySettingsStore settings;
  settings.SetInt("Settings", "OCIVER", 99);
  settings.SetString("Settings", "OCIDLL", QUILLMARK_INCOMPLETE_CLIENT);
  RecordingMessages messages;
  OracleSession session(settings, messages);
  EXPECT_EQ(session.LibraryKind(), 99);
  EXPECT_FALSE(session.Library().IsUsable());
  EXPECT_TRUE(messages.texts.empty());  // nothing is said until a logon is tried

  EXPECT_FALSE(session.Connect("system", "manager", "demo", true, true));
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("lacks the entry point OCIBreak"), std::string::npos)
      << messages.texts[0];
  EXPECT_FALSE(session.IsConnected());
  EXPECT_TRUE(session.Disconnect());
}
