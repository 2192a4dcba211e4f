-- Savepoints and sequences in a transaction, as a release 19 server keeps
-- them: ROLLBACK TO keeps its savepoint and ends those set after it, a
-- block may roll back to its own savepoint and go on, the API idiom that
-- undoes its own work on error, and sequence numbers that no rollback
-- gives out again.
create sequence tx_seq;
create table tx_rows (id number, note varchar2(20));
insert into tx_rows values (tx_seq.nextval, 'first');
savepoint after_first;
insert into tx_rows values (tx_seq.nextval, 'second');
savepoint after_second;
insert into tx_rows values (tx_seq.nextval, 'third');
rollback to savepoint after_first;
select id, note from tx_rows order by id;
rollback to after_second;
insert into tx_rows values (tx_seq.nextval, 'fourth');
rollback work to after_first;
select id, note from tx_rows order by id;
rollback;
select count(*) from tx_rows;
select tx_seq.nextval from dual;
savepoint "quoted name";
rollback to "quoted name";
commit;
rollback to "quoted name";
begin
  insert into tx_rows values (10, 'kept');
  savepoint before_bad;
  insert into tx_rows values (11, 'undone');
  rollback to before_bad;
  insert into tx_rows values (12, 'kept');
end;
/
select id, note from tx_rows order by id;
create or replace procedure tx_api(p_id number) is
begin
  savepoint tx_api_start;
  insert into tx_rows values (p_id, 'api');
  if p_id > 100 then
    raise_application_error(-20001, 'too big');
  end if;
exception
  when others then
    rollback to tx_api_start;
    raise;
end;
/
begin tx_api(20); end;
/
declare
  message varchar2(200);
begin
  tx_api(200);
exception
  when others then
    message := sqlerrm;
    insert into tx_rows values (-1, substr(message, 1, 20));
end;
/
select id, note from tx_rows order by id;
create table tx_audit (n number);
create or replace trigger tx_audit_trg before insert on tx_audit
begin
  savepoint in_trigger;
end;
/
insert into tx_audit values (1);
select count(*) from tx_audit;
