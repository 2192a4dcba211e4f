-- DDL and the dictionary rows a release 19 server keeps for it: column
-- kinds, constraint states, ALTER TABLE, indexes, comments, identity and
-- virtual columns, index-organized and temporary tables, synonyms.

-- Column kinds: NUMBER(*,0) and INTEGER keep no precision, lengths given in
-- characters take four bytes each, national types count characters.
create table conf_kinds (
  whole number(*,0), plain number(*), i integer, si smallint, p number(8,2),
  vc varchar2(10 char), vb varchar2(10 byte), vd varchar2(10), cc char(3 char), cb char(3),
  nv nvarchar2(20), nc nchar(5), big varchar2(4000 char)
);
select column_name, data_type, data_length, data_precision, data_scale, char_length, char_used
  from user_tab_columns where table_name = 'CONF_KINDS' order by column_id;
insert into conf_kinds (vc) values ('äbcdefghij');
insert into conf_kinds (vb) values ('äbcdefghij');
insert into conf_kinds (vc) values ('abcdefghijk');
select vc from conf_kinds;

-- Constraint states written in CREATE TABLE.
create table conf_dept (
  deptno number(2) constraint conf_dept_pk primary key,
  dname varchar2(14) constraint conf_dept_uk unique deferrable initially deferred
);
create table conf_emp (
  empno number(4) constraint conf_emp_pk primary key
    using index (create unique index conf_emp_ix on conf_emp (empno)),
  ename varchar2(10) not null,
  sal number(7,2) constraint conf_emp_sal_ck check (sal > 0) disable,
  deptno number(2) constraint conf_emp_dept_fk references conf_dept on delete set null,
  mgr number(4),
  constraint conf_emp_mgr_fk foreign key (mgr) references conf_emp on delete cascade
    deferrable initially immediate enable novalidate
);
select constraint_name, constraint_type, status, validated, deferrable, deferred, generated,
       delete_rule, index_name
  from user_constraints where table_name in ('CONF_DEPT', 'CONF_EMP') and generated = 'USER NAME'
  order by constraint_name;
select constraint_type, status, generated, search_condition, search_condition_vc from user_constraints
  where table_name = 'CONF_EMP' and generated = 'GENERATED NAME';
select index_name, index_type, uniqueness from user_indexes
  where table_name in ('CONF_DEPT', 'CONF_EMP') order by index_name;
create table conf_bad (a number constraint conf_bad_ck check (a > 0) not deferrable initially deferred);

-- Enabling and disabling.
alter table conf_emp enable constraint conf_emp_sal_ck;
insert into conf_dept values (10, 'SALES');
insert into conf_emp values (1, 'KING', -5, 10, null);
alter table conf_emp disable constraint conf_emp_sal_ck;
insert into conf_emp values (1, 'KING', -5, 10, null);
alter table conf_emp enable validate constraint conf_emp_sal_ck;
alter table conf_emp enable novalidate constraint conf_emp_sal_ck;
select status, validated from user_constraints where constraint_name = 'CONF_EMP_SAL_CK';
alter table conf_emp modify constraint conf_emp_sal_ck disable;
select status, validated from user_constraints where constraint_name = 'CONF_EMP_SAL_CK';
alter table conf_emp rename constraint conf_emp_sal_ck to conf_emp_pay_ck;
select constraint_name, generated from user_constraints where constraint_name like 'CONF_EMP_PAY%';
alter table conf_emp drop constraint conf_emp_pay_ck;
alter table conf_emp drop constraint conf_emp_pay_ck;
alter table conf_emp enable constraint conf_emp_nosuch;
alter table conf_dept drop primary key;
alter table conf_dept disable primary key;
alter table conf_dept disable primary key cascade;
select constraint_name, status, index_name from user_constraints
  where constraint_name in ('CONF_DEPT_PK', 'CONF_EMP_DEPT_FK') order by constraint_name;
