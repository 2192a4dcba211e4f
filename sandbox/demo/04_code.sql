-- Demo database, part 4: sequences, views, stored code, triggers and grants.
connect demo/demo

create sequence departments_seq start with 100 increment by 10 nocache;
create sequence employees_seq start with 1000 cache 50;
create sequence orders_seq minvalue 1 maxvalue 999999 nocycle order;
create sequence invoice_seq increment by -1 start with 0 maxvalue 0 minvalue -1000 cycle cache 10;

create or replace view employee_directory as
select e.emp_id, e.first_name || ' ' || e.last_name full_name, e.email, d.dept_name
  from employees e, departments d
 where e.dept_id = d.dept_id;

create or replace view department_budget ("dept_name", "head_count", budget_class) as
select d.dept_name,
       (select count(*) from employees e where e.dept_id = d.dept_id),
       decode(sign(nvl(d.budget, 0) - 100000), 1, 'LARGE', 'SMALL')
  from departments d;

create or replace view open_orders as
select order_id, customer, order_date from orders where status in ('NEW', 'PAID')
with read only;

create or replace procedure raise_salary (p_emp_id in number, p_percent in number) is
begin
  update employees
     set salary = salary * (1 + p_percent / 100)
   where emp_id = p_emp_id;
end raise_salary;
/

create or replace function employee_count (p_dept_id in number) return number is
  v_count number;
begin
  select count(*) into v_count from employees where dept_id = p_dept_id;
  return v_count;
end employee_count;
/

create or replace package hr_util as
  -- Salary and staffing helpers of the demo schema.
  c_max_raise constant number := 20;
  function full_name (p_emp_id in number) return varchar2;
  procedure move_employee (p_emp_id in number, p_dept_id in number);
end hr_util;
/

create or replace package body hr_util as
  function full_name (p_emp_id in number) return varchar2 is
    v_name varchar2(60);
  begin
    select first_name || ' ' || last_name into v_name from employees where emp_id = p_emp_id;
    return v_name;
  end full_name;

  procedure move_employee (p_emp_id in number, p_dept_id in number) is
  begin
    update employees set dept_id = p_dept_id where emp_id = p_emp_id;
  end move_employee;
end hr_util;
/

create or replace type address_t as object (
  street   varchar2(60),
  city     varchar2(40),
  zip      varchar2(10),
  member function label return varchar2
);
/

create or replace type body address_t as
  member function label return varchar2 is
  begin
    return street || ', ' || zip || ' ' || city;
  end label;
end;
/

create or replace trigger employees_bi
before insert on employees
for each row
when (new.hire_date is null)
begin
  :new.hire_date := sysdate;
end;
/

create or replace trigger orders_status_au
after update of status on orders
referencing old as previous new as current_row
for each row
begin
  if :current_row.status = 'CANCELLED' then
    delete from order_lines where order_id = :current_row.order_id;
  end if;
end;
/

create or replace trigger departments_audit
after insert or update or delete on departments
begin
  null;
end;
/

create or replace trigger products_price_bu
before update of unit_price on products
for each row
when (new.unit_price < 0)
begin
  raise_application_error(-20001, 'A price cannot be negative');
end;
/

alter trigger products_price_bu disable;

grant select on employees to demo_reader;
grant select on employee_directory to demo_reader;
grant select, insert, update on orders to report with grant option;
grant select on order_lines to report;
grant execute on hr_util to report;
grant select on orders_seq to demo_clerk;
grant all on products to demo_clerk;
