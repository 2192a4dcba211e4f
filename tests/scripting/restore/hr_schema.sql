-- A human-resources schema in the shape of the published one, run as
-- SYSTEM: indexes made before the keys that use them, an index-organized
-- table, departments and employees that refer to each other, a disabled
-- statement trigger that keeps DML to office hours, a row trigger that calls
-- a procedure, a read-only view of joins, comments, a synonym, and grants
-- both made to another user and received from one.
create user HR identified by hr;
grant create session, create table, create view, create sequence, create procedure,
  create trigger, create synonym, unlimited tablespace to HR;
create user HR_READER identified by reader;
grant create session to HR_READER;
create user PAYROLL identified by payroll;
grant create session, create table, unlimited tablespace to PAYROLL;
create table PAYROLL.pay_grades (
  grade      varchar2(2) constraint pay_grades_pk primary key,
  low_pay    number(8,2),
  high_pay   number(8,2)
);
insert into PAYROLL.pay_grades values ('A', 1000, 2999);
insert into PAYROLL.pay_grades values ('B', 3000, 5999);
insert into PAYROLL.pay_grades values ('C', 6000, 24999);
grant select on PAYROLL.pay_grades to HR;
alter session set current_schema = HR;

create table regions (
  region_id    number constraint region_id_nn not null,
  region_name  varchar2(25)
);
create unique index reg_id_pk on regions (region_id);
alter table regions add (constraint reg_id_pk primary key (region_id));

create table countries (
  country_id    char(2) constraint country_id_nn not null,
  country_name  varchar2(40),
  region_id     number,
  constraint country_c_id_pk primary key (country_id)
) organization index;
alter table countries add (constraint countr_reg_fk foreign key (region_id)
  references regions (region_id));

create table locations (
  location_id     number(4),
  street_address  varchar2(40),
  postal_code     varchar2(12),
  city            varchar2(30) constraint loc_city_nn not null,
  state_province  varchar2(25),
  country_id      char(2)
);
create unique index loc_id_pk on locations (location_id);
alter table locations add (constraint loc_id_pk primary key (location_id),
  constraint loc_c_id_fk foreign key (country_id) references countries (country_id));
create sequence locations_seq start with 3300 increment by 100 maxvalue 9900 nocache nocycle;

create table departments (
  department_id    number(4),
  department_name  varchar2(30) constraint dept_name_nn not null,
  manager_id       number(6),
  location_id      number(4)
);
create unique index dept_id_pk on departments (department_id);
alter table departments add (constraint dept_id_pk primary key (department_id),
  constraint dept_loc_fk foreign key (location_id) references locations (location_id));
create sequence departments_seq start with 280 increment by 10 maxvalue 9990 nocache nocycle;

create table jobs (
  job_id      varchar2(10),
  job_title   varchar2(35) constraint job_title_nn not null,
  min_salary  number(6),
  max_salary  number(6)
);
create unique index job_id_pk on jobs (job_id);
alter table jobs add (constraint job_id_pk primary key (job_id));

create table employees (
  employee_id     number(6),
  first_name      varchar2(20),
  last_name       varchar2(25) constraint emp_last_name_nn not null,
  email           varchar2(25) constraint emp_email_nn not null,
  phone_number    varchar2(20),
  hire_date       date constraint emp_hire_date_nn not null,
  job_id          varchar2(10) constraint emp_job_nn not null,
  salary          number(8,2),
  commission_pct  number(2,2),
  manager_id      number(6),
  department_id   number(4),
  constraint emp_salary_min check (salary > 0),
  constraint emp_email_uk unique (email)
);
create unique index emp_emp_id_pk on employees (employee_id);
alter table employees add (constraint emp_emp_id_pk primary key (employee_id),
  constraint emp_dept_fk foreign key (department_id) references departments,
  constraint emp_job_fk foreign key (job_id) references jobs (job_id),
  constraint emp_manager_fk foreign key (manager_id) references employees);
alter table departments add (constraint dept_mgr_fk foreign key (manager_id)
  references employees (employee_id));
create sequence employees_seq start with 207 increment by 1 nocache nocycle;

create table job_history (
  employee_id    number(6) constraint jhist_employee_nn not null,
  start_date     date constraint jhist_start_date_nn not null,
  end_date       date constraint jhist_end_date_nn not null,
  job_id         varchar2(10) constraint jhist_job_nn not null,
  department_id  number(4),
  constraint jhist_date_interval check (end_date > start_date)
);
create unique index jhist_emp_id_st_date_pk on job_history (employee_id, start_date);
alter table job_history add (constraint jhist_emp_id_st_date_pk
  primary key (employee_id, start_date),
  constraint jhist_job_fk foreign key (job_id) references jobs,
  constraint jhist_emp_fk foreign key (employee_id) references employees,
  constraint jhist_dept_fk foreign key (department_id) references departments);

