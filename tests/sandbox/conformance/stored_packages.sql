-- Packages: public and private subprograms, overloads by argument count
-- and type, variables and constants that keep their values for the
-- session, and the initialisation section run once on first use.

create table pkg_out (seq number, text varchar2(200));

create or replace package pkg_counter as
  c_step constant number := 10;
  g_total number := 0;
  g_started varchar2(30);
  procedure add (n number);
  procedure add (n number, times number);
  procedure add (label varchar2);
  function total return number;
  function describe (n number) return varchar2;
  function describe (d date) return varchar2;
end pkg_counter;
/
create or replace package body pkg_counter as
  g_calls number := 0;

  procedure remember (what varchar2) is
  begin
    g_calls := g_calls + 1;
    insert into pkg_out values (g_calls, what);
  end;

  procedure add (n number) is
  begin
    g_total := g_total + n;
    remember('add ' || n);
  end;

  procedure add (n number, times number) is
  begin
    for i in 1 .. times loop
      add(n);
    end loop;
  end;

  procedure add (label varchar2) is
  begin
    pkg_counter.add(length(label));
  end;

  function total return number is
  begin
    return g_total;
  end;

  function describe (n number) return varchar2 is
  begin
    return 'number ' || n;
  end;

  function describe (d date) return varchar2 is
  begin
    return 'date ' || to_char(d, 'YYYY-MM-DD');
  end;
begin
  g_started := 'initialised';
  remember('init');
end pkg_counter;
/
declare
  v_text varchar2(100);
  v_date date;
begin
  pkg_counter.add(1);
  pkg_counter.add(2, 3);
  pkg_counter.add('abcd');
  v_text := pkg_counter.total;
  insert into pkg_out values (100, pkg_counter.g_started || ' ' || v_text);
  v_text := pkg_counter.describe(5) || ', ' || pkg_counter.describe(n => 6);
  insert into pkg_out values (101, v_text);
  select date '2026-12-09' into v_date from dual;
  v_text := pkg_counter.describe(v_date);
  insert into pkg_out values (102, v_text);
end;
/
-- The state lives on in the session: the initialisation does not run again.
declare
  v_total number;
begin
  pkg_counter.g_total := pkg_counter.g_total + pkg_counter.c_step;
  v_total := pkg_counter.total;
  insert into pkg_out values (103, v_total);
end;
/
select seq, text from pkg_out order by seq;

-- Wrong uses of the package.
begin
  pkg_counter.remember('private');
end;
/
begin
  pkg_counter.c_step := 1;
end;
/
begin
  pkg_counter.add(1, 2, 3);
end;
/
declare
  v varchar2(30);
begin
  v := pkg_counter.describe(null);
end;
/
