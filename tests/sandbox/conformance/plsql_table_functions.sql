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
-- Pipelined functions: PIPE ROW gives the rows TABLE() reads, RETURN ends
-- them; PLS-00633 and PLS-00629 where Oracle refuses RETURN or PIPE.
create type sp_nums as table of number;
/
create type sp_row as object (n number, sq number);
/
create type sp_rows as table of sp_row;
/
create or replace function sp_count (n number) return sp_nums pipelined is
begin
  for i in 1 .. n loop
    pipe row (i);
  end loop;
  return;
end;
/
create or replace function sp_squares (n number) return sp_rows pipelined is
begin
  for i in 1 .. n loop
    pipe row (sp_row(i, i * i));
  end loop;
end;
/
select column_value from table(sp_count(3));
select * from table(sp_squares(3)) where sq > 1;
select sum(t.n), max(t.sq) from table(sp_squares(4)) t;
create or replace function sp_bad (n number) return sp_nums pipelined is
begin
  return sp_nums(n);
end;
/
select line, position, text from user_errors where name = 'SP_BAD' order by sequence;
create or replace function sp_pipe_elsewhere (n number) return sp_nums is
begin
  pipe row (n);
  return null;
end;
/
select line, position, text from user_errors where name = 'SP_PIPE_ELSEWHERE' order by sequence;
