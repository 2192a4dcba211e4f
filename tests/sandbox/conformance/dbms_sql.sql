-- DBMS_SQL: a generic query-to-CSV procedure that describes, defines and
-- fetches whatever columns its query has; DML with binds by name; DDL run
-- by PARSE; an anonymous block's OUT bind read back; statements given as
-- tables of lines; cursor numbers and cursor variables turned into each
-- other; array binds and defines; and the package's errors.

create table ds_emp (id number(6) not null, name varchar2(20), grade char(2), hired date,
                     salary number(8,2));
insert into ds_emp values (1, 'Ann', 'A', date '2020-01-15', 1000.5);
insert into ds_emp values (2, 'Bob', 'B', null, 2000);
insert into ds_emp values (3, 'Cy, Jr', null, date '2021-12-01', null);
create table ds_out (n number, line varchar2(4000));

create or replace procedure ds_log (p_n number, p_line varchar2) is
begin
  insert into ds_out values (p_n, p_line);
end;
/

create or replace procedure ds_to_csv (p_query varchar2, p_first number) is
  c integer := dbms_sql.open_cursor;
  cols dbms_sql.desc_tab2;
  cnt integer;
  v varchar2(4000);
  line varchar2(4000);
  k number := p_first;
  ignore integer;
begin
  dbms_sql.parse(c, p_query, dbms_sql.native);
  dbms_sql.describe_columns2(c, cnt, cols);
  for i in 1 .. cnt loop
    line := line || case when i > 1 then ',' end || cols(i).col_name;
    dbms_sql.define_column(c, i, v, 4000);
  end loop;
  ds_log(k, line);
  ignore := dbms_sql.execute(c);
  while dbms_sql.fetch_rows(c) > 0 loop
    line := null;
    for i in 1 .. cnt loop
      dbms_sql.column_value(c, i, v);
      if instr(v, ',') > 0 then
        v := '"' || v || '"';
      end if;
      line := line || case when i > 1 then ',' end || v;
    end loop;
    k := k + 1;
    ds_log(k, line);
  end loop;
  ds_log(k + 1, 'rows ' || dbms_sql.last_row_count);
  dbms_sql.close_cursor(c);
exception
  when others then
    if dbms_sql.is_open(c) then
      dbms_sql.close_cursor(c);
    end if;
    raise;
end;
/

begin
  ds_to_csv('select * from ds_emp order by id', 100);
  ds_to_csv('select name, salary * 2 as double_pay from ds_emp where salary is not null order by 1', 200);
end;
/
select * from ds_out order by n;
delete from ds_out;

-- what DESCRIBE_COLUMNS says of each column
declare
  c integer := dbms_sql.open_cursor;
  cols dbms_sql.desc_tab;
  cnt integer;
  nullable varchar2(1);
begin
  dbms_sql.parse(c, 'select id, name, grade, hired, salary from ds_emp', dbms_sql.native);
  dbms_sql.describe_columns(c, cnt, cols);
  for i in 1 .. cnt loop
    nullable := case when cols(i).col_null_ok then 'Y' else 'N' end;
    ds_log(i, cols(i).col_name || ' type ' || cols(i).col_type || ' len ' || cols(i).col_max_len
              || ' name_len ' || cols(i).col_name_len || ' prec ' || cols(i).col_precision
              || ' scale ' || cols(i).col_scale || ' charset ' || cols(i).col_charsetid || '/'
              || cols(i).col_charsetform || ' null ' || nullable);
  end loop;
  dbms_sql.close_cursor(c);
end;
/
select * from ds_out order by n;
delete from ds_out;

-- typed defines, DML with binds by name (a repeated name takes one value),
-- and the rows EXECUTE reports
declare
  c integer := dbms_sql.open_cursor;
  rows_done integer;
  v_id number;
  v_hired date;
  v_name varchar2(20);
begin
  dbms_sql.parse(c, 'update ds_emp set salary = salary + :inc where salary >= :lo', dbms_sql.native);
  dbms_sql.bind_variable(c, ':inc', 10);
  dbms_sql.bind_variable(c, 'lo', 1500);
  rows_done := dbms_sql.execute(c);
  ds_log(1, 'updated ' || rows_done);
  dbms_sql.bind_variable(c, 'LO', 0);
  rows_done := dbms_sql.execute(c);
  ds_log(2, 'updated ' || rows_done);
  dbms_sql.parse(c, 'insert into ds_emp (id, name) values (:x, :x || ''!'')', dbms_sql.native);
  dbms_sql.bind_variable(c, 'x', 4);
  rows_done := dbms_sql.execute(c);
  ds_log(3, 'inserted ' || rows_done);
  dbms_sql.parse(c, 'select id, hired, name from ds_emp where id <= :top order by id desc',
                 dbms_sql.native);
  dbms_sql.bind_variable(c, 'top', 3);
  dbms_sql.define_column(c, 1, v_id);
  dbms_sql.define_column(c, 2, v_hired);
  dbms_sql.define_column(c, 3, v_name, 20);
  rows_done := dbms_sql.execute(c);
  loop
    exit when dbms_sql.fetch_rows(c) = 0;
    dbms_sql.column_value(c, 1, v_id);
    dbms_sql.column_value(c, 2, v_hired);
    dbms_sql.column_value(c, 3, v_name);
    ds_log(3 + v_id / 10, v_id || ' ' || nvl(to_char(v_hired, 'YYYY-MM-DD'), '-') || ' '
                            || v_name);
  end loop;
  ds_log(4, 'fetched ' || dbms_sql.last_row_count);
  dbms_sql.close_cursor(c);
