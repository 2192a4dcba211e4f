-- Partitioned tables and indexes with the dictionary rows a release 19
-- server keeps for them; index options, table compression, row movement
-- and LOB storage.

-- Range partitions: bounds as written, MAXVALUE, the key columns; a
-- partitioned table has no tablespace of its own.
create table conf_orders (
  order_id number(10) not null constraint conf_orders_pk primary key,
  region varchar2(2), amount number
) partition by range (order_id) (
  partition p_low values less than (1000) tablespace users,
  partition p_high values less than (maxvalue)
);
select table_name, partitioning_type, subpartitioning_type, partition_count,
       partitioning_key_count, status
  from user_part_tables where table_name = 'CONF_ORDERS';
select partition_name, high_value, partition_position, composite
  from user_tab_partitions where table_name = 'CONF_ORDERS' order by partition_position;
select tablespace_name from user_tab_partitions
  where table_name = 'CONF_ORDERS' and partition_name = 'P_LOW';
select name, object_type, column_name, column_position
  from user_part_key_columns where name = 'CONF_ORDERS';
select partitioned, tablespace_name, pct_free from user_tables where table_name = 'CONF_ORDERS';

-- A key above the last bound, or NULL, has no partition to go to.
create table conf_years (y number, v varchar2(5)) partition by range (y) (
  partition y1 values less than (2000), partition y2 values less than (2010));
insert into conf_years values (1999, 'a');
insert into conf_years values (2010, 'b');
insert into conf_years values (null, 'c');
select y, v from conf_years;

-- Range bounds must give every key column a value.
create table conf_two_keys (a number, b number) partition by range (a, b) (
  partition p values less than (1));
create table conf_two_keys (a number, b number) partition by range (a, b) (
  partition p values less than (1, 2, 3));
create table conf_no_key (a number) partition by range (b) (partition p values less than (1));

-- List partitions, one of them for NULL.
create table conf_regions (code varchar2(2), name varchar2(20)) partition by list (code) (
  partition r_east values ('NY', 'NJ'), partition r_west values ('CA'),
  partition r_none values (null));
insert into conf_regions values ('NY', 'x');
insert into conf_regions values ('TX', 'y');
insert into conf_regions values (null, 'z');
select partition_name, high_value from user_tab_partitions
  where table_name = 'CONF_REGIONS' order by partition_position;
create table conf_any_region (code varchar2(2)) partition by list (code) (
  partition r_ca values ('CA'), partition r_rest values (default));
insert into conf_any_region values ('TX');
select count(*) from conf_any_region;

-- Hash partitions the server names.
create table conf_hashed (id number) partition by hash (id) partitions 4;
select partitioning_type, partition_count from user_part_tables where table_name = 'CONF_HASHED';
select count(*) from user_tab_partitions
  where table_name = 'CONF_HASHED' and partition_name like 'SYS_P%';

-- An interval table takes rows beyond its last bound.
create table conf_monthly (id number, d date) partition by range (d)
  interval (numtoyminterval(1, 'MONTH'))
  (partition m0 values less than (to_date('2024-01-01', 'YYYY-MM-DD')));
select partitioning_type, partition_count from user_part_tables where table_name = 'CONF_MONTHLY';
insert into conf_monthly values (1, to_date('2030-05-01', 'YYYY-MM-DD'));
select count(*) from conf_monthly;
-- Each row beyond the last bound makes the partition of its month, in bound
-- order, with a name of the server's; NULL has no partition.
create index conf_monthly_ix on conf_monthly (d) local;
insert into conf_monthly values (2, to_date('2030-05-17', 'YYYY-MM-DD'));
insert into conf_monthly values (3, to_date('2024-02-29 13:00', 'YYYY-MM-DD HH24:MI'));
insert into conf_monthly values (4, to_date('2023-02-28', 'YYYY-MM-DD'));
insert into conf_monthly values (5, null);
select partition_position, high_value, interval from user_tab_partitions
  where table_name = 'CONF_MONTHLY' and interval = 'YES' order by partition_position;
select count(*) from user_tab_partitions
  where table_name = 'CONF_MONTHLY' and partition_name like 'SYS_P%';
select partition_position, interval from user_ind_partitions
  where index_name = 'CONF_MONTHLY_IX' order by partition_position;
