-- A unit made INVALID by a missing or changed object is compiled again at
-- its next use and is VALID from then on, as Oracle does; one that still
-- does not compile stays INVALID and the call fails.
create or replace procedure rc_caller is begin rc_callee; end;
/
select object_name, status from user_objects where object_name = 'RC_CALLER';
create or replace procedure rc_callee is begin null; end;
/
select object_name, status from user_objects where object_name = 'RC_CALLER';
begin rc_caller; end;
/
select object_name, status from user_objects where object_name = 'RC_CALLER';
select count(*) from user_errors where name = 'RC_CALLER';
create table rc_t (a number);
create or replace package rc_pkg is function total return number; end;
/
create or replace package body rc_pkg is
  function total return number is n number; begin select count(*) into n from rc_t; return n; end;
end;
/
drop table rc_t;
select object_type, status from user_objects where object_name = 'RC_PKG' order by 1;
create table rc_t (a number);
insert into rc_t values (1);
select rc_pkg.total from dual;
select object_type, status from user_objects where object_name = 'RC_PKG' order by 1;
drop procedure rc_callee;
begin rc_caller; end;
/
select object_name, status from user_objects where object_name = 'RC_CALLER';
