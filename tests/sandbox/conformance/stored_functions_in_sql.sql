-- User and package functions called in SQL: select lists, WHERE, INSERT
-- VALUES, UPDATE SET and views; errors of functions raised in a query.

create table fsql_items (id number, name varchar2(30), price number);
insert into fsql_items values (1, 'pen', 2);
insert into fsql_items values (2, 'book', 15);
insert into fsql_items values (3, 'lamp', 40);

create or replace function fsql_tax (p_price number, p_rate number default 20) return number is
begin
  return round(p_price * p_rate / 100, 2);
end;
/
create or replace package fsql_pkg as
  function label (p_name varchar2) return varchar2;
  function label (p_id number, p_name varchar2) return varchar2;
  function calls return number;
  function ratio (a number, b number) return number;
end;
/
create or replace package body fsql_pkg as
  g_calls number := 0;
  function label (p_name varchar2) return varchar2 is
  begin
    g_calls := g_calls + 1;
    return upper(p_name);
  end;
  function label (p_id number, p_name varchar2) return varchar2 is
  begin
    return p_id || ':' || label(p_name);
  end;
  function calls return number is
  begin
    return g_calls;
  end;
  function ratio (a number, b number) return number is
  begin
    return a / b;
  end;
end;
/
select id, fsql_tax(price), fsql_tax(price, 10), fsql_pkg.label(name) from fsql_items order by id;
select name from fsql_items where fsql_tax(price) > 2 order by id;
select system.fsql_pkg.label(id, name) from fsql_items where id = 2;
select fsql_pkg.calls from dual;
insert into fsql_items values (4, fsql_pkg.label('desk'), fsql_tax(100));
update fsql_items set name = fsql_pkg.label(9, name) where id = 1;
select id, name, price from fsql_items order by id;

create or replace view fsql_priced as
  select id, name, price + fsql_tax(price) gross from fsql_items;
select id, gross from fsql_priced order by id;

create synonym fsql_vat for fsql_tax;
select fsql_vat(50) from dual;

select fsql_pkg.ratio(1, 0) from dual;
select fsql_missing(1) from dual;
select fsql_pkg.label(1, 2, 3) from dual;