select object_type, count(*) from user_objects
  where object_name in ('CONF_MONTHLY', 'CONF_MONTHLY_IX') group by object_type
  order by object_type;
create table conf_steps (n number) partition by range (n) interval (100)
  (partition s0 values less than (100));
insert into conf_steps values (250);
insert into conf_steps values (99);
insert into conf_steps values (1000.5);
insert into conf_steps values (1e300);
select high_value, interval from user_tab_partitions
  where table_name = 'CONF_STEPS' order by partition_position;
create table conf_weeks (d date) partition by range (d)
  interval (numtodsinterval(7, 'DAY'))
  (partition w0 values less than (to_date('2024-01-01', 'YYYY-MM-DD')));
insert into conf_weeks values (to_date('2024-01-09', 'YYYY-MM-DD'));
select high_value from user_tab_partitions
  where table_name = 'CONF_WEEKS' and interval = 'YES';
create table conf_days (d date) partition by range (d) interval (interval '1' day)
  (partition d0 values less than (to_date('2024-01-01', 'YYYY-MM-DD')));
insert into conf_days values (to_date('2024-01-03 10:00', 'YYYY-MM-DD HH24:MI'));
select high_value from user_tab_partitions
  where table_name = 'CONF_DAYS' and interval = 'YES';

-- Composite partitions from a subpartition template.
create table conf_comp (id number, kind varchar2(1)) partition by range (id)
  subpartition by list (kind)
  subpartition template (subpartition s_a values ('A'), subpartition s_other values (default))
  (partition c1 values less than (100), partition c2 values less than (200));
select subpartitioning_type, def_subpartition_count, subpartitioning_key_count
  from user_part_tables where table_name = 'CONF_COMP';
select partition_name, composite, subpartition_count from user_tab_partitions
  where table_name = 'CONF_COMP' order by partition_position;
select partition_name, subpartition_name, high_value, subpartition_position
  from user_tab_subpartitions where table_name = 'CONF_COMP'
  order by partition_name, subpartition_position;
select name, column_name from user_subpart_key_columns where name = 'CONF_COMP';

-- Local indexes follow the table's partitions, by their names unless given.
create index conf_orders_region_ix on conf_orders (region) local;
select locality, alignment, partitioning_type, partition_count
  from user_part_indexes where index_name = 'CONF_ORDERS_REGION_IX';
select partition_name, high_value, status from user_ind_partitions
  where index_name = 'CONF_ORDERS_REGION_IX' order by partition_position;
create index conf_orders_amount_ix on conf_orders (order_id, amount) local
  (partition ix_low, partition ix_high);
select partition_name from user_ind_partitions
  where index_name = 'CONF_ORDERS_AMOUNT_IX' order by partition_position;
select alignment from user_part_indexes where index_name = 'CONF_ORDERS_AMOUNT_IX';
-- A local index on a composite table has the table's subpartitions too.
create index conf_comp_kind_ix on conf_comp (kind) local;
select partition_name, composite, subpartition_count, status from user_ind_partitions
  where index_name = 'CONF_COMP_KIND_IX' order by partition_position;
select partition_name, subpartition_name, high_value, subpartition_position, status
  from user_ind_subpartitions where index_name = 'CONF_COMP_KIND_IX'
  order by partition_position, subpartition_position;
select object_type, count(*) from user_objects where object_name = 'CONF_COMP_KIND_IX'
  group by object_type order by object_type;
create index conf_bad_ix on conf_orders (amount) local (partition only_one);
create unique index conf_bad_ix on conf_orders (region, amount) local;
create table conf_plain (id number, code varchar2(10), note varchar2(20));
create index conf_bad_ix on conf_plain (id) local;

-- Global partitioned indexes: prefixed, with MAXVALUE at the top.
create index conf_amount_gx on conf_orders (amount) global partition by range (amount) (
  partition g1 values less than (100), partition g2 values less than (maxvalue));
select locality, alignment from user_part_indexes where index_name = 'CONF_AMOUNT_GX';
select partitioned, tablespace_name from user_indexes where index_name = 'CONF_AMOUNT_GX';
select partition_name, high_value from user_ind_partitions
  where index_name = 'CONF_AMOUNT_GX' order by partition_position;
create index conf_bad_gx on conf_orders (region, amount) global partition by range (region) (
  partition g1 values less than ('M'));
