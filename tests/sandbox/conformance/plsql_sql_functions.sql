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
