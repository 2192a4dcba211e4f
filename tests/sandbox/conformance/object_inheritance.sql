-- Type hierarchies in an order-entry shaped schema: a NOT FINAL customer
-- type, a corporate subtype that overrides a member function, an object table
-- and a relational column of the supertype holding both, TREAT, IS OF and
-- SYS_TYPEID, and what the dictionary shows of the hierarchy.
create type oi_customer_typ as object (
  customer_id number(6), cust_last_name varchar2(20),
  member function label return varchar2) not final;
/
create type body oi_customer_typ as
  member function label return varchar2 is
  begin
    return 'customer ' || cust_last_name;
  end;
end;
/
create type oi_corporate_typ under oi_customer_typ (
  account_mgr_id number(6),
  overriding member function label return varchar2) not final;
/
create type body oi_corporate_typ as
  overriding member function label return varchar2 is
  begin
    return 'corporate ' || cust_last_name || ' of ' || account_mgr_id;
  end;
end;
/
create type oi_shape_typ as object (id number) not final not instantiable;
/
create table oi_customers of oi_customer_typ;
insert into oi_customers values (oi_customer_typ(1, 'Adams'));
insert into oi_customers values (oi_corporate_typ(2, 'Baker', 145));
-- The supertype's columns hold the rows of both types.
select customer_id, cust_last_name from oi_customers order by customer_id;
select c.customer_id, treat(value(c) as oi_corporate_typ).account_mgr_id from oi_customers c
  order by c.customer_id;
select c.customer_id from oi_customers c where value(c) is of (oi_corporate_typ);
select c.customer_id from oi_customers c where value(c) is of (only oi_customer_typ);
select c.customer_id from oi_customers c where value(c) is of type (oi_customer_typ)
  order by c.customer_id;
select c.customer_id from oi_customers c where value(c) is not of (oi_corporate_typ);
select c.customer_id, sys_typeid(value(c)) from oi_customers c order by c.customer_id;
-- A member function runs the override of the row's own type.
select c.customer_id, c.label() from oi_customers c order by c.customer_id;
-- A relational column of the supertype keeps a subtype's value whole.
create table oi_orders (order_id number primary key, customer oi_customer_typ);
insert into oi_orders values (10, oi_corporate_typ(3, 'Clark', 147));
insert into oi_orders values (11, oi_customer_typ(4, 'Davis'));
insert into oi_orders values (12, null);
select o.order_id, o.customer.cust_last_name, treat(o.customer as oi_corporate_typ).account_mgr_id
  from oi_orders o order by o.order_id;
select o.order_id, o.customer.label() from oi_orders o where o.customer is not null
  order by o.order_id;
select count(*) from oi_orders o where o.customer is of (oi_corporate_typ);
-- A view over the subtype's rows.
create view oi_corporate_v as
  select c.customer_id, treat(value(c) as oi_corporate_typ).account_mgr_id account_mgr_id
  from oi_customers c where value(c) is of (only oi_corporate_typ);
select * from oi_corporate_v;
select status from user_objects where object_name = 'OI_CORPORATE_V';
-- A type declared NOT INSTANTIABLE has no instances.
select oi_shape_typ(1) from dual;
-- The dictionary's view of the hierarchy.
select type_name, final, instantiable, supertype_name, local_attributes, typeid from user_types
  where type_name like 'OI_C%' order by type_name;
select attr_name, inherited from user_type_attrs where type_name = 'OI_CORPORATE_TYP'
  order by attr_no;
select o.order_id, sys_typeid(o.customer) from oi_orders o order by o.order_id;
-- In PL/SQL a variable of the supertype holds a subtype's instance and runs
-- its override; a method the subtype does not override is inherited, and
-- (SELF AS supertype) calls the supertype's own.
create type oi_gold_typ under oi_corporate_typ (discount number(2),
  member function tier return varchar2);
/
create type body oi_gold_typ as
  member function tier return varchar2 is
  begin
    return (self as oi_customer_typ).label() || ' at ' || discount || '%';
  end;
end;
/
create table oi_log (seq number, text varchar2(100));
declare
  c oi_customer_typ := oi_corporate_typ(5, 'Evans', 150);
  g oi_gold_typ := oi_gold_typ(6, 'Fox', 151, 10);
begin
  insert into oi_log values (1, c.label());
  insert into oi_log values (2, g.label());
  insert into oi_log values (3, g.tier());
  c := g;
  insert into oi_log values (4, c.label());
  c := oi_customer_typ(7, 'Gray');
  insert into oi_log values (5, c.label());
end;
/
select seq, text from oi_log order by seq;
insert into oi_customers values (oi_gold_typ(8, 'Hill', 152, 5));
select c.customer_id, c.label(), sys_typeid(value(c)) from oi_customers c
  where value(c) is of (oi_corporate_typ) order by c.customer_id;
