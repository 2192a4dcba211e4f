-- A schema whose names need encoding as file names: quoted, lower-case and
-- 128-byte names, and names that differ only in case (tables, constraints,
-- procedures and sequences); a check condition laid out over lines; stored code with
-- trailing blanks, tabs, blank lines and lower-case keywords, and a trigger
-- with a DECLARE section.
create user SPLIT identified by split;
grant create session, create table, create procedure, create trigger, create view, create sequence to SPLIT;
alter session set current_schema = SPLIT;
create table EMP (id number primary key, name varchar2(30) default 'x ', constraint CK check (id > 0));
create table "Emp" (id number constraint "Emp_pk" primary key, e varchar2(10) constraint "ck" check (e <> 'x'));
create table "emp_notes" (id number, note varchar2(20));
create table "llllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllll" (id number);
create table "Order Lines" (id number constraint "ol pk" primary key, qty number check (qty > 0));
alter table "Order Lines" add constraint "ol range" check (qty between 1
	  and 999	or qty is null);
create index "emp_ix" on "emp_notes" (id);
create sequence "lower_seq" start with 5 maxvalue 999999999999999999999999999;
create sequence LOWER_SEQ increment by -1;
insert into "emp_notes" values (1, 'it''s
two lines');
insert into EMP values (1, 'one');
insert into "Emp" values (7, 'seven');
commit;
create or replace procedure "add_row" (p_a in number) is
	v number := 1;   

begin  
  insert into "emp_notes" (id) values (p_a + v);	
end;
/
create procedure "Add_Row" is
begin
  null;
end;
/
create procedure ADD_ROW is begin null; end;
/
create or replace function twice (x number) return number is
begin
  return 2 * x;  
end twice;
/
create or replace trigger emp_bi
before insert on EMP
for each row
declare
  v_count   number;	
begin

  select count(*) into v_count from "emp_notes";   
  :new.name := nvl(:new.name, 'n' || v_count);
end;
/
create or replace view "emp_v" as select id, note from "emp_notes";
