-- A block sent by a client is one call: an exception that leaves it undoes
-- its changes since it began (or since its last COMMIT); a handled one undoes
-- nothing. A function called in a query may not change data (ORA-14551) nor
-- commit (ORA-14552) unless it is an autonomous transaction.
create table br_t (n number);
insert into br_t values (0);
begin
  insert into br_t values (1);
  insert into br_t values (2);
  raise_application_error(-20001, 'stop');
end;
/
select n from br_t order by n;
begin
  insert into br_t values (3);
  commit;
  insert into br_t values (4);
  raise no_data_found;
end;
/
select n from br_t order by n;
begin
  insert into br_t values (5);
  raise no_data_found;
exception
  when no_data_found then null;
end;
/
select n from br_t order by n;
rollback;
select n from br_t order by n;
begin
  insert into br_t values (6);
  execute immediate 'begin insert into br_t values (7); raise zero_divide; end;';
exception
  when zero_divide then insert into br_t values (8);
end;
/
select n from br_t order by n;
create function br_f return number is
begin
  insert into br_t values (9);
  return 1;
end;
/
select br_f() from dual;
create function br_g return number is
begin
  commit;
  return 1;
end;
/
select br_g() from dual;
create function br_auto return number is
  pragma autonomous_transaction;
begin
  insert into br_t values (10);
  commit;
  return 1;
end;
/
select br_auto() from dual;
declare
  x number;
begin
  insert into br_t values (11);
  x := br_f;
end;
/
select n from br_t order by n;
-- A function called from DML may change another table, whether or not the
-- statement's table has row triggers.
create table br_plain (n number);
insert into br_plain values (br_f());
create table br_trg (n number);
create trigger br_trg_bi before insert on br_trg for each row
begin
  :new.n := :new.n + 100;
end;
/
insert into br_trg values (br_f());
insert into br_trg select br_f() from dual;
select n from br_trg order by n;
select count(*) from br_t where n = 9;
