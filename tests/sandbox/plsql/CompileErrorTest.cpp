// Blocks that do not compile: ORA-06550 with line and column and the PLS
// error, and nothing of the block runs.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"

namespace sandbox::plsql::testing {
namespace {

class CompileErrorTest : public ::testing::Test {
 protected:
  BlockResult Run(const std::string& block) { return RunBlock(session_, block); }
  FakeSession session_;
};

TEST_F(CompileErrorTest, UndeclaredNamesFailBeforeAnythingRuns) {
  BlockResult r = Run("begin\n  dbms_output.put_line('first');\n  x := 1;\nend;");
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 3, column 3:\nPLS-00201: identifier 'X' must be declared\n"
            "ORA-06550: line 3, column 3:\nPL/SQL: Statement ignored");
  EXPECT_TRUE(r.lines.empty());
  r = Run("declare\n  n number;\nbegin\n  n := lenght('abc');\nend;");
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 4, column 8:\nPLS-00201: identifier 'LENGHT' must be "
            "declared\nORA-06550: line 4, column 3:\nPL/SQL: Statement ignored");
  r = Run("declare\n  v no_such_table.col%TYPE;\nbegin\n  null;\nend;");
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 2, column 5:\nPLS-00201: identifier 'NO_SUCH_TABLE' must "
            "be declared\nORA-06550: line 2, column 3:\nPL/SQL: Item ignored");
  r = Run("begin dbms_output.put_lin('x'); end;");
  EXPECT_EQ(r.error.code, 6550);
  EXPECT_NE(r.error.message.find("PLS-00302: component 'PUT_LIN' must be declared"),
            std::string::npos);
}

TEST_F(CompileErrorTest, SyntaxErrorsNameTheSymbol) {
  BlockResult r = Run("begin\n  if 1 = 1 then\n    null;\n  end;\nend;");
  EXPECT_EQ(r.error.code, 6550);
  EXPECT_EQ(r.error.message.rfind("line 4, column 6:\nPLS-00103: Encountered the symbol \";\"", 0),
            0u)
      << r.error.message;
  r = Run("begin null end;");
  EXPECT_EQ(
      r.error.message.rfind("line 1, column 12:\nPLS-00103: Encountered the symbol \"END\"", 0), 0u)
      << r.error.message;
  r = Run("begin null;");
  EXPECT_NE(r.error.message.find("\"end-of-file\""), std::string::npos);
  r = Run("begin dbms_output.put_line('unterminated); end;");
  EXPECT_EQ(r.error.code, 6550);
}

TEST_F(CompileErrorTest, WrongUseOfDeclaredThings) {
  EXPECT_NE(
      Run("declare k constant number := 1; begin k := 2; end;").error.message.find("PLS-00363"),
      std::string::npos);
  EXPECT_NE(Run("begin exit; end;").error.message.find("PLS-00376"), std::string::npos);
  EXPECT_NE(Run("declare procedure p is begin null; end; begin p(1); end;")
                .error.message.find("PLS-00306: wrong number or types of arguments in call to 'P'"),
            std::string::npos);
  EXPECT_NE(Run("declare v varchar2; begin null; end;").error.message.find("PLS-00215"),
            std::string::npos);
  // A query the server rejects fails the block at compile time.
  BlockResult r = Run("declare\n  cursor c is select x from nowhere;\nbegin\n  null;\nend;");
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 2, column 15:\nPL/SQL: ORA-00942: table or view does not "
            "exist\nORA-06550: line 2, column 15:\nPL/SQL: SQL Statement ignored");
}

}  // namespace
}  // namespace sandbox::plsql::testing
