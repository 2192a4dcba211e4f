-- CASE expressions and statements, simple and searched, with ELSE and without.

create table case_out (seq number, text varchar2(100));
declare
  procedure log (n number, t varchar2) is begin insert into case_out values (n, t); end;
  function grade (n number) return varchar2 is
  begin
    return case when n >= 90 then 'A' when n >= 80 then 'B' else 'C' end;
  end;
  v varchar2(10);
begin
  log(1, grade(95) || grade(85) || grade(10) || nvl(grade(null), '-'));
  log(2, case 2 when 1 then 'one' when 2 then 'two' end || '/' || nvl(case 3 when 1 then 'one' end, 'none')
         || '/' || nvl(case null when null then 'null' else 'never' end, '-'));
  for i in 1 .. 3 loop
    case i
      when 1 then v := 'first';
      when 2 then v := 'second';
      else v := 'other';
    end case;
    log(2 + i, v);
  end loop;
end;
/
select * from case_out order by seq;
declare
  v varchar2(10) := 'y';
begin
  case
    when v = 'x' then null;
  end case;
end;
/
begin
  case 1 when 1 then null end case;
end;
/
