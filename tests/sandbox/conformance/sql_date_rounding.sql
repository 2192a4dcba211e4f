-- TRUNC and ROUND of dates and timestamps by format model: the unit's first
-- day or hour, where ROUND goes up, weeks by their first weekday, a DATE
-- result, NULL for a NULL model, and a model that names no unit.
select to_char(trunc(date '2020-05-31', 'MM'), 'YYYY-MM-DD') mm,
       to_char(round(date '2020-05-16', 'MM'), 'YYYY-MM-DD') round_mm,
       to_char(round(date '2020-05-15', 'MONTH'), 'YYYY-MM-DD') round_month,
       to_char(trunc(date '2020-05-31', 'Q'), 'YYYY-MM-DD') q,
       to_char(round(date '2020-05-16', 'Q'), 'YYYY-MM-DD') round_q,
       to_char(round(date '2020-11-16', 'Q'), 'YYYY-MM-DD') round_q4
  from dual;
select to_char(trunc(date '2020-12-31', 'YYYY'), 'YYYY-MM-DD') yyyy,
       to_char(round(date '2020-07-01', 'YEAR'), 'YYYY-MM-DD') round_year,
       to_char(round(date '2020-06-30', 'Y'), 'YYYY-MM-DD') round_y,
       to_char(trunc(date '2021-01-01', 'IYYY'), 'YYYY-MM-DD') iyyy,
       to_char(trunc(date '2020-01-31', 'CC'), 'YYYY-MM-DD') cc,
       to_char(round(date '2051-01-31', 'CC'), 'YYYY-MM-DD') round_cc
  from dual;
-- 2020-01-30 is a Thursday; the year and the month began on a Wednesday.
select to_char(trunc(date '2020-01-30', 'IW'), 'YYYY-MM-DD DY') iw,
       to_char(trunc(date '2020-01-30', 'D'), 'YYYY-MM-DD DY') d,
       to_char(trunc(date '2020-01-30', 'WW'), 'YYYY-MM-DD DY') ww,
       to_char(trunc(date '2020-01-30', 'W'), 'YYYY-MM-DD DY') w,
       to_char(round(to_date('2020-01-30 13:00', 'YYYY-MM-DD HH24:MI'), 'IW'), 'YYYY-MM-DD') round_iw
  from dual;
select to_char(trunc(timestamp '2020-01-31 10:41:12.5'), 'YYYY-MM-DD HH24:MI:SS') ts,
       to_char(trunc(timestamp '2020-01-31 10:41:12.5', 'HH24'), 'YYYY-MM-DD HH24:MI:SS') hh24,
       to_char(round(to_date('2020-01-31 23:41:42', 'YYYY-MM-DD HH24:MI:SS'), 'HH'), 'YYYY-MM-DD HH24:MI:SS') round_hh,
       to_char(round(to_date('2020-01-31 10:41:42', 'YYYY-MM-DD HH24:MI:SS'), 'MI'), 'HH24:MI:SS') round_mi,
       to_char(round(to_date('2020-01-31 12:00:00', 'YYYY-MM-DD HH24:MI:SS')), 'YYYY-MM-DD') round_dd
  from dual;
create table rounding_out as select trunc(systimestamp) d, trunc(sysdate, 'MM') m from dual;
select column_name, data_type from user_tab_columns where table_name = 'ROUNDING_OUT' order by column_id;
select nvl(to_char(trunc(date '2020-01-30', null)), 'null') no_model, trunc(12.345, 1) n from dual;
select trunc(date '2020-01-30', 'XX') from dual;
