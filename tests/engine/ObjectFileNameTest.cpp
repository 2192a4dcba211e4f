// File names of split reports: portable, and distinct for distinct object
// names also where the file system ignores case.
#include "engine/ObjectFileName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

std::string Folded(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

bool Portable(const std::string& name) {
  return std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) != 0 || c == '_' || c == '%' || c == '^' || c == '~';
  });
}

TEST(ObjectFileNameTest, PlainNamesStayAndOthersAreEncoded) {
  EXPECT_EQ(ObjectFileName("EMPLOYEES_2"), "EMPLOYEES_2");
  EXPECT_EQ(ObjectFileName("emp"), "^e^m^p");
  EXPECT_EQ(ObjectFileName("Order Lines"), "O^r^d^e^r%20L^i^n^e^s");
  EXPECT_EQ(ObjectFileName("A/B\\C:D$#."), "A%2FB%5CC%3AD%24%23%2E");
  EXPECT_EQ(ObjectFileName("CON"), "%43ON");
  EXPECT_EQ(ObjectFileName("LPT1"), "%4CPT1");
  EXPECT_EQ(ObjectFileName("CONTACTS"), "CONTACTS");
}

TEST(ObjectFileNameTest, NamesDifferingOnlyInCaseOrLongNamesNeverShareAFile) {
  const std::string longLower(128, 'x');
  std::string longOther = longLower;
  longOther.back() = 'y';
  const std::string names[] = {"EMP",
                               "emp",
                               "Emp",
                               "eMP",
                               "E%4DP",
                               "E^MP",
                               longLower,
                               longOther,
                               "\xC3\xA9t\xC3\xA9",
                               "\xC3\x89T\xC3\x89",
                               std::string(128, 'X')};
  std::set<std::string> folded;
  for (const std::string& name : names) {
    const std::string file = ObjectFileName(name);
    EXPECT_TRUE(Portable(file)) << file;
    EXPECT_LE(file.size() + 8, 255u) << name;
    EXPECT_TRUE(folded.insert(Folded(file)).second) << name << " -> " << file;
  }
  // The same name gives the same file on every run.
  EXPECT_EQ(ObjectFileName(longLower), ObjectFileName(std::string(128, 'x')));
}

}  // namespace
