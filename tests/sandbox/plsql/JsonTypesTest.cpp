// The JSON object types: the document text they read and write (numbers,
// escapes, the lax syntax, what is refused), documents too deep for any
// recursion, the ON_ERROR levels and array positions, and blocks that use
// the types as parameters, collection elements and package state.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/json/JsonMethods.h"

namespace sandbox::plsql::testing {
namespace {

using json::CanonicalNumber;
using json::Node;
using json::NodePtr;
using Lines = std::vector<std::string>;

TEST(JsonTextTest, NumbersTakeTheirCanonicalForm) {
  EXPECT_EQ(CanonicalNumber("1.50"), "1.5");
  EXPECT_EQ(CanonicalNumber("1e3"), "1000");
  EXPECT_EQ(CanonicalNumber(".5"), "0.5");
  EXPECT_EQ(CanonicalNumber("-0.0"), "0");
  EXPECT_EQ(CanonicalNumber("-12.5e-3"), "-0.0125");
  EXPECT_EQ(CanonicalNumber("001"), "1");
  EXPECT_EQ(CanonicalNumber("1e100"), "1E+100");
  EXPECT_EQ(CanonicalNumber("12345e-50"), "1.2345E-46");
  EXPECT_EQ(CanonicalNumber("9.5e125"), "9.5E+125");
  EXPECT_EQ(CanonicalNumber("1e-130"), "1E-130");
  // Beyond Oracle's numbers; an exponent of any length must not overflow.
  for (const char* bad : {"", "-", "1e", "1.2.3", "e5", "1x", "--1", "1e126", "1e-131",
                          "1e99999999999999999999", "1e-99999999999999999999"})
    EXPECT_EQ(CanonicalNumber(bad), "") << bad;
}

TEST(JsonTextTest, ParsingRefusesWhatIsNoJsonAndTakesTheLaxForms) {
  for (const char* bad : {"", "{", "{\"a\":1,}", "[1 2]", "{\"a\" 1}", "[1] x", "\"a\x01\"",
                          "\"\\q\"", "\"\\ud800\"", "nul", "{1:2}", "truex"})
    EXPECT_EQ(json::Parse(bad), nullptr) << bad;
  const NodePtr lax = json::Parse("{a: 'it', \"b\" : TRUE, c:.5, d:[Null]}");
  ASSERT_NE(lax, nullptr);
  EXPECT_EQ(json::Serialize(*lax), R"({"a":"it","b":true,"c":0.5,"d":[null]})");
}

TEST(JsonTextTest, SerializingEscapesControlsAndKeepsOtherCharacters) {
  const NodePtr doc = json::Parse(R"({"k\n":"tab\t\"q\" \\ \u0001 \u00e9 \ud83d\ude00 /"})");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(json::Serialize(*doc),
            "{\"k\\n\":\"tab\\t\\\"q\\\" \\\\ \\u0001 \xC3\xA9 \xF0\x9F\x98\x80 /\"}");
  // A later member of the same name replaces the value where the first stood.
  EXPECT_EQ(json::Serialize(*json::Parse(R"({"a":1,"b":2,"a":3})")), R"({"a":3,"b":2})");
}

TEST(JsonTextTest, DeepDocumentsAreRefusedOrHandledWithoutRecursion) {
  EXPECT_EQ(json::Parse(std::string(100000, '[') + std::string(100000, ']')), nullptr);
  // PUT can nest deeper than any text the parser takes: writing, copying
  // and freeing such a document must not use the stack per level.
  NodePtr root = std::make_shared<Node>(Node::Kind::Array);
  Node* tip = root.get();
  for (int i = 0; i < 200000; ++i) {
    tip->items.push_back(std::make_shared<Node>(Node::Kind::Array));
    tip = tip->items.back().get();
  }
  const NodePtr copy = json::Clone(*root);
  const std::string text = json::Serialize(*copy);
  EXPECT_EQ(text.size(), 400002u);
  root.reset();
  EXPECT_EQ(json::Serialize(*copy), text);  // the copy shares nothing
}

