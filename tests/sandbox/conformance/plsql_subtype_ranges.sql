-- Integer subtypes with ranges: NATURAL, POSITIVE, SIGNTYPE and
-- SUBTYPE ... RANGE low .. high, in a block and in a package declaration
-- as logging libraries declare their levels. A value outside the range is
-- ORA-06502 (VALUE_ERROR).
create table o(n number generated always as identity, t varchar2(4000));
declare
  subtype lvl_t is pls_integer range 1 .. 16;
  subtype neg_t is pls_integer range -5 .. -1;
  v lvl_t := 3;
  w neg_t := -2;
  p positive := 1;
  s signtype := -1;
  m varchar2(200);
begin
  insert into o(t) values (v || ' ' || w || ' ' || p || ' ' || s);
  begin v := 20; exception when value_error then m := 'lvl: ' || sqlerrm; insert into o(t) values (m); end;
  begin p := 0; exception when value_error then m := 'pos: ' || sqlerrm; insert into o(t) values (m); end;
  begin s := 2; exception when value_error then m := 'sign: ' || sqlerrm; insert into o(t) values (m); end;
  v := 16;
  insert into o(t) values (v);
end;
/
select t from o order by n;
create or replace package levels as
  subtype level_t is pls_integer range 1 .. 16;
  gc_error constant level_t := 2;
  g_level level_t := 8;
  procedure set_level(p level_t);
end levels;
/
create or replace package body levels as
  procedure set_level(p level_t) is begin g_level := p; end;
end levels;
/
select object_type, status from user_objects where object_name = 'LEVELS' order by 1;
begin
  levels.set_level(levels.gc_error);
  insert into o(t) values ('level ' || levels.g_level);
  levels.set_level(17);
end;
/
select t from o where t like 'level%';
-- A RANGE on a type that is not an integer.
declare
  subtype bad_t is varchar2(10) range 1 .. 2;
begin
  null;
end;
/
