-- An exception a package declares is raised and caught by name from outside
-- the package (pkg.e and owner.pkg.e), and its EXCEPTION_INIT code holds.
create or replace package px_pkg is
  e_bad exception;
  pragma exception_init(e_bad, -20001);
  procedure fail;
end;
/
create or replace package body px_pkg is
  procedure fail is begin raise_application_error(-20001, 'bad thing'); end;
end;
/
create or replace procedure px_user(p_out out varchar2) is
begin
  px_pkg.fail;
exception
  when px_pkg.e_bad then p_out := 'caught ' || sqlcode;
end;
/
create table px_log (msg varchar2(40));
declare
  v varchar2(40);
begin
  px_user(v);
  insert into px_log values (v);
  begin
    raise system.px_pkg.e_bad;
  exception
    when px_pkg.e_bad or no_data_found then
      v := 'raised ' || sqlcode;
      insert into px_log values (v);
  end;
end;
/
select msg from px_log order by 1;
select object_name, status from user_objects where object_name like 'PX_%' order by 1, 2;
begin
  raise px_pkg.e_none;
end;
/
