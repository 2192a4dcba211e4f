-- Oracle's query language beyond the plain SELECT: ROWNUM, analytic
-- functions, LISTAGG, grouping sets, JSON conditions and functions, MERGE,
-- and the character semantics of an AL32UTF8 database.
create table conf_emp (
  id    number(4) primary key,
  name  varchar2(20),
  dept  varchar2(5),
  sal   number(8),
  mgr   number(4),
  prefs varchar2(200) constraint conf_emp_prefs_json check (prefs is json)
);
insert into conf_emp values (1, 'Ada', 'R', 500, null, '{"lang":"en","tags":["a","b"]}');
insert into conf_emp values (2, 'Bob', 'R', 300, 1, '{"lang":"fr"}');
insert into conf_emp values (3, 'Cy', 'S', 400, 1, null);
insert into conf_emp values (4, 'Di', 'S', 300, 3, '[1, 2]');
insert into conf_emp values (5, 'Ed', null, 100, 3, null);
insert into conf_emp values (7, 'Flo', 'R', 100, 1, 'plain text');
-- ROWNUM is given to rows as they pass the conditions, before ORDER BY.
select rownum, id from conf_emp where rownum <= 2;
select id from conf_emp where rownum = 2;
select id from (select id from conf_emp order by sal desc, id) where rownum <= 3;
select rownum, name from conf_emp where sal = 300 order by name desc;
-- Analytic functions.
select id, row_number() over (partition by dept order by sal desc, id),
       rank() over (order by sal desc), dense_rank() over (order by sal desc),
       sum(sal) over (partition by dept), lag(id) over (order by id), lead(id, 1, 0) over (order by id)
  from conf_emp order by id;
-- LISTAGG, ROLLUP, CUBE, GROUPING SETS, GROUPING and GROUPING_ID; NULLs sort last.
select dept, listagg(name, ', ') within group (order by sal desc, name) from conf_emp
  group by dept order by dept;
select dept, sum(sal), grouping(dept) from conf_emp group by rollup(dept) order by 3, 1;
select dept, sal, count(*), grouping_id(dept, sal) from conf_emp where dept = 'S'
  group by cube(dept, sal) order by 4, 2;
select dept, mgr, count(*) from conf_emp group by grouping sets ((dept), (mgr)) order by 1, 2;
-- JSON.
select id from conf_emp where prefs is json order by id;
select id from conf_emp where prefs is not json order by id;
select json_value(prefs, '$.lang'), json_query(prefs, '$.tags') from conf_emp where id = 1;
select json_value(prefs, '$.tags'), json_value(prefs, '$[1]') from conf_emp where id in (1, 4) order by id;
-- MERGE.
create table conf_raise (id number(4), sal number(8));
insert into conf_raise values (2, 350);
insert into conf_raise values (6, 200);
merge into conf_emp e using conf_raise r on (e.id = r.id)
  when matched then update set e.sal = r.sal
  when not matched then insert (id, name, sal) values (r.id, 'New', r.sal);
select id, name, sal from conf_emp where id in (2, 6) order by id;
merge into conf_emp e using conf_raise r on e.id = r.id when matched then update set sal = 0;
-- Characters and bytes.
select length('日本語'), lengthb('日本語'), substr('日本語テキスト', 3, 2), substrb('日本語', 4, 3),
       instr('日本語日本', '本', 3), lpad('éà', 4, '*'), rpad('é', 3, '-'), reverse('abc')
  from dual;
select utl_raw.cast_to_raw('OK') from dual;
-- Limits of the server.
select count(*) from conf_emp where id in (1, 2) and (sal > 1000 or sal < 1000);
-- The old outer-join marker, and ANSI joins with a parenthesised condition.
create table conf_dept (id varchar2(5), title varchar2(20), open varchar2(1));
insert into conf_dept values ('R', 'Research', 'Y');
insert into conf_dept values ('S', 'Sales', 'N');
select e.name, d.title from conf_emp e, conf_dept d where e.dept = d.id(+) order by e.id;
select e.name, d.title from conf_emp e, conf_dept d
  where e.dept = d.id(+) and d.open(+) = 'Y' order by e.id;
select e.name from conf_emp e, conf_dept d where e.dept = d.id(+) or e.id = 1;
select e.name from conf_emp e join conf_dept d on e.dept = d.id where d.id(+) = 'R';
select e.name, d.title from conf_emp e left join conf_dept d on (e.dept = d.id) where e.id = 3;
-- Hierarchical queries.
select level, name from conf_emp start with mgr is null connect by prior id = mgr
  order siblings by name;
select level from dual connect by level <= 3;
select name from conf_emp where level = 2 start with id = 3 connect by prior id = mgr order by name;
