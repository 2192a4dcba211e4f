-- Records, index-by tables, nested tables and varrays declared in blocks and
-- packages: defaults, assignment, SELECT INTO records, constructors, the
-- collection methods, loops over elements and the subscript errors.

create table col_out (seq number, text varchar2(400));
create table col_emp (id number, name varchar2(30), salary number(8,2));
insert into col_emp values (1, 'ann', 100);
insert into col_emp values (2, 'bob', 200);
declare
  type t_point is record (x number := 1, y number := 2, label varchar2(10) default 'p');
  type t_numbers is table of number;
  type t_names is table of varchar2(30) index by pls_integer;
  type t_by_name is table of number index by varchar2(30);
  type t_small is varray(3) of varchar2(5);
  type t_points is table of t_point index by binary_integer;
  p t_point;
  q t_point;
  n t_numbers := t_numbers(10, 20, 30);
  names t_names;
  by_name t_by_name;
  small t_small := t_small();
  pts t_points;
  e col_emp%rowtype;
  type t_emp is record (id col_emp.id%type, name col_emp.name%type);
  r t_emp;
  s varchar2(400);
  k varchar2(30);
  procedure log (i number, t varchar2) is begin insert into col_out values (i, t); end;
begin
  log(1, p.x || ',' || p.y || ',' || p.label);
  p.x := 5;
  q := p;
  q.y := 7;
  log(2, p.x || ',' || p.y || ' ' || q.x || ',' || q.y);
  log(3, n.count || ' ' || n.first || ' ' || n.last || ' ' || n(2));
  n.extend(2);
  n(5) := 50;
  log(4, n.count || ' ' || nvl(to_char(n(4)), 'null') || ' ' || n(5));
  n.delete(2);
  log(5, n.count || ' ' || n.next(1) || ' ' || n.prior(3));
  if not n.exists(2) and n.exists(3) then
    log(5.5, 'exists');
  end if;
  n.trim;
  log(6, n.count || ' ' || n.last);
  names(10) := 'ten';
  names(-5) := 'minus five';
  names(3) := 'three';
  s := null;
  k := names.first;
  while k is not null loop
    s := s || k || '=' || names(k) || ';';
    k := names.next(k);
  end loop;
  log(7, s);
  by_name('b') := 2;
  by_name('a') := 1;
  by_name('c') := 3;
  log(8, by_name.first || by_name.last || by_name.count || by_name('b'));
  small.extend(3);
  small(1) := 'a';
  log(9, small.count || ' ' || small.limit || ' ' || nvl(small(2), '-'));
  for i in 1 .. 3 loop
    pts(i).x := i;
    pts(i).y := i * i;
  end loop;
  s := null;
  for i in 1 .. pts.count loop
    s := s || pts(i).x || ':' || pts(i).y || ':' || pts(i).label || ' ';
  end loop;
  log(10, s);
  select * into e from col_emp where id = 2;
  select id, name into r from col_emp where id = 1;
  log(11, e.name || ' ' || e.salary || ' ' || r.id || ' ' || r.name);
  insert into col_out values (12, names(10) || pts(2).y);
  names.delete;
  log(13, names.count);
end;
/
select seq, text from col_out order by seq;

-- Subscripts outside what a collection holds.
declare
  type t_numbers is table of number;
  n t_numbers;
begin
  n(1) := 1;
end;
/
declare
  type t_numbers is table of number;
  n t_numbers := t_numbers(1);
begin
  n(2) := 1;
end;
/
declare
  type t_small is varray(2) of number;
  v t_small := t_small(1, 2);
begin
  v.extend;
end;
/
declare
  type t_names is table of varchar2(30) index by pls_integer;
  names t_names;
begin
  dbms_output.put_line(names(1));
end;
/
declare
  type t_numbers is table of number;
  n t_numbers := t_numbers(1,2);
begin
  n(0) := 1;
end;
/
declare
  type t_a is table of number;
  type t_b is table of number;
  a t_a := t_a();
  b t_b;
begin
  b := a;
end;
/
declare
  type t_names is table of varchar2(30) index by pls_integer;
  names t_names;
begin
  names.extend;
end;
/

-- Types declared in a package are used from outside it, as parameters too.
create table pk_out (seq number, text varchar2(400));
create or replace package pk_types as
  type t_list is table of varchar2(30);
  type t_entry is record (lvl pls_integer, msg varchar2(100));
  type t_entries is table of t_entry index by pls_integer;
  g_list t_list := t_list('x', 'y');
  procedure add (entries in out t_entries, msg varchar2);
  function total (list t_list) return number;
end;
/
create or replace package body pk_types as
  procedure add (entries in out t_entries, msg varchar2) is
  begin
    entries(entries.count + 1).msg := msg;
    entries(entries.count).lvl := entries.count;
  end;
  function total (list t_list) return number is
  begin
    return list.count;
  end;
end;
/
declare
  l pk_types.t_list := pk_types.t_list('a', 'b', 'c');
  e pk_types.t_entries;
  n number;
begin
  pk_types.add(e, 'first');
  pk_types.add(e, 'second');
  insert into pk_out values (1, e.count || ' ' || e(2).lvl || ' ' || e(2).msg);
  n := pk_types.total(l) * 10 + pk_types.total(pk_types.g_list);
  insert into pk_out values (2, n);
end;
/
select * from pk_out order by seq;
drop package pk_types;

-- Functions return records and collections; INSERT takes a whole record.
create table fr_out (seq number, text varchar2(200));
create or replace package fr_pkg as
  type t_cfg is record (name varchar2(20), size_kb number := 64);
  type t_list is table of varchar2(20);
  function config (p_name varchar2) return t_cfg;
  function names (n pls_integer) return t_list;
end;
/
create or replace package body fr_pkg as
  function config (p_name varchar2) return t_cfg is
    c t_cfg;
  begin
    c.name := p_name;
    return c;
  end;
  function names (n pls_integer) return t_list is
    l t_list := t_list();
  begin
    for i in 1 .. n loop
      l.extend;
      l(i) := 'n' || i;
    end loop;
    return l;
  end;
end;
/
declare
  c fr_pkg.t_cfg := fr_pkg.config('main');
  l fr_pkg.t_list;
begin
  l := fr_pkg.names(3);
  insert into fr_out values (1, c.name || ' ' || c.size_kb || ' ' || l.count || ' ' || l(3));
end;
/
declare
  type t_row is record (seq number, text varchar2(200) := 'from a record');
  r t_row;
  e fr_out%rowtype;
begin
  r.seq := 2;
  insert into fr_out values r;
  e.seq := 3;
  e.text := 'rowtype';
  insert into fr_out values e;
end;
/
select * from fr_out order by seq;
drop package fr_pkg;
