-- PL/SQL's JSON object types: documents parsed from text and built with
-- PUT and APPEND, read back with the GET methods, members in the order they
-- were put, GET_OBJECT's result sharing the document it came from, CLONE
-- copying it, TREAT between the types, the errors of bad text and of a
-- NULL instance, and a logging package that writes and reads a payload.
create table js_out (seq number, text varchar2(4000));
declare
  o json_object_t := json_object_t('{ "a" : 1, "b" : [true, null, "x"] }');
  e json_object_t := json_object_t();
begin
  insert into js_out values (1, o.to_string);
  insert into js_out values (2, e.to_string || ' ' || o.stringify);
  insert into js_out values (3, o.get_size || ' ' || e.get_size);
end;
/
declare
  o json_object_t := json_object_t();
  s varchar2(100) := 'say "hi"' || chr(10) || 'tab' || chr(9) || 'back\slash';
  r varchar2(400);
begin
  o.put('name', 'Ann');
  o.put('age', 42);
  o.put('ok', true);
  o.put_null('none');
  o.put('ratio', 3 / 2);
  o.put('half', 1 / 2);
  o.put('neg', -0.25);
  o.put('big', 1e20);
  o.put('born', date '2024-03-05');
  insert into js_out values (10, o.to_string);
  o.put('name', 'Bob');
  o.put('s', s);
  insert into js_out values (11, o.to_string);
  insert into js_out values (12, o.get_string('name') || '|' || o.get_number('age') || '|' ||
                                 o.get_string('age') || '|' || o.get_number('ratio'));
  r := case when o.get_boolean('ok') then 'true' else 'false' end || '|' ||
       nvl(o.get_string('missing'), 'null') || '|' || nvl(to_char(o.get_number('name')), 'null');
  insert into js_out values (13, r);
  insert into js_out values (14, to_char(o.get_date('born'), 'YYYY-MM-DD') || '|' ||
                                 replace(replace(o.get_string('s'), chr(10), '<LF>'), chr(9),
                                         '<TAB>'));
end;
/
declare
  o json_object_t := json_object_t('{"a":1,"b":2,"c":3}');
  k json_key_list;
  t varchar2(200);
begin
  t := case when o.has('b') then 'has b' end || ' ' || case when not o.has('z') then 'no z' end;
  insert into js_out values (20, t);
  t := null;
  o.remove('b');
  o.remove('nothing');
  o.rename_key('c', 'd');
  k := o.get_keys;
  for i in 1 .. k.count loop
    t := t || k(i) || ';';
  end loop;
  insert into js_out values (21, o.to_string || ' ' || k.count || ' ' || t);
end;
/
declare
  o  json_object_t := json_object_t('{"inner":{"x":1},"list":[1]}');
  i  json_object_t;
  l  json_array_t;
  o2 json_object_t;
  c  json_object_t;
begin
  i := o.get_object('inner');
  i.put('y', 2);
  l := o.get_array('list');
  l.append(2);
  insert into js_out values (30, o.to_string);
  o2 := o;
  o2.put('z', 3);
  c := o.clone;
  c.put('w', 4);
  c.get_object('inner').put('q', 0);
  insert into js_out values (31, o.to_string);
  insert into js_out values (32, c.to_string);
end;
/
declare
  a json_array_t := json_array_t('[1,2]');
  b json_array_t := json_array_t();
  o json_object_t := json_object_t();
begin
  a.append('three');
  a.append_null;
  a.put(0, 'first');
  insert into js_out values (40, a.to_string || ' ' || a.get_size);
  a.put(1, 'one', true);
  a.put_null(2, true);
  a.remove(4);
  insert into js_out values (41, a.to_string);
  insert into js_out values (42, a.get_string(0) || '|' || a.get_string(1) || '|' ||
                                 a.get_string(3) || '|' || nvl(a.get_string(9), 'null'));
  o.put('k', 'v');
  b.append(o);
  b.append(json_array_t('[7]'));
  b.append(false);
  b.append(2.50);
  insert into js_out values (43, b.to_string || ' ' || b.get_object(0).get_string('k') || ' ' ||
                                 b.get_array(1).get_number(0));
end;
/
declare
  je json_element_t := json_element_t.parse('{"name":"Radio controlled plane"}');
  ja json_element_t := json_element_t.parse('[1, "two"]');
  jo json_object_t;
  v  json_element_t;
  r  varchar2(400);
