-- heading
create table t (a varchar2(10));
insert into t values ('semi; colon');
insert into t values ('multi
line;');
create or replace procedure p is
begin
  null;
end;
/
select *
  from t
/
