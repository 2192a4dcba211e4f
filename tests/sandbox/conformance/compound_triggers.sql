-- Compound triggers: one trigger with a section for each timing point, whose
-- declarations live for one triggering statement; and SERVERERROR triggers,
-- which log the errors of failed calls.

create table ct_staff (id number constraint ct_staff_pk primary key, dept number, salary number, note varchar2(30));
create table ct_audit (staff_id number, old_salary number, new_salary number, action varchar2(1));
create table ct_events (n number, text varchar2(100));
create sequence ct_events_seq;
insert into ct_staff values (1, 10, 1000, null);
insert into ct_staff values (2, 10, 1500, null);
insert into ct_staff values (3, 20, 2000, null);
commit;

-- The published idiom: rows are collected in AFTER EACH ROW and written in
-- one bulk insert in AFTER STATEMENT, with a flush every few rows.
create or replace trigger ct_staff_audit
for insert or update of salary or delete on ct_staff
compound trigger
  threshold constant pls_integer := 2;
  type audit_rows is table of ct_audit%rowtype index by pls_integer;
  pending audit_rows;
  rows_seen pls_integer := 0;

  procedure flush is
  begin
    forall i in 1 .. pending.count
      insert into ct_audit values (pending(i).staff_id, pending(i).old_salary,
        pending(i).new_salary, pending(i).action);
    pending.delete;
  end flush;

  before statement is
  begin
    insert into ct_events values (ct_events_seq.nextval, 'start, pending ' || pending.count);
  end before statement;

  before each row is
  begin
    if inserting and :new.note is null then
      :new.note := 'new hire';
    end if;
  end before each row;

  after each row is
    n pls_integer;
  begin
    rows_seen := rows_seen + 1;
    n := pending.count + 1;
    pending(n).staff_id := nvl(:new.id, :old.id);
    pending(n).old_salary := :old.salary;
    pending(n).new_salary := :new.salary;
    pending(n).action := case when inserting then 'I' when updating then 'U' else 'D' end;
    if pending.count >= threshold then
      flush;
    end if;
  end after each row;

  after statement is
  begin
    flush;
    insert into ct_events values (ct_events_seq.nextval, 'end, rows ' || rows_seen);
  end after statement;
end ct_staff_audit;
/
update ct_staff set salary = salary * 1.1 where dept = 10;
insert into ct_staff (id, dept, salary) select 4, 20, 2500 from dual union all
  select 5, 30, 3000 from dual union all select 6, 30, 3100 from dual;
delete from ct_staff where id = 6;
-- An update of another column fires none of it.
update ct_staff set note = 'checked' where id = 1;
-- Statement sections fire when no row is touched; the state is new each time.
delete from ct_staff where id = 99;
select staff_id, old_salary, new_salary, action from ct_audit order by action, staff_id;
select n, text from ct_events order by n;
select id, note from ct_staff order by id;

-- The dictionary's view of it.
select trigger_type, triggering_event, base_object_type, before_statement,
  before_row, after_row, after_statement, instead_of_row, status
  from user_triggers where trigger_name = 'CT_STAFF_AUDIT';
select object_type, status from user_objects where object_name = 'CT_STAFF_AUDIT';
select referenced_name, referenced_type from user_dependencies
  where name = 'CT_STAFF_AUDIT' and referenced_owner = user order by referenced_name;

-- A statement section may read the table the statement changes; a row
-- section may not.
create table ct_dept_totals (dept number, total number);
create or replace trigger ct_staff_totals
for insert or update or delete on ct_staff
compound trigger
  after statement is
  begin
    delete from ct_dept_totals;
    insert into ct_dept_totals select dept, sum(salary) from ct_staff group by dept;
  end after statement;
end;
/
update ct_staff set salary = salary + 100 where dept = 20;
select dept, total from ct_dept_totals order by dept;
create or replace trigger ct_staff_peek
for update on ct_staff
compound trigger
  total number;
  after each row is
  begin
    select sum(salary) into total from ct_staff;
  end after each row;
end;
/
update ct_staff set salary = salary + 1 where dept = 30;
drop trigger ct_staff_peek;
drop trigger ct_staff_totals;

-- An error in a section undoes the statement, with the trigger's line.
create or replace trigger ct_staff_cap
for update of salary on ct_staff
compound trigger
  after each row is
  begin
    if :new.salary > 5000 then
      raise_application_error(-20001, 'salary cap for ' || :new.id);
    end if;
  end after each row;
