-- An order-entry schema with a type hierarchy, shaped like the published
-- one: a NOT FINAL customer type and a corporate subtype that overrides its
-- member function, an object table of the supertype holding instances of
-- both, a relational table whose supertype column holds a subtype's value,
-- and a view that reads the subtype's attributes through TREAT.
create user OI identified by oi;
grant create session, create table, create view, create sequence, create procedure, create trigger, create type, create synonym, unlimited tablespace to OI;
alter session set current_schema = OI;
create type customer_typ as object (
  customer_id    number(6),
  cust_last_name varchar2(20),
  credit_limit   number(9,2),
  member function label return varchar2
) not final;
/
create type body customer_typ as
  member function label return varchar2 is
  begin
    return 'customer ' || cust_last_name;
  end;
end;
/
create type corporate_customer_typ under customer_typ (
  account_mgr_id number(6),
  overriding member function label return varchar2
);
/
create type body corporate_customer_typ as
  overriding member function label return varchar2 is
  begin
    return 'corporate ' || cust_last_name;
  end;
end;
/
create table customers of customer_typ (
  constraint customers_pk primary key (customer_id)
);
create table orders (
  order_id number(12) constraint orders_pk primary key,
  customer customer_typ,
  total    number(8,2)
);
create view corporate_customers_v as
  select c.customer_id, c.cust_last_name,
         treat(value(c) as corporate_customer_typ).account_mgr_id account_mgr_id
    from customers c
   where value(c) is of (only corporate_customer_typ);
insert into customers values (customer_typ(101, 'Welles', 100));
insert into customers values (corporate_customer_typ(102, 'Pacino', 200.5, 145));
insert into customers values (customer_typ(103, 'O''Brien', null));
insert into orders values (2354, corporate_customer_typ(104, 'Taylor', 300, 147), 46257);
insert into orders values (2355, customer_typ(105, 'Adams', 10), 94513.5);
insert into orders values (2356, null, 1);
commit;