begin
  if je.is_object then
    jo := treat(je as json_object_t);
    jo.put('price', 149.99);
  end if;
  insert into js_out values (50, je.to_string);
  r := case when ja.is_array then 'array' end || ' ' ||
       case when not ja.is_object then 'not object' end || ' ' ||
       case when ja.is_scalar then 'scalar' else 'not scalar' end || ' ' || ja.get_size;
  insert into js_out values (51, r);
  v := jo.get('price');
  r := case when v.is_number then 'number' end || ' ' ||
       case when v.is_scalar then 'scalar' end || ' ' ||
       case when jo.get('name').is_string then 'string' end || ' ' ||
       case when jo.get('missing') is null then 'missing' end || ' ' || v.to_string;
  insert into js_out values (52, r);
  jo := json_object_t.parse('{"t":true,"f":false,"n":null}');
  r := case when jo.get('t').is_true then 'true' end || ' ' ||
       case when jo.get('f').is_false then 'false' end || ' ' ||
       case when jo.get('n').is_null then 'null' end || ' ' ||
       case when jo.get('t').is_boolean then 'boolean' end;
  insert into js_out values (53, r);
end;
/
select * from js_out order by seq;
declare
  o json_object_t;
  r varchar2(400);
begin
  o := json_object_t('{"a":');
exception
  when others then
    r := sqlerrm;
    insert into js_out values (60, r);
end;
/
declare
  o json_object_t;
  r varchar2(400);
begin
  o.put('a', 1);
exception
  when others then
    r := sqlcode || ' ' || sqlerrm;
    insert into js_out values (61, r);
end;
/
declare
  o json_object_t;
  r varchar2(400);
begin
  r := case when o is null then 'null instance' end;
  insert into js_out values (62, r);
  o := json_object_t();
  r := case when o is not null then 'made' end;
  insert into js_out values (63, r);
end;
/
declare
  je json_element_t := json_element_t.parse('{}');
  jo json_object_t;
begin
  jo := je;
end;
/
select * from js_out where seq >= 60 order by seq;
-- A logging package: each entry is a JSON payload kept as text, and the
-- reader takes one apart again.
create table js_log (id number, payload varchar2(4000));
create or replace package jlog as
  procedure log (p_level varchar2, p_message varchar2, p_user number, p_tags varchar2);
  function describe (p_id number) return varchar2;
end jlog;
/
create or replace package body jlog as
  g_id number := 0;

  function tags_of (p_tags varchar2) return json_array_t is
    l_tags json_array_t := json_array_t();
    l_rest varchar2(4000) := p_tags;
    l_at   pls_integer;
  begin
    while l_rest is not null loop
      l_at := instr(l_rest, ',');
      if l_at = 0 then
        l_tags.append(l_rest);
        l_rest := null;
      else
        l_tags.append(substr(l_rest, 1, l_at - 1));
        l_rest := substr(l_rest, l_at + 1);
      end if;
    end loop;
    return l_tags;
  end;

  procedure log (p_level varchar2, p_message varchar2, p_user number, p_tags varchar2) is
    l_entry   json_object_t := json_object_t();
    l_context json_object_t := json_object_t();
  begin
    g_id := g_id + 1;
    l_context.put('user_id', p_user);
    l_context.put('sandbox', true);
    l_entry.put('level', upper(p_level));
    l_entry.put('message', p_message);
    l_entry.put('context', l_context);
    l_entry.put('tags', tags_of(p_tags));
    insert into js_log values (g_id, l_entry.to_clob);
  end;

  function describe (p_id number) return varchar2 is
    l_text    varchar2(4000);
    l_entry   json_object_t;
    l_tags    json_array_t;
    l_out     varchar2(4000);
  begin
    select payload into l_text from js_log where id = p_id;
    l_entry := json_object_t.parse(l_text);
    l_tags := l_entry.get_array('tags');
    l_out := l_entry.get_string('level') || ': ' || l_entry.get_string('message') ||
             ' (user ' || l_entry.get_object('context').get_number('user_id') || ', ' ||
             l_tags.get_size || ' tags:';
    for i in 0 .. l_tags.get_size - 1 loop
      l_out := l_out || ' ' || l_tags.get_string(i);
    end loop;
    return l_out || ')';
  end;
end jlog;
/
begin
  jlog.log('info', 'started "batch"', 7, 'etl,nightly');
  jlog.log('error', 'line' || chr(10) || 'two', 8, 'etl');
end;
/
select id, payload from js_log order by id;
select jlog.describe(1) from dual;
select object_name, status from user_objects where object_name = 'JLOG' order by object_type;
-- A unit that calls a method the type lacks is stored INVALID with its error.
create or replace procedure js_bad is
  o json_object_t := json_object_t();
begin
  o.nope('a');
end;
/
select object_name, status from user_objects where object_name = 'JS_BAD';
select line, position, text from user_errors where name = 'JS_BAD' order by line, position;