end;
/
select * from ds_out order by n;
select id, name, salary from ds_emp order by id;
delete from ds_out;

-- DDL runs at PARSE; a block's OUT bind and a RETURNING bind read back;
-- a statement given as a table of lines; EXECUTE_AND_FETCH
declare
  c integer := dbms_sql.open_cursor;
  rows_done integer;
  result number;
  text varchar2(100);
  lines dbms_sql.varchar2a;
  total number;
begin
  dbms_sql.parse(c, 'create table ds_made (x number)', dbms_sql.native);
  insert into ds_made values (7);
  dbms_sql.parse(c, 'begin :r := :a * 2; :t := upper(:t); end;', dbms_sql.native);
  dbms_sql.bind_variable(c, 'a', 21);
  dbms_sql.bind_variable(c, 'r', result);
  dbms_sql.bind_variable(c, 't', 'abc', 10);
  rows_done := dbms_sql.execute(c);
  dbms_sql.variable_value(c, 'r', result);
  dbms_sql.variable_value(c, ':t', text);
  ds_log(1, result || ' ' || text);
  dbms_sql.parse(c, 'update ds_made set x = x + 1 returning x into :new_x', dbms_sql.native);
  dbms_sql.bind_variable(c, 'new_x', result);
  rows_done := dbms_sql.execute(c);
  dbms_sql.variable_value(c, 'new_x', result);
  ds_log(2, rows_done || ' ' || result);
  lines(1) := 'select sum(salary)';
  lines(2) := 'from ds_emp';
  lines(3) := 'where id < 3';
  dbms_sql.parse(c, lines, 1, 3, true, dbms_sql.native);
  dbms_sql.define_column(c, 1, total);
  rows_done := dbms_sql.execute_and_fetch(c, true);
  dbms_sql.column_value(c, 1, total);
  ds_log(3, rows_done || ' ' || total);
  dbms_sql.close_cursor(c);
end;
/
select * from ds_out order by n;
select * from ds_made;
delete from ds_out;

-- a cursor number as a cursor variable, and back
declare
  c integer := dbms_sql.open_cursor;
  rc sys_refcursor;
  rows_done integer;
  v_name varchar2(20);
  cols dbms_sql.desc_tab3;
  cnt integer;
begin
  dbms_sql.parse(c, 'select name from ds_emp where id > :lo order by id', dbms_sql.native);
  dbms_sql.bind_variable(c, 'lo', 2);
  rows_done := dbms_sql.execute(c);
  rc := dbms_sql.to_refcursor(c);
  loop
    fetch rc into v_name;
    exit when rc%notfound;
    ds_log(rc%rowcount, v_name);
  end loop;
  close rc;
  open rc for select id, name from ds_emp where id = 1;
  c := dbms_sql.to_cursor_number(rc);
  dbms_sql.describe_columns3(c, cnt, cols);
  ds_log(10, cnt || ' ' || cols(2).col_name || ' ' || nvl(cols(2).col_type_name, '-'));
  dbms_sql.define_column(c, 2, v_name, 20);
  while dbms_sql.fetch_rows(c) > 0 loop
    dbms_sql.column_value(c, 2, v_name);
    ds_log(11, v_name);
  end loop;
  dbms_sql.close_cursor(c);
end;
/
select * from ds_out order by n;
delete from ds_out;

-- arrays: one DML statement run for each element bound, and a query
-- fetched a few rows at a time into tables
create table ds_bulk (id number, name varchar2(20));
declare
  c integer := dbms_sql.open_cursor;
  ids dbms_sql.number_table;
  names dbms_sql.varchar2_table;
  got_ids dbms_sql.number_table;
  got_names dbms_sql.varchar2_table;
  rows_done integer;
  fetched integer;
