-- Nested tables as multisets in SQL: CARDINALITY, SET, MULTISET UNION /
-- INTERSECT / EXCEPT with ALL and DISTINCT, MEMBER OF, SUBMULTISET OF,
-- IS A SET and IS EMPTY, with NULL elements and NULL collections.
create or replace type str_list as table of varchar2(30);
/
create table bags (id number primary key, items str_list) nested table items store as bags_items;
insert into bags values (1, str_list('a', 'b', 'b', 'c'));
insert into bags values (2, str_list());
insert into bags values (3, null);
insert into bags values (4, str_list('a', null));
select id, cardinality(items) from bags order by id;
select id from bags where items is empty order by id;
select id from bags where items is not empty order by id;
select id from bags where items is a set order by id;
select id from bags b where 'b' member of b.items order by id;
select id from bags b where 'z' not member of b.items order by id;
select column_value from table(str_list('a', 'b', 'b') multiset union str_list('b', 'c'));
select column_value from table(str_list('a', 'b', 'b') multiset union distinct str_list('b', 'c'));
select column_value from table(str_list('a', 'b', 'b', 'c') multiset intersect all str_list('b', 'b', 'd'));
select column_value from table(str_list('a', 'b', 'b', 'c') multiset intersect distinct str_list('b', 'b', 'd'));
select column_value from table(str_list('a', 'b', 'b', 'c') multiset except str_list('b', 'd'));
select column_value from table(str_list('a', 'b', 'b', 'c') multiset except distinct str_list('b', 'd'));
select column_value from table(set(str_list('x', 'y', 'x')));
select case when str_list('b', 'a') submultiset of str_list('a', 'b', 'c') then 'yes' else 'no' end,
       case when str_list('b', 'b') submultiset str_list('a', 'b') then 'yes' else 'no' end
  from dual;
select cardinality(b.items multiset union all b.items) from bags b where id = 1;
