-- A schema shaped like the published human-resources and order-entry
-- samples, run as SYSTEM: objects whose names sort against the order they
-- need, so that a report replays only when its sections and the objects in
-- them stand in restore order.
create user app identified by app;
grant create session, create table, create view, create sequence, create procedure,
  create trigger, create type to app;
alter session set current_schema = APP;

create sequence employees_seq start with 300 increment by 1 nocache;

-- Object types: a subtype named before its supertype, and a type that
-- refers to another.
create or replace type customer_typ as object (
  customer_id  number(6),
  cust_name    varchar2(40)
) not final;
/
create or replace type order_typ as object (
  order_id   number(12),
  placed_by  ref customer_typ
);
/
create type corporate_customer_typ under customer_typ (
  company_name varchar2(40)
);
/

-- A child whose parent sorts after it.
create table regions (
  region_id    number constraint reg_id_pk primary key,
  region_name  varchar2(25)
);
create table countries (
  country_id    char(2) constraint country_c_id_pk primary key,
  country_name  varchar2(40),
  region_id     number constraint countr_reg_fk references regions (region_id)
);
-- Departments and employees refer to each other; employees to themselves.
create table departments (
  department_id    number(4) constraint dept_id_pk primary key,
  department_name  varchar2(30) constraint dept_name_nn not null,
  manager_id       number(6),
  country_id       char(2) constraint dept_country_fk references countries (country_id)
);
create table employees (
  employee_id    number(6) constraint emp_emp_id_pk primary key,
  first_name     varchar2(20),
  last_name      varchar2(25) constraint emp_last_name_nn not null,
  email          varchar2(25) constraint emp_email_nn not null,
  salary         number(8,2),
  department_id  number(4),
  manager_id     number(6),
  constraint emp_email_uk unique (email),
  constraint emp_salary_min check (salary > 0),
  constraint emp_dept_fk foreign key (department_id) references departments,
  constraint emp_manager_fk foreign key (manager_id) references employees
);
alter table departments add constraint dept_mgr_fk foreign key (manager_id)
  references employees (employee_id);
create index emp_name_ix on employees (last_name, first_name);
create index emp_department_ix on employees (department_id);
create table audit_log (
  logged_at    date,
  employee_id  number(6),
  action       varchar2(10)
);
-- A column of an object type: the table must come after the type.
create table accounts (
  account_id  number constraint acc_id_pk primary key,
  holder      customer_typ
);
comment on table employees is 'Staff, each with a department and a manager';
-- Invisible columns, one of them visible again: the replay must keep both
-- column orders and the values "*" does not show.
create table price_list (
  item_id     number(6) constraint price_list_pk primary key,
  list_price  number(8,2) invisible,
  item_name   varchar2(20),
  cost        number(8,2) invisible default 0,
  note        varchar2(10) invisible
);
alter table price_list modify (note visible);
-- An interval table whose rows made partitions of their own, with a local
-- index: the report writes its range partition alone, and the replayed rows
-- make the same intervals again.
create table salary_history (
  employee_id  number(6),
  changed      date,
  salary       number(8,2)
) partition by range (changed) interval (numtoyminterval(1, 'MONTH'))
  (partition history_start values less than (to_date('2024-01-01', 'YYYY-MM-DD')));
create index salary_history_ix on salary_history (employee_id) local;
insert into salary_history values (100, to_date('2023-06-01', 'YYYY-MM-DD'), 20000);
insert into salary_history values (100, to_date('2024-03-15', 'YYYY-MM-DD'), 24000);
insert into salary_history values (101, to_date('2024-07-01', 'YYYY-MM-DD'), 17000);
insert into price_list (item_id, list_price, item_name, cost, note)
  values (1, 9.5, 'Pen', 2, 'blue');
insert into price_list values (2, 'Ink', 'black');

