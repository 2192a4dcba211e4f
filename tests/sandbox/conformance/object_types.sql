-- Object types, collections and the tables built on them: the dictionary
-- rows a release 19 server keeps for an order-entry style schema.

-- A forward declaration is an incomplete object type until it is defined.
create type oe_customer_t;
/
select type_name, typecode, attributes, incomplete from user_types where type_name = 'OE_CUSTOMER_T';

create or replace type oe_phone_list_t as varray(5) of varchar2(25);
/
create type oe_amounts_t as table of number;
/
create type oe_codes_t is table of varchar2(30 char);
/
create type oe_address_t as object (
  street   varchar2(40),
  city     varchar2(30),
  postcode varchar2(10),
  country  char(2)
) not final;
/
create type oe_intl_address_t under oe_address_t (region nvarchar2(20));
/
create type oe_customer_t as object (
  id        number(6),
  name      varchar2(40 char),
  address   oe_address_t,
  phones    oe_phone_list_t,
  since     date,
  member function display_name return varchar2,
  member procedure rename(new_name varchar2),
  static function make(id number, name varchar2) return oe_customer_t,
  constructor function oe_customer_t(id number) return self as result,
  map member function sort_key return number
);
/
create type body oe_customer_t as
  member function display_name return varchar2 is begin return name; end;
  member procedure rename(new_name varchar2) is begin name := new_name; end;
  static function make(id number, name varchar2) return oe_customer_t is
  begin return oe_customer_t(id, name, null, null, null); end;
  constructor function oe_customer_t(id number) return self as result is
  begin self.id := id; return; end;
  map member function sort_key return number is begin return id; end;
end;
/
create type oe_item_t as object (product_id number(6), quantity number(8), unit_price number(8,2));
/
create type oe_item_list_t as table of oe_item_t;
/
create type oe_customer_ref_list_t as table of ref oe_customer_t;
/

select type_name, typecode, attributes, methods, incomplete, final, instantiable,
       supertype_owner, supertype_name, local_attributes, local_methods
  from user_types order by type_name;
select type_name, attr_no, attr_name, attr_type_mod, attr_type_owner, attr_type_name, length,
       precision, scale, character_set_name, inherited, char_used
  from user_type_attrs order by type_name, attr_no;
select type_name, method_no, method_name, method_type, parameters, results, final,
       instantiable, overriding, inherited
  from user_type_methods order by type_name, method_no;
select type_name, coll_type, upper_bound, elem_type_mod, elem_type_owner, elem_type_name, length,
       precision, scale, character_set_name, nulls_stored, char_used
  from user_coll_types order by type_name;
select object_name, object_type, status from user_objects
  where object_name like 'OE\_%' escape '\' order by object_name, object_type;
select type, line, text from user_source where name = 'OE_AMOUNTS_T';
select count(*) from all_types where owner = 'SYSTEM' and type_name like 'OE\_%' escape '\';

-- Tables with object, VARRAY and nested table columns.
create table oe_orders (
  order_id  number(12) constraint oe_orders_pk primary key,
  customer  oe_customer_t,
  ship_to   oe_address_t,
  items     oe_item_list_t,
  amounts   oe_amounts_t,
  phones    oe_phone_list_t
) nested table items store as oe_order_items_nt
  nested table amounts store as oe_order_amounts_nt return as value;
select column_name, data_type, data_type_owner, nullable from user_tab_columns
  where table_name = 'OE_ORDERS' order by column_id;
select table_name, table_type_owner, table_type_name, parent_table_name, parent_table_column,
       storage_spec, return_type from user_nested_tables order by table_name;
select object_name, object_type from user_objects where object_name like 'OE\_ORDER\_%\_NT' escape '\'
  order by 1;
-- A nested table column needs its storage named; the clause needs a nested table column.
create table oe_bad1 (id number, items oe_item_list_t);
create table oe_bad2 (id number, ship_to oe_address_t) nested table ship_to store as oe_bad2_nt;
create table oe_bad3 (id number, a oe_unknown_t);

-- Types others are built on cannot be dropped or replaced.
drop type oe_address_t;
create or replace type oe_item_t as object (product_id number(6));
/
drop type oe_item_list_t;
drop table oe_orders;
select count(*) from user_nested_tables;
select count(*) from user_objects where object_name like 'OE\_ORDER\_%\_NT' escape '\';
drop type oe_item_list_t;
drop type oe_amounts_t;
select type_name from user_types where type_name in ('OE_ITEM_LIST_T', 'OE_AMOUNTS_T');
select count(*) from user_coll_types where type_name in ('OE_ITEM_LIST_T', 'OE_AMOUNTS_T');

-- A type naming a type that does not exist is kept with its error.
create type oe_broken_t as object (a oe_missing_t);
/
select object_name, status from user_objects where object_name = 'OE_BROKEN_T';
select line, position, text from user_errors where name = 'OE_BROKEN_T' and message_number = 201;
select count(*) from user_types where type_name = 'OE_BROKEN_T';
-- A subtype of a final type is an error too.
create type oe_final_t as object (a number);
/
create type oe_sub_t under oe_final_t (b number);
/
select text from user_errors where name = 'OE_SUB_T';
-- A type whose text does not parse past its name is kept with the syntax
-- error; a later definition that parses makes it valid.
create type oe_empty_t as object;
/
select object_name, status from user_objects where object_name = 'OE_EMPTY_T';
select line, position, message_number from user_errors where name = 'OE_EMPTY_T';
create or replace type oe_empty_t as object (a number);
/
select status from user_objects where object_name = 'OE_EMPTY_T';
