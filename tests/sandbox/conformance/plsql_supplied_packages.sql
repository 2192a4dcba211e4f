-- The supplied packages published PL/SQL calls most: DBMS_UTILITY's error
-- stack, backtrace and call stack, DBMS_APPLICATION_INFO and DBMS_SESSION
-- read back through SYS_CONTEXT, DBMS_ASSERT's checks, DBMS_RANDOM and
-- DBMS_LOCK in PL/SQL and in SQL, and the errors of calls that do not fit.

create table sp_out (seq number generated always as identity, text varchar2(4000));
create procedure sp_put(t varchar2) is begin insert into sp_out (text) values (t); end;
/
create procedure sp_inner is
begin
  sp_put(dbms_utility.format_call_stack);
  raise_application_error(-20001, 'inner failed');
end;
/
create package sp_pkg as procedure run; end;
/
create package body sp_pkg as
  procedure run is
  begin
    sp_inner;
  end;
end;
/
begin
  sp_pkg.run;
exception
  when others then
    sp_put(dbms_utility.format_error_stack);
    sp_put(dbms_utility.format_error_backtrace);
end;
/
-- The call stack's object handles differ from run to run: its lines are
-- checked without them.
select case when instr(text, '----- PL/SQL Call Stack -----') = 1 then 'header' end first_line,
       case when instr(text, '         3  procedure SYSTEM.SP_INNER') > 0 then 'inner' end procedure_line,
       case when instr(text, '         4  package body SYSTEM.SP_PKG') > 0 then 'package' end package_line,
       case when instr(text, '         2  anonymous block') > 0 then 'block' end block_line
  from sp_out where seq = 1;
select text from sp_out where seq > 1 order by seq;
delete from sp_out;
declare
  version varchar2(30);
  compatibility varchar2(30);
  module varchar2(64);
  action varchar2(64);
  word varchar2(10);
