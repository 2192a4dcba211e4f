// Values of schema-level types as their columns hold them: the column text
// the interpreter writes must be what it reads back, text escapes and
// Oracle's number forms included, and text of another shape is refused.
#include <gtest/gtest.h>

#include "FakeSession.h"
#include "sandbox/plsql/ObjectJson.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql::testing {
namespace {

TypeSpec Scalar(TypeSpec::Base base) {
  TypeSpec type;
  type.base = base;
  return type;
}

TypeSpec PointType() {
  TypeSpec type;
  type.base = TypeSpec::Base::Record;
  type.name = "PT";
  type.sqlType = "SCOTT.PT";
  type.fields.push_back({"X", Scalar(TypeSpec::Base::Number)});
  type.fields.push_back({"LABEL", Scalar(TypeSpec::Base::Varchar2)});
  return type;
}

TypeSpec TableOf(TypeSpec element) {
  TypeSpec type;
  type.base = TypeSpec::Base::Collection;
  type.collection = TypeSpec::Collection::Nested;
  type.name = "LIST";
  type.sqlType = "SCOTT.LIST";
  type.element = std::make_shared<const TypeSpec>(std::move(element));
  return type;
}

class ObjectJsonTest : public ::testing::Test {
 protected:
  Variable Read(const std::string& text, const TypeSpec& type) {
    return FromColumnValue(PlValue::Text(text), type, session_);
  }
  FakeSession session_;
};

TEST_F(ObjectJsonTest, NumbersAndTextsSurviveTheRoundTrip) {
  const TypeSpec list = TableOf(Scalar(TypeSpec::Base::Number));
  const Variable read = Read("[1.5, -0.25, null, 3e2]", list);
  const Collection& elements = *read.collection.get();
  ASSERT_EQ(elements.size, 4);
  EXPECT_EQ(elements.elements.at({1, {}}).value.number(), 1.5L);
  EXPECT_TRUE(elements.elements.at({3, {}}).value.IsNull());
  EXPECT_EQ(elements.elements.at({4, {}}).value.number(), 300);
  // Oracle writes -.25; JSON needs the zero.
  EXPECT_EQ(ToColumnValue(read, list).text, "[1.5,-0.25,null,300]");

  const TypeSpec texts = TableOf(Scalar(TypeSpec::Base::Varchar2));
  const Variable quoted = Read(R"(["say \"hi\"\n", "\u00e9\ud83d\ude00", "a\\b"])", texts);
  EXPECT_EQ(quoted.collection.get()->elements.at({2, {}}).value.text(), "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(ToColumnValue(quoted, texts).text,
            "[\"say \\\"hi\\\"\\u000a\",\"\xC3\xA9\xF0\x9F\x98\x80\",\"a\\\\b\"]");
}

TEST_F(ObjectJsonTest, ObjectsTakeAttributesByNameAndNullsStayApart) {
  const TypeSpec points = TableOf(PointType());
  const Variable read = Read(R"([{"LABEL":"a","X":2}, null, {"X":null,"LABEL":null}])", points);
  const auto& elements = read.collection.get()->elements;
  ASSERT_EQ(elements.at({1, {}}).fields.size(), 2u);
  EXPECT_EQ(elements.at({1, {}}).fields[0].value.number(), 2);
  EXPECT_EQ(elements.at({1, {}}).fields[1].value.text(), "a");
  // A NULL object has no attributes; an object of NULL attributes has them.
  EXPECT_TRUE(elements.at({2, {}}).fields.empty());
  EXPECT_EQ(elements.at({3, {}}).fields.size(), 2u);
  EXPECT_EQ(ToColumnValue(read, points).text,
            R"([{"X":2,"LABEL":"a"},null,{"X":null,"LABEL":null}])");
  // A NULL collection or object is SQL NULL, not the text null.
  EXPECT_TRUE(ToColumnValue(Variable(), points).IsNull());
  EXPECT_TRUE(ToColumnValue(Variable(), PointType()).IsNull());
  EXPECT_TRUE(FromColumnValue(PlValue(), points, session_).collection.get() == nullptr);
}

TEST_F(ObjectJsonTest, TextOfAnotherShapeIsRefused) {
  const TypeSpec list = TableOf(Scalar(TypeSpec::Base::Number));
  for (const std::string text :
       {" ", "[1,", "{\"X\":1}", "[[1]]", "[1] x", "\"1\"", "[\"\\u12\"]"}) {
    try {
      Read(text, list);
      ADD_FAILURE() << "accepted " << text;
    } catch (const PlError& e) {
      EXPECT_EQ(e.code, 932) << text;
    }
  }
  // Nesting far deeper than any type is refused without exhausting the stack.
  try {
    Read(std::string(100000, '[') + std::string(100000, ']'), list);
    ADD_FAILURE() << "accepted deep nesting";
  } catch (const PlError& e) {
    EXPECT_EQ(e.code, 932);
  }
  // An element that does not fit its type fails as the assignment would.
  TypeSpec small = TableOf(Scalar(TypeSpec::Base::Varchar2));
  TypeSpec element = Scalar(TypeSpec::Base::Varchar2);
  element.length = 2;
  small.element = std::make_shared<const TypeSpec>(element);
  try {
    Read("[\"abc\"]", small);
    ADD_FAILURE() << "accepted a too long element";
  } catch (const PlError& e) {
    EXPECT_EQ(e.code, 6502);
  }
}

}  // namespace
}  // namespace sandbox::plsql::testing
