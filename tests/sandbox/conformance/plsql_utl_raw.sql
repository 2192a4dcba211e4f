-- UTL_RAW in SQL and in PL/SQL: casts between RAW and text, numbers and
-- binary integers, the byte-string operations, and VALUE_ERROR for
-- arguments out of range.

select utl_raw.cast_to_raw('abc'), utl_raw.cast_to_varchar2('616263'),
       utl_raw.cast_to_varchar2(hextoraw('C3A9')), utl_raw.cast_to_nvarchar2('00E90041'),
       utl_raw.length('0102FF')
  from dual;
select utl_raw.cast_from_number(0), utl_raw.cast_from_number(1), utl_raw.cast_from_number(100),
       utl_raw.cast_from_number(-123.45), utl_raw.cast_from_number(0.5)
  from dual;
select utl_raw.cast_to_number('C102'), utl_raw.cast_to_number('C20215'),
       utl_raw.cast_to_number(utl_raw.cast_from_number(-123.45)),
       utl_raw.cast_to_number(utl_raw.cast_from_number(98765.4321))
  from dual;
select utl_raw.cast_from_binary_integer(258), utl_raw.cast_from_binary_integer(-2),
       utl_raw.cast_from_binary_integer(258, utl_raw.little_endian),
       utl_raw.cast_to_binary_integer('FFFFFFFE'),
       utl_raw.cast_to_binary_integer('02010000', 2), utl_raw.cast_to_binary_integer('0102')
  from dual;
select utl_raw.substr('0102030405', 2, 3), utl_raw.substr('0102030405', -2),
       utl_raw.substr('0102030405', 4), utl_raw.concat('01', null, '0203', 'FF'),
       utl_raw.reverse('010203')
  from dual;
select utl_raw.bit_and('F0F0', '3C'), utl_raw.bit_or('0F00', 'F0'), utl_raw.bit_xor('FF00', '0F0F'),
       utl_raw.bit_complement('00FF5A'), nvl(rawtohex(utl_raw.bit_and(null, '01')), 'null')
  from dual;
select utl_raw.compare('010203', '010203'), utl_raw.compare('010203', '0102FF'),
       utl_raw.compare('0102', '010200'), utl_raw.compare('0102', '0102FF', 'FF')
  from dual;
select utl_raw.xrange('41', '45'), utl_raw.xrange('FE', '01'),
       utl_raw.translate('0102030401', '0102', 'FF'), utl_raw.translate('0102', '01', 'AABB'),
       utl_raw.copies('AB', 3)
  from dual;
select utl_raw.overlay('AABB', '010203040506', 2), utl_raw.overlay('AABB', '010203', 2, 4, 'EE'),
       utl_raw.overlay('AA', '0102', 5), utl_raw.overlay('AABBCC', '010203', 1, 1)
  from dual;
select utl_raw.convert(utl_raw.cast_to_raw('héllo'), 'AMERICAN_AMERICA.WE8ISO8859P1',
                       'AMERICAN_AMERICA.AL32UTF8'),
       utl_raw.convert('68E96C6C6F', 'AMERICAN_AMERICA.AL32UTF8', 'AMERICAN_AMERICA.WE8ISO8859P1')
  from dual;

-- In PL/SQL, RAW variables hold at most their length in bytes.
create table raw_out (seq number generated always as identity, text varchar2(4000));
declare
  r raw(4);
  procedure try(label varchar2, n integer) is
    x raw(100);
    message varchar2(512);
  begin
    case n
      when 1 then x := utl_raw.substr('0102', 0);
      when 2 then x := utl_raw.substr('0102', 2, 2);
      when 3 then x := utl_raw.reverse(null);
      when 4 then x := utl_raw.copies('01', 0);
      when 5 then x := utl_raw.overlay(null, '01');
      when 6 then r := hextoraw('0102030405');
    end case;
    insert into raw_out (text) values (label || ': ' || rawtohex(x));
  exception
    when others then
      message := sqlerrm;
      insert into raw_out (text) values (label || ': ' || message);
  end;
begin
  r := utl_raw.concat(utl_raw.cast_to_raw('ab'), hextoraw('0D0A'));
  insert into raw_out (text) values (rawtohex(r) || ' ' || utl_raw.length(r) || ' ' ||
                                     utl_raw.cast_to_varchar2(utl_raw.substr(r, 1, 2)));
  try('substr at 0', 1);
  try('substr past the end', 2);
  try('reverse of null', 3);
  try('no copies', 4);
  try('overlay of null', 5);
  try('raw too long', 6);
end;
/
select text from raw_out order by seq;
-- A RAW result is bytes wherever it goes: counted by DBMS_LOB, bound to SQL.
create table raw_values (r raw(20));
declare
  b blob;
begin
  execute immediate 'insert into raw_values values (:1)' using utl_raw.cast_to_raw('hi');
  insert into raw_out (text) values (dbms_lob.getlength(utl_raw.cast_to_raw('abc')));
  b := utl_raw.concat(hextoraw('00'), utl_raw.cast_to_raw('é'));
  insert into raw_out (text) values (dbms_lob.getlength(b) || ' ' || rawtohex(b));
end;
/
select rawtohex(r), utl_raw.length(r) from raw_values;
select text from raw_out where seq > 7 order by seq;
