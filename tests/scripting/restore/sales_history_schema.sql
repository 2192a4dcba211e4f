-- A sales-history warehouse in the shape of the published one, run as
-- SYSTEM: fact tables range-partitioned by date into many partitions with
-- local bitmap indexes, a range-list composite table, dimensions with check
-- constraints, compressed and NOLOGGING tables, an identity column, a
-- materialized view over the facts and a view over it, and rows that need
-- quoting or are larger than one literal can hold. Its values hold "&":
-- the command-line tool must not take them for substitution variables.
SET DEFINE OFF
create user SH identified by sh;
grant create session, create table, create view, create sequence, create procedure,
  create materialized view, create synonym, unlimited tablespace to SH;
alter session set current_schema = SH;

create table countries (
  country_id            number not null,
  country_iso_code      char(2 char) not null,
  country_name          varchar2(40) not null,
  country_subregion     varchar2(30) not null,
  country_region        varchar2(20) not null,
  country_total         varchar2(11) not null,
  constraint countries_pk primary key (country_id)
);
create table channels (
  channel_id            number not null,
  channel_desc          varchar2(20) not null,
  channel_class         varchar2(20),
  channel_total         varchar2(13) not null,
  constraint channels_pk primary key (channel_id),
  constraint channels_class_ck check (channel_class in ('Direct', 'Indirect', 'Others'))
);
create table times (
  time_id               date not null,
  day_name              varchar2(9) not null,
  day_number_in_week    number(1) not null,
  calendar_month_desc   varchar2(8) not null,
  calendar_quarter_desc char(7) not null,
  calendar_year         number(4) not null,
  end_of_cal_month      date not null,
  constraint times_pk primary key (time_id),
  constraint times_day_ck check (day_number_in_week between 1 and 7)
) pctfree 5 nologging;
create table customers (
  cust_id                number not null,
  cust_first_name        varchar2(20) not null,
  cust_last_name         varchar2(40) not null,
  cust_gender            char(1) not null,
  cust_year_of_birth     number(4) not null,
  cust_marital_status    varchar2(20),
  cust_street_address    varchar2(40) not null,
  cust_city              nvarchar2(30) not null,
  country_id             number not null,
  cust_credit_limit      number,
  cust_email             varchar2(50),
  cust_valid             varchar2(1),
  cust_initial           char(1 char),
  cust_title             nchar(4),
  constraint customers_pk primary key (cust_id),
  constraint customers_gender_ck check (cust_gender in ('F', 'M')),
  constraint customers_valid_ck check (cust_valid in ('I', 'A')),
  constraint customers_country_fk foreign key (country_id) references countries (country_id)
);
create table products (
  prod_id               number(6) not null,
  prod_name             varchar2(50) not null,
  prod_desc             varchar2(4000) not null,
  prod_category         varchar2(50) not null,
  prod_weight_class     number(3),
  prod_pack_size        varchar2(30),
  prod_list_price       number(8,2) not null,
  prod_min_price        number(8,2) not null,
  prod_status           varchar2(20) not null,
  prod_eff_from         date,
  prod_valid            varchar2(1),
  constraint products_pk primary key (prod_id),
  constraint products_price_ck check (prod_min_price <= prod_list_price),
  constraint products_valid_ck check (prod_valid in ('A', 'I'))
) compress;
create table promotions (
  promo_id              number(6) not null,
  promo_name            varchar2(30) not null,
  promo_category        varchar2(30) not null,
  promo_cost            number(10,2) not null,
  promo_begin_date      date not null,
  promo_end_date        date not null,
  constraint promo_pk primary key (promo_id),
  constraint promo_dates_ck check (promo_end_date >= promo_begin_date)
);