begin
  dbms_utility.db_version(version, compatibility);
  sp_put(version || ' ' || compatibility);
  sp_put(nvl(dbms_utility.format_error_stack, 'no error'));
  dbms_application_info.set_module(module_name => 'loader', action_name => 'step 1');
  dbms_application_info.set_client_info('batch');
  dbms_application_info.read_module(module, action);
  sp_put(module || '/' || action || '/' || sys_context('USERENV', 'MODULE') || '/' ||
         sys_context('userenv', 'ACTION') || '/' || sys_context('USERENV', 'CLIENT_INFO'));
  dbms_application_info.set_action(rpad('x', 40, 'y'));
  sp_put(length(sys_context('USERENV', 'ACTION')));
  dbms_session.set_identifier('alice');
  sp_put(sys_context('USERENV', 'CLIENT_IDENTIFIER'));
  dbms_session.clear_identifier;
  sp_put(nvl(sys_context('USERENV', 'CLIENT_IDENTIFIER'), 'cleared'));
  sp_put(dbms_assert.enquote_literal('it''''s') || ' ' || dbms_assert.enquote_name('emp') || ' ' ||
         dbms_assert.enquote_name('emp', false) || ' ' || dbms_assert.enquote_name('"Mixed"'));
  sp_put(dbms_assert.simple_sql_name('sp_out') || ' ' || dbms_assert.simple_sql_name('"a b"') || ' ' ||
         dbms_assert.qualified_sql_name('system.sp_out@remote.link') || ' ' ||
         dbms_assert.sql_object_name('sp_out') || ' ' || dbms_assert.schema_name('SYSTEM'));
  dbms_random.seed(7);
  word := dbms_random.string('l', 5);
  sp_put(case when dbms_random.value >= 0 and dbms_random.value < 1 then 'unit' end || ' ' ||
         case when dbms_random.value(10, 20) between 10 and 20 then 'range' end || ' ' ||
         length(dbms_random.string('X', 12)) || ' ' ||
         case when word = lower(word) and length(word) = 5 then 'lower' end);
  dbms_lock.sleep(0.01);
  dbms_session.sleep(0);
  sp_put(case when dbms_utility.get_time is not null then 'time' end);
end;
/
select text from sp_out order by seq;
delete from sp_out;
-- DBMS_LOB's functions count a CLOB's characters and a BLOB's bytes, in
-- blocks and in SQL.
create table sp_lobs (c clob, b blob);
insert into sp_lobs values (to_clob('aéü-aéü'), hextoraw('0A0B0C0B0C'));
declare
  c clob;
  b blob;
begin
  select c, b into c, b from sp_lobs;
  sp_put(dbms_lob.getlength(c) || ' ' || dbms_lob.substr(c, 2, 2) || ' ' ||
         dbms_lob.instr(c, 'ü', 1, 2) || ' ' || dbms_lob.getlength(b) || ' ' ||
         dbms_lob.substr(b, 2, 2) || ' ' || dbms_lob.instr(b, hextoraw('0B0C'), 1, 2) || ' ' ||
         nvl(dbms_lob.substr(c, 0, 1), 'null'));
end;
/
select text from sp_out order by seq;
select dbms_lob.getlength(c), dbms_lob.substr(c, 3, 5), dbms_lob.instr(c, 'aé', 2),
       dbms_lob.getlength(b), rawtohex(dbms_lob.substr(b, 3, 1)) from sp_lobs;
select sys_context('USERENV', 'MODULE') m, case when dbms_random.value < 1 then 'ok' end r from dual;
-- Names DBMS_ASSERT refuses, a literal with a lone quote, and calls that
-- do not fit the routine.
begin sp_put(dbms_assert.simple_sql_name('1abc')); end;
/
begin sp_put(dbms_assert.qualified_sql_name('a..b')); end;
/
begin sp_put(dbms_assert.sql_object_name('no_such_table')); end;
/
begin sp_put(dbms_assert.schema_name('system')); end;
/
begin sp_put(dbms_assert.enquote_literal('it''s')); end;
/
begin dbms_utility.no_such_routine; end;
/
begin sp_put(dbms_utility.db_version); end;
/
begin dbms_application_info.set_module('m'); end;
/
begin dbms_lock.sleep(-1); end;
/
-- UTL_CALL_STACK: the caller's unit, subprogram and line, and the error
-- being handled with its backtrace, deepest last.
delete from sp_out;
create or replace package cs_log as
  procedure here;
end;
/
create or replace package body cs_log as
  procedure here is
  begin
    sp_put(utl_call_stack.dynamic_depth || ' ' ||
           utl_call_stack.concatenate_subprogram(utl_call_stack.subprogram(1)) || ' ' ||
           utl_call_stack.concatenate_subprogram(utl_call_stack.subprogram(2)) || ':' ||
           utl_call_stack.unit_line(2) || ' ' || utl_call_stack.owner(2) || ' ' ||
           utl_call_stack.lexical_depth(1));
  end;
end;
/
create or replace procedure cs_caller is
  procedure nested is
  begin
    cs_log.here;
  end;
begin
  nested;
end;
/
begin
  cs_caller;
  cs_log.here;
end;
/
create or replace procedure cs_fail is
begin
  raise no_data_found;
end;
/
begin
  cs_fail;
exception
  when others then
    sp_put(utl_call_stack.error_depth || ' ' || utl_call_stack.error_number(1) || ' ' ||
           utl_call_stack.error_msg(1) || ' ' || utl_call_stack.backtrace_depth || ' ' ||
           utl_call_stack.backtrace_unit(utl_call_stack.backtrace_depth) || ':' ||
           utl_call_stack.backtrace_line(utl_call_stack.backtrace_depth) || ' ' ||
           nvl(utl_call_stack.backtrace_unit(1), 'block') || ':' || utl_call_stack.backtrace_line(1));
end;
/
select text from sp_out order by seq;
begin sp_put(utl_call_stack.unit_line(9)); end;
/
-- A temporary CLOB built piece by piece: empty, not NULL, until freed.
delete from sp_out;
create table sp_docs (id number, body clob);
declare
  c clob;
begin
  dbms_lob.createtemporary(c, true);
  sp_put(case when c is null then 'null' else 'empty ' || dbms_lob.getlength(c) || ' ' || length(c) end);
  dbms_lob.open(c, dbms_lob.lob_readwrite);
  for i in 1 .. 3 loop
    dbms_lob.writeappend(c, 3, 'ab' || i);
  end loop;
  dbms_lob.append(c, to_clob('é'));
  dbms_lob.close(c);
  sp_put(c || ' ' || dbms_lob.getlength(c));
  dbms_lob.trim(c, 4);
  sp_put(c);
  insert into sp_docs values (1, c);
  dbms_lob.freetemporary(c);
  sp_put(nvl(to_char(dbms_lob.getlength(c)), 'freed'));
end;
/
select text from sp_out order by seq;
select id, body from sp_docs;
