-- Conditional compilation: $IF / $ELSIF / $ELSE / $END chosen by static
-- expressions over DBMS_DB_VERSION and inquiry directives, $ERROR stopping the
-- compilation, and lines of errors counted in the text as written.

create table cc_out (seq number, text varchar2(200));

create or replace procedure cc_release is
begin
  $if dbms_db_version.ver_le_11 $then
    insert into cc_out values (1, 'release 11 or older');
  $elsif dbms_db_version.ver_le_12_2 $then
    insert into cc_out values (1, 'release 12');
  $elsif dbms_db_version.version = 19 and dbms_db_version.release = 0 $then
    insert into cc_out values (1, 'release 19.0 in ' || $$plsql_unit || ' at line ' || $$plsql_line);
  $else
    insert into cc_out values (1, 'newer');
  $end
  $if $$plsql_unit_type = 'PROCEDURE' $then
    $if $$no_such_flag is null $then
      insert into cc_out values (2, 'unset flags are null');
    $else
      insert into cc_out values (2, 'flag set');
    $end
  $end
end cc_release;
/
select status from all_objects where object_name = 'CC_RELEASE';
select line, rtrim(text, chr(10)) from all_source where name = 'CC_RELEASE' and line between 2 and 4 order by line;
begin
  cc_release;
end;
/

declare
  v number := dbms_db_version.version;
begin
  $if not dbms_db_version.ver_le_18 and dbms_db_version.ver_le_19 $then
    insert into cc_out values (3, 'version ' || v || ' ' || nvl($$plsql_unit, 'no unit') || ' '
      || $$plsql_unit_type);
  $end
  if dbms_db_version.ver_le_19 then
    insert into cc_out values (4, 'ver_le_19 is true at run time');
  end if;
end;
/
select seq, text from cc_out order by seq;

-- Errors keep the lines of the text as written.
begin
  $if dbms_db_version.ver_le_10 $then
    this is never read;
  $end
  undeclared_thing := 1;
end;
/
begin
  $if dbms_db_version.version >= 19 $then
    $error 'stopped at line ' || $$plsql_line $end
  $end
  null;
end;
/
begin
  $if dbms_db_version.version $then
    null;
  $end
end;
/
create or replace package cc_needs_old as
  $if not dbms_db_version.ver_le_12 $then
    $error $$plsql_unit || ' is for release 12 and older' $end
  $end
  procedure p;
end;
/
select status from all_objects where object_name = 'CC_NEEDS_OLD';
select line, position, text from all_errors where name = 'CC_NEEDS_OLD' order by sequence;
begin
  cc_needs_old.p;
end;
/

-- The dictionary reads only the code chosen: names of a branch left out are
-- no references, those of the chosen branch are.
create or replace procedure cc_choice is
begin
  $if dbms_db_version.ver_le_10 $then
    old_logger.write('never compiled');
    insert into missing_table values (1);
  $else
    insert into cc_out values (5, 'chosen');
  $end
end;
/
select status from all_objects where object_name = 'CC_CHOICE';
create or replace procedure cc_choice_missing is
begin
  $if dbms_db_version.ver_le_19 $then
    new_logger.write('compiled');
  $end
  null;
end;
/
select status from all_objects where object_name = 'CC_CHOICE_MISSING';
select line, position, text from all_errors where name = 'CC_CHOICE_MISSING' order by sequence;