-- The facts: one partition for each quarter of three years, compressed.
create table sales (
  prod_id        number not null,
  cust_id        number not null,
  time_id        date not null,
  channel_id     number not null,
  promo_id       number not null,
  quantity_sold  number(10,2) not null,
  amount_sold    number(10,2) not null,
  constraint sales_product_fk foreign key (prod_id) references products (prod_id),
  constraint sales_customer_fk foreign key (cust_id) references customers (cust_id),
  constraint sales_time_fk foreign key (time_id) references times (time_id),
  constraint sales_channel_fk foreign key (channel_id) references channels (channel_id),
  constraint sales_promo_fk foreign key (promo_id) references promotions (promo_id)
) pctfree 5 nologging compress
partition by range (time_id) (
  partition sales_1998 values less than (to_date('01-JAN-1999', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q1_1999 values less than (to_date('01-APR-1999', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q2_1999 values less than (to_date('01-JUL-1999', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q3_1999 values less than (to_date('01-OCT-1999', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q4_1999 values less than (to_date('01-JAN-2000', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q1_2000 values less than (to_date('01-APR-2000', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q2_2000 values less than (to_date('01-JUL-2000', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')) nocompress,
  partition sales_q3_2000 values less than (to_date('01-OCT-2000', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q4_2000 values less than (to_date('01-JAN-2001', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q1_2001 values less than (to_date('01-APR-2001', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q2_2001 values less than (to_date('01-JUL-2001', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q3_2001 values less than (to_date('01-OCT-2001', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_q4_2001 values less than (to_date('01-JAN-2002', 'DD-MON-YYYY', 'NLS_DATE_LANGUAGE = American')),
  partition sales_future values less than (maxvalue)
);
create bitmap index sales_prod_bix on sales (prod_id) local nologging compute statistics;
create bitmap index sales_cust_bix on sales (cust_id) local nologging compute statistics;
create bitmap index sales_time_bix on sales (time_id) local nologging compute statistics;
create bitmap index sales_channel_bix on sales (channel_id) local nologging compute statistics;
create bitmap index sales_promo_bix on sales (promo_id) local nologging compute statistics;

create table costs (
  prod_id    number not null,
  time_id    date not null,
  promo_id   number not null,
  channel_id number not null,
  unit_cost  number(10,2) not null,
  unit_price number(10,2) not null,
  constraint costs_product_fk foreign key (prod_id) references products (prod_id),
  constraint costs_time_fk foreign key (time_id) references times (time_id)
) pctfree 5 nologging
partition by range (time_id) (
  partition costs_1999 values less than (to_date('2000-01-01', 'YYYY-MM-DD')),
  partition costs_h1_2000 values less than (to_date('2000-07-01', 'YYYY-MM-DD')),
  partition costs_h2_2000 values less than (to_date('2001-01-01', 'YYYY-MM-DD')),
  partition costs_h1_2001 values less than (to_date('2001-07-01', 'YYYY-MM-DD')),
  partition costs_h2_2001 values less than (to_date('2002-01-01', 'YYYY-MM-DD'))
);
create bitmap index costs_prod_bix on costs (prod_id) local;
create bitmap index costs_time_bix on costs (time_id) local;

-- Sales kept by year and, within each year, by the class of channel.
create table channel_sales_history (
  time_id     date not null,
  channel_id  number not null,
  amount_sold number(10,2)
)
partition by range (time_id)
subpartition by list (channel_id)
subpartition template (
  subpartition direct values (3, 9),
  subpartition indirect values (2, 4),
  subpartition other values (default)
) (
  partition csh_1999 values less than (to_date('2000-01-01', 'YYYY-MM-DD')),
  partition csh_2000 values less than (to_date('2001-01-01', 'YYYY-MM-DD')),
  partition csh_2001 values less than (to_date('2002-01-01', 'YYYY-MM-DD'))
);

-- Notes on promotions: an identity key and every kind of large or raw value.
create table promotion_notes (
  note_id     number generated always as identity (start with 10 increment by 5),
  promo_id    number(6) constraint promotion_notes_promo_fk references promotions,
  title       nvarchar2(60),
  body        clob,
  attachment  blob,
  checksum    raw(16),
  constraint promotion_notes_pk primary key (note_id)
);

comment on table sales is 'facts table, without a primary key; all rows are uniquely identified by the combination of all foreign keys';
comment on column sales.amount_sold is 'invoiced amount to the customer';
comment on table times is 'Time dimension table to support multiple hierarchies and materialized views';

insert into countries values (52790, 'US', 'United States of America', 'Northern America', 'Americas', 'World total');
insert into countries values (52776, 'DE', 'Germany', 'Western Europe', 'Europe', 'World total');
insert into countries values (52779, 'FR', 'France', 'Western Europe', 'Europe', 'World total');
insert into channels values (2, 'Partners', 'Others', 'Channel total');
insert into channels values (3, 'Direct Sales', 'Direct', 'Channel total');
insert into channels values (4, 'Internet', 'Indirect', 'Channel total');
insert into channels values (9, 'Tele Sales', 'Direct', 'Channel total');
insert into channels values (5, 'Catalog', null, 'Channel total');
insert into times values (to_date('1998-03-02', 'YYYY-MM-DD'), 'Monday', 1, '1998-03', '1998-01', 1998, to_date('1998-03-31', 'YYYY-MM-DD'));
insert into times values (to_date('1999-02-15', 'YYYY-MM-DD'), 'Monday', 1, '1999-02', '1999-01', 1999, to_date('1999-02-28', 'YYYY-MM-DD'));
insert into times values (to_date('1999-11-20', 'YYYY-MM-DD'), 'Saturday', 6, '1999-11', '1999-04', 1999, to_date('1999-11-30', 'YYYY-MM-DD'));
insert into times values (to_date('2000-05-31', 'YYYY-MM-DD'), 'Wednesday', 3, '2000-05', '2000-02', 2000, to_date('2000-05-31', 'YYYY-MM-DD'));
insert into times values (to_date('2001-12-31', 'YYYY-MM-DD'), 'Monday', 1, '2001-12', '2001-04', 2001, to_date('2001-12-31', 'YYYY-MM-DD'));
insert into times values (to_date('2003-01-01', 'YYYY-MM-DD'), 'Wednesday', 3, '2003-01', '2003-01', 2003, to_date('2003-01-31', 'YYYY-MM-DD'));
insert into customers values (1, 'Abigail', 'Kessel', 'F', 1946, 'married', '37 West Geneva Street', N'München', 52776, 1500, 'Kessel@company.example', 'A', 'A', N'Frau');
insert into customers values (2, 'Anne', 'O''Koch', 'F', 1957, null, '47 Toa Alta Road', N'Zürich', 52776, null, null, 'I', null, null);
insert into customers values (3, 'Ahmad', 'Emmerson', 'M', 1960, 'single', '3 Main St & 5th Ave', N'東京', 52790, 9000, 'ahmad@company.example', null, 'A', N'Mr');
insert into customers values (4, 'Éloïse', 'Brontë', 'F', 1983, 'single', 'Rue de l''Église', N'Besançon', 52779, 3000, null, 'A', 'É', N'Mme');
insert into products values (13, '5MP Telephoto Digital Camera', '5MP Telephoto Digital Camera', 'Photo', 1, 'P', 899.99, 899.99, 'STATUS', to_date('1998-01-01', 'YYYY-MM-DD'), 'A');
insert into products values (14, 'Pitching Machine & Batting Cage', 'Quotes ''single'' and "double",
a line break, a tab	and a trailing blank ', 'Baseball', 1, null, 999.99, 799.99, 'STATUS', null, 'I');
insert into products values (15, 'Ümlaut – “typographic” ™', 'Multibyte: 日本語のテキスト, Ελληνικά, русский', 'Other', null, null, 10, 0.5, 'STATUS', null, null);
-- Lines a script tool would take for its own, and a value as long as a
-- VARCHAR2 holds.
-- Written in pieces: as lines of the script they would end the statement.
insert into products values (16, 'Script lines', 'Ends with;' || chr(10) || chr(10) || '/'
  || chr(10) || '.' || chr(10) || '#hash' || chr(10) || '  -- not a comment', 'Other', null,
  null, 1, 1, 'STATUS', null, null);
insert into products values (17, 'Long', rpad('Long description ', 4000, 'x.'), 'Other', null,
  null, 1, 1, 'STATUS', null, null);
insert into promotions values (999, 'NO PROMOTION #', 'NO PROMOTION', 0, to_date('1998-01-01', 'YYYY-MM-DD'), to_date('9999-12-31', 'YYYY-MM-DD'));
insert into promotions values (33, 'post promotion #20-33', 'post', 300, to_date('1999-02-01', 'YYYY-MM-DD'), to_date('1999-03-01', 'YYYY-MM-DD'));
insert into sales values (13, 1, to_date('1998-03-02', 'YYYY-MM-DD'), 3, 999, 1, 1232.16);
insert into sales values (13, 2, to_date('1999-02-15', 'YYYY-MM-DD'), 4, 33, 2, 1799.98);
insert into sales values (14, 3, to_date('1999-11-20', 'YYYY-MM-DD'), 2, 999, 1, 999.99);
insert into sales values (15, 4, to_date('2000-05-31', 'YYYY-MM-DD'), 9, 999, 10, 100);
insert into sales values (15, 1, to_date('2001-12-31', 'YYYY-MM-DD'), 3, 999, 3.5, 35);
insert into sales values (14, 4, to_date('2003-01-01', 'YYYY-MM-DD'), 5, 999, 1, 999.99);
insert into costs values (13, to_date('1999-02-15', 'YYYY-MM-DD'), 33, 4, 700.5, 899.99);
insert into costs values (14, to_date('2000-05-31', 'YYYY-MM-DD'), 999, 9, 800, 999.99);
insert into costs values (15, to_date('2001-12-31', 'YYYY-MM-DD'), 999, 3, 5.25, 10);
insert into channel_sales_history values (to_date('1999-02-15', 'YYYY-MM-DD'), 4, 1799.98);
insert into channel_sales_history values (to_date('2000-05-31', 'YYYY-MM-DD'), 9, 100);
insert into channel_sales_history values (to_date('2001-12-31', 'YYYY-MM-DD'), 5, 35);
insert into promotion_notes (promo_id, title, body, attachment, checksum)
  values (33, N'Poster “Spring” – ½ price', 'Short note with a quote '' and an ampersand &amp; a line
break', hextoraw('00FF10'), hextoraw('0123456789ABCDEF0123456789ABCDEF'));
insert into promotion_notes (promo_id, title, body, attachment, checksum)
  values (999, null, null, null, null);
insert into promotion_notes (promo_id, title, body, attachment, checksum)
  values (999, N'Large', empty_clob(), empty_blob(), hextoraw('FF'));
commit;
-- The large note: more than 32 KB of text with multibyte characters and
-- line breaks, and 60,000 bytes.
declare
  text  clob := to_clob('Notes' || chr(10));
  bytes blob := to_blob(hextoraw('A5'));
begin
  for i in 1 .. 1000 loop
    text := text || 'Line ' || to_char(i, 'FM0000') || ': naïve café ''quoted'' & more' || chr(10);
    dbms_lob.writeappend(bytes, 60, hextoraw(rpad(substr('0123456789ABCDEF', mod(i, 16) + 1, 1), 120, 'A5')));
  end loop;
  update promotion_notes set body = text, attachment = bytes where title = 'Large';
  commit;
end;
/

create materialized view cal_month_sales_mv
  pctfree 0 nologging
  build immediate
  refresh force on demand
  enable query rewrite
as
select t.calendar_month_desc, sum(s.amount_sold) as dollars
  from sales s, times t
 where s.time_id = t.time_id
 group by t.calendar_month_desc;
create materialized view fweek_pscat_sales_mv
  build immediate
  refresh complete on demand
as
select t.calendar_year, p.prod_category, s.channel_id, sum(s.amount_sold) as dollars
  from sales s, times t, products p
 where s.time_id = t.time_id and s.prod_id = p.prod_id
 group by t.calendar_year, p.prod_category, s.channel_id;
create or replace view monthly_sales_view as
  select calendar_month_desc, dollars, round(dollars / 1000, 1) as thousands
    from cal_month_sales_mv;
-- A dimension, which the tool does not script: the run must say so.
create dimension times_dim
  level day is times.time_id
  level month is times.calendar_month_desc
  level year is times.calendar_year
  hierarchy cal_rollup (day child of month child of year)
  attribute day determines (day_name, day_number_in_week);
-- Comments on a materialized view and its columns.
comment on materialized view cal_month_sales_mv is 'Monthly sales';
comment on column cal_month_sales_mv.dollars is 'Dollars sold';
-- Indexes on container tables, which only the views' statements make.
create bitmap index fw_psc_s_mv_chan_bix on fweek_pscat_sales_mv (channel_id);
create index cal_month_mv_ix on cal_month_sales_mv (calendar_month_desc) nologging;
