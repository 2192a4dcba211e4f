-- Queries of published schemas' views: what runs alone also runs inside
-- CREATE VIEW (grouping sets, the old outer-join marker, JSON_TABLE with
-- nested paths, LISTAGG ON OVERFLOW), and GROUPING_ID names a column
-- without the qualifier its GROUP BY gives it.
create table v_store (id number, name varchar2(10), web varchar2(20), street varchar2(20));
create table v_order (id number, store_id number, status varchar2(10), total number);
insert into v_store values (1, 'Online', 'www.example.com', null);
insert into v_store values (2, 'Town', null, '1 Market St');
insert into v_order values (1, 1, 'OPEN', 10);
insert into v_order values (2, 1, 'PAID', 20);
insert into v_order values (3, 2, 'PAID', 5);
create view v_store_totals as
  select case grouping_id ( name, status )
           when 1 then 'STORE'
           when 2 then 'STATUS'
           when 3 then 'ALL'
         end total_kind,
         s.name, coalesce ( s.web, s.street ) address, o.status, sum ( o.total ) sales
  from   v_store s
  join   v_order o
  on     s.id = o.store_id
  group  by grouping sets (
    ( s.name, coalesce ( s.web, s.street ) ),
    ( s.name, coalesce ( s.web, s.street ), o.status ),
    o.status,
    ()
  );
select * from v_store_totals order by total_kind nulls first, name nulls first, status nulls first;
create view v_rollup as select o.status, count(*) n from v_order o group by rollup (o.status);
select * from v_rollup order by status nulls last;
select status, grouping(status) g from v_order o group by rollup (o.status) order by 2, 1;
create view v_outer as select s.name, o.id from v_store s, v_order o
  where s.id = o.store_id(+) and o.status(+) = 'OPEN';
select * from v_outer order by name;
create view v_names as
  select listagg ( s.name, ', ' on overflow truncate '...' with count )
           within group ( order by s.id ) names
  from v_store s;
select * from v_names;
create table v_product (name varchar2(10), details varchar2(200) check (details is json));
insert into v_product values ('Shirt', '{"reviews":[{"rating":8,"review":"Nice"},{"rating":9,"review":"Great"}]}');
insert into v_product values ('Hat', '{"reviews":[]}');
create view v_reviews as
  select p.name, r.rating, r.review, r.n
  from   v_product p,
         json_table (
           p.details, '$'
           columns (
             nested path '$.reviews[*]'
             columns (
               n for ordinality,
               rating integer path '$.rating',
               review varchar2(4000) path '$.review'
             )
           )
         ) r;
select * from v_reviews order by name, n;
select j.a, j.x from json_table('[{"a":1,"b":[{"x":5}]},{"a":2}]', '$[*]'
  columns (a number path '$.a', nested '$.b[*]' columns (x number path '$.x'))) j order by 1;