class JsonMethodTest : public ::testing::Test {
 protected:
  json::JsonOutcome Call(const NodePtr& self, const std::string& name,
                         std::vector<PlValue> values) {
    const json::JsonKind kind =
        self->kind == Node::Kind::Array ? json::JsonKind::Array : json::JsonKind::Object;
    const int index = json::FindJsonMethod(kind, name, false);
    EXPECT_GE(index, 0) << name;
    std::vector<json::JsonArgument> args;
    for (PlValue& v : values) {
      json::JsonArgument arg;
      arg.value = std::move(v);
      args.push_back(std::move(arg));
    }
    return json::RunJsonMethod(json::JsonMethods()[static_cast<size_t>(index)], kind, self, args,
                               session_);
  }
  int ErrorOf(const NodePtr& self, const std::string& name, std::vector<PlValue> values) {
    try {
      Call(self, name, std::move(values));
    } catch (const PlError& e) {
      return e.code;
    }
    return 0;
  }
  FakeSession session_;
};

TEST_F(JsonMethodTest, OnErrorChoosesWhichFailuresRaise) {
  const NodePtr doc = json::Parse(R"({"s":"abc","n":"12"})");
  const PlValue s = PlValue::Text("s"), missing = PlValue::Text("zz");
  // Level 0: NULL for both a missing key and a value that does not convert;
  // text that holds a number converts.
  EXPECT_TRUE(Call(doc, "GET_NUMBER", {s}).value.IsNull());
  EXPECT_TRUE(Call(doc, "GET_STRING", {missing}).value.IsNull());
  EXPECT_EQ(Call(doc, "GET_NUMBER", {PlValue::Text("n")}).value.number(), 12);
  const int mismatch = 40566, absent = 40571;
  const struct {
    int level, onMismatch, onMissing;
  } levels[] = {{1, mismatch, absent}, {2, 0, absent}, {3, mismatch, 0}, {4, 0, 0}, {0, 0, 0}};
  for (const auto& l : levels) {
    Call(doc, "ON_ERROR", {PlValue::Number(l.level)});
    EXPECT_EQ(ErrorOf(doc, "GET_NUMBER", {s}), l.onMismatch) << l.level;
    EXPECT_EQ(ErrorOf(doc, "GET_STRING", {missing}), l.onMissing) << l.level;
  }
  EXPECT_EQ(ErrorOf(doc, "ON_ERROR", {PlValue::Number(5)}), 6502);
  EXPECT_EQ(ErrorOf(doc, "ON_ERROR", {PlValue()}), 6502);
}

TEST_F(JsonMethodTest, ArrayPositionsCountFromZero) {
  const NodePtr a = json::Parse("[0,1,2]");
  Call(a, "PUT", {PlValue::Number(1), PlValue::Text("in")});
  Call(a, "PUT", {PlValue::Number(0), PlValue::Text("over"), PlValue::Boolean(true)});
  Call(a, "PUT", {PlValue::Number(99), PlValue::Number(9)});  // past the end: appended
  EXPECT_EQ(json::Serialize(*a), R"(["over","in",1,2,9])");
  Call(a, "REMOVE", {PlValue::Number(4)});
  Call(a, "REMOVE", {PlValue::Number(-1)});  // nothing there: nothing happens
  Call(a, "REMOVE", {PlValue()});
  EXPECT_EQ(json::Serialize(*a), R"(["over","in",1,2])");
  EXPECT_EQ(ErrorOf(a, "PUT", {PlValue::Number(-1), PlValue::Number(1)}), 40572);
  EXPECT_EQ(ErrorOf(a, "APPEND", {PlValue::Number(1e200L)}), 6502);  // no Oracle number
  EXPECT_TRUE(Call(a, "GET", {PlValue::Number(4)}).node == nullptr);
  EXPECT_EQ(Call(a, "GET_STRING", {PlValue::Number(2)}).value.text(), "1");
  EXPECT_EQ(Call(a, "GET_TYPE", {PlValue::Number(0)}).value.text(), "string");
}

