-- Compilation of stored code against the objects it names: dependencies,
-- INVALID units with their errors, FORCE views, invalidation by DROP and
-- CREATE OR REPLACE, and ALTER ... COMPILE.

create table dep_orders (id number primary key, total number);
create sequence dep_seq;
create view dep_big as select id, total from dep_orders where total > 100;

-- A procedure that calls a procedure that does not exist yet.
create or replace procedure dep_caller is
begin
  dep_log('called');
end;
/
select object_type, status from user_objects where object_name = 'DEP_CALLER';
select line, position, text, message_number from user_errors
  where name = 'DEP_CALLER' order by sequence;

create or replace procedure dep_log (p_text varchar2) is
  v_id number;
begin
  v_id := dep_seq.nextval;
  insert into dep_orders values (v_id, length(p_text));
end;
/
alter procedure dep_caller compile;
select object_type, status from user_objects where object_name = 'DEP_CALLER';
select count(*) from user_errors where name = 'DEP_CALLER';
select name, type, referenced_owner, referenced_name, referenced_type, referenced_link_name,
       dependency_type
  from user_dependencies where name in ('DEP_CALLER', 'DEP_LOG', 'DEP_BIG')
  order by name, referenced_name;

-- Embedded SQL on a missing table.
create or replace function dep_count return number is
  n number;
begin
  select count(*) into n from dep_missing;
  return n;
end;
/
select status from user_objects where object_name = 'DEP_COUNT';
select line, position, text from user_errors where name = 'DEP_COUNT' order by sequence;

-- A view on a missing table is refused unless FORCE.
create view dep_later_v as select a from dep_later;
select count(*) from user_objects where object_name = 'DEP_LATER_V';
create force view dep_later_v as select a from dep_later;
select status from user_objects where object_name = 'DEP_LATER_V';
select line, position, text from user_errors where name = 'DEP_LATER_V';
create table dep_later (a number);
alter view dep_later_v compile;
select status from user_objects where object_name = 'DEP_LATER_V';
select column_name from user_tab_columns where table_name = 'DEP_LATER_V';

-- Dropping a table invalidates the view and what uses the view.
create or replace function dep_big_count return number is
  n number;
begin
  select count(*) into n from dep_big;
  return n;
end;
/
drop table dep_orders;
select object_name, status from user_objects
  where object_name in ('DEP_BIG', 'DEP_BIG_COUNT', 'DEP_LOG', 'DEP_CALLER', 'DEP_LATER_V')
  order by object_name;
create table dep_orders (id number primary key, total number);
alter view dep_big compile;
alter function dep_big_count compile;
alter procedure dep_log compile;
select object_name, status from user_objects
  where object_name in ('DEP_BIG', 'DEP_BIG_COUNT', 'DEP_LOG', 'DEP_CALLER')
  order by object_name;
alter procedure dep_nothing compile;
alter view dep_nothing compile;

-- A query of an INVALID view compiles it first.
drop table dep_later;
select status from user_objects where object_name = 'DEP_LATER_V';
create table dep_later (a number);
insert into dep_later values (5);
select a from dep_later_v;
select status from user_objects where object_name = 'DEP_LATER_V';

-- The scheduler's job views exist (no job has been created).
select count(*) from user_scheduler_jobs;
select job_name, job_type, job_action, enabled, state, repeat_interval, start_date, comments
  from user_scheduler_jobs where job_name = 'DEP_JOB';
select owner, job_name, run_count, last_run_duration, fail_on_script_error
  from all_scheduler_jobs where owner = 'SYSTEM';
select count(*) from dba_scheduler_jobs;
