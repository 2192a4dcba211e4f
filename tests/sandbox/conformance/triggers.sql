-- DML triggers: timings, row values, predicates, order, errors, status,
-- mutating tables, cascades and the sequence idiom.

create table trg_log (n number, text varchar2(200));
create sequence trg_log_seq;
create sequence trg_id_seq;
create table trg_item (id number primary key, name varchar2(30), qty number, note varchar2(40));

-- The identity idiom: a BEFORE INSERT row trigger fills the key.
create or replace trigger trg_item_id before insert on trg_item for each row
begin
  if :new.id is null then
    :new.id := trg_id_seq.nextval;
  end if;
  :new.note := 'added ' || :new.name;
end;
/
insert into trg_item (name, qty) values ('apple', 3);
insert into trg_item (id, name, qty) values (100, 'pear', 5);
insert into trg_item (name, qty) select 'plum', 7 from dual union all select 'fig', 0 from dual;
select id, name, qty, note from trg_item order by id;

-- The same with SELECT ... INTO :new, and REFERENCING names.
create table trg_doc (id number not null, title varchar2(30), created_by varchar2(30));
create or replace trigger trg_doc_id before insert on trg_doc
referencing new as n old as o
for each row
begin
  select trg_id_seq.nextval into :n.id from dual;
  :n.created_by := user;
end;
/
insert into trg_doc (title) values ('first');
insert into trg_doc (id, title) values (-1, 'second');
select id, title, created_by from trg_doc order by id;

-- Statement and row triggers, INSERTING / UPDATING / DELETING, UPDATE OF
-- and WHEN.
create or replace trigger trg_item_stmt before insert or update or delete on trg_item
declare
  v_what varchar2(10);
begin
  if inserting then
    v_what := 'insert';
  elsif updating then
    v_what := 'update';
  elsif deleting then
    v_what := 'delete';
  end if;
  insert into trg_log values (trg_log_seq.nextval, 'before ' || v_what);
end;
/
create or replace trigger trg_item_qty after update of qty on trg_item
referencing old as before_row
for each row
when (new.qty > before_row.qty)
begin
  insert into trg_log values (trg_log_seq.nextval,
    :before_row.name || ' ' || :before_row.qty || ' -> ' || :new.qty);
end;
/
create or replace trigger trg_item_upd before update on trg_item for each row
begin
  if updating('NAME') then
    :new.note := 'renamed from ' || :old.name;
  end if;
  if updating('QTY') then
    :new.note := 'qty was ' || :old.qty;
  end if;
end;
/
update trg_item set qty = qty + 1 where id < 100;
update trg_item set qty = qty - 1 where name = 'pear';
update trg_item set name = upper(name) where id = 1;
delete from trg_item where qty = 1;
update trg_item set qty = 0 where 1 = 0;
select text from trg_log order by text;
select id, name, qty, note from trg_item order by id;

-- Firing order: all BEFORE STATEMENT, then per row BEFORE ROW, the row,
-- AFTER ROW, then AFTER STATEMENT; FOLLOWS orders triggers of one timing.
create table trg_ord (id number);
create table trg_ord_log (n number, text varchar2(40));
create sequence trg_ord_seq;
create trigger trg_ord_as after insert on trg_ord
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'after statement');
end;
/
create trigger trg_ord_ar after insert on trg_ord for each row
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'after row ' || :new.id);
end;
/
create trigger trg_ord_br1 before insert on trg_ord for each row
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'before row 1 ' || :new.id);
end;
/
create trigger trg_ord_br2 before insert on trg_ord for each row follows trg_ord_br1
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'before row 2 ' || :new.id);
end;
/
create trigger trg_ord_bs before insert on trg_ord
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'before statement');
end;
/
insert into trg_ord select 1 from dual union all select 2 from dual;
select n, text from trg_ord_log order by n;

-- An unhandled error undoes the whole statement, the triggers' work too.
create or replace trigger trg_item_guard before delete on trg_item for each row
begin
  if :old.id = 100 then
    raise_application_error(-20001, 'pear stays');
  end if;
