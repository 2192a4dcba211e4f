// Object values in the data phase: the literal SQL refuses what a
// constructor cannot put back, names types of other schemas, and scripted
// rows of nested objects, quotes, NULL objects and objects of NULLs run into
// a fresh database and script again the same.
#include <gtest/gtest.h>

#include <map>

#include "scripting/data/ObjectLiterals.h"
#include "tests/scripting/data/DataRig.h"

namespace {

// A dictionary of types by "OWNER.NAME".
TypeLookup LookupOf(const std::map<std::string, TypeShape>& types) {
  return [types](const std::string& owner, const std::string& type) -> std::optional<TypeShape> {
    const auto found = types.find(owner + "." + type);
    if (found == types.end()) {
      return std::nullopt;
    }
    return found->second;
  };
}

const std::map<std::string, TypeShape> Types = {
    {"APP.ADDR_T", {"OBJECT", {}, {{"STREET", "", "VARCHAR2"}, {"ZIP", "", "NUMBER"}}, {}}},
    {"APP.PHONES_T", {"COLLECTION", {}, {}, {"", "", "VARCHAR2"}}},
    {"APP.ADDRS_T", {"COLLECTION", {}, {}, {"", "APP", "ADDR_T"}}},
    {"APP.SHAPE_T", {"OBJECT", {{"APP", "SQUARE_T"}}, {{"ID", "", "NUMBER"}}, {}}},
    {"APP.SQUARE_T", {"OBJECT", {}, {{"ID", "", "NUMBER"}, {"DRAWING", "", "CLOB"}}, {}}},
    {"APP.PERSON_T", {"OBJECT", {{"APP", "EMP_T"}}, {{"ID", "", "NUMBER"}}, {}}},
    {"APP.EMP_T",
     {"OBJECT", {{"LIB", "BOSS_T"}}, {{"ID", "", "NUMBER"}, {"PAY", "", "NUMBER"}}, {}}},
    {"LIB.BOSS_T",
     {"OBJECT", {}, {{"ID", "", "NUMBER"}, {"PAY", "", "NUMBER"}, {"CAR", "", "VARCHAR2"}}, {}}},
    {"APP.DOC_T", {"OBJECT", {}, {{"BODY", "", "CLOB"}}, {}}},
    {"APP.LINK_T", {"OBJECT", {}, {{"TARGET", "APP", "ADDR_T", true}}, {}}},
    {"APP.HOLDER_T", {"OBJECT", {}, {{"ADDR", "APP", "ADDR_T"}, {"OLD", "APP", "ADDRS_T"}}, {}}},
    {"LIB.POINT_T", {"OBJECT", {}, {{"X", "", "NUMBER"}}, {}}},
};

TEST(ObjectLiteralsTest, ValuesNoConstructorPutsBackWholeAreRefusedWithTheirReason) {
  const TypeLookup lookup = LookupOf(Types);
  const std::pair<const char*, const char*> refused[] = {
      {"ADDRS_T", "collection of ADDR_T"},
      // A subtype's attribute no literal puts back refuses its supertype's values.
      {"SHAPE_T", "DRAWING of SQUARE_T"},
      {"DOC_T", "CLOB"},
      {"LINK_T", "REF"},
      {"HOLDER_T", "collection"},
      {"GONE_T", "not in the dictionary"},
  };
  for (const auto& [type, reason] : refused) {
    std::string refusal;
    EXPECT_FALSE(ObjectLiteralSql("t.\"C\"", "APP", type, "APP", lookup, refusal)) << type;
    EXPECT_NE(refusal.find(reason), std::string::npos) << type << ": " << refusal;
  }
}

TEST(ObjectLiteralsTest, TypesOfOtherSchemasAreQualifiedAndNestedValuesReadThroughTheirPath) {
  const TypeLookup lookup = LookupOf(Types);
  std::string refusal;
  const auto own = ObjectLiteralSql("t.\"A\"", "APP", "ADDR_T", "APP", lookup, refusal);
  ASSERT_TRUE(own) << refusal;
  EXPECT_NE(own->find("'ADDR_T('"), std::string::npos) << *own;
  EXPECT_NE(own->find("t.\"A\".\"ZIP\""), std::string::npos) << *own;
  const auto other = ObjectLiteralSql("t.\"P\"", "LIB", "POINT_T", "APP", lookup, refusal);
  ASSERT_TRUE(other) << refusal;
  EXPECT_NE(other->find("'LIB.POINT_T('"), std::string::npos) << *other;
  const auto phones = ObjectLiteralSql("t.\"F\"", "APP", "PHONES_T", "APP", lookup, refusal);
  ASSERT_TRUE(phones) << refusal;
  EXPECT_NE(phones->find("from table(t.\"F\")"), std::string::npos) << *phones;
  // Without LISTAGG the elements cannot be listed.
  EXPECT_FALSE(ObjectLiteralSql("t.\"F\"", "APP", "PHONES_T", "APP", lookup, refusal, false));
  EXPECT_NE(refusal.find("cannot list"), std::string::npos) << refusal;
}

TEST(ObjectLiteralsTest, ValuesOfSubtypesAreSpeltWithTheirOwnConstructorsMostSpecificFirst) {
  const TypeLookup lookup = LookupOf(Types);
  std::string refusal;
  const auto column = ObjectLiteralSql("t.\"P\"", "APP", "PERSON_T", "APP", lookup, refusal);
  ASSERT_TRUE(column) << refusal;
  // A value of EMP_T (or of BOSS_T under it) is read through TREAT, and the
  // deeper type is asked about before the one it is under.
  const std::size_t emp = column->find("when t.\"P\" is of (\"APP\".\"EMP_T\")");
  const std::size_t boss = column->find(" is of (\"LIB\".\"BOSS_T\") then ");
  const std::size_t person = column->find("'PERSON_T('");
  ASSERT_NE(emp, std::string::npos) << *column;
  ASSERT_NE(boss, std::string::npos) << *column;
  ASSERT_NE(person, std::string::npos) << *column;
  EXPECT_LT(emp, boss);
  EXPECT_LT(boss, person);
  EXPECT_LT(boss, column->find("'LIB.BOSS_T('"));
  EXPECT_NE(column->find("treat(t.\"P\" as \"APP\".\"EMP_T\").\"PAY\""), std::string::npos)
      << *column;
  // An object table's row: IS OF and TREAT take the row's object, the
  // supertype's attributes are read through the alias.
  const auto row = RowObjectLiteralSql("t", "APP", "PERSON_T", "APP", lookup, refusal);
  ASSERT_TRUE(row) << refusal;
  EXPECT_NE(row->find("when value(t) is of (\"APP\".\"EMP_T\")"), std::string::npos) << *row;
  EXPECT_NE(row->find("t.\"ID\""), std::string::npos) << *row;
  EXPECT_EQ(row->find("value(t).\""), std::string::npos) << *row;
}

const char* const Schema[] = {
    "create type ADDR_T as object (STREET varchar2(40), ZIP number(5), SEEN date, TAG raw(4))",
    "create type CUST_T as object (NAME varchar2(20), ADDR ADDR_T)",
    "create type PHONES_T as varray(3) of varchar2(12)",
    "create table CUSTS (ID number(4), C CUST_T)",
    "create table SITES of ADDR_T",
    "create table CALLS (ID number(4), P PHONES_T)",
    "create type ADDRS_T as table of ADDR_T",
    "create table MOVES (ID number(4), A ADDRS_T) nested table A store as MOVES_A",
    "create table NOMOVES (ID number(4), A ADDRS_T) nested table A store as NOMOVES_A",
};

const char* const Rows[] = {
    "insert into CUSTS values (1, CUST_T('O''Neil', ADDR_T('1 Main; St', 12345, "
    "to_date('2001-02-03 04:05:06', 'YYYY-MM-DD HH24:MI:SS'), hextoraw('0AFF'))))",
    "insert into CUSTS values (2, CUST_T(null, null))",
    "insert into CUSTS values (3, CUST_T('x', ADDR_T(null, null, null, null)))",
    "insert into CUSTS values (4, null)",
    "insert into SITES values ('Elm', 7, null, null)",
    "insert into CALLS values (1, PHONES_T('1', null, 'it''s'))",
    "insert into CALLS values (2, PHONES_T())",
    "insert into CALLS values (3, null)",
    "insert into MOVES values (1, ADDRS_T(ADDR_T('a', 1, null, null)))",
    "insert into NOMOVES values (1, null)",
};

std::vector<std::string> ScriptObjects(DataRig& rig) {
  rig.tables.names = {"CUSTS", "SITES", "CALLS", "MOVES", "NOMOVES"};
  rig.data.RunDataPhase();
  return rig.Inserts();
}

TEST(ObjectLiteralsTest, ObjectRowsReplayIntoAFreshSchemaAndScriptTheSame) {
  std::vector<std::string> first;
  {
    DataRig rig;
    for (const char* statement : Schema) {
      rig.schema.Run(statement);
    }
    for (const char* statement : Rows) {
      rig.schema.Run(statement);
    }
    first = ScriptObjects(rig);
    // A table of nested objects is left out whole and named; one whose
    // collections are all NULL is not.
    const auto unscripted = rig.unscripted.Objects();
    ASSERT_EQ(unscripted.size(), 1u);
    EXPECT_EQ(unscripted[0].Name, "MOVES");
    EXPECT_NE(rig.Report().find("The rows of table MOVES were not scripted"), std::string::npos);
  }
  ASSERT_EQ(first.size(), 9u);
  EXPECT_NE(first[5].find("( 1, PHONES_T('1', NULL, 'it''s'))"), std::string::npos) << first[5];
  EXPECT_NE(first[6].find("( 2, PHONES_T())"), std::string::npos) << first[6];
  EXPECT_NE(first[7].find("( 3, NULL)"), std::string::npos) << first[7];
  EXPECT_NE(first[8].find("( 1, NULL)"), std::string::npos) << first[8];
  EXPECT_NE(first[0].find("CUST_T('O''Neil', ADDR_T('1 Main; St', 12345, "
                          "TO_DATE('2001-02-03 04:05:06', 'YYYY-MM-DD HH24:MI:SS'), "
                          "HEXTORAW('0AFF'))))"),
            std::string::npos)
      << first[0];
  EXPECT_NE(first[1].find("CUST_T(NULL, NULL))"), std::string::npos) << first[1];
  EXPECT_NE(first[2].find("CUST_T('x', ADDR_T(NULL, NULL, NULL, NULL)))"), std::string::npos)
      << first[2];
  EXPECT_NE(first[3].find("( 4, NULL)"), std::string::npos) << first[3];
  EXPECT_NE(first[4].find("'Elm', 7, NULL, NULL"), std::string::npos) << first[4];

  DataRig replayed;
  for (const char* statement : Schema) {
    replayed.schema.Run(statement);
  }
  for (const std::string& insert : first) {
    replayed.schema.Run(insert.substr(0, insert.rfind(';')));
  }
  EXPECT_EQ(ScriptObjects(replayed), first);
}

}  // namespace
