-- SQL functions in PL/SQL expressions: the ones the block evaluates through
-- SQL keep SQL's answers, timestamps and intervals keep their types through
-- variables, arithmetic and TO_CHAR, and what PL/SQL refuses is refused.

create table fn_out (seq number generated always as identity, text varchar2(400));
create procedure fn_put(t varchar2) is begin insert into fn_out (text) values (t); end;
/
declare
  d date := date '2020-01-31';
  ts timestamp := timestamp '2020-01-31 10:11:12.5';
  later timestamp;
  span interval day to second;
  n number;
begin
  fn_put(to_char(d, 'DD.MM.YYYY') || ' ' || extract(month from d) || ' ' || extract(year from ts));
  fn_put(to_char(ts, 'HH24:MI:SS.FF3'));
  later := ts + interval '1 02:00:00' day to second;
  fn_put(to_char(later, 'YYYY-MM-DD HH24:MI:SS'));
  span := later - ts;
  fn_put(extract(day from span) || ' ' || extract(hour from span));
  fn_put(power(2, 10) || ' ' || sqrt(16) || ' ' || sign(-3) || ' ' || coalesce(null, 'c') || ' ' ||
         nvl(to_char(nullif(1, 1)), 'null') || ' ' || initcap('hello world'));
  n := cast('12.5' as number) * 2;
  fn_put(n || ' ' || cast(n as varchar2(10)));
  fn_put(case when length(to_char(systimestamp, 'YYYY-MM-DD"T"HH24:MI:SS.FF3')) = 23 then 'ok' end);
  fn_put(case when systimestamp - ts > interval '1' day then 'later' end);
  fn_put(trunc(ts) || ' ' || to_char(trunc(d, 'MM'), 'YYYY-MM-DD'));
  fn_put(to_char(add_months(d, 1), 'YYYY-MM-DD') || ' ' || months_between(date '2020-03-31', d) ||
         ' ' || to_char(last_day(date '2020-02-10'), 'DD'));
  fn_put(regexp_replace('a1b22c333', '[0-9]+', '#') || ' ' || regexp_substr('k=v;x=y', '[^;]+', 1, 2) ||
         ' ' || regexp_instr('abcabc', 'c', 1, 2) || ' ' || regexp_count('banana', 'an'));
  if regexp_like('Quillmark', '^q', 'i') then
    fn_put('like');
  end if;
  if not regexp_like(null, 'x') or regexp_like(null, 'x') is null then
    fn_put('unknown');
  end if;
  fn_put(length(sys_guid()) || ' ' || bitand(12, 10) || ' ' || to_number('1,234.50', '9,999.99'));
end;
/
select text from fn_out order by seq;
delete from fn_out;
-- Character functions count characters of multibyte text; format models.
declare
  s varchar2(100) := 'aéübéü';
begin
  fn_put(length(s) || ' ' || substr(s, 2, 2) || ' ' || substr(s, -2) || ' ' || instr(s, 'ü') ||
         ' ' || instr(s, 'ü', -1) || ' ' || instr(s, 'éü', 3) || ' ' || lpad('é', 3, '*') ||
         ' ' || rpad('é', 4, 'üx'));
  fn_put(to_char(1234.5, 'FM9,999.00') || ' ' || to_char(date '2020-01-02', 'fmDD Month YYYY') ||
         ' ' || to_number('1,234.50', '9,999.99') || ' ' || to_char(0.125, '0.99'));
end;
/
select text from fn_out order by seq;
-- Functions SQL has and PL/SQL does not, a name that is no function, a
-- wrong argument count, and a literal that is no date.
declare s varchar2(100); begin s := dump('a'); end;
/
declare n number; begin n := nosuchfn(1); end;
/
declare n number; begin n := power(2); end;
/
declare d date := date '2020-13-01'; begin null; end;
/
-- TO_CHAR's hexadecimal, Roman, scientific and text-minimum forms, and the
-- sign elements, in SQL and in PL/SQL alike.
select to_char(255,'XX') h, to_char(1994,'RN') r, to_char(123,'9.9EEEE') e, to_char(-5,'999PR') p, to_char(-7,'99S') s from dual;
declare
  v varchar2(100);
begin
  v := to_char(48879, 'FMXXXX') || ' ' || to_char(12, 'FMrn') || ' ' || to_char(1234.5, 'TME');
  raise_application_error(-20001, v);
end;
/
-- UPPER and LOWER in PL/SQL map every letter, not only ASCII ones.
begin
  raise_application_error(-20001, upper('ÉLan é') || ' ' || lower('ÉLAN Ä'));
end;
/
