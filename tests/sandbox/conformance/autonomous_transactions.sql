-- Autonomous transactions as a release 19 server runs them: a logging
-- procedure's COMMIT keeps its own row and not its caller's work, which a
-- later rollback (whole, of a failed block, or to a savepoint) still undoes;
-- its ROLLBACK undoes only its own; ending with work neither committed nor
-- rolled back gives ORA-06519; an autonomous trigger may commit.
create table app_log (id number, msg varchar2(100));
create table orders (id number constraint orders_pk primary key);
create table outcome (msg varchar2(200));
create sequence log_seq;
create or replace procedure log_it(p_msg varchar2) is
  pragma autonomous_transaction;
begin
  insert into app_log values (log_seq.nextval, p_msg);
  commit;
end;
/
insert into orders values (1);
begin log_it('after order 1'); end;
/
rollback;
select count(*) from orders;
select id, msg from app_log order by id;
insert into orders values (2);
begin
  insert into orders values (3);
  log_it('inside a failing block');
  insert into orders values (2);
end;
/
select id from orders order by id;
savepoint before_four;
insert into orders values (4);
begin log_it('after order 4'); end;
/
rollback to before_four;
select id from orders order by id;
commit;
select id, msg from app_log order by id;
create or replace procedure forgetful is
  pragma autonomous_transaction;
begin
  insert into app_log values (-1, 'never committed');
end;
/
create or replace procedure undoing is
  pragma autonomous_transaction;
begin
  insert into app_log values (-2, 'rolled back');
  rollback;
  insert into app_log values (-3, 'committed');
  commit;
end;
/
declare
  message varchar2(200);
begin
  forgetful;
exception
  when others then
    message := sqlerrm;
    insert into outcome values (message);
end;
/
select msg from outcome;
begin undoing; end;
/
rollback;
select id, msg from app_log where id < 0 order by id;
create or replace function next_ticket return number is
  pragma autonomous_transaction;
  n number;
begin
  insert into app_log values (log_seq.nextval, 'ticket') returning id into n;
  commit;
  return n;
end;
/
select next_ticket from dual;
create or replace trigger orders_audit after insert on orders for each row
declare
  pragma autonomous_transaction;
begin
  insert into app_log values (:new.id * 100, 'order inserted');
  commit;
end;
/
insert into orders values (5);
rollback;
select id from orders order by id;
select id, msg from app_log where id >= 100 order by id;
