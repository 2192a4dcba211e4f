-- EXECUTE IMMEDIATE: DDL and DML with positional and named binds, queries
-- INTO variables, anonymous blocks with OUT binds, SQL%ROWCOUNT, and the
-- statement's errors caught by handlers or ending the block.

create table dyn_out (seq number, text varchar2(200));

declare
  v_table varchar2(30) := 'dyn_t';
  procedure log (n number, t varchar2) is
  begin
    insert into dyn_out values (n, t);
  end;
begin
  execute immediate 'create table ' || v_table || ' (id number primary key, name varchar2(30))';
  execute immediate 'insert into dyn_t values (:1, :2)' using 1, 'one';
  execute immediate 'insert into dyn_t values (:id, :name)' using 2, 'two';
  -- SQL binds by position: a repeated name takes an argument each time
  execute immediate 'insert into dyn_t values (:x, :x)' using 3, 'three';
  log(1, 'inserted ' || sql%rowcount);
  execute immediate 'update dyn_t set name = upper(name) where id >= :lo' using 2;
  log(2, 'updated ' || sql%rowcount);
  declare
    v_name varchar2(30);
    v_count number;
  begin
    execute immediate 'select name from dyn_t where id = :id' into v_name using 2;
    log(3, v_name);
    execute immediate 'select count(*), max(name) from dyn_t' into v_count, v_name;
    log(4, v_count || ' ' || v_name);
    begin
      execute immediate 'select name from dyn_t where id = :id' into v_name using 99;
    exception
      when no_data_found then
        log(5, 'no rows ' || sqlcode);
    end;
    begin
      execute immediate 'select name from dyn_t' into v_name;
    exception
      when too_many_rows then
        log(6, 'too many ' || sqlcode);
    end;
  end;
  -- a block binds each name once, in the order the names first appear
  declare
    a number := 5;
    b number;
    c varchar2(20) := 'x';
  begin
    execute immediate 'begin :b := :a * 2; :c := :c || :a; end;' using out b, a, in out c;
    log(7, b || ' ' || c);
  end;
  begin
    execute immediate 'create table dyn_t (id number)';
  exception
    when others then
      log(8, sqlerrm);
  end;
  begin
    execute immediate 'insert into dyn_t values (:1, :2)' using 1, 'dup';
  exception
    when dup_val_on_index then
      log(9, 'duplicate ' || sqlcode);
  end;
  begin
    execute immediate 'select * from dyn_missing';
  exception
    when others then
      log(10, sqlerrm);
  end;
  begin
    execute immediate 'insert into dyn_t values (:1, :2)' using 4;
  exception
    when others then
      log(11, sqlerrm);
  end;
  begin
    execute immediate 'insert into dyn_t values (:1, :2)' using 4, 'four', 5;
  exception
    when others then
      log(12, sqlerrm);
  end;
  begin
    execute immediate 'begin raise_application_error(-20001, ''dynamic failure''); end;';
  exception
    when others then
      log(13, sqlerrm);
  end;
  begin
    execute immediate 'insert into dyn_t values (5, ''five'');';
  exception
    when others then
      log(14, sqlerrm);
  end;
  execute immediate 'drop table ' || v_table;
  log(15, 'dropped');
end;
/
select seq, text from dyn_out order by seq;
select count(*) from all_tables where table_name = 'DYN_T';

-- DDL commits the transaction it runs in, as it does outside a block.
insert into dyn_out values (20, 'committed by ddl');
begin
  execute immediate 'create table dyn_u (a number)';
end;
/
rollback;
select text from dyn_out where seq = 20;

-- Errors nobody handles end the block with the statement's error.
begin
  execute immediate 'insert into dyn_u values (''abc'')';
end;
/
declare
  s varchar2(10);
begin
  execute immediate s;
end;
/
begin
  execute immediate 'begin
  raise_application_error(-20002, ''from inside'');
end;';
end;
/
begin
  execute immediate 'insert into dyn_u values (:1)' using null;
end;
/
drop table dyn_u;
