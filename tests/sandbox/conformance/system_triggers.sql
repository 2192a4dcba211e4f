-- System triggers: DDL triggers on the schema and on the database, their
-- event attribute functions, errors, WHEN conditions and what the dictionary
-- keeps of them.

create table ddl_log (n number, who varchar2(30), event varchar2(30), obj_type varchar2(30),
  obj_owner varchar2(30), obj_name varchar2(128));
create sequence ddl_log_seq;

-- An audit trigger: every CREATE, ALTER or DROP of the schema's user is logged.
create or replace trigger ddl_audit after create or alter or drop on schema
begin
  insert into ddl_log values (ddl_log_seq.nextval, ora_login_user, ora_sysevent,
    ora_dict_obj_type, ora_dict_obj_owner, ora_dict_obj_name);
end;
/
create table audited (a number);
create or replace view audited_v as select a from audited;
create index audited_ix on audited (a);
alter table audited add (b number);
create or replace package audited_pkg as procedure p; end;
/
create or replace package body audited_pkg as procedure p is begin null; end; end;
/
drop view audited_v;
create public synonym audited_syn for audited;
drop public synonym audited_syn;
-- TRUNCATE and COMMENT are no events of this trigger.
truncate table audited;
comment on table audited is 'audited';
select n, who, event, obj_type, obj_owner, obj_name from ddl_log order by n;

-- A BEFORE trigger that refuses: the statement does not run, and its
-- triggers' work is undone with it.
create or replace trigger no_drop before drop on schema
begin
  if ora_dict_obj_type = 'TABLE' then
    raise_application_error(-20001, 'Tables are not dropped here: ' || ora_dict_obj_name);
  end if;
end;
/
drop table audited;
select count(*) from user_tables where table_name = 'AUDITED';
select count(*) from ddl_log where event = 'DROP' and obj_name = 'AUDITED';
-- A missing object fails before the triggers fire.
drop table no_such_table;
create sequence spare_seq;
drop sequence spare_seq;
select n, event, obj_type, obj_name from ddl_log where obj_name = 'SPARE_SEQ' order by n;

-- An AFTER trigger that fails undoes the statement.
create or replace trigger no_new_views after create on schema
begin
  if ora_dict_obj_type = 'VIEW' then
    raise_application_error(-20002, 'No new views');
  end if;
end;
/
create view refused_v as select 1 x from dual;
select count(*) from user_views where view_name = 'REFUSED_V';
drop trigger no_new_views;

-- A WHEN condition, and a DDL trigger may not run DDL or COMMIT.
create or replace trigger only_tmp after create on schema
  when (ora_dict_obj_name like 'TMP%')
begin
  execute immediate 'create table tmp_copy (a number)';
end;
/
create table keep_me (a number);
create table tmp_one (a number);
select table_name from user_tables where table_name in ('KEEP_ME', 'TMP_ONE', 'TMP_COPY') order by 1;
create or replace trigger commits after truncate on schema
begin
  commit;
end;
/
truncate table keep_me;
drop trigger commits;
drop trigger only_tmp;

-- A DDL trigger fires for every DDL event; DDL triggers also take CALL.
create table any_log (event varchar2(30), name varchar2(128));
create or replace trigger any_ddl before ddl on schema
begin
  insert into any_log values (ora_sysevent, ora_dict_obj_name);
end;
/
truncate table keep_me;
rename keep_me to kept;
grant select on kept to public;
comment on column kept.a is 'a';
select event, name from any_log order by rowid;

-- Disabled triggers do not fire.
alter trigger any_ddl disable;
create table quiet (a number);
select count(*) from any_log where name = 'QUIET';

-- The event functions are NULL outside a system trigger, but for the user
-- and the database.
select nvl(ora_sysevent, '(null)'), ora_login_user from dual;
declare
  e varchar2(30) := nvl(ora_sysevent, '(null)');
begin
  insert into any_log values (e || ' ' || ora_login_user, nvl(ora_dict_obj_name, '(null)'));
end;
/
select event, name from any_log where name = '(null)';

-- Timings that an event does not have.
create or replace trigger bad_logon before logon on schema begin null; end;
/
create or replace trigger bad_logoff after logoff on schema begin null; end;
/
create or replace trigger bad_startup before startup on database begin null; end;
/
create or replace trigger bad_shutdown after shutdown on database begin null; end;
/
create or replace trigger logon_ok after logon on database begin null; end;
/
create or replace trigger missing_schema after create on nobody.schema begin null; end;
/

select trigger_name, trigger_type, triggering_event, base_object_type, table_owner,
  nvl(table_name, '(null)'), status from user_triggers
  where base_object_type in ('SCHEMA', 'DATABASE') order by trigger_name;
select name, referenced_name from user_dependencies where name in ('DDL_AUDIT', 'ANY_DDL')
  order by name, referenced_name;
