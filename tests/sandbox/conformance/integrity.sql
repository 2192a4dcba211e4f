-- Integrity a release 19 server keeps: foreign keys on INSERT, UPDATE and
-- DELETE with their delete rules, checks, disabled constraints, deferred
-- constraints at COMMIT, and ENABLE VALIDATE over rows that break a rule.
create table conf_parent (id number constraint conf_parent_pk primary key, name varchar2(10));
create table conf_cascade (
  id number primary key,
  parent_id number constraint conf_cascade_fk references conf_parent on delete cascade);
create table conf_setnull (
  id number primary key,
  parent_id number constraint conf_setnull_fk references conf_parent on delete set null);
create table conf_restrict (
  id number primary key,
  parent_id number constraint conf_restrict_fk references conf_parent,
  qty number constraint conf_restrict_qty_ck check (qty between 1 and 9));
insert into conf_parent values (1, 'one');
insert into conf_parent values (2, 'two');
insert into conf_parent values (3, 'three');
insert into conf_cascade values (10, 1);
insert into conf_cascade values (11, 4);
insert into conf_cascade values (12, null);
insert into conf_setnull values (20, 1);
insert into conf_restrict values (30, 2, 5);
insert into conf_restrict values (31, 2, 10);
update conf_restrict set parent_id = 4 where id = 30;
update conf_restrict set parent_id = 3 where id = 30;
update conf_parent set id = 5 where id = 3;
update conf_parent set id = 6 where id = 2;
delete from conf_parent where id = 3;
delete from conf_parent where id = 1;
select id, parent_id from conf_cascade order by id;
select id, parent_id from conf_setnull order by id;
delete from conf_parent;
select count(*) from conf_parent;
commit;

-- Checks added later are kept; disabled constraints are not.
alter table conf_restrict add constraint conf_restrict_id_ck check (id < 100);
insert into conf_restrict values (150, null, 1);
alter table conf_restrict disable constraint conf_restrict_id_ck;
alter table conf_restrict disable constraint conf_restrict_fk;
insert into conf_restrict values (150, 99, 1);
alter table conf_restrict enable constraint conf_restrict_id_ck;
alter table conf_restrict enable constraint conf_restrict_fk;
select constraint_name, status, validated from user_constraints
  where table_name = 'CONF_RESTRICT' and generated = 'USER NAME' order by constraint_name;
delete from conf_restrict where id = 150;
alter table conf_restrict enable constraint conf_restrict_fk;
alter table conf_restrict enable constraint conf_restrict_id_ck;
select constraint_name, status, validated from user_constraints
  where table_name = 'CONF_RESTRICT' and generated = 'USER NAME' order by constraint_name;

-- Keys enabled over duplicates.
create table conf_keys (a number, b number, c varchar2(1),
  constraint conf_keys_pk primary key (a) disable,
  constraint conf_keys_uk unique (b) disable);
insert into conf_keys values (1, 1, 'x');
insert into conf_keys values (1, 1, 'y');
alter table conf_keys enable constraint conf_keys_pk;
alter table conf_keys enable constraint conf_keys_uk;
select constraint_name, status, index_name from user_constraints
  where table_name = 'CONF_KEYS' order by constraint_name;
delete from conf_keys where c = 'y';
alter table conf_keys enable constraint conf_keys_pk;
alter table conf_keys enable constraint conf_keys_uk;
select constraint_name, status, index_name from user_constraints
  where table_name = 'CONF_KEYS' order by constraint_name;
insert into conf_keys values (1, 2, 'z');
insert into conf_keys values (2, 1, 'z');
insert into conf_keys values (null, 3, 'z');
update conf_keys set a = null;

-- A table that refers to itself, emptied by one statement.
create table conf_staff (id number primary key, boss number constraint conf_staff_boss_fk
  references conf_staff on delete cascade);
insert into conf_staff values (1, null);
insert into conf_staff values (2, 1);
insert into conf_staff values (3, 2);
delete from conf_staff where id = 2;
select id, boss from conf_staff order by id;
create table conf_tree (id number primary key, up number constraint conf_tree_fk
  references conf_tree);
insert into conf_tree values (1, null);
insert into conf_tree values (2, 1);
delete from conf_tree where id = 1;
delete from conf_tree;
select count(*) from conf_tree;

-- Deferred constraints are checked at COMMIT, and a failure rolls back.
create table conf_later (id number primary key,
  parent_id number constraint conf_later_fk references conf_parent deferrable initially deferred,
  code varchar2(5) constraint conf_later_uk unique deferrable initially deferred);
insert into conf_parent values (7, 'seven');
commit;
insert into conf_later values (1, 8, 'a');
insert into conf_parent values (8, 'eight');
commit;
select id, parent_id from conf_later;
insert into conf_later values (2, 9, 'b');
insert into conf_later values (3, 7, 'c');
commit;
select id from conf_later order by id;
select count(*) from conf_parent where id = 8;
insert into conf_later values (4, 7, 'a');
update conf_later set code = 'z' where id = 1;
commit;
select id, code from conf_later order by id;
set constraints all immediate;
insert into conf_later values (5, 9, 'q');
set constraint conf_later_fk deferred;
insert into conf_later values (5, 9, 'q');
set constraints all immediate;
rollback;
set constraint conf_parent_pk deferred;
select id from conf_later order by id;

-- TRUNCATE runs no delete rule and refuses a parent of enabled foreign keys.
create table conf_top (id number primary key);
create table conf_sub (top_id number constraint conf_sub_fk references conf_top on delete cascade);
insert into conf_top values (1);
insert into conf_sub values (1);
truncate table conf_top;
alter table conf_sub disable constraint conf_sub_fk;
truncate table conf_top;
select count(*) from conf_sub;
insert into conf_staff values (4, null);
insert into conf_staff values (5, 4);
truncate table conf_staff;
select count(*) from conf_staff;