end;
/
select count(*) from trg_log;
delete from trg_item;
select count(*) from trg_item;
select count(*) from trg_log;
begin
  delete from trg_item where id = 100;
end;
/
declare
  v_code number;
begin
  delete from trg_item where id = 100;
exception
  when others then
    v_code := sqlcode;
    insert into trg_log values (0, 'caught ' || v_code);
end;
/
select n, text from trg_log where n = 0;

-- Disabled triggers do not fire.
alter trigger trg_item_guard disable;
select trigger_name, status from user_triggers where table_name = 'TRG_ITEM' order by 1;
delete from trg_item where id = 100;
alter table trg_item disable all triggers;
select count(*) from user_triggers where table_name = 'TRG_ITEM' and status = 'ENABLED';
insert into trg_item (id, name, qty) values (200, 'kiwi', 1);
select id, name, note from trg_item where id = 200;
alter table trg_item enable all triggers;
alter trigger trg_item_guard enable;
select count(*) from user_triggers where table_name = 'TRG_ITEM' and status = 'DISABLED';
create trigger trg_doc_off before insert on trg_doc for each row disable
begin
  :new.title := 'changed';
end;
/
select status from user_triggers where trigger_name = 'TRG_DOC_OFF';
insert into trg_doc (title) values ('third');
select title from trg_doc where title in ('third', 'changed');

-- Triggers that cannot be: NEW in a statement trigger, WHEN on a statement
-- trigger; NEW changed in an AFTER trigger or a body that does not compile
-- leaves the trigger INVALID and the table's DML fails.
create trigger trg_stmt_new before insert on trg_doc
begin
  :new.title := 'x';
end;
/
create trigger trg_stmt_when before insert on trg_doc when (1 = 1)
begin
  null;
end;
/
create table trg_locked (n number);
create trigger trg_locked_ai after insert on trg_locked for each row
begin
  :new.n := 5;
end;
/
select status from user_objects where object_name = 'TRG_LOCKED_AI';
insert into trg_locked values (1);
create or replace trigger trg_locked_ai after insert on trg_locked for each row
begin
  trg_missing_procedure(:new.n);
end;
/
insert into trg_locked values (1);
drop trigger trg_locked_ai;
insert into trg_locked values (1);
select count(*) from trg_locked;

-- A row trigger may not read or change its own table while its statement
-- changes several rows; a single-row INSERT ... VALUES leaves it readable.
create table trg_mut (id number, total number);
create trigger trg_mut_count before insert or update on trg_mut for each row
declare
  v_count number;
begin
  select count(*) into v_count from trg_mut;
  :new.total := v_count;
end;
/
insert into trg_mut (id) values (1);
insert into trg_mut (id) values (2);
select id, total from trg_mut order by id;
insert into trg_mut (id) select 3 from dual;
update trg_mut set id = id + 10;
select id, total from trg_mut order by id;
drop trigger trg_mut_count;

-- DML in a trigger fires the triggers of that table; DML in PL/SQL fires
-- triggers as any other.
create table trg_audit (tab varchar2(30), id number, action varchar2(10), stamp number);
create trigger trg_audit_stamp before insert on trg_audit for each row
begin
  :new.stamp := trg_log_seq.nextval;
end;
/
create trigger trg_mut_audit after insert or delete on trg_mut for each row
begin
  if inserting then
    insert into trg_audit (tab, id, action) values ('TRG_MUT', :new.id, 'insert');
  else
    insert into trg_audit (tab, id, action) values ('TRG_MUT', :old.id, 'delete');
  end if;
end;
/
begin
  for i in 20 .. 22 loop
    insert into trg_mut (id) values (i);
  end loop;
  delete from trg_mut where id in (1, 20);
end;
/
select tab, id, action, case when stamp > 0 then 'stamped' end from trg_audit order by stamp;

-- A trigger that fires itself again ends at the limit of nested levels.
create table trg_loop (n number);
create trigger trg_loop_again after insert on trg_loop
begin
  insert into trg_loop values (1);
