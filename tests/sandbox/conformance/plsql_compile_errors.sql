-- Errors that only compiling the code finds: a body that lacks a subprogram
-- of its declaration, a call that matches no declaration, an undeclared name
-- inside an expression and a component missing from an existing package.
-- Each unit is kept INVALID with its ALL_ERRORS rows; a call fails with
-- PLS-00905.

create package ce_api is
  procedure start_job(p_name varchar2);
  procedure stop_job(p_name varchar2);
  function job_count return number;
end ce_api;
/
create package body ce_api is
  procedure start_job(p_name varchar2) is
  begin
    null;
  end start_job;
  function job_count return number is
  begin
    return 0;
  end job_count;
end ce_api;
/
select object_type, status from user_objects where object_name = 'CE_API' order by object_type;
select type, line, position, text from user_errors where name = 'CE_API' order by sequence;

create procedure ce_log(p_text varchar2, p_level number) is
begin
  null;
end;
/
create procedure ce_caller is
begin
  ce_log('starting');
end;
/
create function ce_expression return number is
  v_total number := 0;
begin
  v_total := v_total + v_missing;
  return v_total;
end;
/
create package ce_settings is
  max_jobs constant number := 10;
end ce_settings;
/
create procedure ce_component is
  n number;
begin
  n := ce_settings.job_limit;
end;
/
select object_name, status from user_objects
 where object_name in ('CE_LOG', 'CE_CALLER', 'CE_EXPRESSION', 'CE_COMPONENT') order by object_name;
select name, line, position, text from user_errors
 where name in ('CE_CALLER', 'CE_EXPRESSION', 'CE_COMPONENT') order by name, sequence;
begin
  ce_caller;
end;
/

-- Fixing the code makes the units VALID again and clears their errors.
create or replace procedure ce_caller is
begin
  ce_log('starting', 1);
end;
/
create or replace package body ce_api is
  procedure start_job(p_name varchar2) is
  begin
    null;
  end start_job;
  procedure stop_job(p_name varchar2) is
  begin
    null;
  end stop_job;
  function job_count return number is
  begin
    return 0;
  end job_count;
end ce_api;
/
select object_name, object_type, status from user_objects
 where object_name in ('CE_API', 'CE_CALLER') order by object_name, object_type;
select count(*) from user_errors where name in ('CE_API', 'CE_CALLER');
begin
  ce_caller;
end;
/
