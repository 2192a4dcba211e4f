-- Hierarchical queries over subqueries, views and joins: the join is made
-- first, then the hierarchy, then the rest of WHERE; the values a row takes
-- from the rows above it (PRIOR, CONNECT_BY_ROOT, SYS_CONNECT_BY_PATH) and
-- whether it has rows below (CONNECT_BY_ISLEAF).
create table h_emp (id number, mgr number, name varchar2(10), dept number);
insert into h_emp values (1, null, 'KING', 10);
insert into h_emp values (2, 1, 'JONES', 20);
insert into h_emp values (3, 1, 'BLAKE', 30);
insert into h_emp values (4, 2, 'SCOTT', 20);
insert into h_emp values (5, 4, 'ADAMS', 20);
insert into h_emp values (6, 2, 'FORD', 20);
insert into h_emp values (7, 3, 'ALLEN', 30);
create table h_dept (id number, dname varchar2(12));
insert into h_dept values (10, 'ACCOUNTING');
insert into h_dept values (20, 'RESEARCH');
insert into h_dept values (30, 'SALES');
create view h_emp_v as select id, mgr, name from h_emp where dept <> 30;
-- Over a subquery and over a view.
select level, name from (select id, mgr, name from h_emp)
  start with mgr is null connect by prior id = mgr order siblings by name;
select lpad(' ', 2 * level - 2) || name from h_emp_v
  start with id = 1 connect by prior id = mgr order siblings by name;
-- A row generator over a subquery.
select level, s from (select 'x' s from dual) connect by level <= 3;
-- Over a join: the ON condition, and a WHERE term that compares two tables,
-- join the rows before the hierarchy is built.
select level, e.name, d.dname from h_emp e join h_dept d on d.id = e.dept
  start with e.mgr is null connect by prior e.id = e.mgr order siblings by e.name;
select level, e.name from h_emp e, h_dept d where e.dept = d.id and e.name <> 'JONES'
  start with e.mgr is null connect by prior e.id = e.mgr order siblings by e.name;
select e.name n, d.dname from h_emp e, h_dept d where d.id = e.dept and level > 2
  start with e.id = 1 connect by prior e.id = e.mgr order by n;
-- What a row takes from the rows above it.
select name, sys_connect_by_path(name, '/') path, connect_by_root name root,
  connect_by_isleaf leaf from h_emp
  start with id in (2, 3) connect by prior id = mgr order siblings by name;
select name, prior name boss from h_emp
  start with mgr is null connect by prior id = mgr order siblings by name;
select connect_by_root d.dname, e.name from h_emp e join h_dept d on d.id = e.dept
  where level > 1 start with e.id = 2 connect by prior e.id = e.mgr order by e.name;
select count(*) from h_emp where level = 3 start with mgr is null connect by prior id = mgr;
-- NOCYCLE ends a branch at a row that is already on it.
create table h_loop (id number, nxt number);
insert into h_loop values (1, 2);
insert into h_loop values (2, 3);
insert into h_loop values (3, 1);
select level, id, sys_connect_by_path(id, '>') from h_loop
  start with id = 1 connect by nocycle prior nxt = id;
-- The row whose child is its own ancestor tells so, and is no leaf; without
-- NOCYCLE the loop is an error, and asking for CONNECT_BY_ISCYCLE is one.
select id, connect_by_iscycle cyc, connect_by_isleaf leaf from h_loop
  start with id = 1 connect by nocycle prior nxt = id;
select count(*) from h_loop start with id = 1 connect by prior nxt = id;
select id, connect_by_iscycle from h_loop start with id = 1 connect by prior nxt = id;
select id from h_loop start with id = 1 connect by prior nxt = id and level < 3;
-- ORDER SIBLINGS BY descending (NULL first) and with NULLS FIRST; siblings
-- whose key equals their parent's are no loop.
insert into h_emp values (8, 2, null, 20);
select level, name from h_emp
  start with mgr is null connect by prior id = mgr order siblings by name desc;
select level, name from h_emp
  start with mgr is null connect by prior id = mgr order siblings by name nulls first;
select level, name from h_emp start with id = 2 connect by prior id = mgr order siblings by dept, id;
-- "*" lists the table's own columns, not what the hierarchy carries.
select * from h_loop start with id = 1 connect by nocycle prior nxt = id;
select l.* from h_loop l where level < 3 start with id = 2 connect by nocycle prior nxt = id;
create view h_tree as select * from h_emp start with mgr is null connect by prior id = mgr;
select column_name from user_tab_columns where table_name = 'H_TREE' order by column_id;
-- Over a join, "*" lists every item's columns and "alias.*" one item's.
select * from h_emp e join h_dept d on d.id = e.dept
  where e.id < 4 start with e.mgr is null connect by prior e.id = e.mgr;
select d.*, level from h_emp e, h_dept d where d.id = e.dept and e.id < 3
  start with e.mgr is null connect by prior e.id = e.mgr;