begin
  for i in 1 .. 7 loop
    ids(i) := i;
    names(i) := 'n' || i;
  end loop;
  dbms_sql.parse(c, 'insert into ds_bulk (id, name) values (:id, :name)', dbms_sql.native);
  dbms_sql.bind_array(c, 'id', ids);
  dbms_sql.bind_array(c, 'name', names);
  rows_done := dbms_sql.execute(c);
  ds_log(1, 'inserted ' || rows_done);
  dbms_sql.parse(c, 'delete from ds_bulk where id = :id', dbms_sql.native);
  dbms_sql.bind_array(c, 'id', ids, 6, 7);
  rows_done := dbms_sql.execute(c);
  ds_log(2, 'deleted ' || rows_done);
  dbms_sql.parse(c, 'select id, name from ds_bulk order by id', dbms_sql.native);
  dbms_sql.define_array(c, 1, got_ids, 2, 10);
  dbms_sql.define_array(c, 2, got_names, 2, 10);
  rows_done := dbms_sql.execute(c);
  loop
    fetched := dbms_sql.fetch_rows(c);
    dbms_sql.column_value(c, 1, got_ids);
    dbms_sql.column_value(c, 2, got_names);
    ds_log(3 + dbms_sql.last_row_count / 10, 'fetched ' || fetched);
    exit when fetched < 2;
  end loop;
  ds_log(4, got_ids.count || ' from ' || got_ids.first || ' to ' || got_ids.last || ': '
            || got_ids(12) || ' ' || got_names(14));
  dbms_sql.close_cursor(c);
end;
/
select * from ds_out order by n;
delete from ds_out;

-- a cursor stays open across calls until it is closed
create or replace package ds_state as
  c integer;
end;
/
declare
  rows_done integer;
begin
  ds_state.c := dbms_sql.open_cursor;
  dbms_sql.parse(ds_state.c, 'select id from ds_emp order by id', dbms_sql.native);
  dbms_sql.define_column(ds_state.c, 1, rows_done);
  rows_done := dbms_sql.execute(ds_state.c);
  rows_done := dbms_sql.fetch_rows(ds_state.c);
end;
/
declare
  id number;
begin
  while dbms_sql.fetch_rows(ds_state.c) > 0 loop
    dbms_sql.column_value(ds_state.c, 1, id);
    ds_log(id, 'later ' || dbms_sql.last_row_count);
  end loop;
  dbms_sql.close_cursor(ds_state.c);
  if ds_state.c is null then
    ds_log(9, 'closed');
  end if;
end;
/
select * from ds_out order by n;
delete from ds_out;

-- Oracle's errors, each caught and logged
declare
  c integer := dbms_sql.open_cursor;
  v varchar2(10);
  n number;
  rows_done integer;
  procedure try (k number, statement varchar2) is
  begin
    dbms_sql.parse(c, statement, dbms_sql.native);
    ds_log(k, 'parsed');
  exception
    when others then
      ds_log(k, sqlerrm);
      ds_log(k + 0.5, 'at ' || dbms_sql.last_error_position);
  end;
begin
  try(1, 'select nosuch from ds_emp');
  try(2, 'select * from ds_missing');
  try(3, 'this is no statement');
  dbms_sql.parse(c, 'select name, id from ds_emp where id = :id', dbms_sql.native);
  begin
    dbms_sql.bind_variable(c, 'other', 1);
  exception
    when others then ds_log(4, sqlerrm);
  end;
  begin
    rows_done := dbms_sql.execute(c);
  exception
    when others then ds_log(5, sqlerrm);
  end;
  begin
    dbms_sql.define_column(c, 3, v, 10);
  exception
    when others then ds_log(6, sqlerrm);
  end;
  dbms_sql.define_column(c, 2, n);
  dbms_sql.bind_variable(c, 'id', 1);
  rows_done := dbms_sql.execute(c);
  rows_done := dbms_sql.fetch_rows(c);
  begin
    dbms_sql.column_value(c, 2, v);
  exception
    when others then ds_log(7, sqlerrm);
  end;
  begin
    dbms_sql.column_value(c, 1, v);
  exception
    when others then ds_log(8, sqlerrm);
  end;
  dbms_sql.bind_variable(c, 'id', 99);
  begin
    rows_done := dbms_sql.execute_and_fetch(c, true);
  exception
    when others then ds_log(9, sqlerrm);
  end;
  dbms_sql.parse(c, 'select name from ds_emp', dbms_sql.native);
  begin
    rows_done := dbms_sql.execute_and_fetch(c, true);
  exception
    when others then ds_log(10, sqlerrm);
  end;
  dbms_sql.close_cursor(c);
  if not dbms_sql.is_open(c) then
    ds_log(11, 'closed');
  end if;
end;
/
select * from ds_out order by n;
delete from ds_out;

-- a cursor number the session never opened denies it DBMS_SQL from then on
declare
  c integer := dbms_sql.open_cursor;
begin
  begin
    dbms_sql.parse(c + 1, 'select 1 from dual', dbms_sql.native);
  exception
    when others then ds_log(1, sqlerrm);
  end;
  begin
    c := dbms_sql.open_cursor;
  exception
    when others then ds_log(2, sqlerrm);
  end;
end;
/
select * from ds_out order by n;
