// The single-row functions published schemas use in views, defaults, checks
// and code: regular expressions, calendar and time zone functions, numbers
// read by format models, Unicode text and the bytes of stored values.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

using Rows = std::vector<std::string>;

class SqlFunctionFamiliesTest : public ::testing::Test {
 protected:
  ServerTestSession db;
};

TEST_F(SqlFunctionFamiliesTest, RegexpOccurrencesPositionsAndGroupsCountCharacters) {
  EXPECT_EQ(db.Value1("select regexp_instr('grüße wörld', 'w') from dual"), "7");
  EXPECT_EQ(db.Value1("select regexp_instr('grüße wörld', 'ö', 1, 1, 1) from dual"), "9");
  EXPECT_EQ(db.Value1("select regexp_substr('añb añc', 'a(ñ)(.)', 2, 1, null, 2) from dual"), "c");
  EXPECT_EQ(db.Value1("select regexp_replace('a.b.c', '\\.', '-', 1, 2) from dual"), "a.b-c");
  EXPECT_EQ(db.Value1("select regexp_replace('aaa', 'a', 'b', 2) from dual"), "abb");
  EXPECT_EQ(db.Value1("select regexp_replace('abc', 'x*', '-') from dual"), "-a-b-c-");
  EXPECT_EQ(db.Value1("select regexp_count('abcabc', 'b', 3) from dual"), "1");
  EXPECT_EQ(db.Value1("select nvl(regexp_substr('abc', 'b', 1, 2), 'none') from dual"), "none");
  EXPECT_EQ(db.Value1("select regexp_substr('ab', '(a)|(b)', 1, 1, null, 2) is null from dual"),
            "1");
  // \\ in a replacement is one backslash; \n names a group.
  EXPECT_EQ(db.Value1("select regexp_replace('ab', '(a)(b)', '\\2\\\\\\1') from dual"), "b\\a");
}

TEST_F(SqlFunctionFamiliesTest, RegexpMatchParametersAndNulls) {
  EXPECT_EQ(db.Value1("select regexp_substr('ABC', 'b', 1, 1, 'ic') is null from dual"), "1");
  EXPECT_EQ(db.Value1("select regexp_substr('ABC', 'b', 1, 1, 'ci') from dual"), "B");
  EXPECT_EQ(db.Value1("select regexp_count('a' || chr(10) || 'b', '^.$', 1, 'm') from dual"), "2");
  EXPECT_EQ(db.Value1("select regexp_count('a' || chr(10) || 'b', 'a.b') from dual"), "0");
  EXPECT_EQ(db.Value1("select regexp_count('a' || chr(10) || 'b', 'a.b', 1, 'n') from dual"), "1");
  EXPECT_EQ(db.Value1("select regexp_replace('abc', null, 'x') from dual"), "abc");
  EXPECT_EQ(db.Value1("select nvl(regexp_replace('abc', 'abc'), 'empty') from dual"), "empty");
  EXPECT_EQ(db.Value1("select nvl(to_char(regexp_instr(null, 'a')), 'null') from dual"), "null");
  EXPECT_EQ(db.QueryError("select regexp_count('a', 'a', 1, 'z') from dual"), 1760);
  EXPECT_EQ(db.QueryError("select regexp_instr('a', 'a', 1, 0) from dual"), 1428);
  EXPECT_EQ(db.QueryError("select regexp_substr('a', 'a', 1, 1, null, 10) from dual"), 1428);
}

