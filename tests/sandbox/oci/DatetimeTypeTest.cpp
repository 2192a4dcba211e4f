// Timestamp, interval and binary floating point columns as a client sees
// them: the type codes and precisions OCI describes, and values that travel
// as text through string binds and defines in the session's formats.
#include <gtest/gtest.h>

#include <cstring>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

TEST(SandboxOciDatetime, DescribesTheTypeCodesAndPrecisionsOfARealServer) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("DTTYPES"));
  ASSERT_EQ(connection.Run("create table kinds (a timestamp(3), b timestamp with time zone, "
                           "c timestamp(9) with local time zone, d interval year(4) to month, "
                           "e interval day to second(3), f binary_float, g binary_double)"),
            OCI_SUCCESS)
      << connection.LastErrorText();
  Statement statement(connection.Environment(), connection.Error(), connection.Context());
  ASSERT_EQ(statement.Prepare("select * from kinds"), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(0, OCI_DESCRIBE_ONLY), OCI_SUCCESS);
  struct Expected {
    ub2 type;
    sb2 precision;
    sb1 scale;
  };
  const Expected expected[] = {{187, 0, 3}, {188, 0, 6}, {232, 0, 9}, {189, 4, 0},
                               {190, 2, 3}, {100, 0, 0}, {101, 0, 0}};
  for (ub4 position = 1; position <= 7; ++position) {
    void* parameter = nullptr;
    ASSERT_EQ(Oci().ParamGet(statement.Handle(), OCI_HTYPE_STMT, connection.Error(), &parameter,
                             position),
              OCI_SUCCESS);
    ub2 type = 0;
    sb2 precision = -1;
    sb1 scale = -1;
    Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &type, nullptr, OCI_ATTR_DATA_TYPE,
                  connection.Error());
    Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &precision, nullptr, OCI_ATTR_PRECISION,
                  connection.Error());
    Oci().AttrGet(parameter, OCI_DTYPE_PARAM, &scale, nullptr, OCI_ATTR_SCALE, connection.Error());
    EXPECT_EQ(type, expected[position - 1].type) << "column " << position;
    EXPECT_EQ(precision, expected[position - 1].precision) << "column " << position;
    EXPECT_EQ(scale, expected[position - 1].scale) << "column " << position;
    Oci().DescriptorFree(parameter, OCI_DTYPE_PARAM);
  }
}

TEST(SandboxOciDatetime, TextBoundInTheSessionFormatsComesBackUnchanged) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("DTROUND"));
  ASSERT_EQ(connection.Run("alter session set nls_timestamp_format = 'DD.MM.YYYY HH24:MI:SS.FF'"),
            OCI_SUCCESS);
  ASSERT_EQ(connection.Run("alter session set nls_timestamp_tz_format = "
                           "'YYYY-MM-DD\"T\"HH24:MI:SS.FF TZH:TZM'"),
            OCI_SUCCESS)
      << connection.LastErrorText();
  ASSERT_EQ(connection.Run("create table moments (ts timestamp(9), tz timestamp(6) with time "
                           "zone, ym interval year to month, ds interval day(3) to second(4), "
                           "bd binary_double)"),
            OCI_SUCCESS);
  const char* values[] = {"29.02.2024 23:59:59.123456789", "1999-12-31T08:15:00.250000 -07:30",
                          "-12-11", "+123 04:05:06.7890", "3.3333333333333331E-001"};
  {
    Statement insert(connection.Environment(), connection.Error(), connection.Context());
    ASSERT_EQ(insert.Prepare("insert into moments values (:ts, :tz, :ym, :ds, :bd)"), OCI_SUCCESS);
    char buffers[5][40] = {};
    const char* names[] = {":ts", ":tz", ":ym", ":ds", ":bd"};
    for (int i = 0; i < 5; ++i) {
      std::strcpy(buffers[i], values[i]);
      ASSERT_EQ(insert.BindString(names[i], buffers[i], sizeof buffers[i]), OCI_SUCCESS);
    }
    ASSERT_EQ(insert.Execute(1), OCI_SUCCESS) << insert.LastError().text;
  }
  EXPECT_EQ(connection.Rows("select ts, tz, ym, ds, bd from moments"),
            std::vector<std::string>{"29.02.2024 23:59:59.123456789|"
                                     "1999-12-31T08:15:00.250000 -07:30|-12-11|"
                                     "+123 04:05:06.7890|3.3333333333333331E-001"});
  // Text that a column cannot hold is refused with the server's errors.
  EXPECT_EQ(connection.Run("insert into moments (ds) values ('1234 00:00:00')"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 1873);
  EXPECT_EQ(connection.Run("insert into moments (ts) values ('yesterday')"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 1861);
}

}  // namespace
}  // namespace sandbox::testing
