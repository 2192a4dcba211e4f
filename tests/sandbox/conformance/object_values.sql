-- Object values read from the rows of object tables (VALUE) and "*" over
-- the rows of a collection (COLUMN_VALUE, or the attributes of its objects).
create type ov_addr_t as object (street varchar2(30), city varchar2(20));
/
create type ov_site_t as object (name varchar2(10), addr ov_addr_t);
/
create type ov_addrs_t as table of ov_addr_t;
/
create type ov_names_t as varray(5) of varchar2(10);
/
create table ov_places of ov_addr_t;
insert into ov_places values ('Via Roma', 'Turin');
insert into ov_places values ('Via Po', 'Turin');
create table ov_sites of ov_site_t;
insert into ov_sites values ('HQ', ov_addr_t('Main', 'Oslo'));
create table ov_copies (id number, a ov_addr_t);
-- VALUE(alias) is the row as an object of the table's type.
insert into ov_copies select 1, value(p) from ov_places p where p.street = 'Via Po';
insert into ov_copies select 2, s.addr from ov_sites s;
select x.id, x.a.street, x.a.city from ov_copies x order by x.id;
select count(*) from ov_places p where value(p) = ov_addr_t('Via Roma', 'Turin');
select count(*) from ov_sites s where value(s) = ov_site_t('HQ', ov_addr_t('Main', 'Oslo'));
select p.street from ov_copies c, ov_places p where c.a = value(p);
-- "*" over a collection's rows.
select * from table(ov_names_t('a', 'b'));
select t.* from table(ov_names_t('x')) t;
select * from table(ov_addrs_t(ov_addr_t('Main', 'Oslo'), ov_addr_t('Elm', null)));
create table ov_lists (id number, n ov_names_t);
insert into ov_lists values (1, ov_names_t('p', 'q'));
select l.id, e.* from ov_lists l, table(l.n) e order by 2;
select count(*) from (select * from table(ov_names_t('a', 'b', 'c')));
