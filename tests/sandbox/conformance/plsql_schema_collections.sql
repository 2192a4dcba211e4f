-- Schema-level nested tables and varrays in PL/SQL: variables, constants,
-- parameters and results of such types, their constructors and methods,
-- and their values in table columns.
create table sc_out (seq number, text varchar2(400));
create type sc_nums as table of number;
/
create type sc_names as varray(3) of varchar2(10);
/
create type sc_item as object (sku varchar2(10), qty number(5), price number(8,2));
/
create type sc_items as table of sc_item;
/
create table sc_lists (id number, nums sc_nums, names sc_names)
  nested table nums store as sc_lists_nums;
create or replace function sc_total (l sc_nums) return number is
  s number := 0;
  i pls_integer := l.first;
begin
  while i is not null loop
    s := s + l(i);
    i := l.next(i);
  end loop;
  return s;
end;
/
create or replace procedure sc_double (l in out sc_nums) is
begin
  for i in 1 .. l.count loop
    l(i) := l(i) * 2;
  end loop;
  l.extend;
  l(l.last) := -1;
end;
/
create or replace function sc_range (n number) return sc_nums is
  r sc_nums := sc_nums();
begin
  for i in 1 .. n loop
    r.extend;
    r(i) := i * 10;
  end loop;
  return r;
end;
/
create or replace package sc_pkg is
  saved sc_nums := sc_nums(5, 6);
  type t_pair is record (label varchar2(10), nums sc_nums);
  procedure keep (l sc_nums);
end;
/
create or replace package body sc_pkg is
  procedure keep (l sc_nums) is begin saved := l; end;
end;
/
declare
  n sc_nums := sc_nums(1, 2, 3);
  c constant system.sc_names := system.sc_names('a', 'b');
  v sc_names := sc_names();
  d sc_nums;
  p sc_pkg.t_pair;
  procedure log (i number, t varchar2) is begin insert into sc_out values (i, t); end;
begin
  log(1, n.count || ' ' || n(2) || ' ' || c.count || ' ' || c(2) || ' ' || c.limit ||
         ' ' || nvl(to_char(n.limit), 'null'));
  n.extend(2, 3);
  n.delete(1);
  log(2, n.count || ' ' || n.first || ' ' || n.last || ' ' || n(5) || ' ' || n.next(1));
  n.trim;
  log(3, n.count || ' ' || n.last || ' ' || case when n.exists(1) then 'y' else 'n' end);
  log(4, case when d is null then 'null' else 'set' end || ' ' ||
         case when v is null then 'null' else 'empty ' || v.count end);
  v.extend(3);
  v(3) := 'z';
  log(5, v.count || ' ' || nvl(v(1), '-') || v(3) || ' ' || v.prior(3));
  d := sc_range(4);
  log(6, d.count || ' ' || sc_total(d) || ' ' || sc_total(sc_nums(1.5, 2.25)) || ' ' ||
         sc_range(2)(2) || ' ' || sc_range(3).count);
  sc_double(d);
  log(7, d.count || ' ' || d(1) || ' ' || d(4) || ' ' || d(5));
  sc_pkg.keep(sc_nums(9, 8, 7));
  log(8, sc_pkg.saved.count || ' ' || sc_pkg.saved(3));
  p.label := 'pair';
  p.nums := sc_nums(4, 4);
  log(9, p.label || ' ' || p.nums.count || ' ' || sc_total(p.nums));
  d := null;
  log(10, case when d is null then 'null again' end);
end;
/
select seq, text from sc_out order by seq;
-- Values to and from columns.
declare
  n sc_nums := sc_nums(1.5, -0.25, null, 3);
  v sc_names := sc_names('x', 'y''s');
  r sc_nums;
  w sc_names;
  s varchar2(100);
begin
  delete sc_out;
  insert into sc_lists values (1, n, v);
  insert into sc_lists (id, nums) values (2, sc_nums(10, 20));
  select nums, names into r, w from sc_lists where id = 1;
  for i in 1 .. r.count loop
    s := s || nvl(to_char(r(i)), 'null') || ';';
  end loop;
  insert into sc_out values (1, r.count || ' ' || s || ' ' || w.count || ' ' || w(2));
  r(2) := 100;
  update sc_lists set nums = r, names = null where id = 1;
  select nums, names into r, w from sc_lists where id = 1;
  insert into sc_out values (2, r(2) || ' ' || case when w is null then 'null' end);
  select column_value bulk collect into r from table(n) where column_value > 0 order by 1 desc;
  insert into sc_out values (3, r.count || ' ' || r(1) || ' ' || r(2));
  select sum(column_value) into s from sc_lists l, table(l.nums) where l.id = 2;
  insert into sc_out values (4, s);
  select id bulk collect into r from sc_lists order by id;
  insert into sc_out values (5, r.count || ' ' || r(2));
end;
/
select seq, text from sc_out order by seq;
select l.id, t.column_value from sc_lists l, table(l.nums) t order by 1, 2;
select l.id, t.column_value from sc_lists l, table(l.names) t order by 1, 2;
-- Subscripts outside what the collection holds.
declare
  n sc_nums;
begin
  n(1) := 1;
end;
/
declare
  n sc_nums := sc_nums();
begin
  n(1) := 1;
end;
/
declare
  v sc_names := sc_names('a', 'b', 'c');
begin
  v.extend;
end;
/
declare
  v sc_names := sc_names('a', 'b', 'c', 'd');
begin
  null;
end;
/
declare
  n sc_nums := sc_nums(1);
begin
  n(0) := 1;
end;
/
declare
  n sc_nums;
begin
  dbms_output.put_line(n.count);
end;
/