TEST_F(SqlFunctionFamiliesTest, RegexpPatternsChangeFromRowToRow) {
  db.Script(R"(
    create table rules (id number, pattern varchar2(20), subject varchar2(20));
    insert into rules values (1, '^[0-9]+$', '123');
    insert into rules values (2, '^[a-z]+$', '123');
    insert into rules values (3, '^[a-z]+$', 'abc');
    insert into rules values (4, '(', 'abc');
  )");
  EXPECT_EQ(db.Rows("select id from rules where id < 4 and regexp_like(subject, pattern) "
                    "order by id"),
            (Rows{"1", "3"}));
  EXPECT_EQ(db.QueryError("select id from rules where id = 4 and regexp_like(subject, pattern)"),
            12725);
  db.Script("create table codes (code varchar2(10) check (regexp_like(code, '^[A-Z]{2}[0-9]+$')))");
  EXPECT_EQ(db.Exec("insert into codes values ('AB12')"), 0);
  EXPECT_EQ(db.Exec("insert into codes values ('ab12')"), 2290);
}

TEST_F(SqlFunctionFamiliesTest, CalendarArithmeticKeepsMonthEnds) {
  EXPECT_EQ(db.Value1("select to_char(add_months(date '2024-02-29', 12), 'YYYY-MM-DD') from dual"),
            "2025-02-28");
  EXPECT_EQ(db.Value1("select to_char(add_months(date '2023-02-28', 1), 'YYYY-MM-DD') from dual"),
            "2023-03-31");
  EXPECT_EQ(db.Value1("select to_char(add_months(date '2024-01-15', -13), 'YYYY-MM-DD') from dual"),
            "2022-12-15");
  EXPECT_EQ(db.Value1("select to_char(add_months(to_date('2024-03-15 13:45', 'YYYY-MM-DD HH24:MI'),"
                      " 1), 'HH24:MI') from dual"),
            "13:45");
  EXPECT_EQ(db.Value1("select months_between(date '2024-03-31', date '2024-02-29') from dual"),
            "1");
  EXPECT_EQ(db.Value1("select months_between(date '2024-01-01', date '2024-03-01') from dual"),
            "-2");
  EXPECT_EQ(db.Value1("select to_char(next_day(date '2024-03-05', 'tue'), 'YYYY-MM-DD') from dual"),
            "2024-03-12");
  EXPECT_EQ(db.QueryError("select add_months(date '0001-01-31', -1) from dual"), 1841);
}

TEST_F(SqlFunctionFamiliesTest, PureFunctionsServeChecksAndIndexes) {
  db.Script(R"(
    create table terms (starts date, ends date,
      constraint terms_span check (months_between(ends, starts) between 1 and 12));
    create index terms_due on terms (add_months(last_day(starts), 1));
    create index terms_code on terms (regexp_substr(to_char(starts, 'YYYY'), '..$'));
  )");
  EXPECT_EQ(db.Exec("insert into terms values (date '2024-01-31', date '2024-02-29')"), 0);
  EXPECT_EQ(db.Exec("insert into terms values (date '2024-01-31', date '2026-01-31')"), 2290);
  EXPECT_EQ(db.Exec("create index terms_guid on terms (sys_guid())"), 1743);
}

TEST_F(SqlFunctionFamiliesTest, TimeZoneOperatorsAndTheirColumnNames) {
  db.Script("alter session set time_zone = '+02:00'");
  EXPECT_EQ(db.Value1("select to_char(timestamp '2024-01-01 10:00:00' at local, "
                      "'HH24:MI TZH:TZM') from dual"),
            "10:00 +02:00");
  EXPECT_EQ(db.Value1("select to_char(sys_extract_utc(timestamp '2024-01-01 10:00:00'), "
                      "'HH24:MI') from dual"),
            "08:00");
  db.Script(R"(
    create table tz_t (ts timestamp with time zone, zone varchar2(10));
    insert into tz_t values (timestamp '2024-01-01 12:00:00 +00:00', '-05:00');
    create view tz_v as select ts at time zone zone shifted, ts at time zone 'UTC' utc,
      ts at time zone zone from tz_t;
  )");
  EXPECT_EQ(db.Rows("select column_name from all_tab_columns where table_name = 'TZ_V' "
                    "order by column_id"),
            (Rows{"SHIFTED", "UTC", "TSATTIMEZONEZONE"}));
  EXPECT_EQ(db.Value1("select to_char(shifted, 'HH24:MI TZH:TZM') from tz_v"), "07:00 -05:00");
  EXPECT_EQ(db.QueryError("select from_tz(sysdate, 'UTC') from dual"), 932);
  EXPECT_EQ(db.QueryError("select tz_offset('+25:00') from dual"), 1857);
}

