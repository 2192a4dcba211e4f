-- SYS_CONTEXT('USERENV', ...) in PL/SQL: the session's user and current
-- schema and an application context nobody set.

create table ctx_out (name varchar2(30), value varchar2(30));
create user ctx_other identified by other_pw;
alter session set current_schema = ctx_other;
declare
  v varchar2(30);
begin
  v := sys_context('USERENV', 'CURRENT_SCHEMA');
  insert into system.ctx_out values ('current_schema', v);
  v := sys_context('userenv', 'session_user');
  insert into system.ctx_out values ('session_user', v);
  v := sys_context('USERENV', 'CURRENT_USER');
  insert into system.ctx_out values ('current_user', v);
  v := nvl(sys_context('APP_CTX', 'ANYTHING'), 'null');
  insert into system.ctx_out values ('app_ctx', v);
end;
/
alter session set current_schema = system;
select name, value from ctx_out order by name;