select count(*) from user_indexes where index_name = 'CONF_DEPT_PK';
alter table conf_dept enable primary key;
alter table conf_emp enable constraint conf_emp_dept_fk;
select constraint_name, status, index_name from user_constraints
  where constraint_name in ('CONF_DEPT_PK', 'CONF_EMP_DEPT_FK') order by constraint_name;
alter table conf_dept modify constraint conf_dept_uk initially immediate;
alter table conf_dept modify constraint conf_dept_pk initially deferred;
select constraint_name, deferrable, deferred from user_constraints
  where table_name = 'CONF_DEPT' order by constraint_name;

-- Constraints added to a table with rows.
alter table conf_emp add constraint conf_emp_name_uk unique (ename);
alter table conf_emp add constraint conf_emp_neg_ck check (empno < 0);
alter table conf_emp add (constraint conf_emp_pos_ck check (empno > 0));
alter table conf_emp add constraint conf_emp_pay_ck check (sal < 10000 or mgr is not null) disable;
select constraint_name, column_name, position from user_cons_columns
  where table_name = 'CONF_EMP' and constraint_name like '%_CK' order by 1, 2;
select constraint_name, status from user_constraints
  where table_name = 'CONF_EMP' and constraint_name like '%_CK' order by 1;

-- Columns modified.
alter table conf_emp modify (ename varchar2(20), sal default 100);
alter table conf_emp modify ename varchar2(2);
alter table conf_emp modify mgr not null;
alter table conf_emp modify ename not null;
alter table conf_emp modify deptno null;
alter table conf_emp modify nosuch number;
alter table conf_emp add (hired date default sysdate not null);
select column_name, data_type, data_length, nullable, data_default from user_tab_columns
  where table_name = 'CONF_EMP' order by column_id;
select empno, ename, sal from conf_emp;
alter table conf_emp modify hired null;
select nullable from user_tab_columns where table_name = 'CONF_EMP' and column_name = 'HIRED';

-- Function-based, descending and bitmap indexes.
create index conf_emp_fx on conf_emp (upper(ename), sal desc);
create bitmap index conf_emp_bx on conf_emp (deptno);
create index conf_emp_dx on conf_emp (mgr desc);
select index_name, index_type, funcidx_status from user_indexes
  where table_name = 'CONF_EMP' order by index_name;
select index_name, column_position, column_name, descend from user_ind_columns
  where table_name = 'CONF_EMP' order by index_name, column_position;
select index_name, column_position, column_expression from user_ind_expressions
  where table_name = 'CONF_EMP' order by index_name, column_position;
select ename from conf_emp where upper(ename) = 'KING';

-- Comments.
comment on table conf_emp is 'Employees';
comment on column conf_emp.ename is 'Employee name';
comment on column conf_emp.nosuch is 'x';
comment on table conf_none is 'x';
comment on column conf_none.a is 'x';
select table_name, table_type, comments from user_tab_comments
  where table_name like 'CONF\_%' escape '\' order by table_name;
select column_name, comments from user_col_comments
  where table_name = 'CONF_EMP' order by column_name;
comment on table conf_emp is '';
select comments from all_tab_comments where owner = 'SYSTEM' and table_name = 'CONF_EMP';

-- Identity and virtual columns.
create table conf_ids (
  id number generated always as identity (start with 100 increment by 10),
  qty number(5),
  price number(8,2),
  total number generated always as (qty * price) virtual
);
create table conf_codes (
  code number generated by default on null as identity,
  name varchar2(10)
);
create table conf_bad (a number generated always as identity, b number generated always as identity);
select table_name, column_name, nullable, identity_column, default_on_null from user_tab_columns
  where table_name in ('CONF_IDS', 'CONF_CODES') order by table_name, column_id;
select table_name, column_name, generation_type, substr(sequence_name, 1, 7), identity_options
  from user_tab_identity_cols where table_name like 'CONF%' order by table_name;
