-- Bulk binds: SELECT, FETCH ... LIMIT and EXECUTE IMMEDIATE with BULK COLLECT
-- INTO collections of scalars and of records, and FORALL over a range, over
-- the indices of a sparse collection and around dynamic SQL.

create table bk (id number, name varchar2(20));
insert into bk values (1, 'a');
insert into bk values (2, 'b');
insert into bk values (3, 'c');
create table bk_out (seq number, text varchar2(200));
declare
  type t_ids is table of bk.id%type;
  type t_names is table of varchar2(20) index by pls_integer;
  type t_rows is table of bk%rowtype;
  ids t_ids;
  names t_names;
  rws t_rows;
  cursor c is select id, name from bk order by id;
  s varchar2(200);
  n number;
begin
  select id, name bulk collect into ids, names from bk order by id desc;
  n := sql%rowcount;
  insert into bk_out values (1, ids.count || ' ' || ids(1) || names(3) || ' ' || n);
  open c;
  loop
    fetch c bulk collect into rws limit 2;
    s := s || rws.count || ' ';
    if c%notfound then s := s || 'done '; end if;
    exit when c%notfound;
  end loop;
  close c;
  insert into bk_out values (2, s);
  execute immediate 'select name from bk where id > :1' bulk collect into names using 1;
  insert into bk_out values (3, names.count || names(2));
  select id bulk collect into ids from bk where id > 10;
  insert into bk_out values (4, ids.count);
  ids := t_ids(10, 20, 30);
  forall i in 1 .. ids.count
    insert into bk values (ids(i), 'f' || i);
  n := sql%rowcount;
  insert into bk_out values (5, n);
  ids.delete(2);
  forall i in indices of ids
    update bk set name = upper(name) where id = ids(i);
  n := sql%rowcount;
  insert into bk_out values (6, n);
  forall i in 1 .. 2
    execute immediate 'delete from bk where id = :1' using i;
  n := sql%rowcount;
  insert into bk_out values (7, n);
end;
/
select * from bk_out order by seq;
select * from bk order by id;
declare
  n number;
begin
  select id bulk collect into n from bk;
end;
/
declare
  type t_small is varray(2) of number;
  v t_small;
begin
  select id bulk collect into v from bk;
end;
/
