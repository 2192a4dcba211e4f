// Statements kept whole for a command-line SQL tool: which texts stand as
// they are, and that a block built from pieces is one statement for the
// tool and gives back the text byte for byte.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sandbox/tools/ScriptSplitter.h"
#include "scripting/data/ToolLines.h"

namespace {

TEST(ToolLinesTest, LinesTheToolTakesForItsOwnAreFound) {
  EXPECT_TRUE(ToolReadsWhole("SELECT 1\r\n  FROM dual -- a; comment", true));
  for (const char* text : {"SELECT 1\n\nFROM dual", "SELECT 'a;\n' FROM dual", "SELECT '\n/\n' x",
                           "SELECT '\n . \n' x", "SELECT '\n#x' FROM dual", "SELECT 1\n   \t\nx"}) {
    EXPECT_FALSE(ToolReadsWhole(text, true)) << text;
  }
  // PL/SQL keeps blank lines and lines ending in ";", not "/", "." or "#".
  EXPECT_TRUE(ToolReadsWhole("BEGIN\n\n  NULL;\nEND;", false));
  EXPECT_FALSE(ToolReadsWhole("BEGIN\n  x := '\n/\n';\nEND;", false));
  EXPECT_FALSE(ToolReadsWhole("BEGIN\n#x\nEND;", false));
  EXPECT_TRUE(ToolReadsWhole("SELECT '" + std::string(2488, 'x') + "' x", true));
  EXPECT_FALSE(ToolReadsWhole("SELECT '" + std::string(2489, 'x') + "' x", true));
  EXPECT_EQ(ToolSafeStatement("COMMENT ON TABLE T IS 'a'", true, "\r\n/\r\n"),
            "COMMENT ON TABLE T IS 'a'\r\n/\r\n");
}

// The text a block's pieces add up to: a quoted piece or a CHR term a line.
std::string PiecesText(const std::string& block) {
  std::string text;
  std::istringstream lines(block);
  for (std::string line; std::getline(lines, line);) {
    for (const std::string prefix : {"  lv_statement := ", "  || "}) {
      if (line.rfind(prefix, 0) == 0) {
        line.erase(0, prefix.size());
      }
    }
    if (line.rfind("CHR(", 0) == 0) {
      text += static_cast<char>(std::stoi(line.substr(4)));
    }
    for (std::size_t i = 1; line[0] == '\'' && i < line.size() && line[i] != '\r'; ++i) {
      if (line[i] == '\'' && line[++i] != '\'') {
        break;
      }
      text += line[i];
    }
  }
  return text;
}

TEST(ToolLinesTest, ABlockOfPiecesIsOneStatementForTheToolAndKeepsEveryByte) {
  std::string statement = "COMMENT ON TABLE T IS 'first;\n\n/\n.\n#hash\r\n  it''s ";
  for (int i = 0; i < 3000; ++i) {
    statement += "naïve café; ";  // past one assignment of the CLOB, in multibyte pieces
  }
  statement += "'";
  ASSERT_FALSE(ToolReadsWhole(statement, true));
  const std::string block = ToolSafeStatement(statement, true, ";\r\n");
  const auto statements = sandbox::tools::SplitScript(block);
  ASSERT_EQ(statements.size(), 1u) << block.substr(0, 2000);
  EXPECT_FALSE(statements[0].toolCommand);
  EXPECT_EQ(statements[0].text.rfind("DECLARE", 0), 0u);
  EXPECT_NE(block.find(";\r\n  lv_statement := lv_statement\r\n"), std::string::npos);
  EXPECT_TRUE(PiecesText(block) == statement) << PiecesText(block).substr(0, 200);
  for (std::size_t begin = 0, end; (end = block.find('\n', begin)) != std::string::npos;
       begin = end + 1) {
    EXPECT_LE(end - begin, 2499u);
  }
}

}  // namespace