TEST_F(JsonMethodTest, DatesAndBooleansConvertOnlyFromTheirForms) {
  const NodePtr doc =
      json::Parse(R"({"d":"2024-02-29T13:14:15","bad":"2023-02-29","b":"true","n":1})");
  EXPECT_EQ(Call(doc, "GET_DATE", {PlValue::Text("d")}).value.text(), "2024-02-29 00:00:00");
  EXPECT_EQ(Call(doc, "GET_TIMESTAMP", {PlValue::Text("d")}).value.text(), "2024-02-29T13:14:15");
  EXPECT_TRUE(Call(doc, "GET_DATE", {PlValue::Text("bad")}).value.IsNull());
  EXPECT_TRUE(Call(doc, "GET_DATE", {PlValue::Text("n")}).value.IsNull());
  EXPECT_TRUE(Call(doc, "GET_BOOLEAN", {PlValue::Text("b")}).value.boolean());
  EXPECT_TRUE(Call(doc, "GET_BOOLEAN", {PlValue::Text("n")}).value.IsNull());
  std::string iso;
  EXPECT_TRUE(json::IsoTimestamp("2024-01-02 03:04:05.5Z", iso));
  EXPECT_EQ(iso, "2024-01-02T03:04:05.5");
  for (const char* bad : {"2024-1-02", "2024-01-02T3:04:05", "2024-01-02T03:04", "2024-13-01",
                          "2024-01-02T03:04:05.", "2024-01-02T03:04:05.1234567890"})
    EXPECT_FALSE(json::IsoTimestamp(bad, iso)) << bad;
}

class JsonBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name =
        std::string("mem:JSON_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = database_->Logon("SYSTEM", "manager", error);
    ASSERT_TRUE(session_) << error.message;
  }
  void Sql(const std::string& sql) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    ASSERT_TRUE(session_->Execute(sql, binds, rows, error, warning))
        << sql << ": " << error.message;
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

TEST_F(JsonBlockTest, DocumentsPassByReferenceThroughParametersAndCollections) {
  Sql("create or replace package jp as g json_object_t; "
      "procedure tag (p in out json_object_t, k varchar2); "
      "function make return json_array_t; end jp;");
  Sql("create or replace package body jp as "
      "procedure tag (p in out json_object_t, k varchar2) is begin p.put(k, k); end; "
      "function make return json_array_t is begin return json_array_t('[1]'); end; "
      "begin g := json_object_t('{\"pkg\":1}'); end jp;");
  BlockResult r = RunBlock(*session_,
                           "declare type t is table of json_object_t index by pls_integer; "
                           "l t; o json_object_t := json_object_t(); "
                           "begin l(1) := o; l(1).put('a', 1); jp.tag(o, 'b'); jp.tag(jp.g, 'c'); "
                           "dbms_output.put_line(o.to_string); "
                           "dbms_output.put_line(jp.g.to_string || jp.make().get_size); "
                           "dbms_output.put_line(jp.make().get_keys is null); end;");
  EXPECT_FALSE(r.ok);  // GET_KEYS is JSON_OBJECT_T's, not JSON_ARRAY_T's
  EXPECT_NE(r.Error().find("PLS-00302: component 'GET_KEYS'"), std::string::npos) << r.Error();
  r = RunBlock(*session_,
               "declare type t is table of json_object_t index by pls_integer; "
               "l t; o json_object_t := json_object_t(); "
               "begin l(1) := o; l(1).put('a', 1); jp.tag(o, 'b'); jp.tag(jp.g, 'c'); "
               "dbms_output.put_line(o.to_string); "
               "dbms_output.put_line(jp.g.to_string || jp.make().get_size); end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{R"({"a":1,"b":"b"})", R"({"pkg":1,"c":"c"}1)"}));
}

TEST_F(JsonBlockTest, SerializingIntoLobsGivesTextOrItsUtf8Bytes) {
  const BlockResult r =
      RunBlock(*session_,
               "declare o json_object_t := json_object_t('{\"a\":\"\u00e9\"}'); c clob; b blob; "
               "begin o.to_clob(c); dbms_output.put_line(c); "
               "b := o.to_blob; dbms_output.put_line(rawtohex(b)); b := null; o.to_blob(b); "
               "dbms_output.put_line(json_object_t.parse(b).get_string('a')); end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"{\"a\":\"\xC3\xA9\"}", "7B2261223A22C3A9227D", "\xC3\xA9"}));
}

