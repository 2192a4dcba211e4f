// Tables of every supported kind with awkward values are scripted, the INSERT
// statements are run into a fresh database by the sandbox runner, and that
// database is scripted again: every value must come back as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/data/DataRig.h"

namespace {

const char* const Tables[] = {
    "create table KINDS (ID number(4), N number, P number(12,2), F float, D date, V varchar2(60), "
    "C char(4), NV nvarchar2(10), R raw(8), RID rowid)",
    "create table LONGS (ID number(4), BODY long)",
    "create table \"quoted Table\" (\"lower\" varchar2(10), \"Two Words\" number)",
    "create table TIMES (T timestamp(9), TZ timestamp(6) with time zone, LTZ timestamp with local "
    "time zone, YM interval year to month, DS interval day(3) to second(9), BD binary_double, "
    "BF binary_float)",
};

const char* const Rows[] = {
    "insert into KINDS values (1, 12345678901234567890123456789012345678, -0.5, 1e125, "
    "to_date('1999-12-31 23:59:58', 'YYYY-MM-DD HH24:MI:SS'), 'it''s \"quoted\"', 'ab', 'Zürich', "
    "hextoraw('00FF'), 'AAAR3sAAEAAAACXAAA')",
    "insert into KINDS values (2, -0.000000000000000000000000000001, 1234567890.12, 0.1, "
    "to_date('2000-02-29 00:00:01', 'YYYY-MM-DD HH24:MI:SS'), 'line one' || chr(13) || chr(10) "
    "|| 'line two; end' || chr(10), 'x''y', '€ ü', hextoraw('FF00'), null)",
    "insert into KINDS values (3, -98765432109876543210.123456789012345678, 0, -1e-130, null, "
    "' leading and trailing  ', null, null, hextoraw('00'), null)",
    "insert into KINDS (ID) values (4)",
    "insert into LONGS values (1, 'a long text with '' and ; and\nline breaks')",
    "insert into \"quoted Table\" values ('mixed', 2)",
    "insert into TIMES values (to_timestamp('2024-02-29 23:59:58.123456789', "
    "'YYYY-MM-DD HH24:MI:SS.FF9'), to_timestamp_tz('2024-01-31 10:00:00.5 -07:30', "
    "'YYYY-MM-DD HH24:MI:SS.FF TZH:TZM'), to_timestamp('2020-01-01 00:00:00.000001', "
    "'YYYY-MM-DD HH24:MI:SS.FF'), to_yminterval('-01-02'), to_dsinterval('+003 "
    "04:05:06.000000009'), "
    "binary_double_infinity, 1.5)",
    "insert into TIMES (BD, BF) values (-binary_double_infinity, binary_float_nan)",
    "insert into TIMES (BD) values (2.5e-300)",
};

std::string ScriptAll(DataRig& rig) {
  rig.tables.names = {"KINDS", "LONGS", "quoted Table", "TIMES"};
  rig.data.RunDataPhase();
  std::string script;
  for (const std::string& insert : rig.Inserts()) {
    script += insert + "\n";
  }
  return script;
}

TEST(DataRoundTripTest, ScriptedRowsRunIntoAFreshDatabaseGiveTheSameValues) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-data-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();

  std::string first;
  {
    DataRig rig(source);
    for (const char* statement : Tables) {
      rig.schema.Run(statement);
    }
    for (const char* statement : Rows) {
      rig.schema.Run(statement);
    }
    first = ScriptAll(rig);
    EXPECT_TRUE(rig.schema.client.messages.texts.empty()) << rig.schema.client.messages.texts[0];
  }
  EXPECT_NE(first.find("VALUES ( 1, 12345678901234567890123456789012345678, -.5, 1E+125, "
                       "to_date('12/31/1999 23:59:58','MM/DD/YYYY HH24:MI:SS')"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("-98765432109876543210.123456789012345678"), std::string::npos) << first;
  EXPECT_NE(first.find("-.000000000000000000000000000001"), std::string::npos);
  EXPECT_NE(first.find("hextoraw('00FF'), 'AAAR3sAAEAAAACXAAA');"), std::string::npos);
  EXPECT_NE(first.find("to_timestamp('2024-02-29 23:59:58.123456789',"), std::string::npos);
  EXPECT_NE(first.find("-binary_double_infinity, binary_float_nan);"), std::string::npos);

  std::string second;
  {
    DataRig rig(target);
    for (const char* statement : Tables) {
      rig.schema.Run(statement);
    }
    rig.schema.client.session->Disconnect();
    const sandbox::testing::RunResult run = sandbox::testing::RunScript("APP/app@" + target, first);
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_TRUE(rig.schema.client.session->Connect("APP", "app", target, true, true));
    second = ScriptAll(rig);
  }
  EXPECT_EQ(second, first);
  std::filesystem::remove_all(directory);
}

}  // namespace
