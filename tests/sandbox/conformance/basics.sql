-- The transcript's own forms: rows, failures with their line, and work kept
-- across statements of one session.
create table conf_basics (
  id   number(4) constraint conf_basics_pk primary key,
  name varchar2(10) not null
);
insert into conf_basics values (1, 'one');
insert into conf_basics values (1, 'uno');
insert into conf_basics (id) values (2);
insert into conf_basics values (3, 'eleven chars');
select id, name from conf_basics order by id;
select count(*) from no_such_table;
select 'a' || null || 'b', nvl(null, 'x'), 7 / 2 from dual;