insert into accounts values (1, null);
insert into regions values (1, 'Europe');
insert into regions values (2, 'Americas');
insert into countries values ('DE', 'Germany', 1);
insert into countries values ('UK', 'United Kingdom', 1);
insert into countries values ('US', 'United States of America', 2);
insert into departments values (10, 'Administration', null, 'US');
insert into departments values (20, 'Marketing', null, 'DE');
insert into departments values (30, 'Purchasing', null, 'UK');
-- Some managers have higher numbers than the employees who report to them.
insert into employees values (101, 'Neena', 'Kochhar', 'NKOCHHAR', 17000, 10, null);
insert into employees values (100, 'Steven', 'King', 'SKING', 24000, 10, null);
update employees set manager_id = 100 where employee_id = 101;
insert into employees values (201, 'Michael', 'Hartstein', 'MHARTSTE', 13000, 20, null);
insert into employees values (205, 'Shelley', 'Higgins', 'SHIGGINS', 12008, 20, 101);
update employees set manager_id = 205 where employee_id = 201;
insert into employees values (114, 'Den', 'Raphaely', 'DRAPHEAL', 11000, 30, 100);
insert into employees values (115, 'Alexander', 'Khoo', 'AKHOO', 3100, 30, 114);
update departments set manager_id = 100 where department_id = 10;
update departments set manager_id = 201 where department_id = 20;
update departments set manager_id = 114 where department_id = 30;
commit;

-- Stored code: a package that the trigger calls, a function, and a
-- procedure that uses the package.
create or replace function salary_band (p_salary number) return varchar2 is
begin
  if p_salary >= 15000 then
    return 'HIGH';
  end if;
  return 'NORMAL';
end salary_band;
/
create or replace package hr_audit as
  procedure log_change (p_employee_id number, p_action varchar2);
end hr_audit;
/
create or replace package body hr_audit as
  procedure log_change (p_employee_id number, p_action varchar2) is
  begin
    insert into audit_log (logged_at, employee_id, action)
      values (sysdate, p_employee_id, p_action);
  end log_change;
end hr_audit;
/
create or replace procedure adjust_salary (p_employee_id number, p_amount number) is
begin
  update employees set salary = salary + p_amount where employee_id = p_employee_id;
  hr_audit.log_change(p_employee_id, 'SALARY');
end adjust_salary;
/
create or replace type body order_typ as
  member function total return number is
  begin
    return 0;
  end;
end;
/

-- A view on a view: the outer one sorts first.
create view employee_details_view as
  select e.employee_id, e.first_name || ' ' || e.last_name as full_name, e.salary,
         d.department_name
    from employees e join departments d on d.department_id = e.department_id;
-- A view on a view on a schema function: the function comes first.
create view salary_bands_view as
  select employee_id, salary_band(salary) as band from employees;
create view band_counts_view as
  select band, count(*) as staff from salary_bands_view group by band;
create view department_staff_view as
  select department_name, count(*) as staff, sum(salary) as payroll
    from employee_details_view
   group by department_name;
-- Code that reads a view, and a view that calls it: a function is compiled
-- when it is created, so code and views stand in one order.
create or replace function band_staff (p_band varchar2) return number is
  n number;
begin
  select count(*) into n from salary_bands_view where band = p_band;
  return n;
end band_staff;
/
create view high_band_view as select band_staff('HIGH') as high_staff from dual;
create or replace package staff_types as
  subtype detail_row is employee_details_view%rowtype;
end staff_types;
/

-- Replayed rows must not fire this trigger: it stands last.
create or replace trigger employees_audit_trg
  after insert or update on employees
  for each row
begin
  hr_audit.log_change(:new.employee_id, 'CHANGE');
end;
/

-- Nor this compound trigger, which writes the history of the rows a
-- statement changed once the statement is done.
create or replace trigger employees_salary_trg
  for insert or update of salary on employees
  compound trigger
  type salary_rows is table of salary_history%rowtype index by pls_integer;
  changed salary_rows;
  after each row is
    n pls_integer := changed.count + 1;
  begin
    changed(n).employee_id := :new.employee_id;
    changed(n).changed := sysdate;
    changed(n).salary := :new.salary;
  end after each row;
  after statement is
  begin
    forall i in 1 .. changed.count
      insert into salary_history values (changed(i).employee_id, changed(i).changed,
        changed(i).salary);
  end after statement;
end employees_salary_trg;
/
