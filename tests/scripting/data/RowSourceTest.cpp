// The rows of a data query as the fetch arrays bring them: the same text
// whatever the array's size, arrays sized by bytes, LONG values row by row.
#include <gtest/gtest.h>

#include <string>

#include "oracle/OracleStatement.h"
#include "scripting/data/RowSource.h"
#include "tests/scripting/tables/SandboxSchema.h"

namespace {

// Every VALUES text of query, fetched rowsPerFetch rows at a time (0: the
// default), and the rows one fetch asked for.
std::string ValuesOf(SandboxSchema& schema, const std::string& query, int rowsPerFetch,
                     int& fetchRows) {
  DataQueryRequest request;
  request.Query = query;
  request.RowsPerFetch = rowsPerFetch;
  request.Formats = {"DD-MON-YYYY HH24:MI:SS", "DD-MON-YYYY HH24:MI:SS.FF",
                     "DD-MON-YYYY HH24:MI:SS.FF TZH:TZM"};
  std::string error;
  std::unique_ptr<RowSource> source = RowSource::Open(*schema.client.session, request, error);
  EXPECT_TRUE(source) << error;
  if (!source) {
    return {};
  }
  fetchRows = source->RowsPerFetch();
  std::string all;
  std::string values;
  while (source->NextRow(values, error)) {
    all += values;
  }
  EXPECT_EQ(error, "");
  return all;
}

TEST(RowSourceTest, ArraysOfOneTwentyAndFourThousandRowsGiveTheSameText) {
  SandboxSchema schema;
  schema.Run("create table T (ID number, NAME varchar2(40), CREATED date, NOTE varchar2(40))");
  schema.Run("insert into T values (1, 'name 1', date '2000-01-01', null)");
  // Doubling to 131,072 rows, then back to 100,000.
  for (int rows = 1; rows < 100000; rows *= 2) {
    schema.Run("insert into T select ID + " + std::to_string(rows) + ", 'name ' || (ID + " +
               std::to_string(rows) + "), CREATED + ID, case when mod(ID, 7) = 0 then 'it''s ' " +
               "|| ID end from T");
  }
  schema.Run("delete from T where ID > 100000");
  const std::string query = "select * from T order by ID";
  int rows = 0;
  const std::string one = ValuesOf(schema, query, 1, rows);
  EXPECT_EQ(rows, 1);
  const std::string twenty = ValuesOf(schema, query, 20, rows);
  EXPECT_EQ(rows, 20);
  const std::string many = ValuesOf(schema, query, 4000, rows);
  EXPECT_EQ(rows, 4000);
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(one == twenty) << "arrays of 1 and 20 rows differ";
  EXPECT_TRUE(one == many) << "arrays of 1 and 4000 rows differ";
  EXPECT_NE(one.find("( 100000, 'name 100000', "), std::string::npos);
  EXPECT_NE(one.find("'it''s 7');\r\n"), std::string::npos);
  std::size_t count = 0;
  for (std::size_t at = one.find(");\r\n"); at != std::string::npos;
       at = one.find(");\r\n", at + 1))
    ++count;
  EXPECT_EQ(count, 100000u);
}

TEST(RowSourceTest, ArraysHoldAboutAMegabyteAndALongColumnComesRowByRow) {
  SandboxSchema schema;
  schema.Run("create table NARROW (ID number)");
  schema.Run("create table WIDE (A varchar2(4000), B varchar2(4000), C varchar2(4000))");
  schema.Run("create table DOC (ID number, BODY long)");
  schema.Run("insert into DOC values (1, 'first')");
  schema.Run("insert into DOC values (2, 'second')");
  int rows = 0;
  ValuesOf(schema, "select * from NARROW", 0, rows);
  // A NUMBER takes a slot of 128 bytes: 8,192 rows fill a megabyte.
  EXPECT_EQ(rows, static_cast<int>(RowSource::FetchArrayBytes / 128));
  ValuesOf(schema, "select * from WIDE", 0, rows);
  // 48 kB a row would give 21 rows; a row of 1 MB would still give 20.
  EXPECT_GE(rows, RowSource::MinimumRowsPerFetch);
  EXPECT_LE(static_cast<std::size_t>(rows) * 3 * 16001, 2 * RowSource::FetchArrayBytes);
  const std::string text = ValuesOf(schema, "select * from DOC order by ID", 0, rows);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(text, "( 1, 'first');\r\n( 2, 'second');\r\n");
}

}  // namespace
