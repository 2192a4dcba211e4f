// SplitStatementRoute: the file of a split report that one statement of a
// scripting report belongs to, read from the statement's first words. Each
// object has its own file in a folder per kind; a table's keys and checks
// stand in constraints/TABLE.sql and its foreign keys in
// foreign_keys/TABLE.sql (they replay in different sections), its rows in
// data/TABLE.sql, and the grants made on an object in grants/OBJECT.sql.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The folders a split report writes, in no particular order.
const std::vector<std::string>& SplitFolders();

// The file of the system and role privileges, at the top of the folder.
inline constexpr const char* PrivilegesFile = "privileges.sql";

class SplitStatementRoute {
 public:
  // The path, relative to the split folder, of the file for statement; empty
  // when its words name no object (it then stays with the statement before
  // it).
  std::string FileOf(std::string_view statement);

  // Whether statement ends with its first line that ends in ";" outside
  // quoted literals, rather than with a line holding only "/".
  static bool EndsWithSemicolon(std::string_view statement);
  // Whether a statement's text may hold quoted literals that span lines, so
  // that a line ending in ";" or a "/" line inside one ends nothing.
  static bool HoldsDataLiterals(std::string_view statement);

 private:
  // The folder a table's or a materialized view's name was created in, for
  // the COMMENT statements that follow it.
  std::map<std::string, std::string> commentTargets_;
};