create or replace view emp_details_view
  (employee_id, job_id, manager_id, department_id, location_id, country_id, first_name,
   last_name, salary, commission_pct, department_name, job_title, city, state_province,
   country_name, region_name)
as select e.employee_id, e.job_id, e.manager_id, e.department_id, d.location_id,
          l.country_id, e.first_name, e.last_name, e.salary, e.commission_pct,
          d.department_name, j.job_title, l.city, l.state_province, c.country_name,
          r.region_name
     from employees e, departments d, jobs j, locations l, countries c, regions r
    where e.department_id = d.department_id
      and d.location_id = l.location_id
      and l.country_id = c.country_id
      and c.region_id = r.region_id
      and j.job_id = e.job_id
with read only;

-- A view over what another schema granted.
create or replace view emp_grades_view as
  select e.employee_id, g.grade
    from employees e join PAYROLL.pay_grades g on e.salary between g.low_pay and g.high_pay;

comment on table regions is 'Regions table that contains region numbers and names.';
comment on column regions.region_id is 'Primary key of regions table.';
comment on table countries is 'country table. Contains 25 rows. References with locations table.';
comment on column countries.country_id is 'Primary key of countries table.';
comment on table locations is 'Locations table that contains specific address of a specific office, warehouse, and/or production site of a company.';
comment on column locations.city is 'A not null column that shows city where an office, warehouse, or production site of a company is located. ';
comment on table departments is 'Departments table that shows details of departments where employees work.';
comment on column departments.manager_id is 'Manager_id of a department. Foreign key to employee_id column of employees table. The manager_id column of the employee table references this column.';
comment on table jobs is 'jobs table with job titles and salary ranges.';
comment on table employees is 'employees table. Contains 107 rows. References with departments, jobs, job_history tables. Contains a self reference.';
comment on column employees.commission_pct is 'Commission percentage of the employee; Only employees in sales department elgible for commission percentage';
comment on table job_history is 'Table that stores job history of the employees. If an employee changes departments within the job or changes jobs within the department, new rows get inserted into this table with old job information of the employee.';

-- Rows: departments come first without their managers, as the published
-- script loads them with the cycle's key disabled.
insert into regions values (1, 'Europe');
insert into regions values (2, 'Americas');
insert into regions values (3, 'Asia');
insert into regions values (4, 'Middle East and Africa');
insert into countries values ('CA', 'Canada', 2);
insert into countries values ('DE', 'Germany', 1);
insert into countries values ('UK', 'United Kingdom', 1);
insert into countries values ('US', 'United States of America', 2);
insert into countries values ('ZW', 'Zimbabwe', 4);
insert into countries values ('XX', 'Nowhere', null);
insert into locations values (1700, '2004 Charade Rd', '98199', 'Seattle', 'Washington', 'US');
insert into locations values (1800, '147 Spadina Ave', 'M5V 2L7', 'Toronto', 'Ontario', 'CA');
insert into locations values (2400, '8204 Arthur St', null, 'London', null, 'UK');
insert into locations values (2700, 'Schwanthalerstr. 7031', '80925', 'Munich', 'Bavaria', 'DE');
alter table departments disable constraint dept_mgr_fk;
insert into departments values (10, 'Administration', 200, 1700);
insert into departments values (20, 'Marketing', 201, 1800);
insert into departments values (40, 'Human Resources', 203, 2400);
insert into departments values (70, 'Public Relations', 204, 2700);
insert into departments values (90, 'Executive', 100, 1700);
insert into departments values (120, 'Treasury', null, 1700);
insert into jobs values ('AD_PRES', 'President', 20080, 40000);
insert into jobs values ('AD_VP', 'Administration Vice President', 15000, 30000);
insert into jobs values ('AD_ASST', 'Administration Assistant', 3000, 6000);
insert into jobs values ('MK_MAN', 'Marketing Manager', 9000, 15000);
insert into jobs values ('MK_REP', 'Marketing Representative', 4000, 9000);
insert into jobs values ('HR_REP', 'Human Resources Representative', 4000, 9000);
insert into jobs values ('PR_REP', 'Public Relations Representative', 4500, 10500);
insert into jobs values ('SA_REP', 'Sales Representative', 6000, 12008);
insert into employees values (100, 'Steven', 'King', 'SKING', '515.123.4567',
  to_date('17-06-2003', 'dd-mm-yyyy'), 'AD_PRES', 24000, null, null, 90);
insert into employees values (101, 'Neena', 'Kochhar', 'NKOCHHAR', '515.123.4568',
  to_date('21-09-2005', 'dd-mm-yyyy'), 'AD_VP', 17000, null, 100, 90);