end;
/
declare
  v_code number;
begin
  insert into trg_loop values (0);
exception
  when others then
    v_code := sqlcode;
    insert into trg_log values (-1, 'loop ' || v_code);
end;
/
select text from trg_log where n = -1;
select count(*) from trg_loop;

-- COMMIT is not allowed in a trigger.
create trigger trg_loop_commit before delete on trg_loop
begin
  commit;
end;
/
drop trigger trg_loop_again;
insert into trg_loop values (5);
delete from trg_loop;
select count(*) from trg_loop;

-- A view changes through its INSTEAD OF triggers; BEFORE and AFTER
-- triggers belong to tables, INSTEAD OF triggers to views.
create table trg_person (id number, first_name varchar2(20), last_name varchar2(20));
create view trg_person_v as select id, first_name || ' ' || last_name full_name from trg_person;
create trigger trg_person_v_ins instead of insert on trg_person_v for each row
begin
  insert into trg_person values (:new.id, substr(:new.full_name, 1, instr(:new.full_name, ' ') - 1),
    substr(:new.full_name, instr(:new.full_name, ' ') + 1));
end;
/
create trigger trg_person_v_upd instead of update or delete on trg_person_v
begin
  if deleting then
    delete from trg_person where id = :old.id;
  else
    update trg_person set last_name = upper(last_name) where id = :old.id;
  end if;
end;
/
insert into trg_person_v values (1, 'Ada Lovelace');
insert into trg_person_v select 2, 'Alan Turing' from dual union all select 3, 'Grace Hopper' from dual;
update trg_person_v set full_name = 'x' where id > 1;
delete from trg_person_v where id = 3;
select id, first_name, last_name from trg_person order by id;
select id, full_name from trg_person_v order by id;
create trigger trg_person_v_before before insert on trg_person_v for each row
begin
  null;
end;
/
create trigger trg_person_instead instead of insert on trg_person
begin
  null;
end;
/

-- A replaced trigger keeps its place in the firing order.
create or replace trigger trg_ord_br1 before insert on trg_ord for each row
begin
  insert into trg_ord_log values (trg_ord_seq.nextval, 'before row 1 again ' || :new.id);
end;
/
insert into trg_ord values (3);
select n, text from trg_ord_log where n > 8 order by n;

-- A trigger made INVALID by a change of what it calls compiles again when
-- it fires.
create table trg_calls (n number);
create or replace procedure trg_note (p number) is
begin
  insert into trg_log values (p, 'noted');
end;
/
create trigger trg_calls_note after insert on trg_calls for each row
begin
  trg_note(:new.n);
end;
/
create or replace procedure trg_note (p number) is
begin
  insert into trg_log values (p, 'noted again');
end;
/
insert into trg_calls values (42);
select status from user_objects where object_name = 'TRG_CALLS_NOTE';
select text from trg_log where n = 42;
drop procedure trg_note;
insert into trg_calls values (43);
select count(*) from trg_calls;

-- MERGE fires the row triggers of the rows it updates and inserts.
create table trg_merge (id number, v varchar2(10));
create table trg_merge_src (id number, v varchar2(10));
create table trg_merge_log (text varchar2(40));
insert into trg_merge values (1, 'a');
insert into trg_merge_src values (1, 'b');
insert into trg_merge_src values (2, 'c');
create trigger trg_merge_row before insert or update on trg_merge for each row
declare
  v_what varchar2(10) := 'update ';
begin
  if inserting then
    v_what := 'insert ';
  end if;
  insert into trg_merge_log values (v_what || :new.id || ' ' || :old.v || '>' || :new.v);
  :new.v := upper(:new.v);
end;
/
merge into trg_merge t using trg_merge_src s on (t.id = s.id)
when matched then update set t.v = s.v
when not matched then insert (id, v) values (s.id, s.v);
select id, v from trg_merge order by id;
select text from trg_merge_log order by text;
