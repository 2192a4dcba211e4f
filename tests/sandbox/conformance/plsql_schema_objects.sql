-- Object types in PL/SQL: variables NULL until constructed, constructors by
-- position and by name, attributes read and written through nesting and
-- collection elements, objects as parameters, results and record fields, and
-- object columns and object-table rows read and written whole.
create table so_out (seq number, text varchar2(400));
create type so_point as object (x number, y number);
/
create type so_line as object (a so_point, b so_point, name varchar2(20));
/
create type so_points as table of so_point;
/
create table so_shapes (id number, p so_point, l so_line);
create table so_pts of so_point;
declare
  p so_point;
  q so_point := so_point(1, 2);
  ln so_line := so_line(so_point(0, 0), so_point(3, 4), 'diag');
  ps so_points := so_points(so_point(5, 6), so_point(y => 8, x => 7));
  procedure log (i number, t varchar2) is begin insert into so_out values (i, t); end;
begin
  log(1, case when p is null then 'null' end || ' ' || nvl(to_char(p.x), 'x null'));
  begin
    p.x := 1;
  exception when others then log(2, sqlerrm);
  end;
  p := so_point(null, null);
  log(3, case when p is null then 'null' else 'not null' end);
  p.x := 10;
  ln.b.y := 40;
  log(4, q.x || ',' || q.y || ' ' || ln.a.x || ',' || ln.b.y || ' ' || ln.name || ' ' || p.x);
  log(5, ps.count || ' ' || ps(2).x || ',' || ps(2).y);
  ps(1).x := 50;
  ps.extend;
  log(6, ps(1).x || ' ' || case when ps(3) is null then 'null elem' end);
  insert into so_shapes values (1, q, ln);
  insert into so_pts values (q);
  insert into so_pts values (so_point(9, 9));
  select s.p, s.l into p, ln from so_shapes s where s.id = 1;
  log(7, p.x || ',' || p.y || ' ' || ln.b.x || ',' || ln.b.y || ' ' || ln.name);
  select value(t) into p from so_pts t where t.x = 9;
  log(8, p.x || ',' || p.y);
  select value(t) bulk collect into ps from so_pts t order by t.x;
  log(9, ps.count || ' ' || ps(1).x || ' ' || ps(2).y);
  update so_shapes set p = so_point(-1, -2) where id = 1;
  select s.p into q from so_shapes s;
  log(10, q.x || ',' || q.y);
  p := null;
  log(11, case when p is null then 'null again' end);
end;
/
select seq, text from so_out order by seq;
select s.id, s.p.x, s.l.b.y from so_shapes s;
select * from so_pts order by x;
-- An order-entry schema: line items in a nested table inside an order object.
create type so_item as object (sku varchar2(10), qty number(5), price number(8,2));
/
create type so_items as table of so_item;
/
create type so_order as object (id number, customer varchar2(20), items so_items);
/
create table so_orders of so_order nested table items store as so_order_items;
create or replace function so_total (o so_order) return number is
  s number := 0;
begin
  if o.items is null then
    return null;
  end if;
  for i in 1 .. o.items.count loop
    s := s + o.items(i).qty * o.items(i).price;
  end loop;
  return s;
end;
/
create or replace procedure so_add (o in out so_order, sku varchar2, qty number, price number) is
begin
  if o.items is null then
    o.items := so_items();
  end if;
  o.items.extend;
  o.items(o.items.last) := so_item(sku, qty, price);
end;
/
create or replace function so_new (id number, customer varchar2) return so_order is
begin
  return so_order(id, customer, null);
end;
/
declare
  o so_order := so_new(1, 'ACME');
  o2 so_order;
  type t_entry is record (label varchar2(10), ord so_order);
  e t_entry;
begin
  so_add(o, 'A1', 2, 10.5);
  so_add(o, 'B2', 1, 4);
  insert into so_out values (21, o.customer || ' ' || o.items.count || ' ' || so_total(o));
  insert into so_orders values (o);
  o.items(1).qty := 3;
  e.ord := o;
  e.label := 'copy';
  insert into so_out values (22, e.label || ' ' || so_total(e.ord) || ' ' || e.ord.items(2).sku);
  select value(x) into o2 from so_orders x where x.id = 1;
  insert into so_out values (23, o2.items.count || ' ' || so_total(o2) || ' ' ||
                                 case when e.ord.items(1).qty = 3 then 'changed copy' end);
  insert into so_out values (24, nvl(to_char(so_total(so_new(2, 'none'))), 'no items') ||
                                 ' ' || case when e.ord is not null then 'set' end);
end;
/
select seq, text from so_out where seq > 20 order by seq;
select o.id, o.customer, i.sku, i.qty * i.price from so_orders o, table(o.items) i order by i.sku;
declare
  p so_point := so_point(1);
begin
  null;
end;
/
declare
  p so_point := so_point(1, 2, 3);
begin
  null;
end;
/
declare
  p so_point := so_point(x => 1, z => 2);
begin
  null;
end;
/
declare
  n so_points;
  p so_point := so_point(1, 2);
begin
  n := p;
end;
/
