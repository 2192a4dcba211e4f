-- ALTER TABLE changes the physical attributes the dictionary shows; a
-- partitioned table keeps LOGGING and PCTFREE on its partitions, but its
-- row movement is the table's. CREATE MATERIALIZED VIEW takes them for its
-- container table.
create table ta_n (id number) nologging;
alter table ta_n logging;
select logging, pct_free, compression, row_movement from user_tables where table_name = 'TA_N';
alter table ta_n nologging pctfree 30 initrans 3 compress;
alter table ta_n enable row movement;
select logging, pct_free, ini_trans, compression, compress_for, row_movement from user_tables
  where table_name = 'TA_N';
alter table ta_n nocompress disable row movement;
select logging, pct_free, compression, compress_for, row_movement from user_tables
  where table_name = 'TA_N';
alter table ta_n pctfree 120;
alter table ta_n bogus;
create table ta_p (id number) partition by range (id)
  (partition p1 values less than (10), partition p2 values less than (maxvalue));
alter table ta_p nologging;
alter table ta_p enable row movement;
select logging, pct_free, row_movement from user_tables where table_name = 'TA_P';
create materialized view ta_mv pctfree 0 initrans 4 nologging build immediate refresh complete
  as select id from ta_n;
select pct_free, ini_trans, logging from user_tables where table_name = 'TA_MV';
