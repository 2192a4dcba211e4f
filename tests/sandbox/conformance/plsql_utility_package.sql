-- A utility package as published code bases ship it, installed in its own
-- schema and used from an application schema through synonyms: logging with
-- an autonomous transaction, assertions that raise the package's own
-- exceptions, text helpers, dynamic counts and REF CURSOR reports. The
-- package runs with its owner's rights, so the application never sees the
-- log table itself.

create user ut_owner identified by owner_pw;
create user ut_app identified by app_pw;
alter user ut_owner quota unlimited on users;
alter user ut_app quota unlimited on users;

create table ut_owner.ut_log (
  id number primary key,
  logged_by varchar2(30),
  log_level varchar2(10),
  scope varchar2(60),
  text varchar2(400),
  error_code number
);
create sequence ut_owner.ut_log_seq;

create package ut_owner.ut is
  c_error constant varchar2(10) := 'ERROR';
  c_info constant varchar2(10) := 'INFO';
  assertion_failed exception;
  pragma exception_init(assertion_failed, -20100);
  subtype scope_t is varchar2(60);

  procedure log_info(p_text varchar2, p_scope scope_t default null);
  procedure log_error(p_scope scope_t default null);
  procedure assert(p_condition boolean, p_message varchar2);
  function slug(p_text varchar2) return varchar2;
  function count_rows(p_table varchar2) return number;
  function entries(p_level varchar2 default null) return sys_refcursor;
  procedure entries_for(p_scope varchar2, p_result out sys_refcursor);
  function last_error return varchar2;
end ut;
/
create package body ut_owner.ut is
  g_last_error varchar2(400);

  procedure write_entry(p_level varchar2, p_scope varchar2, p_text varchar2, p_code number) is
    pragma autonomous_transaction;
  begin
    insert into ut_log (id, logged_by, log_level, scope, text, error_code)
    values (ut_log_seq.nextval, sys_context('USERENV', 'SESSION_USER'), p_level, p_scope,
            substr(p_text, 1, 400), p_code);
    commit;
  end write_entry;

  procedure log_info(p_text varchar2, p_scope scope_t default null) is
  begin
    write_entry(c_info, p_scope, p_text, null);
  end log_info;

  procedure log_error(p_scope scope_t default null) is
  begin
    g_last_error := sqlerrm;
    write_entry(c_error, p_scope, sqlerrm, sqlcode);
  end log_error;

  procedure assert(p_condition boolean, p_message varchar2) is
  begin
    if p_condition is null or not p_condition then
      raise_application_error(-20100, 'assertion failed: ' || p_message);
    end if;
  end assert;

  function slug(p_text varchar2) return varchar2 is
  begin
    return lower(translate(trim(p_text), ' _.,', '--'));
  end slug;

  function count_rows(p_table varchar2) return number is
    v_count number;
  begin
    assert(p_table is not null, 'a table name');
    execute immediate 'select count(*) from ' || p_table into v_count;
    return v_count;
  exception
    when others then
      log_error('ut.count_rows');
      raise;
  end count_rows;

  function entries(p_level varchar2 default null) return sys_refcursor is
    c sys_refcursor;
  begin
    if p_level is null then
      open c for select id, log_level, scope, text from ut_log order by id;
    else
      open c for 'select id, log_level, scope, text from ut_log where log_level = :lvl order by id'
        using p_level;
    end if;
    return c;
  end entries;

  procedure entries_for(p_scope varchar2, p_result out sys_refcursor) is
  begin
    open p_result for select id, log_level, scope, text from ut_log where scope = p_scope order by id;
  end entries_for;

  function last_error return varchar2 is
  begin
    return g_last_error;
  end last_error;
end ut;
/
select object_type, status from all_objects where owner = 'UT_OWNER' and object_name = 'UT'
 order by object_type;

create public synonym ut for ut_owner.ut;
grant execute on ut_owner.ut to ut_app;
create table ut_app.orders (id number, customer varchar2(30));
grant select on ut_app.orders to ut_owner;
insert into ut_app.orders values (1, 'Ann');
insert into ut_app.orders values (2, 'Bob');
commit;

alter session set current_schema = ut_app;
create table ut_report (line varchar2(200));

create procedure place_order(p_id number, p_customer varchar2) is
begin
  ut.assert(p_customer is not null, 'a customer for order ' || p_id);
  insert into orders values (p_id, p_customer);
  ut.log_info('order ' || p_id || ' placed', 'orders');
exception
  when ut.assertion_failed then
    ut.log_error('orders');
end;
/
begin
  place_order(3, 'Cyd');
end;
/
commit;
begin
  place_order(4, null);
end;
/
-- A block that fails after its own insert: the insert is undone.
begin
  insert into orders values (5, 'Dee');
  ut.assert(1 = 2, 'order 5 never arrives');
end;
/
select id, customer from orders order by id;

declare
  c sys_refcursor;
  v_id number;
  v_level varchar2(10);
  v_scope varchar2(60);
  v_text varchar2(400);
  n number := 0;
begin
  insert into ut_report values ('slug: ' || ut.slug('  Quarterly Report_2024.final '));
  insert into ut_report values ('orders: ' || ut.count_rows('ut_app.orders'));
  begin
    n := ut.count_rows('no_such_table');
  exception
    when others then
      n := sqlcode;
      insert into ut_report values ('count failed: ' || n);
  end;
  insert into ut_report values ('last error: ' || ut.last_error);
  c := ut.entries;
  loop
    fetch c into v_id, v_level, v_scope, v_text;
    exit when c%notfound;
    insert into ut_report values ('all ' || v_id || ' ' || v_level || ' ' || v_scope || ' ' || v_text);
  end loop;
  n := c%rowcount;
  insert into ut_report values ('entries read: ' || n);
  close c;
  c := ut.entries(ut.c_error);
  fetch c into v_id, v_level, v_scope, v_text;
  insert into ut_report values ('first error: ' || v_id || ' ' || v_text);
  close c;
  ut.entries_for('orders', c);
  n := 0;
  loop
    fetch c into v_id, v_level, v_scope, v_text;
    exit when c%notfound;
    n := n + 1;
  end loop;
  close c;
  insert into ut_report values ('orders entries: ' || n);
end;
/
select line from ut_report order by rowid;
select count(*) from ut_log;
alter session set current_schema = system;
select logged_by, log_level, scope, error_code from ut_owner.ut_log order by id;