create index conf_bad_gx on conf_orders (amount, region) global partition by range (region) (
  partition g1 values less than (maxvalue));

-- A table partitioned by reference takes its parent's partitions.
create table conf_lines (
  order_id number(10) not null, line_no number,
  constraint conf_lines_fk foreign key (order_id) references conf_orders (order_id)
) partition by reference (conf_lines_fk);
select partitioning_type, partition_count, ref_ptn_constraint_name
  from user_part_tables where table_name = 'CONF_LINES';
select partition_name from user_tab_partitions
  where table_name = 'CONF_LINES' order by partition_position;
create table conf_loose_lines (
  order_id number(10), constraint conf_loose_fk foreign key (order_id) references conf_orders
) partition by reference (conf_loose_fk);

-- Index options: REVERSE, NOLOGGING, COMPRESS n, INVISIBLE.
create index conf_plain_rev on conf_plain (id) reverse;
create index conf_plain_nolog on conf_plain (code, note) nologging compress 1;
create index conf_plain_inv on conf_plain (note) invisible;
select index_name, index_type, logging, compression, prefix_length, visibility
  from user_indexes where table_name = 'CONF_PLAIN' order by index_name;

-- Table compression and row movement.
create table conf_packed (id number) compress enable row movement;
create table conf_oltp (id number) row store compress advanced;
select table_name, compression, compress_for, row_movement from user_tables
  where table_name in ('CONF_PACKED', 'CONF_OLTP', 'CONF_PLAIN') order by table_name;

-- LOB storage: SECUREFILE unless told otherwise.
create table conf_docs (id number, body clob, pic blob)
  lob (pic) store as basicfile conf_docs_pic (disable storage in row chunk 16384);
select column_name, substr(segment_name, 1, 7), securefile, in_row, chunk
  from user_lobs where table_name = 'CONF_DOCS' and column_name = 'BODY';
select column_name, segment_name, securefile, in_row, chunk
  from user_lobs where table_name = 'CONF_DOCS' and column_name = 'PIC';
create table conf_bad_docs (id number, body clob) lob (nosuch) store as securefile;

-- Partitions and subpartitions are objects of their own under the name of
-- their table or index; a table or partition made of subpartitions has no
-- data object of its own.
select object_name, subobject_name, object_type from user_objects
  where object_name in ('CONF_ORDERS', 'CONF_COMP', 'CONF_ORDERS_REGION_IX')
  order by object_name, object_type, subobject_name;
select object_type, count(*) from user_objects
  where object_name in ('CONF_ORDERS', 'CONF_COMP', 'CONF_AMOUNT_GX')
  and data_object_id is null group by object_type order by object_type;

-- Dropping a table forgets its partitions and LOBs.
drop table conf_lines;
drop table conf_orders cascade constraints;
drop table conf_docs;
select count(*) from user_tab_partitions where table_name in ('CONF_ORDERS', 'CONF_LINES');
select count(*) from user_part_indexes where table_name = 'CONF_ORDERS';
select count(*) from user_lobs where table_name = 'CONF_DOCS';
select count(*) from user_objects
  where object_name in ('CONF_ORDERS', 'CONF_LINES', 'CONF_ORDERS_REGION_IX');
drop index conf_comp_kind_ix;
select count(*) from user_ind_subpartitions;
select count(*) from user_objects where object_name = 'CONF_COMP_KIND_IX';

-- A partition's own LOGGING or COMPRESS clause, either way, overrides its
-- table's; a subpartition takes its partition's.
create table conf_facts (d date, n number) nologging compress
  partition by range (d) (
    partition f1 values less than (date '2000-01-01'),
    partition f2 values less than (date '2001-01-01') logging nocompress,
    partition f3 values less than (maxvalue) compress);
select table_name, def_logging, def_compression from user_part_tables
  where table_name = 'CONF_FACTS';
select partition_name, logging, compression, compress_for from user_tab_partitions
  where table_name = 'CONF_FACTS' order by partition_position;
create table conf_split (d date, k number)
  partition by range (d) subpartition by list (k)
  subpartition template (subpartition a values (1), subpartition b values (default)) (
    partition s1 values less than (date '2000-01-01') nologging,
    partition s2 values less than (maxvalue));
select subpartition_name, logging from user_tab_subpartitions
  where table_name = 'CONF_SPLIT' order by partition_name, subpartition_position;
