-- TRANSLATE, TRANSLATE ... USING and TO_NCHAR as published schemas' views use them.
select translate('abc-123', 'abc-', 'xyz') from dual;
select translate('2020/01/02', '0123456789/', '0123456789') from dual;
select nvl(translate('aaa', 'a', ''), 'null') from dual;
select translate(null, 'a', 'b') is_null from dual;
select translate('grüße', 'üß', 'us') from dual;
create table cs_t (n varchar2(10), d date);
insert into cs_t values ('Tea', date '2024-03-01');
create view cs_v as select translate(n using nchar_cs) nn, to_nchar(d, 'YYYY-MM-DD') nd, to_nchar(42) nx from cs_t;
select * from cs_v;
select translate(n using char_cs) from cs_t;
