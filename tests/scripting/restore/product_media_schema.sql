-- A product-media schema in the shape of the published one, run as SYSTEM:
-- press releases kept in a LONG column, some longer than an SQL literal
-- holds, and comments, a check, a default, a view and a function whose texts
-- hold lines that a command-line SQL tool takes for its own: a blank line, a
-- line of only "/" or ".", a line ending in ";" and one beginning with "#".
-- The script builds those texts from pieces, so that it runs in such a tool
-- itself.
create user PM identified by pm;
grant create session, create table, create view, create materialized view,
  create procedure, unlimited tablespace to PM;
alter session set current_schema = PM;

create table print_media (
  product_id      number(6) constraint printmedia_product_nn not null,
  ad_id           number(6) constraint printmedia_ad_nn not null,
  ad_header       varchar2(200),
  press_release   long,
  constraint printmedia_pk primary key (product_id, ad_id)
);

create table product_information (
  product_id            number(6) constraint product_information_pk primary key,
  product_name          varchar2(50),
  product_description   varchar2(2000)
);

begin
  execute immediate 'comment on table print_media is ''Print ads of the products.'
    || chr(10) || chr(10) || 'One row per ad;' || chr(10) || '/' || chr(10) || '.'
    || chr(10) || '#not a command' || chr(10) || '  indented, ''''quoted'''' & more'
    || chr(13) || chr(10) || 'after a CR LF''';
  execute immediate 'comment on column print_media.press_release is ''The release;'
    || chr(10) || '' || chr(10) || '  /  ''';
  execute immediate 'comment on column print_media.ad_header is ''#1 header''';
  execute immediate 'comment on table product_information is ''Products: ' || rpad('x', 1500, 'y.')
    || '''';
end;
/

insert into product_information values (1, 'Monitor 17"', 'A flat screen;');
insert into product_information values (2, 'Keyboard', 'Keys');
insert into print_media values (1, 1, 'Short release', 'Released today.');
-- Releases past the 4,000 bytes of a literal, with lines the tool would cut.
declare
  lv_release long;
begin
  lv_release := rpad('Line one of a long release;', 4500, ' more') || chr(10) || chr(10)
    || '/' || chr(10) || '.' || chr(10) || '#end';
  insert into print_media values (1, 2, 'Long release', lv_release);
  lv_release := rpad('Größer, naïve café ', 12000, 'ü€');
  insert into print_media values (2, 1, 'Multibyte release', lv_release);
  lv_release := rpad('z', 32760, 'z');
  insert into print_media values (2, 2, 'As long as PL/SQL holds', lv_release);
end;
/
-- A check and a default that keep such lines inside a literal.
begin
  execute immediate 'alter table print_media add (ad_footer varchar2(100) default ''See;'
    || chr(10) || chr(10) || '#back'')';
  execute immediate 'alter table print_media add constraint printmedia_header_ck check ('
    || 'ad_header is null or ad_header <> ''none;' || chr(10) || chr(10) || '/' || chr(10)
    || '#''' || chr(10) || ')';
end;
/
-- A division split over lines, a comment ending in ";", a blank line and a
-- literal with a line that begins with "#".
begin
  execute immediate 'create view product_price_view as select p.product_id,' || chr(10)
    || '       p.product_name -- the name;' || chr(10)
    || chr(10)
    || '     , 100' || chr(10) || '/' || chr(10) || '4 as quarter' || chr(10)
    || '     , ''#' || chr(10) || '#tag'' as tag' || chr(10)
    || '  from product_information p';
  execute immediate 'create or replace function unit_price(p_total number, p_count number)'
    || chr(10) || '  return number is' || chr(10)
    || 'begin' || chr(10)
    || '  -- divides;' || chr(10) || chr(10)
    || '  return p_total' || chr(10) || '/' || chr(10) || '  p_count;' || chr(10)
    || '  /* ends' || chr(10) || '.' || chr(10) || '#' || chr(10) || '*/' || chr(10)
    || 'end;';
end;
/
begin
  execute immediate 'create materialized view product_ads_mv' || chr(10)
    || '  build immediate' || chr(10) || '  refresh complete on demand' || chr(10)
    || 'as' || chr(10)
    || 'select p.product_id, p.product_name, count(*) ads -- per product;' || chr(10)
    || '  from product_information p, print_media m' || chr(10)
    || ' where m.product_id = p.product_id' || chr(10)
    || ' group by p.product_id, p.product_name';
  execute immediate 'comment on materialized view product_ads_mv is ''Ads per product;'
    || chr(10) || '.' || chr(10) || '''';
  execute immediate 'comment on column product_ads_mv.ads is ''Counted' || chr(10) || chr(10)
    || '#ads''';
end;
/
commit;
