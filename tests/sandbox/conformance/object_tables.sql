-- Object values in SQL, object tables and object views: what a release 19
-- server answers for constructors, attributes, NULL objects and the
-- dictionary rows of tables and views built on a type.
create type ot_addr_t as object (street varchar2(30), city varchar2(20));
/
create type ot_phones_t as varray(3) of varchar2(12);
/
create type ot_cust_t as object (id number(6), name varchar2(30), addr ot_addr_t);
/
create table ot_custs (id number primary key, c ot_cust_t, a ot_addr_t, p ot_phones_t);
insert into ot_custs values (1, ot_cust_t(1, 'Ann', ot_addr_t('Main', 'Oslo')),
  ot_addr_t('Elm', null), ot_phones_t('1', '2'));
insert into ot_custs values (2, null, ot_addr_t(null, null), null);
-- Attributes are read through the table's alias, nested ones too.
select x.c.name, x.c.addr.city, x.a.street from ot_custs x order by x.id;
select x.id from ot_custs x where x.c.addr = ot_addr_t('Main', 'Oslo');
select x.id from ot_custs x where x.c.addr.city = 'Oslo';
-- A NULL object is not an object whose attributes are NULL.
select count(*) from ot_custs where a is null;
select count(*) from ot_custs where c is null;
select count(*) from ot_custs where p is null;
select x.id from ot_custs x where x.a.street is null;
-- The elements of a collection are rows, in the collection's order.
select column_value from table(ot_phones_t('a', 'b', null));
select x.id, e.column_value from ot_custs x, table(x.p) e order by x.id, e.column_value;
select count(*) from ot_custs x, table(x.p);
select count(*) from table(ot_phones_t('1', '2', '3', '4'));
-- A query's rows become a collection, in the query's order.
select column_value from table(cast(multiset(select x.c.name from ot_custs x where x.c is not null)
  as ot_phones_t));
select count(*) from table(cast(multiset(select id from ot_custs where id > 5) as ot_phones_t));
select cast(multiset(select id from ot_custs) as ot_addr_t) from dual;
-- A constructor takes every attribute.
insert into ot_custs values (3, null, ot_addr_t('x'), null);
select count(*) from ot_custs;

-- An object table: its columns are the type's attributes.
create table ot_wh of ot_addr_t (city not null, constraint ot_wh_pk primary key (street))
  object identifier is primary key;
insert into ot_wh values ('S1', 'Rome');
insert into ot_wh (street, city) values ('S2', 'Pisa');
insert into ot_wh values ('S3', null);
insert into ot_wh values ('S1', 'Siena');
select street, city from ot_wh order by 1;
select w.city from ot_wh w where w.street = 'S2';
create table ot_places of ot_addr_t;
insert into ot_places values ('Via Roma', 'Turin');
insert into ot_places values (ot_addr_t('Via Po', 'Turin'));
select street from ot_places order by street;
rename ot_places to ot_sites;
select table_name from user_object_tables order by table_name;
rename ot_sites to ot_places;
select table_name, object_id_type, table_type_owner, table_type, nested from user_object_tables
  order by table_name;
select count(*) from user_tables where table_name in ('OT_WH', 'OT_PLACES');
select table_name, table_type from user_all_tables where table_name like 'OT\_%' escape '\'
  order by table_name;
select column_name, data_type, data_type_owner, column_id, hidden_column, virtual_column,
       internal_column_id
  from user_tab_cols where table_name = 'OT_PLACES' order by internal_column_id;
select column_name, column_id, nullable from user_tab_columns where table_name = 'OT_WH'
  order by column_id;
select constraint_name, constraint_type from user_constraints
  where table_name = 'OT_WH' and constraint_type = 'P';

-- An object view over relational rows.
create table ot_base (k number primary key, s varchar2(30), c varchar2(20));
insert into ot_base values (7, 'Elm', 'Bonn');
create view ot_addr_v of ot_addr_t with object identifier (street) as select s, c from ot_base;
select street, city from ot_addr_v;
select view_name, view_type_owner, view_type from user_views order by view_name;
select column_name from user_tab_columns where table_name = 'OT_ADDR_V' order by column_id;

-- Types that tables are built on stay; a dropped table takes its rows along.
drop type ot_addr_t;
drop table ot_wh;
drop table ot_places;
select count(*) from user_object_tables;

-- A RAW attribute is kept whole; character text taken as RAW is read as hex digits.
create type ot_tag_t as object (tag raw(4));
/
create table ot_tags (t ot_tag_t);
insert into ot_tags values (ot_tag_t(hextoraw('0aff')));
select rawtohex(x.t.tag) from ot_tags x;
select rawtohex('0aff') from dual;
select rawtohex('xy') from dual;