TEST_F(SqlFunctionFamiliesTest, NumbersReadByFormatModels) {
  EXPECT_EQ(db.Value1("select to_number('  1,234.5 ', '9G999D99') from dual"), "1234.5");
  EXPECT_EQ(db.Value1("select to_number('+7', 'S9') from dual"), "7");
  EXPECT_EQ(db.Value1("select to_number('7-', '9S') from dual"), "-7");
  EXPECT_EQ(db.Value1("select to_number('EUR12', 'L99', 'NLS_CURRENCY = ''EUR''') from dual"),
            "12");
  EXPECT_EQ(db.Value1("select to_number('007', '000') from dual"), "7");
  EXPECT_EQ(db.Value1("select to_number('1f', 'xx') from dual"), "31");
  EXPECT_EQ(db.QueryError("select to_number('1.25', '9.9') from dual"), 1722);
  EXPECT_EQ(db.QueryError("select to_number('7', 'S9') from dual"), 1722);
  EXPECT_EQ(db.QueryError("select to_number('100', 'xx') from dual"), 1722);
  EXPECT_EQ(db.QueryError("select to_number('1', '9', 'NLS_DATE_FORMAT = ''x''') from dual"),
            12702);
}

TEST_F(SqlFunctionFamiliesTest, NumbersWrittenByToCharReadBackAndRoundHalfUp) {
  EXPECT_EQ(db.Value1("select to_char(0.125, '0.99') || '|' || to_char(1234.5, '0000') || '|' || "
                      "to_char(-2.5, '9') || '|' || to_char(0.5, 'FM0') from dual"),
            " 0.13| 1235|-3|1");
  EXPECT_EQ(
      db.Rows("select to_number(to_char(v, m), m) from "
              "(select 'S9999D99' m from dual union all select '9G999MI' from dual "
              "union all select '$99,999.00' from dual union all select 'FM9990.0' from dual), "
              "(select -12 v from dual union all select 1234 from dual) order by m, v"),
      (Rows{"-12", "1234", "-12", "1234", "-12", "1234", "-12", "1234"}));
}

TEST_F(SqlFunctionFamiliesTest, NumericEdgeCases) {
  EXPECT_EQ(db.Value1("select bitand(-1, 255) || ',' || bitand(12.9, 10) from dual"), "255,8");
  EXPECT_EQ(db.Value1("select remainder(10, 4) || ',' || remainder(14, 4) || ',' || "
                      "remainder(-11, 4) from dual"),
            "2,-2,1");
  EXPECT_EQ(db.Value1("select width_bucket(10, 0, 10, 5) || ',' || width_bucket(-1, 0, 10, 5) || "
                      "',' || width_bucket(8, 10, 0, 5) from dual"),
            "6,0,2");
  EXPECT_EQ(db.Value1("select width_bucket(date '2024-01-20', date '2024-01-01', "
                      "date '2024-02-01', 31) from dual"),
            "20");
  EXPECT_EQ(db.QueryError("select width_bucket(1, null, 10, 5) from dual"), 30494);
  EXPECT_EQ(db.QueryError("select remainder(1, 0) from dual"), 1476);
}

