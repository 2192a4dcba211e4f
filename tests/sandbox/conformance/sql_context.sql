-- SYS_CONTEXT('USERENV', ...) in SQL, as in PL/SQL: the session's schema
-- follows ALTER SESSION SET CURRENT_SCHEMA; another namespace gives NULL.
create view sc_v as select sys_context('USERENV', 'CURRENT_USER') u from dual;
select sys_context('USERENV', 'CURRENT_SCHEMA'), sys_context('userenv', 'session_user') from dual;
select u from sc_v;
create user sc_app identified by x;
alter session set current_schema = sc_app;
select sys_context('USERENV', 'CURRENT_SCHEMA'), sys_context('USERENV', 'CURRENT_USER') from dual;
select nvl(sys_context('MY_CTX', 'X'), 'none') from dual;
select sys_context('USERENV', 'NO_SUCH_PARAMETER') from dual;
