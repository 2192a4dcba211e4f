-- Cursor variables: SYS_REFCURSOR and REF CURSOR types opened for a query or
-- a text with USING binds, returned by functions and OUT parameters, shared
-- by assignment, with their attributes and errors.

create table rc_items (id number, name varchar2(20));
insert into rc_items values (1, 'one');
insert into rc_items values (2, 'two');
insert into rc_items values (3, 'three');
create table rc_out (line varchar2(100));
create function rc_open(p_min number) return sys_refcursor is
  c sys_refcursor;
begin
  open c for select id, name from rc_items where id >= p_min order by id;
  return c;
end;
/
create procedure rc_fill(p_cursor out sys_refcursor, p_table varchar2) is
begin
  open p_cursor for 'select name from ' || p_table || ' where id <= :max order by id' using 2;
end;
/
create package rc_api is
  type item_cursor is ref cursor return rc_items%rowtype;
  type any_cursor is ref cursor;
  function items return item_cursor;
end rc_api;
/
create package body rc_api is
  function items return item_cursor is
    c item_cursor;
  begin
    open c for select * from rc_items order by id desc;
    return c;
  end items;
end rc_api;
/
declare
  c sys_refcursor;
  c2 sys_refcursor;
  v_id number;
  v_name varchar2(20);
  r rc_items%rowtype;
  a rc_api.any_cursor;
  type name_list is table of varchar2(20);
  names name_list;
  procedure note(p_text varchar2) is
  begin
    insert into rc_out values (p_text);
  end;
  function yes_no(p_flag boolean) return varchar2 is
  begin
    return case when p_flag then 'Y' else 'N' end;
  end;
begin
  note('isopen before: ' || yes_no(c%isopen));
  c := rc_open(2);
  note('isopen after: ' || yes_no(c%isopen));
  loop
    fetch c into v_id, v_name;
    exit when c%notfound;
    note('row ' || c%rowcount || ': ' || v_id || ' ' || v_name);
  end loop;
  close c;
  rc_fill(c2, 'rc_items');
  fetch c2 bulk collect into names;
  insert into rc_out values ('bulk: ' || names.count || ' ' || names(1) || ' ' || names(2));
  close c2;
  c := rc_api.items;
  fetch c into r;
  insert into rc_out values ('record: ' || r.id || ' ' || r.name);
  c2 := c;
  fetch c2 into r;
  note('shared: ' || r.id || ' ' || c%rowcount);
  close c;
  note('c2 open: ' || yes_no(c2%isopen));
  open a for select name from rc_items where id = 1;
  fetch a into v_name;
  insert into rc_out values ('any: ' || v_name);
  open a for select name from rc_items where id = 3;
  fetch a into v_name;
  note('reopened: ' || v_name || ' ' || a%rowcount);
  close a;
  begin
    fetch a into v_name;
  exception
    when invalid_cursor then note('fetch closed: ' || sqlcode);
  end;
  begin
    open c for select id, name from rc_items;
    fetch c into v_id;
  exception
    when others then note('mismatch: ' || sqlcode);
  end;
end;
/
select line from rc_out order by rowid;