select constraint_type, search_condition from user_constraints where table_name = 'CONF_IDS';
select column_name, virtual_column, hidden_column, data_default from user_tab_cols
  where table_name = 'CONF_IDS' and column_name in ('QTY', 'TOTAL') order by column_id;
insert into conf_ids (qty, price) values (2, 3.5);
insert into conf_ids (qty, price) values (1, 1);
insert into conf_ids (id, qty) values (1, 1);
insert into conf_ids values (1, 1, 1, 1);
insert into conf_ids (qty, price, total) values (1, 1, 1);
update conf_ids set id = 5;
update conf_ids set total = 5;
update conf_ids set qty = 3 where id = 110;
select id, qty, total from conf_ids order by id;
insert into conf_codes (name) values ('a');
insert into conf_codes (code, name) values (null, 'b');
insert into conf_codes (code, name) values (7, 'c');
select code, name from conf_codes order by name;
create table conf_bad (a varchar2(10) generated always as identity);

-- Index-organized and temporary tables.
create table conf_iot (k varchar2(10) primary key, v number) organization index;
create table conf_iot2 (k number, v number, constraint conf_iot2_pk primary key (k))
  organization index;
create table conf_bad (v number) organization index;
create table conf_bad (k number primary key, v number as (k * 2)) organization index;
select table_name, iot_type, temporary, tablespace_name from user_tables
  where table_name like 'CONF_IOT%' order by table_name;
select index_name, index_type from user_indexes where table_name = 'CONF_IOT2';
select substr(index_name, 1, 12), index_type from user_indexes where table_name = 'CONF_IOT';
create global temporary table conf_gtt_t (a number) on commit delete rows;
create global temporary table conf_gtt_s (a number) on commit preserve rows;
select table_name, temporary, duration, tablespace_name from user_tables
  where table_name like 'CONF_GTT%' order by table_name;
insert into conf_gtt_t values (1);
insert into conf_gtt_s values (1);
select count(*) from conf_gtt_t;
commit;
select count(*) from conf_gtt_t;
select count(*) from conf_gtt_s;

-- Synonyms.
create synonym conf_staff for conf_emp;
create public synonym conf_pub_staff for system.conf_emp;
select count(*) from conf_staff;
insert into conf_staff (empno, ename) values (2, 'ADAMS');
select ename from conf_pub_staff order by ename;
create synonym conf_staff for conf_dept;
create or replace synonym conf_staff for conf_dept;
select dname from conf_staff;
create sequence conf_seq;
create synonym conf_seq_syn for conf_seq;
select conf_seq_syn.nextval from dual;
select conf_seq.currval from dual;
select synonym_name, table_owner, table_name from user_synonyms
  where synonym_name like 'CONF%' order by synonym_name;
select owner, synonym_name, table_owner, table_name from all_synonyms
  where synonym_name = 'CONF_PUB_STAFF';
drop synonym conf_staff;
drop synonym conf_staff;
drop public synonym conf_pub_staff;
drop public synonym conf_pub_staff;
select count(*) from conf_pub_staff;

-- Columns dropped with what depends on them.
create table conf_cols (a number constraint conf_cols_pk primary key, b varchar2(5) not null,
  c number, d number, constraint conf_cols_bc_uk unique (b, c), constraint conf_cols_ck check (c < d));
create index conf_cols_fx on conf_cols (upper(b));
comment on column conf_cols.b is 'bee';
insert into conf_cols values (1, 'x', 1, 2);
alter table conf_cols drop column b;
alter table conf_cols drop (b) cascade constraints;
alter table conf_cols drop column nosuch;
alter table conf_cols drop (a, c, d);
select column_name, column_id from user_tab_columns where table_name = 'CONF_COLS' order by column_id;
select constraint_name from user_constraints where table_name = 'CONF_COLS' order by 1;
select index_name from user_indexes where table_name = 'CONF_COLS' order by 1;
select count(*) from user_col_comments where table_name = 'CONF_COLS' and comments is not null;
select a, c, d from conf_cols;

