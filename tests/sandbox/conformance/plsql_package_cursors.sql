-- A package's cursors used from outside it: OPEN, FETCH, CLOSE, attributes,
-- FOR loops (with arguments, owner-qualified) and %ROWTYPE, and a package
-- member as a %TYPE anchor. A package cursor stays open between calls.

create table pc_items (id number, name varchar2(20));
insert into pc_items values (1, 'one');
insert into pc_items values (2, 'two');
create table pc_out (line varchar2(100));
create package pc_api is
  cursor all_items is select id, name from pc_items order by id;
  cursor items_from(p_min number) is select id, name from pc_items where id >= p_min order by id;
  last_name pc_items.name%type;
end pc_api;
/
declare
  r pc_api.all_items%rowtype;
  v pc_api.last_name%type;
begin
  open pc_api.all_items;
  fetch pc_api.all_items into r;
  if pc_api.all_items%isopen then
    v := r.name;
    insert into pc_out values ('first: ' || r.id || ' ' || v);
  end if;
  close pc_api.all_items;
  for item in pc_api.items_from(2) loop
    insert into pc_out values ('loop: ' || item.id || ' ' || item.name);
  end loop;
  for item in system.pc_api.all_items loop
    insert into pc_out values ('qualified: ' || item.name);
  end loop;
end;
/
begin
  open pc_api.all_items;
end;
/
begin
  if pc_api.all_items%isopen then
    insert into pc_out values ('still open in the next call');
  end if;
  close pc_api.all_items;
end;
/
select line from pc_out order by line;
