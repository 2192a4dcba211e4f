-- Invisible columns: the dictionary rows a release 19 server keeps for them,
-- "*" and INSERT without a column list leaving them out, and ALTER TABLE
-- MODIFY ... VISIBLE | INVISIBLE.

create table conf_inv (a number, b number invisible, c varchar2(5));
select column_name, column_id, hidden_column, user_generated
  from user_tab_cols where table_name = 'CONF_INV' order by internal_column_id;
select column_name from user_tab_cols
  where table_name = 'CONF_INV' order by column_id nulls first, column_name desc nulls last;
-- all_tab_columns leaves out only the columns the server generated.
select column_name, column_id from user_tab_columns
  where table_name = 'CONF_INV' order by column_name;
insert into conf_inv values (1, 'x');
insert into conf_inv values (2, 20, 'y');
insert into conf_inv (a, b, c) values (3, 30, 'z');
select * from conf_inv order by a;
select a, b from conf_inv order by a;
select t.*, t.b from conf_inv t order by t.a;
-- "*" is taken per table of the FROM clause.
create table conf_inv_other (a number, d number);
insert into conf_inv_other values (3, 300);
select * from conf_inv i, conf_inv_other o where i.a = o.a;
select o.*, i.* from conf_inv i join conf_inv_other o on i.a = o.a;
select * from (select a, b from conf_inv where a = 3);
insert into conf_inv select 4, 'w' from dual;
select count(*) from conf_inv where b is null;

-- Visible again: the column comes last in column order and in "*".
alter table conf_inv modify (b visible);
select column_name, column_id, hidden_column from user_tab_cols
  where table_name = 'CONF_INV' order by internal_column_id;
select * from conf_inv where a = 3;
insert into conf_inv values (5, 'v', 50);
select a, b, c from conf_inv where a = 5;
alter table conf_inv modify c invisible;
select column_name, column_id from user_tab_columns
  where table_name = 'CONF_INV' order by column_name;
select * from conf_inv where a = 5;

-- At least one column stays visible; temporary tables have none invisible.
create table conf_inv_none (a number invisible);
alter table conf_inv modify (b invisible);
alter table conf_inv modify (a invisible);
select column_name, column_id from user_tab_columns
  where table_name = 'CONF_INV' order by column_name;
create global temporary table conf_inv_tmp (a number, b number invisible);
create global temporary table conf_inv_tmp (a number);
alter table conf_inv_tmp add (b number invisible);

-- An added column and a virtual one may be invisible too.
alter table conf_inv_other add (e number invisible);
create table conf_inv_virt (a number, twice invisible as (a * 2));
insert into conf_inv_virt values (4);
select * from conf_inv_virt;
select a, twice from conf_inv_virt;
select column_name, column_id, hidden_column, virtual_column from user_tab_cols
  where table_name in ('CONF_INV_OTHER', 'CONF_INV_VIRT') order by table_name, internal_column_id;