-- Columns renamed in the table, its constraints, indexes and comments.
create table conf_names (a number constraint conf_names_pk primary key, b varchar2(5) not null);
create index conf_names_fx on conf_names (upper(b));
comment on column conf_names.b is 'bee';
insert into conf_names values (1, 'y');
alter table conf_names rename column b to bee;
alter table conf_names rename column a to bee;
alter table conf_names rename column nosuch to z;
select column_name, column_id from user_tab_columns where table_name = 'CONF_NAMES' order by 2;
select search_condition from user_constraints
  where table_name = 'CONF_NAMES' and constraint_type = 'C';
select column_name, position from user_cons_columns
  where table_name = 'CONF_NAMES' order by 1;
select column_expression from user_ind_expressions where index_name = 'CONF_NAMES_FX';
select column_name, comments from user_col_comments
  where table_name = 'CONF_NAMES' and comments is not null;
insert into conf_names (a, bee) values (2, null);
insert into conf_names (a, bee) values (1, 'z');
select a, bee from conf_names where upper(bee) = 'Y';

-- Tables renamed with their constraints, indexes and comments.
create table conf_old (id number constraint conf_old_pk primary key,
  parent_id number constraint conf_old_fk references conf_old, name varchar2(5) not null);
comment on table conf_old is 'renamed';
insert into conf_old values (1, null, 'a');
alter table conf_old rename to conf_new;
rename conf_new to conf_newer;
rename conf_nosuch to conf_x;
alter table conf_newer rename to conf_kinds;
select table_name, comments from user_tab_comments where table_name like 'CONF_NEW%';
select constraint_name, table_name from user_constraints
  where constraint_name like 'CONF_OLD%' order by 1;
select index_name, table_name from user_indexes where index_name = 'CONF_OLD_PK';
select count(*) from conf_old;
insert into conf_newer values (2, 9, 'b');
insert into conf_newer values (1, null, 'c');
insert into conf_newer values (3, 1, null);
select id, name from conf_newer order by id;

-- Tables made from a query: the query's columns, their NOT NULL, its rows.
create table conf_copy as select id, name from conf_newer where id = 1;
create table conf_copy2 as select id, count(*) from conf_newer group by id;
create table conf_copy3 as select id, id from conf_newer;
create table conf_copy4;
select column_name, data_type, data_precision, nullable from user_tab_columns
  where table_name = 'CONF_COPY' order by column_id;
select search_condition from user_constraints where table_name = 'CONF_COPY' order by 1;
select id, name from conf_copy;
insert into conf_copy (id) values (2);

-- DEFAULT ON NULL brings its own NOT NULL constraint.
create table conf_on_null (q integer default on null 1);
select nullable from user_tab_columns where table_name = 'CONF_ON_NULL';
select count(*) from user_constraints where table_name = 'CONF_ON_NULL' and constraint_type = 'C';

-- MODIFY ... NOT NULL makes the column mandatory in the dictionary, with a
-- system-named check; MODIFY ... NULL drops it again and only that column
-- becomes nullable.
create table conf_mandatory (a number, b number, c number);
alter table conf_mandatory modify a not null;
alter table conf_mandatory modify (b constraint conf_mandatory_b_nn not null);
select column_name, nullable from user_tab_columns where table_name = 'CONF_MANDATORY'
  order by column_id;
select constraint_type, search_condition, generated, status from user_constraints
  where table_name = 'CONF_MANDATORY' order by generated, search_condition;
select k.column_name from user_cons_columns k join user_constraints c
  on c.constraint_name = k.constraint_name
  where k.table_name = 'CONF_MANDATORY' and c.generated = 'GENERATED NAME';
insert into conf_mandatory (b) values (1);
alter table conf_mandatory modify a null;
select column_name, nullable from user_tab_columns where table_name = 'CONF_MANDATORY'
  order by column_id;
alter table conf_mandatory disable constraint conf_mandatory_b_nn;
select nullable from user_tab_columns where table_name = 'CONF_MANDATORY' and column_name = 'B';
