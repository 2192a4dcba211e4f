-- Constraints a release 19 server checks as each statement ends: rows of one
-- statement that refer to each other, cascades through several tables, SET
-- NULL into a NOT NULL column, rules of columns after a virtual column,
-- DEFAULT ON NULL and dates read in the session's format, and rules that
-- follow renamed columns and tables.
create table emp (
  id number constraint emp_pk primary key,
  mgr number constraint emp_mgr_fk references emp,
  name varchar2(10) not null);
insert into emp select 3, 2, 'c' from dual union all select 2, 1, 'b' from dual union all select 1, null, 'a' from dual;
select count(*) from emp;
insert into emp select 4, 9, 'd' from dual union all select 5, 4, 'e' from dual;
select count(*) from emp;
delete from emp where id = 1;
update emp set id = 10 where id = 2;
delete from emp where id in (1, 2, 3);
select count(*) from emp;
create table region (id number primary key);
create table country (
  id number primary key,
  region_id number not null constraint country_region_fk references region on delete cascade);
create table city (
  id number primary key,
  country_id number constraint city_country_fk references country on delete cascade);
insert into region values (1);
insert into region values (2);
insert into country values (10, 1);
insert into country values (20, 2);
insert into city values (100, 10);
insert into city values (101, 10);
insert into city values (200, 20);
delete from region where id = 1;
select id from city order by id;
create table owner_t (id number primary key);
create table item_t (
  id number primary key,
  owner_id number constraint item_owner_nn not null
    constraint item_owner_fk references owner_t on delete set null);
insert into owner_t values (1);
insert into item_t values (1, 1);
delete from owner_t where id = 1;
select count(*) from owner_t;
create table measure (
  id number primary key,
  twice number generated always as (qty * 2) virtual,
  qty number not null,
  taken date default on null sysdate,
  constraint measure_qty_ck check (qty > 0));
insert into measure (id, qty) values (1, 5);
update measure set qty = null where id = 1;
update measure set qty = -1 where id = 1;
insert into measure (id, qty, taken) values (2, 3, null);
select id, twice, qty, nvl2(taken, 'Y', 'N') from measure order by id;
alter session set nls_date_format = 'YYYY-MM-DD';
insert into measure (id, qty, taken) values (3, 1, '2021-02-03');
update measure set taken = '2022-12-31' where id = 2;
select id, to_char(taken, 'DD.MM.YYYY') from measure where id > 1 order by id;
alter table measure rename column qty to quantity;
update measure set quantity = 0 where id = 1;
update measure set quantity = null where id = 1;
alter table item_t rename to items;
insert into items values (2, 7);
alter table owner_t rename column id to owner_no;
insert into owner_t values (7);
insert into items values (2, 7);
delete from owner_t;
alter table items drop column owner_id;
delete from owner_t;
select count(*) from owner_t;