TEST_F(JsonBlockTest, CallsAreCheckedAgainstTheMethodsOfEachType) {
  const struct {
    const char* code;
    const char* error;
  } cases[] = {
      {"e.put('a', 1);", "PLS-00302: component 'PUT' must be declared"},
      {"o.put('a');", "PLS-00306: wrong number or types of arguments in call to 'PUT'"},
      {"a.put(0, 1, true, 4);", "PLS-00306: wrong number or types of arguments in call to 'PUT'"},
      {"o.get_string('a');", "PLS-00221: 'GET_STRING' is not a procedure or is undefined"},
      {"v := o.remove('a');", "PLS-00222: no function with name 'REMOVE' exists in this scope"},
      {"o := e;", "PLS-00382: expression is of wrong type"},
      {"o := a;", "PLS-00382: expression is of wrong type"},
      {"v := o.get_string(o);", "PLS-00306: wrong number or types of arguments"},
      {"e := json_element_t();", "PLS-00306: wrong number or types of arguments"},
      {"a.put(0, 1, overwrite => true, pos => 1);", "PLS-00306: wrong number or types"},
      {"a.put(0, overwrite => true);", "PLS-00306: wrong number or types"},
      {"o.put(key => 'a', nothing => 1);", "PLS-00306: wrong number or types"},
      {"o.put(key => 'a', 1);", "PLS-00312: a positional parameter association"},
      {"o.to_clob('x');", "PLS-00363: expression ''x'' cannot be used as an assignment target"},
  };
  for (const auto& c : cases) {
    const BlockResult r = RunBlock(
        *session_, std::string("declare e json_element_t; o json_object_t; a json_array_t; "
                               "v varchar2(100); begin ") +
                       c.code + " end;");
    EXPECT_FALSE(r.ok) << c.code;
    EXPECT_NE(r.Error().find(c.error), std::string::npos) << c.code << ": " << r.Error();
  }
  // SQL has no such types: a document is bound as its text only through a method.
  Sql("create table jt (doc varchar2(100))");
  const BlockResult bound = RunBlock(*session_,
                                     "declare o json_object_t := json_object_t('{}'); begin "
                                     "insert into jt values (o.to_string); "
                                     "insert into jt values (o); end;");
  EXPECT_FALSE(bound.ok);
  EXPECT_NE(bound.Error().find("ORA-40573: Invalid use of PL/SQL JSON object type"),
            std::string::npos)
      << bound.Error();
  // Any of the types goes into JSON_ELEMENT_T, and back through TREAT.
  const BlockResult ok =
      RunBlock(*session_,
               "declare e json_element_t; o json_object_t := json_object_t('{\"a\":[1]}'); "
               "a json_array_t; begin "
               "e := o; e := o.get_array('a'); o := treat(e as json_object_t); "
               "a := treat(e as json_array_t); a.put(val => 2, overwrite => true, pos => 0); "
               "dbms_output.put_line(case when o is null then 'null' end || e.to_string); end;");
  ASSERT_TRUE(ok.ok) << ok.Error();
  EXPECT_EQ(ok.lines, (Lines{"null[2]"}));
}

}  // namespace
}  // namespace sandbox::plsql::testing
