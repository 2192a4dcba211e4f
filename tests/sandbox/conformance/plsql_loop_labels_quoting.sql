-- CONTINUE, and EXIT or CONTINUE naming an outer loop by its label; text
-- literals in alternative quoting (q'[...]') in SQL and in PL/SQL.
create table o(n number generated always as identity, t varchar2(4000));
declare
  m varchar2(200);
begin
  <<outer>>
  for i in 1 .. 4 loop
    <<inner>>
    for j in 1 .. 4 loop
      continue outer when j > i;
      continue when j = 2;
      exit outer when i = 4;
      m := m || i || j || ' ';
    end loop inner;
  end loop outer;
  insert into o(t) values (m);
  m := null;
  <<scan>>
  loop
    m := m || 'x';
    begin
      exit scan when length(m) >= 3;
    end;
  end loop scan;
  insert into o(t) values (m);
end;
/
select t from o order by n;
-- N is also a column of O: VALUES does not see the INSERT's columns, so it
-- is the variable there.
declare
  n pls_integer := 0;
begin
  while n < 5 loop
    n := n + 1;
    continue when mod(n, 2) = 0;
    insert into o(t) values ('odd ' || n);
  end loop;
end;
/
select t from o where t like 'odd%' order by n;
-- Errors: outside a loop, and a label that names no loop around it.
begin
  continue;
end;
/
begin
  <<l1>>
  loop
    exit l2;
  end loop;
end;
/
select q'[it's]' a, Q'{a'b}' b, nq'<x>y>' c, q'!'!' d from dual;
create or replace function quoted return varchar2 is
begin
  return q'(don't)' || q'#'#' || replace('a''b', q'[']', q'['']');
end;
/
select quoted from dual;
select q'[unterminated from dual;
