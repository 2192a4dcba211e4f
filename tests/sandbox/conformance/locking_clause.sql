-- FOR UPDATE locks a query's rows and changes nothing it returns, in SQL and
-- in a PL/SQL SELECT INTO; national character literals are text.
create table conf_locks (id number, v varchar2(10), n nvarchar2(10));
insert into conf_locks values (1, 'a', N'Zürich');
insert into conf_locks values (2, 'b', n'it''s');
select id, n from conf_locks order by id for update;
select id from conf_locks where id = 1 for update of v nowait;
select l.id from conf_locks l where l.id = 2 for update of l.v, l.id wait 5;
select id from conf_locks where id > 1 for update skip locked;
select id from (select id, v from conf_locks) where v = 'b' for update;
declare
  found number;
begin
  select id into found from conf_locks where v = 'a' for update;
  update conf_locks set v = 'c' where id = found;
end;
/
select id, v from conf_locks order by id;
