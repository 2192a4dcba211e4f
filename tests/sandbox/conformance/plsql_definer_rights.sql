-- Definer's and invoker's rights: a unit without AUTHID CURRENT_USER runs its
-- SQL with its owner's names whatever schema the caller is in; an AUTHID
-- CURRENT_USER unit uses the caller's. Triggers always run as their owner.

create user dr_owner identified by owner_pw;
create user dr_caller identified by caller_pw;
alter user dr_owner quota unlimited on users;
alter user dr_caller quota unlimited on users;
create table dr_owner.items (name varchar2(20));
create table dr_caller.items (name varchar2(20));
insert into dr_owner.items values ('owner row');
insert into dr_caller.items values ('caller row');
commit;

create function dr_owner.first_item return varchar2 is
  v varchar2(20);
begin
  select name into v from items;
  return v;
end;
/
create function dr_owner.first_item_ir return varchar2 authid current_user is
  v varchar2(20);
begin
  select name into v from items;
  return v;
end;
/
create procedure dr_owner.add_item(p_name varchar2) authid definer is
begin
  insert into items values (p_name);
end;
/
create function dr_owner.whoami return varchar2 is
begin
  return sys_context('USERENV', 'CURRENT_USER') || ' ' ||
         sys_context('USERENV', 'CURRENT_SCHEMA') || ' ' ||
         sys_context('USERENV', 'SESSION_USER');
end;
/
create function dr_owner.whoami_ir return varchar2 authid current_user is
begin
  return sys_context('USERENV', 'CURRENT_USER') || ' ' ||
         sys_context('USERENV', 'CURRENT_SCHEMA');
end;
/
create function dr_owner.dynamic_count return number is
  n number;
begin
  execute immediate 'select count(*) from items' into n;
  return n;
end;
/
create package dr_owner.item_api is
  function count_items return number;
  loaded_at_start number;
end item_api;
/
create package body dr_owner.item_api is
  function count_items return number is
    n number;
  begin
    select count(*) into n from items;
    return n;
  end count_items;
begin
  select count(*) into loaded_at_start from items;
end item_api;
/
create table dr_owner.audit_log (what varchar2(40));
create trigger dr_owner.items_audit after insert on dr_caller.items for each row
begin
  insert into audit_log values ('added ' || :new.name);
end;
/

alter session set current_schema = dr_caller;
select dr_owner.first_item, dr_owner.first_item_ir from dual;
select dr_owner.whoami, dr_owner.whoami_ir from dual;
select sys_context('USERENV', 'CURRENT_SCHEMA') from dual;
declare
  v varchar2(100);
begin
  dr_owner.add_item('added by caller');
  insert into items values ('caller insert');
  v := dr_owner.item_api.count_items || ' ' || dr_owner.item_api.loaded_at_start || ' ' ||
       dr_owner.dynamic_count;
  insert into items values (v);
end;
/
select name from items order by name;
alter session set current_schema = system;
select name from dr_owner.items order by name;
select what from dr_owner.audit_log order by what;

-- ALL_PROCEDURES lists each unit with its rights, and a package's
-- subprograms with their overloads.
create package dr_owner.overloads authid current_user is
  procedure put(p number);
  procedure put(p varchar2);
  function twice(p number) return number deterministic;
end overloads;
/
select object_name, procedure_name, subprogram_id, overload, object_type, deterministic, authid
  from all_procedures
 where owner = 'DR_OWNER' and object_type in ('PROCEDURE', 'FUNCTION', 'PACKAGE')
 order by object_name, subprogram_id;
drop package dr_owner.overloads;
select count(*) from all_procedures where owner = 'DR_OWNER' and object_name = 'OVERLOADS';