insert into employees values (102, 'Lex', 'De Haan', 'LDEHAAN', '515.123.4569',
  to_date('13-01-2001', 'dd-mm-yyyy'), 'AD_VP', 17000, null, 100, 90);
insert into employees values (200, 'Jennifer', 'Whalen', 'JWHALEN', '515.123.4444',
  to_date('17-09-2003', 'dd-mm-yyyy'), 'AD_ASST', 4400, null, 101, 10);
insert into employees values (201, 'Michael', 'Hartstein', 'MHARTSTE', '515.123.5555',
  to_date('17-02-2004', 'dd-mm-yyyy'), 'MK_MAN', 13000, null, 100, 20);
insert into employees values (202, 'Pat', 'Fay', 'PFAY', '603.123.6666',
  to_date('17-08-2005', 'dd-mm-yyyy'), 'MK_REP', 6000, null, 201, 20);
insert into employees values (203, 'Susan', 'Mavris', 'SMAVRIS', '515.123.7777',
  to_date('07-06-2002', 'dd-mm-yyyy'), 'HR_REP', 6500, null, 101, 40);
insert into employees values (204, 'Hermann', 'Baer', 'HBAER', '515.123.8888',
  to_date('07-06-2002', 'dd-mm-yyyy'), 'PR_REP', 10000, null, 101, 70);
-- A manager with a higher number than those who report to him, and an
-- employee in no department.
insert into employees values (178, 'Kimberely', 'Grant', 'KGRANT', '011.44.1644.429263',
  to_date('24-05-2007', 'dd-mm-yyyy'), 'SA_REP', 7000, .15, null, null);
insert into employees values (206, 'William', 'Gietz', 'WGIETZ', '515.123.8181',
  to_date('07-06-2002', 'dd-mm-yyyy'), 'AD_ASST', 8300, null, null, 10);
update employees set manager_id = 206 where employee_id = 178;
alter table departments enable constraint dept_mgr_fk;
insert into job_history values (102, to_date('13-01-2001', 'dd-mm-yyyy'),
  to_date('24-07-2006', 'dd-mm-yyyy'), 'MK_REP', 20);
insert into job_history values (200, to_date('17-09-1995', 'dd-mm-yyyy'),
  to_date('17-06-2001', 'dd-mm-yyyy'), 'AD_ASST', 90);
insert into job_history values (201, to_date('17-02-2004', 'dd-mm-yyyy'),
  to_date('19-12-2007', 'dd-mm-yyyy'), 'MK_REP', null);
commit;

create index emp_department_ix on employees (department_id);
create index emp_job_ix on employees (job_id);
create index emp_manager_ix on employees (manager_id);
create index emp_name_ix on employees (last_name, first_name);
create index dept_location_ix on departments (location_id);
create index jhist_job_ix on job_history (job_id);
create index jhist_employee_ix on job_history (employee_id);
create index jhist_department_ix on job_history (department_id);
create index loc_city_ix on locations (city);
create index loc_state_province_ix on locations (state_province);
create index loc_country_ix on locations (country_id);

create or replace procedure secure_dml
is
begin
  if to_char(sysdate, 'HH24:MI') not between '08:00' and '18:00'
        or to_char(sysdate, 'DY') in ('SAT', 'SUN') then
	raise_application_error(-20205,
		'You may only make changes during normal office hours');
  end if;
end secure_dml;
/
create or replace trigger secure_employees
  before insert or update or delete on employees
begin
  secure_dml;
end secure_employees;
/
alter trigger secure_employees disable;

create or replace procedure add_job_history
  (  p_emp_id          job_history.employee_id%type
   , p_start_date      job_history.start_date%type
   , p_end_date        job_history.end_date%type
   , p_job_id          job_history.job_id%type
   , p_department_id   job_history.department_id%type
   )
is
begin
  insert into job_history (employee_id, start_date, end_date,
                           job_id, department_id)
    values(p_emp_id, p_start_date, p_end_date, p_job_id, p_department_id);
end add_job_history;
/
create or replace trigger update_job_history
  after update of job_id, department_id on employees
  for each row
begin
  add_job_history(:old.employee_id, :old.hire_date, sysdate,
                  :old.job_id, :old.department_id);
end;
/
-- The row trigger writes history for a promotion; the replay must restore
-- that row as data and fire nothing itself.
update employees set job_id = 'MK_MAN', department_id = 20 where employee_id = 202;
commit;

create synonym emps for employees;
create synonym pay_grades for PAYROLL.pay_grades;
grant select on employees to HR_READER;
grant select, references on departments to HR_READER;
grant select on emp_details_view to HR_READER with grant option;
grant execute on add_job_history to HR_READER;
