-- An order-entry schema with object types, shaped like the published one:
-- customers with an address object and a phone VARRAY, product tags in a
-- nested table, an object table of
-- warehouses whose identifiers are their keys, an object table of categories
-- with system-made identifiers, and an object view of the inventory's
-- relational rows.
create user OT identified by ot;
grant create session, create table, create view, create sequence, create procedure, create trigger, create type, create synonym, unlimited tablespace to OT;
alter session set current_schema = OT;
create type cust_address_typ as object (
  street_address varchar2(40),
  postal_code    varchar2(10),
  city           varchar2(30),
  state_province varchar2(10),
  country_id     char(2)
);
/
create type phone_list_typ as varray(5) of varchar2(25);
/
create type tag_list_typ as table of varchar2(20);
/
create type warehouse_typ as object (
  warehouse_id   number(3),
  warehouse_name varchar2(35),
  location_id    number(4)
);
/
create type category_typ as object (
  category_name        varchar2(50),
  category_description varchar2(1000),
  category_id          number(2),
  opened               date
);
/
create type inventory_typ as object (
  product_id    number(6),
  warehouse     warehouse_typ,
  quantity      number(8)
);
/
create table customers (
  customer_id     number(6) constraint customers_pk primary key,
  cust_first_name varchar2(20) constraint cust_fname_nn not null,
  cust_last_name  varchar2(20),
  cust_address    cust_address_typ,
  credit_limit    number(9,2)
);
create table customer_phones (
  customer_id   number(6) constraint customer_phones_fk references customers,
  phone_numbers phone_list_typ
);
create table product_tags (
  product_id number(6) primary key,
  tags       tag_list_typ
) nested table tags store as product_tags_nt;
create table warehouses of warehouse_typ (
  warehouse_name not null,
  constraint warehouses_pk primary key (warehouse_id)
) object identifier is primary key;
create table categories of category_typ (
  category_name default 'unnamed',
  constraint categories_id_u unique (category_id)
);
create index categories_name_i on categories (category_name);
create table inventories (
  product_id   number(6),
  warehouse_id number(3) constraint inventories_wh_fk references warehouses,
  quantity     number(8),
  constraint inventories_pk primary key (product_id, warehouse_id)
);
create table stock_moves (
  move_id  number(6) primary key,
  moved    inventory_typ
);
create view inventory_ov of inventory_typ with object identifier (product_id) as
  select i.product_id, warehouse_typ(w.warehouse_id, w.warehouse_name, w.location_id), i.quantity
    from inventories i, warehouses w where w.warehouse_id = i.warehouse_id;
insert into customers values (101, 'Constantin', 'Welles',
  cust_address_typ('514 W Superior St', '46901', 'Kokomo', 'IN', 'US'), 100);
insert into customers values (102, 'Harrison', 'Pacino',
  cust_address_typ('2515 Bloyd Ave', null, 'Indianapolis', 'IN', 'US'), 200.5);
insert into customers values (103, 'Manisha', 'O''Brien', null, null);
insert into customers values (104, 'Harry', 'Taylor', cust_address_typ(null, null, null, null, null), 1);
insert into customer_phones values (101, phone_list_typ('+1 317 123 4104', '+1 317 123 4111'));
insert into customer_phones values (102, phone_list_typ());
insert into customer_phones values (103, null);
insert into product_tags values (3108, tag_list_typ('cable', 'it''s', null));
insert into warehouses values (1, 'Southlake, Texas', 1400);
insert into warehouses (warehouse_id, warehouse_name, location_id) values (2, 'San Francisco', null);
insert into categories (category_id, category_name, category_description, opened)
  values (10, 'hardware', 'it''s hardware', date '2001-03-04');
insert into categories (category_id, category_description) values (11, null);
insert into inventories values (3108, 1, 122);
insert into inventories values (3124, 2, 8);
insert into stock_moves values (1, inventory_typ(3108, warehouse_typ(1, 'Southlake, Texas', 1400), 5));
insert into stock_moves values (2, inventory_typ(3124, null, null));
insert into stock_moves values (3, null);
commit;
