-- TABLE() over stored functions that return schema-level collections: scalar
-- elements as COLUMN_VALUE, object elements as their attributes.
create type st_nums as table of number;
/
create type st_pair as object (k varchar2(5), v number);
/
create type st_pairs as table of st_pair;
/
create or replace function st_range (n number) return st_nums is
  r st_nums := st_nums();
begin
  for i in 1 .. n loop
    r.extend;
    r(i) := i * i;
  end loop;
  return r;
end;
/
create or replace function st_list return st_pairs is
begin
  return st_pairs(st_pair('a', 1), st_pair('b', 2));
end;
/
select column_value from table(st_range(3));
select count(*), sum(column_value) from table(st_range(10));
select t.k, t.v from table(st_list()) t order by t.v desc;
select * from table(st_list());
select * from table(st_range(2));
