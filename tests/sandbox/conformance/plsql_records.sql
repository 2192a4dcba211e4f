-- Records as values: qualified expressions of record and index-by table
-- types, INSERT ... VALUES record, UPDATE ... SET ROW = record, RETURNING
-- INTO a record and BULK COLLECT INTO collections, and fields and elements
-- of a function's result, through an API package that takes and returns
-- records.

create table rc_emp (id number primary key, name varchar2(30), salary number,
  dept varchar2(10));
create table rc_out (seq number, text varchar2(200));
create or replace package rc_api is
  type t_emp is record (id number, name varchar2(30), salary number := 1000,
    dept varchar2(10) := 'NEW');
  type t_emps is table of rc_emp%rowtype index by pls_integer;
  type t_ids is table of number;
  function get(p_id number) return rc_emp%rowtype;
  function hire(p_id number, p_name varchar2) return t_emp;
  procedure save(p_emp t_emp);
  function by_dept(p_dept varchar2) return t_emps;
  function raise_all(p_dept varchar2, p_amount number) return t_ids;
end;
/
create or replace package body rc_api is
  function get(p_id number) return rc_emp%rowtype is
    r rc_emp%rowtype;
  begin
    select * into r from rc_emp where id = p_id;
    return r;
  end;
  function hire(p_id number, p_name varchar2) return t_emp is
  begin
    return t_emp(id => p_id, name => p_name);
  end;
  procedure save(p_emp t_emp) is
  begin
    update rc_emp set row = p_emp where id = p_emp.id;
    if sql%rowcount = 0 then
      insert into rc_emp values p_emp;
    end if;
  end;
  function by_dept(p_dept varchar2) return t_emps is
    rws t_emps;
  begin
    select * bulk collect into rws from rc_emp where dept = p_dept order by id;
    return rws;
  end;
  function raise_all(p_dept varchar2, p_amount number) return t_ids is
    ids t_ids;
  begin
    update rc_emp set salary = salary + p_amount where dept = p_dept
      returning id bulk collect into ids;
    return ids;
  end;
end;
/
declare
  e rc_api.t_emp;
  n number;
  line varchar2(200);
begin
  rc_api.save(rc_api.hire(1, 'Ann'));
  rc_api.save(rc_api.t_emp(2, 'Bob', 2000, 'OPS'));
  rc_api.save(rc_api.t_emp(id => 3, name => 'Cy', dept => 'OPS'));
  e := rc_api.t_emp(4, 'Di', others => null);
  rc_api.save(e);
  e.salary := 1500;
  e.name := 'Dee';
  rc_api.save(e);
  line := rc_api.get(2).name || ' ' || rc_api.get(4).name || ' ' || rc_api.get(4).salary
    || ' ' || rc_api.hire(9, 'X').dept;
  insert into rc_out values (1, line);
  n := rc_api.by_dept('OPS').count;
  line := n || ' ' || rc_api.by_dept('OPS')(2).name || ' ' || rc_api.by_dept('OPS').last;
  insert into rc_out values (2, line);
  n := rc_api.raise_all('OPS', 5).count;
  line := n || ' ' || rc_api.raise_all('OPS', 5)(1);
  insert into rc_out values (3, line);
end;
/
select * from rc_emp order by id;
select * from rc_out order by seq;
-- Qualified expressions of index-by tables, by number and by text.
declare
  type t_codes is table of varchar2(10) index by pls_integer;
  type t_totals is table of number index by varchar2(10);
  codes t_codes := t_codes(3 => 'c', 1 => 'a', -2 => 'm');
  totals t_totals;
  line varchar2(200);
begin
  totals := t_totals('OPS' => 10, 'NEW' => 20);
  line := codes.count || ' ' || codes.first || codes(codes.first) || ' ' || codes.last
    || codes(3) || ' ' || totals.first || totals('OPS') || ' ' || totals.count;
  codes := t_codes();
  line := line || ' ' || codes.count;
  insert into rc_out values (4, line);
end;
/
select text from rc_out where seq = 4;
-- Rows in and out as records: FORALL ... VALUES rows(i), RETURNING INTO a
-- record and BULK COLLECT INTO a collection of records.
declare
  type t_rows is table of rc_emp%rowtype;
  type t_pair is record (id number, name varchar2(30));
  type t_pairs is table of t_pair;
  rws t_rows := t_rows();
  pair t_pair;
  pairs t_pairs;
  line varchar2(200);
begin
  rws.extend(2);
  rws(1).id := 10;
  rws(1).name := 'Eve';
  rws(2).id := 11;
  rws(2).name := 'Fay';
  rws(2).dept := 'OPS';
  forall i in 1 .. rws.count
    insert into rc_emp values rws(i);
  update rc_emp set salary = 7 where id = 10 returning id, name into pair;
  line := pair.id || pair.name || ' ';
  delete from rc_emp where dept = 'OPS' returning id, name bulk collect into pairs;
  for i in 1 .. pairs.count loop
    line := line || pairs(i).id || pairs(i).name || ' ';
  end loop;
  insert into rc_out values (5, line);
end;
/
select * from rc_emp order by id;
select text from rc_out where seq = 5;
-- A record must be of the table's width, a BULK COLLECT target a collection,
-- and a field named in a qualified expression must be the type's.
declare
  type t_short is record (id number, name varchar2(30));
  r t_short;
begin
  update rc_emp set row = r where id = 1;
end;
/
declare
  n number;
begin
  delete from rc_emp where id = 1 returning id bulk collect into n;
end;
/
declare
  e rc_api.t_emp;
begin
  e := rc_api.t_emp(id => 1, title => 'x');
end;
/
-- A collection of collections is one value: a copy's elements are its own.
declare
  type t_inner is table of number;
  type t_outer is table of t_inner;
  type t_groups is table of t_inner index by varchar2(10);
  o t_outer := t_outer(t_inner(1, 2), t_inner(3));
  c t_outer;
  g t_groups;
  line varchar2(200);
begin
  c := o;
  c(1)(2) := 20;
  o(2).extend;
  o(2)(2) := 4;
  g := t_groups('a' => t_inner(5));
  g('a').extend;
  g('a')(2) := 6;
  line := o(1)(2) || ' ' || c(1)(2) || ' ' || o(2).count || ' ' || c(2).count || ' '
    || g('a')(2) || ' ' || g('a').count;
  insert into rc_out values (6, line);
end;
/
select text from rc_out where seq = 6;
