-- Demo database, part 2: tables, constraints and indexes of the DEMO schema.
connect demo/demo

create table departments (
  dept_id     number(4)     constraint departments_pk primary key,
  dept_name   varchar2(30)  not null,
  location    varchar2(40),
  budget      number(12,2)  default 0,
  created     date          default sysdate not null,
  constraint departments_name_uk unique (dept_name) using index pctfree 5 tablespace users
)
pctfree 10 pctused 40 initrans 1 maxtrans 255
tablespace users
storage (initial 64K next 1M minextents 1 maxextents 121 pctincrease 0 freelists 1 freelist groups 1);

create table employees (
  emp_id      number(6),
  first_name  varchar2(20),
  last_name   varchar2(25)  not null,
  email       varchar2(40),
  hire_date   date          not null,
  salary      number(8,2),
  commission  float,
  grade       char(2),
  dept_id     number(4),
  manager_id  number(6),
  constraint employees_pk primary key (emp_id)
    using index pctfree 10 initrans 2 maxtrans 255 tablespace users,
  check (salary > 0),
  constraint employees_email_uk unique (email),
  foreign key (dept_id) references departments,
  constraint employees_manager_fk foreign key (manager_id) references employees (emp_id)
)
pctfree 15 pctused 60 initrans 2 maxtrans 128
tablespace users
storage (initial 128K next 256K minextents 1 maxextents unlimited pctincrease 0);

create table products (
  product_code  char(8)        constraint products_pk primary key,
  description   varchar2(200)  not null,
  unit_price    number(10,2),
  weight        float(63),
  active        char(1)        default 'Y' constraint products_active_ck check (active in ('Y', 'N')),
  picture       raw(16)
);

create table orders (
  order_id    number(10)    not null,
  customer    varchar2(60),
  order_date  date,
  status      varchar2(10)  default 'NEW'
              constraint orders_status_ck check (status in ('NEW', 'PAID', 'SHIPPED', 'CANCELLED')),
  emp_id      number(6)     references employees,
  note        varchar2(400)
)
tablespace users
storage (initial 2M next 2M);

alter table orders add (constraint orders_pk primary key (order_id) using index tablespace users pctfree 20);
alter table orders add (constraint orders_customer_ck check (customer is not null and length(customer) > 1));

create table order_lines (
  order_id      number(10)  not null,
  line_no       number(3)   not null,
  product_code  char(8),
  quantity      number(5)   not null,
  discount      number(4,3) default 0.0,
  constraint order_lines_pk primary key (order_id, line_no) using index compress 1
);

alter table order_lines add constraint order_lines_order_fk foreign key (order_id)
  references orders (order_id) on delete cascade;
alter table order_lines add constraint order_lines_product_fk foreign key (product_code)
  references products;

create table documents (
  doc_id      number        primary key,
  title       varchar2(100) not null,
  body        clob,
  attachment  blob,
  scan        bfile,
  notes       long,
  checksum    raw(16),
  uploaded    timestamp
);

create index employees_name_ix on employees (last_name, first_name) compress 1;
create index employees_dept_ix on employees (dept_id) pctfree 20 initrans 4 tablespace users;
create unique index products_description_uk on products (description);
create index orders_date_ix on orders (order_date desc, status) compress 2;
create bitmap index orders_status_ix on orders (status);
create index order_lines_product_ix on order_lines (product_code);