end;
/
update ct_staff set salary = salary * 2;
select count(*) from ct_audit;
drop trigger ct_staff_cap;

-- A WHEN condition chooses the rows the row sections see.
create or replace trigger ct_big_raise
for update of salary on ct_staff
when (new.salary > old.salary * 1.5)
compound trigger
  big pls_integer := 0;
  after each row is
  begin
    big := big + 1;
  end after each row;
  after statement is
  begin
    insert into ct_events values (ct_events_seq.nextval, 'big raises ' || big);
  end after statement;
end;
/
update ct_staff set salary = case id when 1 then salary * 2 else salary + 1 end;
select text from ct_events where text like 'big%';
drop trigger ct_big_raise;

-- Mistakes the compiler finds: NEW in AFTER EACH ROW cannot change, and the
-- row is no part of a statement section.
create or replace trigger ct_bad_new
for update on ct_staff
compound trigger
  after each row is
  begin
    :new.note := 'late';
  end after each row;
end;
/
create or replace trigger ct_bad_bind
for update on ct_staff
compound trigger
  after statement is
  begin
    insert into ct_events values (0, :new.note);
  end after statement;
end;
/
select name, text from user_errors where name in ('CT_BAD_NEW', 'CT_BAD_BIND')
  order by name, sequence;
select object_name, status from user_objects
  where object_name in ('CT_BAD_NEW', 'CT_BAD_BIND') order by 1;
update ct_staff set note = 'x' where id = 1;
drop trigger ct_bad_new;
drop trigger ct_bad_bind;

-- On a view, the compound trigger has its INSTEAD OF EACH ROW section.
create view ct_staff_v as select id, dept, salary from ct_staff;
create or replace trigger ct_staff_v_ins
for insert on ct_staff_v
compound trigger
  added pls_integer := 0;
  instead of each row is
  begin
    insert into ct_staff (id, dept, salary, note) values (:new.id, :new.dept, :new.salary, 'via view');
    added := added + 1;
  end instead of each row;
end;
/
insert into ct_staff_v values (7, 40, 700);
select id, dept, salary, note from ct_staff where id = 7;
select trigger_type, base_object_type, before_row, instead_of_row from user_triggers
  where trigger_name = 'CT_STAFF_V_INS';
drop trigger ct_staff_audit;

-- SERVERERROR: a log of the errors of the schema's failed calls, kept by an
-- autonomous transaction.
create table ct_errors (n number, code number, depth number, message varchar2(400),
  who varchar2(30), event varchar2(30), missing_table varchar2(5));
create or replace trigger ct_log_errors after servererror on schema
declare
  pragma autonomous_transaction;
  missing varchar2(5) := 'NO';
begin
  if ora_is_servererror(942) then
    missing := 'YES';
  end if;
  insert into ct_errors values (ct_events_seq.nextval, ora_server_error(1),
    ora_server_error_depth, ora_server_error_msg(1), ora_login_user, ora_sysevent, missing);
  commit;
end;
/
select * from ct_no_such_table;
insert into ct_staff values (1, 10, 10, null);
begin
  raise_application_error(-20002, 'refused');
end;
/
-- NO_DATA_FOUND and TOO_MANY_ROWS are no errors to it.
declare
  n number;
begin
  select id into n from ct_staff where id = -1;
end;
/
declare
  n number;
begin
  select id into n from ct_staff;
end;
/
select code, depth, rtrim(message, chr(10)), who, event, missing_table from ct_errors order by n;
-- The failed statement is undone; the logged rows stay.
rollback;
select count(*) from ct_errors;
select count(*) from ct_staff where salary = 10;
-- Within the client's own transaction too: its rollback leaves the log.
insert into ct_staff values (8, 50, 800, null);
select * from ct_no_such_table;
rollback;
select count(*) from ct_errors;
select count(*) from ct_staff where id = 8;
select trigger_type, triggering_event, base_object_type, status
  from user_triggers where trigger_name = 'CT_LOG_ERRORS';
drop trigger ct_log_errors;
select * from ct_no_such_table;
select count(*) from ct_errors;
-- BEFORE SERVERERROR is refused.
create or replace trigger ct_before_error before servererror on schema begin null; end;
/
