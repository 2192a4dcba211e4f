-- Stored procedures and functions called from blocks and from each other:
-- positional and named arguments, defaults, OUT and IN OUT parameters,
-- schema-qualified names and synonyms, and the errors of wrong calls.

create table call_log (seq number, text varchar2(200));

create or replace procedure call_note (p_seq number, p_text varchar2 default 'none') is
begin
  insert into call_log values (p_seq, p_text);
end;
/
create or replace function call_square (n number) return number is
begin
  return n * n;
end call_square;
/
create or replace procedure call_split (p_full in varchar2, p_first out varchar2,
                                        p_count in out number) as
begin
  p_first := substr(p_full, 1, instr(p_full, ' ') - 1);
  p_count := p_count + 1;
end;
/
create or replace function call_twice (n number) return number is
begin
  call_note(100, 'twice ' || n);
  return call_square(n) * 2;
end;
/
begin
  call_note(1, 'positional');
  call_note(2);
  call_note(p_text => 'named', p_seq => 3);
  call_note(4, p_text => 'mixed');
  system.call_note(5, 'qualified');
  call_note(6, to_char(call_square(7)));
  call_note(7, to_char(call_twice(3)));
end;
/
declare
  v_first varchar2(30);
  v_count number := 10;
begin
  call_split('Ada Lovelace', v_first, v_count);
  call_split('Alan Turing', p_count => v_count, p_first => v_first);
  call_note(8, v_first || ' ' || v_count);
end;
/
create synonym call_alias for call_note;
create public synonym call_public for system.call_square;
begin
  call_alias(9, 'through a synonym');
  call_note(10, to_char(call_public(5)));
end;
/
select seq, text from call_log order by seq;

-- Errors: a missing unit, wrong arguments, an OUT argument that is no variable.
begin
  call_missing(1);
end;
/
begin
  call_note(1, 'a', 'b');
end;
/
begin
  call_note(p_none => 1);
end;
/
declare
  v number := 1;
begin
  call_split('a b', 'x', v);
end;
/
declare
  v number;
begin
  v := call_note(1);
end;
/
begin
  call_square(2);
end;
/
-- An exception raised in a unit names the unit's line in the trail.
create or replace function call_ratio (a number, b number) return number is
begin
  return a / b;
end;
/
declare
  v number;
begin
  v := call_ratio(1, 0);
end;
/
-- A unit calling a missing procedure stays invalid until the procedure exists.
create or replace procedure call_later_caller is
begin
  call_later(1);
end;
/
select status from user_objects where object_name = 'CALL_LATER_CALLER';
begin
  call_later_caller;
end;
/
create or replace procedure call_later (n number) is
begin
  insert into call_log values (n + 1000, 'later');
end;
/
alter procedure call_later_caller compile;
select status from user_objects where object_name = 'CALL_LATER_CALLER';
begin
  call_later_caller;
end;
/
select seq, text from call_log where seq > 1000;
drop procedure call_later;
begin
  call_later_caller;
end;
/
