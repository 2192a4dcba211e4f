// The SQL library listing: ids in menu order across folders, the end of the
// ids counted instead of hidden, and files that vanish before they are read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/SqlLibrary.h"

namespace {

namespace fs = std::filesystem;

class SqlLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root); }
  void TearDown() override { fs::remove_all(root); }
  void File(const fs::path& relative, const std::string& text = "select 1 from dual") {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative, std::ios::binary) << text;
  }
  fs::path root = fs::temp_directory_path() /
                  ("qm-library-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

TEST_F(SqlLibraryTest, FilesAndOneLevelOfFoldersAreNumberedInMenuOrder) {
  File("b.sql");
  File("a folder/x.sql");
  File("a folder/y.sql");
  File("a folder/deeper/hidden.sql");
  fs::create_directories(root / "empty");
  File("c.sql");
  File("notes.txt");  // not statements: never listed
  File("a folder/readme.md");
  File("c.sql~");
  const SqlLibraryListing listing = ListSqlLibrary(root.string());
  ASSERT_EQ(listing.Entries.size(), 4u);
  EXPECT_EQ(listing.Entries[0].Name, "a folder");
  EXPECT_TRUE(listing.Entries[0].IsFolder);
  EXPECT_EQ(listing.Entries[0].CommandId, -999);
  ASSERT_EQ(listing.Entries[0].Children.size(), 2u);
  EXPECT_EQ(listing.Entries[0].Children[1].CommandId, 48002);
  EXPECT_EQ(listing.Entries[1].Name, "b.sql");
  EXPECT_EQ(listing.Entries[1].CommandId, 48003);
  EXPECT_EQ(listing.Entries[2].CommandId, 48004);
  EXPECT_TRUE(listing.Entries[3].IsFolder);  // an empty folder still shows
  EXPECT_TRUE(listing.Entries[3].Children.empty());
  EXPECT_EQ(listing.FilesNotListed, 0);

  EXPECT_EQ(LibraryFilePath(listing, root.string(), 48002), (root / "a folder" / "y.sql").string());
  EXPECT_EQ(LibraryFilePath(listing, root.string(), 48004), (root / "c.sql").string());
  EXPECT_FALSE(LibraryFilePath(listing, root.string(), 48005));
  EXPECT_FALSE(LibraryFilePath(listing, root.string(), -999));
}

TEST_F(SqlLibraryTest, SixtyFilesGetEveryIdAndTheRestAreCounted) {
  for (int i = 0; i < 60; ++i) {
    File("f" + std::to_string(100 + i) + ".sql");
  }
  const SqlLibraryListing listing = ListSqlLibrary(root.string());
  ASSERT_EQ(listing.Entries.size(), 50u);
  EXPECT_EQ(listing.Entries.front().CommandId, FirstLibraryCommandId);
  EXPECT_EQ(listing.Entries.back().CommandId, LastLibraryCommandId);
  EXPECT_EQ(listing.FilesNotListed, 10);
  EXPECT_TRUE(ListSqlLibrary((root / "missing").string()).Entries.empty());
}

TEST_F(SqlLibraryTest, StatementIsEveryLineWithALineFeed) {
  File("q.sql", "select *\r\nfrom emp\r\nwhere 1 = 1");
  EXPECT_EQ(ReadLibraryStatement((root / "q.sql").string()), "select *\nfrom emp\nwhere 1 = 1\n");
  EXPECT_FALSE(ReadLibraryStatement((root / "gone.sql").string()));
  EXPECT_FALSE(ReadLibraryStatement(root.string()));
}

}  // namespace
