-- DML ... RETURNING ... INTO in static SQL and through EXECUTE IMMEDIATE:
-- the one changed row's values (a column default, a sequence value), and
-- ORA-01422 when more than one row changes.

create table ret_t (id number, name varchar2(20), created date default date '2024-01-02');
create table ret_out (line varchar2(100));
create sequence ret_seq start with 100;
declare
  v_id number;
  v_name varchar2(20);
  v_created date;
  n number;
begin
  insert into ret_t (id, name) values (ret_seq.nextval, 'first')
    returning id, name, created into v_id, v_name, v_created;
  insert into ret_out values ('insert: ' || v_id || ' ' || v_name || ' ' || to_char(v_created, 'YYYY-MM-DD'));
  update ret_t set name = upper(name) where id = v_id returning name into v_name;
  n := sql%rowcount;
  insert into ret_out values ('update: ' || v_name || ' ' || n);
  update ret_t set name = 'none' where id = -1;
  n := sql%rowcount;
  insert into ret_out values ('no row: ' || n);
  execute immediate 'insert into ret_t (id, name) values (:1, :2) returning id into :3'
    using 200, 'second' returning into v_id;
  insert into ret_out values ('dynamic: ' || v_id);
  delete from ret_t where id = 200 returning name into v_name;
  insert into ret_out values ('delete: ' || v_name);
end;
/
declare
  v_name varchar2(20);
begin
  insert into ret_t (id, name) values (300, 'third');
  update ret_t set name = 'many' returning name into v_name;
end;
/
select id, name from ret_t order by id;
select line from ret_out order by rowid;
