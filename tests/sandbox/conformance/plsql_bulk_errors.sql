-- FORALL ... SAVE EXCEPTIONS: a loader whose every row is tried, the failed
-- ones logged from SQL%BULK_EXCEPTIONS after ORA-24381; SQL%BULK_ROWCOUNT;
-- INDICES OF ... BETWEEN and VALUES OF over sparse collections; ORA-22160
-- for a missing element; RETURNING ... BULK COLLECT INTO in a FORALL.

create table bl_stage (seq number, id number, name varchar2(30), amount number);
insert into bl_stage values (1, 1, 'one', 10);
insert into bl_stage values (2, 2, null, 5);
insert into bl_stage values (3, 1, 'again', 3);
insert into bl_stage values (4, 4, 'four', -1);
insert into bl_stage values (5, 5, 'a name far too long', 1);
insert into bl_stage values (6, 6, 'six', 123456);
insert into bl_stage values (7, 7, 'seven', 7);
create table bl_target (id number primary key, name varchar2(10) not null,
  amount number(5) check (amount >= 0));
create table bl_errors (batch number, error_index number, id number, code number,
  message varchar2(200));
create table bl_log (batch number, text varchar2(200));
create or replace package bl_loader is
  procedure load(p_batch number);
end;
/
create or replace package body bl_loader is
  procedure load(p_batch number) is
    type t_rows is table of bl_stage%rowtype;
    type t_numbers is table of number index by pls_integer;
    rws t_rows;
    failed_at t_numbers;
    codes t_numbers;
    loaded number;
    summary varchar2(200);
    v_message varchar2(200);
    dml_errors exception;
    pragma exception_init(dml_errors, -24381);
  begin
    select * bulk collect into rws from bl_stage order by seq;
    forall i in 1 .. rws.count save exceptions
      insert into bl_target values (rws(i).id, rws(i).name, rws(i).amount);
    insert into bl_log values (p_batch, 'all ' || sql%rowcount);
  exception
    when dml_errors then
      loaded := sql%rowcount;
      for j in 1 .. sql%bulk_exceptions.count loop
        failed_at(j) := sql%bulk_exceptions(j).error_index;
        codes(j) := sql%bulk_exceptions(j).error_code;
      end loop;
      summary := sqlcode || ' loaded ' || loaded || ' failed ' || codes.count || ' rowcounts '
        || sql%bulk_rowcount(1) || sql%bulk_rowcount(2);
      insert into bl_log values (p_batch, summary);
      for j in 1 .. codes.count loop
        v_message := sqlerrm(-codes(j));
        insert into bl_errors values (p_batch, failed_at(j), rws(failed_at(j)).id, codes(j),
          v_message);
      end loop;
  end;
end;
/
begin
  bl_loader.load(1);
end;
/
select * from bl_target order by id;
select * from bl_errors order by error_index;
select * from bl_log order by batch;
-- INDICES OF a sparse collection: ERROR_INDEX counts statements, while
-- SQL%BULK_ROWCOUNT is subscripted by the collection's own indices.
declare
  type t_ids is table of number index by pls_integer;
  ids t_ids;
  dml_errors exception;
  pragma exception_init(dml_errors, -24381);
  summary varchar2(200);
begin
  ids(10) := 1;
  ids(20) := -7;
  ids(30) := 99;
  forall i in indices of ids save exceptions
    update bl_target set amount = ids(i) where id = abs(ids(i));
exception
  when dml_errors then
    summary := sql%bulk_exceptions.count || ' at ' || sql%bulk_exceptions(1).error_index
      || ' code ' || sql%bulk_exceptions(1).error_code || ' rows ' || sql%bulk_rowcount(10)
      || sql%bulk_rowcount(20) || sql%bulk_rowcount(30) || ' total ' || sql%rowcount;
    insert into bl_log values (2, summary);
end;
/
select * from bl_log where batch = 2;
-- BETWEEN bounds the indices taken; VALUES OF takes an index collection's
-- values in the order of its own indices.
declare
  type t_names is table of varchar2(10) index by pls_integer;
  type t_picks is table of pls_integer index by pls_integer;
  names t_names;
  picks t_picks;
  ids t_picks;
  changed varchar2(100);
begin
  names(1) := 'one';
  names(5) := 'five';
  names(9) := 'nine';
  forall i in indices of names between 2 and 9
    insert into bl_target values (100 + i, names(i), i);
  picks(1) := 9;
  picks(2) := 1;
  forall k in values of picks
    update bl_target set name = upper(names(k)) where id = 100 + k or id = k
    returning id bulk collect into ids;
  for i in 1 .. ids.count loop
    changed := changed || ids(i) || ' ';
  end loop;
  changed := changed || sql%rowcount;
  insert into bl_log values (3, changed);
end;
/
select * from bl_target where id > 100 or id = 1 order by id;
select * from bl_log where batch = 3;
-- Without SAVE EXCEPTIONS the first failure ends the FORALL; the rows of
-- the statements before it stay.
declare
  type t_ids is table of number;
  ids t_ids := t_ids(200, 201, 1, 202);
  summary varchar2(200);
begin
  forall i in 1 .. ids.count
    insert into bl_target values (ids(i), 'x', 0);
exception
  when dup_val_on_index then
    summary := 'stopped after ' || sql%rowcount || ' ' || sql%bulk_rowcount(2) || ' '
      || sql%bulk_exceptions.count;
    insert into bl_log values (4, summary);
end;
/
select * from bl_log where batch = 4;
select count(*) from bl_target where id between 200 and 202;
-- A deleted element stops a FORALL over a range before any row changes.
declare
  type t_ids is table of number;
  ids t_ids := t_ids(300, 301, 302);
begin
  ids.delete(2);
  forall i in 1 .. 3
    insert into bl_target values (ids(i), 'y', 0);
end;
/
-- An unhandled ORA-24381 leaves the block, which undoes its rows.
begin
  forall i in 1 .. 3 save exceptions
    insert into bl_target values (400 + i, case when i = 2 then null else 'z' end, 0);
end;
/
select count(*) from bl_target where id >= 300;
-- Dynamic DML returns its rows into collections too.
declare
  type t_ids is table of number;
  type t_names is table of varchar2(10);
  ids t_ids;
  names t_names;
  line varchar2(200);
begin
  execute immediate 'update bl_target set amount = amount + :1 where id > :2 '
    || 'returning id, name into :3, :4'
    using 100, 104 returning bulk collect into ids, names;
  for i in 1 .. ids.count loop
    line := line || ids(i) || names(i) || ' ';
  end loop;
  line := line || sql%rowcount;
  insert into bl_log values (5, line);
end;
/
select * from bl_log where batch = 5;
select id, amount from bl_target where id > 104 order by id;