TEST_F(SqlFunctionFamiliesTest, UnicodeTextRoundTrips) {
  EXPECT_EQ(db.Value1("select asciistr('a\\' || nchr(233) || unistr('\\D83D\\DE00')) from dual"),
            "a\\005C\\00E9\\D83D\\DE00");
  EXPECT_EQ(db.Value1("select unistr(asciistr('zß€😀')) from dual"), "zß€😀");
  EXPECT_EQ(db.Value1("select unistr('a\\\\b') from dual"), "a\\b");
  EXPECT_EQ(db.QueryError("select unistr('\\12') from dual"), 30186);
  EXPECT_EQ(db.Value1("select lower('ÀÉÎ') || upper('ωσ') || initcap('ünter-den élan') from dual"),
            "àéîΩΣÜnter-Den Élan");
  EXPECT_EQ(db.Value1("select nls_lower('ÄB', 'NLS_SORT = BINARY') from dual"), "äb");
  EXPECT_EQ(db.Value1("select nls_upper('istanbul ıi', 'nls_sort=turkish') || "
                      "nls_initcap('ijs ij', 'NLS_SORT = XDUTCH') from dual"),
            "İSTANBUL Iİ"
            "IJs IJ");
  EXPECT_EQ(db.QueryError("select nls_lower('A', 'NLS_SORT') from dual"), 12702);
  EXPECT_EQ(db.Rows("select soundex(w) from (select 'Tymczak' w from dual union all "
                    "select 'Pfister' from dual union all select 'Lee' from dual union all "
                    "select '12' from dual) order by 1"),
            (Rows{"L000", "P236", "T522", ""}));
}

TEST_F(SqlFunctionFamiliesTest, BytesOfStoredValues) {
  EXPECT_EQ(db.Value1("select dump(-1.5) from dual"), "Typ=2 Len=4: 62,100,51,102");
  EXPECT_EQ(db.Value1("select dump(0) || ' ' || vsize(0) from dual"), "Typ=2 Len=1: 128 1");
  EXPECT_EQ(db.Value1("select dump(0.05) from dual"), "Typ=2 Len=2: 192,6");
  EXPECT_EQ(db.Value1("select dump('abc', 1016, 2, 1) from dual"),
            "Typ=1 Len=3 CharacterSet=AL32UTF8: 62");
  EXPECT_EQ(db.Value1("select dump(hextoraw('0aff'), 16) from dual"), "Typ=23 Len=2: a,ff");
  EXPECT_EQ(db.Value1("select dump(null) from dual"), "NULL");
  EXPECT_EQ(db.Value1("select vsize('grüße') from dual"), "7");
  EXPECT_EQ(db.Value1("select standard_hash('abc', 'SHA256') from dual").size(), 64u);
  EXPECT_EQ(db.QueryError("select standard_hash('abc', 'SHA3') from dual"), 1760);
  EXPECT_EQ(db.Value1("select count(distinct ora_hash(level, 3)) from dual connect by level <= 50"),
            "4");
  EXPECT_EQ(db.Value1("select case when ora_hash('x', 100, 1) = ora_hash('x', 100, 1) then 'same' "
                      "end from dual"),
            "same");
}

TEST_F(SqlFunctionFamiliesTest, SessionValuesAndGuidKeys) {
  db.Script(R"(
    create table guid_t (id raw(16) default sys_guid() primary key, n number);
    insert into guid_t (n) select level from dual connect by level <= 20;
  )");
  EXPECT_EQ(db.Value1("select count(distinct id) || ',' || max(length(rawtohex(id))) from guid_t"),
            "20,32");
  EXPECT_EQ(db.Value1("select data_type || data_length from all_tab_columns "
                      "where table_name = 'GUID_T' and column_name = 'ID'"),
            "RAW16");
  EXPECT_EQ(db.Value1("select count(*) from all_users where user_id = uid and username = user"),
            "1");
  EXPECT_EQ(db.Value1("select userenv('language') from dual"), "AMERICAN_AMERICA.AL32UTF8");
  EXPECT_EQ(db.QueryError("select userenv('CLIENT_INFO') from dual"), 2003);
  EXPECT_EQ(db.Rows("select n from guid_t where lnnvl(n > 2) order by n"), (Rows{"1", "2"}));
}

}  // namespace
}  // namespace sandbox::test
