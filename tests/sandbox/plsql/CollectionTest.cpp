// Records and collections declared in blocks: value semantics, methods over
// gaps, nesting, and the errors of wrong subscripts.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class CollectionTest : public ::testing::Test {
 protected:
  BlockResult Run(const std::string& block) { return RunBlock(session_, block); }
  FakeSession session_;
};

TEST_F(CollectionTest, AssignmentCopiesRecordsAndCollections) {
  BlockResult r = Run(
      "declare\n"
      "  type t_list is table of varchar2(10);\n"
      "  type t_holder is record (items t_list := t_list('a'), n number);\n"
      "  a t_list := t_list('x', 'y');\n"
      "  b t_list;\n"
      "  h t_holder;\n"
      "  g t_holder;\n"
      "begin\n"
      "  b := a;\n"
      "  b(1) := 'changed';\n"
      "  b.extend;\n"
      "  dbms_output.put_line(a(1) || ' ' || a.count || ' ' || b(1) || ' ' || b.count);\n"
      "  h.items.extend;\n"
      "  h.items(2) := 'b';\n"
      "  g := h;\n"
      "  g.items(1) := 'z';\n"
      "  dbms_output.put_line(h.items(1) || h.items(2) || ' ' || g.items(1) || g.items.count);\n"
      "  b := null;\n"
      "  if b is null then dbms_output.put_line('null again'); end if;\n"
      "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"x 2 changed 3", "ab z2", "null again"}));
}

TEST_F(CollectionTest, MethodsStepOverDeletedElements) {
  BlockResult r =
      Run("declare\n"
          "  type t_nums is table of number index by pls_integer;\n"
          "  t t_nums;\n"
          "  i pls_integer;\n"
          "  s varchar2(100);\n"
          "begin\n"
          "  for k in 1 .. 8 loop t(k * 10) := k; end loop;\n"
          "  t.delete(20, 40);\n"
          "  t.delete(70);\n"
          "  t.delete(null);\n"
          "  i := t.first;\n"
          "  while i is not null loop s := s || i || ' '; i := t.next(i); end loop;\n"
          "  dbms_output.put_line(s || '| ' || t.count || ' ' || t.prior(50) || ' ' ||\n"
          "    t.next(80) || ' ' || t.prior(10) || ' ' || t.next(null));\n"
          "  if t.exists(30) or not t.exists(50) then dbms_output.put_line('wrong'); end if;\n"
          "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"10 50 60 80 | 4 10   "}));
}

TEST_F(CollectionTest, NestedTablesExtendTrimAndCopyElements) {
  BlockResult r = Run(
      "declare\n"
      "  type t_nums is table of number;\n"
      "  type t_arr is varray(4) of number;\n"
      "  n t_nums := t_nums(1, 2);\n"
      "  v t_arr := t_arr(7);\n"
      "  u t_nums;\n"
      "begin\n"
      "  n.extend(2, 1);\n"
      "  n.delete(2);\n"
      "  n.extend;\n"
      "  dbms_output.put_line(n.count || ' ' || n.last || ' ' || n(4) || ' ' ||\n"
      "    nvl(to_char(n(5)), 'null'));\n"
      "  n.trim(2);\n"
      "  dbms_output.put_line(n.count || ' ' || n.last);\n"
      "  v.extend(3);\n"
      "  dbms_output.put_line(v.count || ' ' || v.limit || ' ' || nvl(to_char(n.limit), 'none'));\n"
      "  if not u.exists(1) then dbms_output.put_line('null has none'); end if;\n"
      "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"4 5 1 null", "2 3", "4 4 none", "null has none"}));
}

TEST_F(CollectionTest, WrongSubscriptsRaiseOraclesErrors) {
  struct Case {
    const char* body;
    const char* error;
  };
  const Case cases[] = {
      {"n.delete(2); dbms_output.put_line(n(2));", "ORA-01403"},
      {"n.trim(3);", "ORA-06533"},
      {"n.extend(-1);", "ORA-06533"},
      {"dbms_output.put_line(n(3));", "ORA-06533"},
      {"dbms_output.put_line(n(-1));", "ORA-06532"},
      {"dbms_output.put_line(u.count);", "ORA-06531"},
      {"u.extend;", "ORA-06531"},
      {"dbms_output.put_line(n(null));", "ORA-06502"},
      {"v := t_arr(1, 2, 3);", "ORA-06532"},
      {"n.extend(100000000);", "ORA-06500"},
      {"dbms_output.put_line(ix('missing'));", "ORA-01403"},
  };
  for (const Case& c : cases) {
    BlockResult r = Run(std::string("declare\n"
                                    "  type t_nums is table of number;\n"
                                    "  type t_arr is varray(2) of number;\n"
                                    "  type t_ix is table of number index by varchar2(10);\n"
                                    "  n t_nums := t_nums(1, 2);\n"
                                    "  u t_nums;\n"
                                    "  v t_arr;\n"
                                    "  ix t_ix;\n"
                                    "begin\n  ") +
                        c.body + "\nend;");
    EXPECT_FALSE(r.ok) << c.body;
    EXPECT_EQ(r.Error().substr(0, 9), c.error) << c.body << ": " << r.Error();
  }
}

TEST_F(CollectionTest, DeclarationsThatDoNotCompile) {
  struct Case {
    const char* declarations;
    const char* body;
    const char* error;
  };
  const Case cases[] = {
      {"type r is record (a number, a number); x r;", "null;", "PLS-00410"},
      {"type r is record (a number not null); x r;", "null;", "PLS-00218"},
      {"type t is table of number index by date; x t;", "null;", "PLS-00315"},
      {"type t is table of number index by pls_integer; x t;", "x := t(1);", "PLS-00222"},
      {"type t is table of number; x t;", "dbms_output.put_line(x.extend);", "PLS-00222"},
      {"type t is table of number; x t;", "x.count;", "PLS-00221"},
      {"type t is table of number; x constant t := t(1);", "x.delete;", "PLS-00363"},
      {"type t is table of number; x t;", "x.size := 1;", "PLS-00302"},
      {"type r is record (a number); x r; n number;", "n := x;", "PLS-00382"},
      {"type r is record (a number); function f return r is begin return 1; end;", "null;",
       "PLS-00382"},
      {"type t is table of number; function f return t is begin return t(1); end; n number;",
       "n := f;", "PLS-00382"},
  };
  for (const Case& c : cases) {
    BlockResult r = Run(std::string("declare ") + c.declarations + " begin " + c.body + " end;");
    EXPECT_FALSE(r.ok) << c.declarations;
    EXPECT_NE(r.Error().find(c.error), std::string::npos) << c.declarations << ": " << r.Error();
  }
}

}  // namespace
}  // namespace sandbox::plsql::testing
