-- Timestamp, interval and binary floating point columns: their dictionary
-- types, values stored and read in the session's formats, literals,
-- conversion functions and datetime arithmetic.
alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS';
alter session set nls_timestamp_format = 'YYYY-MM-DD HH24:MI:SS.FF';
alter session set nls_timestamp_tz_format = 'YYYY-MM-DD HH24:MI:SS.FF TZR';
alter session set time_zone = '+00:00';
create table conf_types (
  id  number(2) primary key,
  ts  timestamp,
  ts3 timestamp(3),
  tz  timestamp with time zone,
  ltz timestamp(3) with local time zone,
  ym  interval year to month,
  ds  interval day(3) to second(2),
  bf  binary_float,
  bd  binary_double
);
select column_name, data_type, data_length, data_precision, data_scale
  from all_tab_columns where owner = 'SYSTEM' and table_name = 'CONF_TYPES' order by column_id;
insert into conf_types values (1, timestamp '2024-01-31 10:20:30.123456789',
  timestamp '2024-01-31 10:20:30.9996', timestamp '2024-02-29 23:59:59.5 -05:00',
  timestamp '2024-01-31 10:20:30.25', interval '1-2' year to month,
  interval '3 04:05:06.789' day to second(3), 1.5, 0.25);
insert into conf_types values (2, '2024-12-31 23:59:59.000001', '1999-01-01 00:00:00',
  '2024-07-01 12:00:00.5 +02:00', '2024-07-01 12:00:00', '-2-3', '1 2:3:4', '-1.25',
  '1e3');
insert into conf_types (id, bd) values (3, binary_double_nan);
select * from conf_types order by id;
-- Values the columns cannot hold.
insert into conf_types (id, ym) values (5, interval '123-1' year(3) to month);
insert into conf_types (id, tz) values (6, '2024-01-01 00:00:00 Mars/Olympus');
-- The session's zone moves a local time zone value, and the formats change the text.
alter session set time_zone = '-03:00';
select ltz from conf_types where id in (1, 2) order by id;
alter session set nls_timestamp_format = 'DD.MM.YYYY HH24:MI:SSXFF3';
select ts, to_char(ts, 'YYYY-MM-DD HH24:MI:SS.FF6') from conf_types where id = 1;
alter session set nls_timestamp_format = 'YYYY-MM-DD HH24:MI:SS.FF';
alter session set time_zone = '+00:00';
-- Conversion functions and extraction.
select to_timestamp('2024-05-06 07:08:09.123', 'YYYY-MM-DD HH24:MI:SS.FF'),
       to_timestamp_tz('2024-05-06 07:08 -07:30', 'YYYY-MM-DD HH24:MI TZH:TZM') from dual;
select to_yminterval('01-02'), to_dsinterval('2 10:00:00') from dual;
select extract(year from ts), extract(month from ts), extract(second from ts3),
       extract(hour from tz), extract(timezone_hour from tz), extract(day from ds)
  from conf_types where id = 1;
select extract(hour from date '2024-01-01') from dual;
select to_char(timestamp '2024-03-04 05:06:07.891', 'DD/MM/YYYY HH24.MI.SS.FF2') from dual;
-- Arithmetic.
select to_char(ts + interval '1' day, 'YYYY-MM-DD HH24:MI:SS.FF6'),
       to_char(ts - interval '1-1' year to month, 'YYYY-MM-DD HH24:MI:SS.FF3'), ts3 + 1
  from conf_types where id = 1;
select timestamp '2024-03-01 00:00:00' - timestamp '2024-02-01 12:00:00' from dual;
select date '2024-03-01' - date '2024-02-01', date '2024-01-31' + interval '2' hour from dual;
select date '2024-01-31' + interval '1' month from dual;
select interval '1' year + interval '1' day from dual;
select date '2024-01-01' + date '2024-01-02' from dual;
-- Binary floating point constants and conversion.
select to_binary_double('1222.111'), to_binary_float('0.1'), to_binary_double('-INF'),
       binary_double_infinity from dual;
select id, bd from conf_types where bd = binary_double_nan or bd > 100 order by id;
-- CAST reads text in the session's formats and rounds to the type named.
select cast('2024-01-02 03:04:05.123' as timestamp(3)), cast('12.345' as number(5,1)),
       cast(1.5 as binary_double), cast('1 02:00:00' as interval day to second) from dual;
select cast('abc' as number) from dual;
