-- Object type bodies: member functions and procedures with their implicit
-- SELF, attributes named without it, STATIC methods, a user-defined
-- constructor, MAP and ORDER methods in comparisons, and a body whose code
-- fails, stored INVALID with its errors.
create table sm_out (seq number, text varchar2(400));
create type sm_point as object (
  x number, y number,
  constructor function sm_point (d number) return self as result,
  member function len return number,
  member function plus (o sm_point) return sm_point,
  member procedure move (dx number, dy number),
  static function origin return sm_point,
  map member function rank return number
);
/
create type body sm_point as
  constructor function sm_point (d number) return self as result is
  begin
    x := d;
    self.y := d;
    return;
  end;
  member function len return number is
  begin
    return abs(x) + abs(y);
  end;
  member function plus (o sm_point) return sm_point is
  begin
    return sm_point(x + o.x, y + o.y);
  end;
  member procedure move (dx number, dy number) is
  begin
    x := x + dx;
    self.y := self.y + dy;
  end;
  static function origin return sm_point is
  begin
    return sm_point(0, 0);
  end;
  map member function rank return number is
  begin
    return len();
  end;
end;
/
declare
  p sm_point := sm_point(3, 4);
  q sm_point := sm_point(2);
  o sm_point := sm_point.origin;
  s number;
begin
  insert into sm_out values (1, p.len() || ' ' || p.len || ' ' || q.x || ',' || q.y || ' ' || o.x);
  p.move(1, 1);
  insert into sm_out values (2, p.x || ',' || p.y || ' ' || p.plus(q).x || ' ' || p.plus(q).len);
  s := sm_point.origin().plus(sm_point(5)).y;
  insert into sm_out values (3, s);
end;
/
select * from sm_out order by seq;
select object_type, status from user_objects where object_name = 'SM_POINT' order by 1;
-- Comparisons: MAP orders by its value, ORDER by its sign.
create type sm_money as object (
  cents number, currency varchar2(3),
  order member function compare (other sm_money) return number
);
/
create type body sm_money as
  order member function compare (other sm_money) return number is
  begin
    if currency <> other.currency then
      raise_application_error(-20001, 'currencies differ');
    end if;
    return cents - other.cents;
  end;
end;
/
declare
  a sm_point := sm_point(1, 5);
  b sm_point := sm_point(3, 3);
  m sm_money := sm_money(100, 'EUR');
  n sm_money := sm_money(250, 'EUR');
  procedure log (i number, t varchar2) is begin insert into sm_out values (i, t); end;
begin
  log(4, case when a < b then 'a<b' when a = b then 'a=b' else 'a>b' end || ' ' ||
         case when sm_point(2, 4) = a then 'equal rank' end);
  log(5, case when m < n then 'm<n' end || ' ' || case when n >= m then 'n>=m' end ||
         ' ' || case when m <> n then 'differ' end);
  n.currency := 'USD';
  if m < n then
    null;
  end if;
exception
  when others then log(6, sqlerrm);
end;
/
select seq, text from sm_out where seq > 3 order by seq;
-- A body whose code names what the type lacks is stored INVALID with its errors.
create or replace type body sm_money as
  order member function compare (other sm_money) return number is
  begin
    return cents - other.amount;
  end;
end;
/
select object_type, status from user_objects where object_name = 'SM_MONEY' order by 1;
select line, position, text from user_errors where name = 'SM_MONEY' order by sequence;
-- An order-entry schema: a line item with its amount, an order holding a
-- nested table of them with its total, and an object table of orders.
create type sm_line as object (
  sku varchar2(10), qty number(5), price number(8,2),
  member function amount return number
);
/
create type body sm_line as
  member function amount return number is
  begin
    return qty * price;
  end;
end;
/
create type sm_lines as table of sm_line;
/
create type sm_order as object (
  id number, lines sm_lines,
  member function total return number,
  member procedure add_line (sku varchar2, qty number, price number)
);
/
create type body sm_order as
  member function total return number is
    s number := 0;
  begin
    for i in 1 .. lines.count loop
      s := s + lines(i).amount();
    end loop;
    return s;
  end;
  member procedure add_line (sku varchar2, qty number, price number) is
  begin
    if lines is null then
      lines := sm_lines();
    end if;
    lines.extend;
    lines(lines.count) := sm_line(sku, qty, price);
  end;
end;
/
create table sm_orders of sm_order nested table lines store as sm_order_lines;
declare
  o sm_order := sm_order(7, null);
  r sm_order;
begin
  o.add_line('A1', 2, 10.5);
  o.add_line('B2', 3, 1.25);
  insert into sm_orders values (o);
  select value(x) into r from sm_orders x where x.id = 7;
  insert into sm_out values (7, r.lines.count || ' ' || r.total() || ' ' || r.lines(2).amount);
end;
/
select seq, text from sm_out where seq = 7;
-- Dependencies: a body depends on its type, a function on the types it uses;
-- replacing the type leaves them INVALID until their next use compiles them.
create type sd_point as object (x number, member function len return number);
/
create type body sd_point as member function len return number is begin return abs(x); end; end;
/
create type sd_nums as table of number;
/
create or replace function sd_f (p sd_point) return number is l sd_nums := sd_nums(1); begin return p.len() + l.count; end;
/
select name, type, referenced_name, referenced_type from user_dependencies
  where name like 'SD%' and referenced_owner = user order by 1, 2, 3;
create or replace type body sd_point as member function len return number is begin return abs(x) * 2; end; end;
/
select object_name, object_type, status from user_objects where object_name like 'SD%' order by 1, 2;
select sd_f(sd_point(-3)) from dual;
create or replace type sd_point as object (x number, y number, member function len return number);
/
select object_name, object_type, status from user_objects where object_name like 'SD%' order by 1, 2;
select sd_f(sd_point(-3, 1)) from dual;
select object_name, object_type, status from user_objects where object_name like 'SD%' order by 1, 2;
-- Member methods called in SQL: on an object table's row and on an object column,
-- in the select list and in WHERE.
create type sq_point as object (
  x number, y number,
  member function len return number,
  member function scaled (f number) return sq_point
);
/
create type body sq_point as
  member function len return number is begin return abs(x) + abs(y); end;
  member function scaled (f number) return sq_point is begin return sq_point(x * f, y * f); end;
end;
/
create table sq_pts of sq_point;
insert into sq_pts values (1, 2);
insert into sq_pts values (-3, 4);
create table sq_shapes (id number, p sq_point);
insert into sq_shapes values (1, sq_point(5, -5));
insert into sq_shapes values (2, sq_point(0, 1));
select t.x, t.len() from sq_pts t order by t.x;
select s.id, s.p.len() from sq_shapes s order by s.id;
select s.id from sq_shapes s where s.p.len() > 5;
select count(*) from sq_pts t where t.len() = 3;
