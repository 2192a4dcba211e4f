-- DBMS_LOB as published file, zip and mail utilities use it: reading and
-- writing at 1-based offsets (characters of a CLOB, bytes of a BLOB),
-- copying, erasing, comparing and converting, and locators of table rows:
-- a LOB selected FOR UPDATE or returned by DML is written in its row, one
-- selected without FOR UPDATE cannot be written, and a temporary LOB is a
-- value of its own.

create table lob_out (seq number generated always as identity, text varchar2(4000));
create procedure lob_put(t varchar2) is begin insert into lob_out (text) values (t); end;
/
declare
  c clob;
  d clob;
  buf varchar2(100);
  amount integer;
begin
  dbms_lob.createtemporary(c, true);
  dbms_lob.writeappend(c, 10, 'abcdefghij');
  amount := 4;
  dbms_lob.read(c, amount, 8, buf);
  lob_put('read ' || amount || ' ' || buf);
  dbms_lob.write(c, 2, 12, 'XYZ');
  lob_put('write [' || c || '] ' || dbms_lob.getlength(c));
  dbms_lob.write(c, 3, 1, 'ÄÖÜ');
  lob_put('write chars [' || c || '] ' || dbms_lob.getlength(c));
  amount := 3;
  dbms_lob.erase(c, amount, 2);
  lob_put('erase [' || c || '] ' || amount);
  amount := 100;
  dbms_lob.erase(c, amount, 12);
  lob_put('erase to the end [' || c || '] ' || amount);
  dbms_lob.createtemporary(d, true);
  dbms_lob.copy(d, c, 3, 2, 5);
  lob_put('copy [' || d || ']');
  dbms_lob.copy(d, c, 100, 1, 8);
  lob_put('copy past its end [' || d || ']');
  lob_put('compare ' || case dbms_lob.compare(c, d) when 0 then 'equal' else 'differs' end || ' ' ||
          dbms_lob.compare(c, c) || ' ' || dbms_lob.compare(c, d, 2, 8, 1) || ' ' ||
          nvl(to_char(dbms_lob.compare(c, d, 0)), 'null') || ' ' ||
          nvl(to_char(dbms_lob.compare(c, d, 1, 0)), 'null'));
  lob_put('open ' || dbms_lob.isopen(c) || ' temporary ' || dbms_lob.istemporary(c));
  dbms_lob.open(c, dbms_lob.lob_readwrite);
  lob_put('open ' || dbms_lob.isopen(c));
  dbms_lob.close(c);
  lob_put('open ' || dbms_lob.isopen(c));
  dbms_lob.trim(c, 4);
  lob_put('trim [' || c || ']');
  dbms_lob.freetemporary(d);
  lob_put('freed ' || nvl(to_char(dbms_lob.getlength(d)), 'null'));
end;
/
select text from lob_out order by seq;
delete from lob_out;

-- BLOBs count bytes, and the gap a write leaves is zero bytes.
declare
  b blob;
  r raw(10);
  amount integer := 3;
begin
  dbms_lob.createtemporary(b, true);
  dbms_lob.writeappend(b, 2, hextoraw('CAFE'));
  dbms_lob.write(b, 1, 4, hextoraw('0102'));
  lob_put(rawtohex(b) || ' ' || dbms_lob.getlength(b));
  dbms_lob.read(b, amount, 2, r);
  lob_put(rawtohex(r) || ' ' || amount);
  amount := 2;
  dbms_lob.erase(b, amount, 1);
  lob_put(rawtohex(b) || ' ' || amount);
  lob_put(dbms_lob.instr(b, hextoraw('01')) || ' ' || rawtohex(dbms_lob.substr(b, 2, 3)));
end;
/
select text from lob_out order by seq;
delete from lob_out;

-- Character conversion: the BLOB holds the database's AL32UTF8 bytes, and
-- both offsets come back past what was read and written.
declare
  b blob;
  c clob;
  dest_offset integer := 1;
  src_offset integer := 1;
  context integer := dbms_lob.default_lang_ctx;
  warning integer;
begin
  dbms_lob.createtemporary(b, true);
  dbms_lob.converttoblob(b, to_clob('héllo wörld'), dbms_lob.lobmaxsize, dest_offset, src_offset,
                         dbms_lob.default_csid, context, warning);
  lob_put(rawtohex(b) || ' ' || dest_offset || ' ' || src_offset || ' ' || warning);
  dbms_lob.createtemporary(c, true);
  dest_offset := 1;
  src_offset := 1;
  dbms_lob.converttoclob(c, b, 6, dest_offset, src_offset, dbms_lob.default_csid, context,
                         warning);
  lob_put(c || ' ' || dest_offset || ' ' || src_offset || ' ' ||
          case warning when dbms_lob.no_warning then 'no warning' end);
end;
/
select text from lob_out order by seq;
delete from lob_out;

-- Oracle's errors: amounts and offsets out of range, reading past the end,
-- a buffer too small, and closing a LOB that is not open.
declare
  c clob;
  small varchar2(2);
  amount integer;
  procedure try(label varchar2, n integer) is
  begin
    case n
      when 1 then dbms_lob.write(c, 5, 1, 'ab');
      when 2 then dbms_lob.write(c, 1, 0, 'ab');
      when 3 then dbms_lob.writeappend(c, 0, 'ab');
      when 4 then amount := 5; dbms_lob.read(c, amount, 100, small);
      when 5 then amount := 5; dbms_lob.read(c, amount, 1, small);
      when 6 then amount := 0; dbms_lob.erase(c, amount, 1);
      when 7 then dbms_lob.close(c);
      when 8 then dbms_lob.trim(c, 50);
    end case;
    lob_put(label || ': no error');
  exception
    when others then lob_put(label || ': ' || sqlerrm);
  end;
begin
  c := to_clob('some text');
  try('amount past the buffer', 1);
  try('offset 0', 2);
  try('amount 0', 3);
  try('read past the end', 4);
  try('buffer too small', 5);
  try('erase 0', 6);
  try('close unopened', 7);
  try('trim longer', 8);
end;
/
select text from lob_out order by seq;
delete from lob_out;

-- The locator idiom: insert an empty LOB, take its locator with RETURNING
-- and write through it. The row changes with the transaction.
create table lob_docs (id number primary key, body clob, data blob);
declare
  c clob;
  b blob;
begin
  insert into lob_docs (id, body, data) values (1, empty_clob(), empty_blob())
    returning body, data into c, b;
  dbms_lob.writeappend(c, 5, 'Hello');
  dbms_lob.writeappend(c, 6, ' world');
  dbms_lob.writeappend(b, 3, hextoraw('010203'));
  lob_put('temporary ' || dbms_lob.istemporary(c) || ' ' || dbms_lob.istemporary(b));
end;
/
select id, body, dbms_lob.getlength(body), rawtohex(data) from lob_docs;
select text from lob_out order by seq;
rollback;
select count(*) from lob_docs;
insert into lob_docs (id, body) values (2, 'first draft');
commit;
-- Selected FOR UPDATE, the LOB is the row's: WRITE, APPEND, ERASE and TRIM
-- all reach it.
declare
  c clob;
  amount integer := 5;
begin
  select body into c from lob_docs where id = 2 for update;
  dbms_lob.write(c, 5, 1, 'FINAL');
  dbms_lob.append(c, to_clob(' version'));
  dbms_lob.erase(c, amount, 7);
  dbms_lob.trim(c, 16);
end;
/
select body, dbms_lob.getlength(body) from lob_docs where id = 2;
rollback;
select body from lob_docs where id = 2;
-- UPDATE ... RETURNING locks the row too.
declare
  c clob;
begin
  update lob_docs set body = empty_clob() where id = 2 returning body into c;
  dbms_lob.writeappend(c, 9, 'rewritten');
end;
/
select body from lob_docs where id = 2;
-- Without FOR UPDATE the row is not locked: the write fails and the row
-- keeps its value. A copy made into a temporary LOB can be written.
declare
  c clob;
  t clob;
begin
  select body into c from lob_docs where id = 2;
  begin
    dbms_lob.writeappend(c, 1, '!');
  exception
    when others then lob_put(sqlerrm);
  end;
  dbms_lob.createtemporary(t, true);
  dbms_lob.append(t, c);
  dbms_lob.writeappend(t, 1, '!');
  lob_put(t || ' ' || dbms_lob.istemporary(t));
end;
/
select body from lob_docs where id = 2;
select text from lob_out order by seq;
delete from lob_out;
rollback;

-- A zip-style archive built in a BLOB with WRITEAPPEND: a signature, the
-- content's size and the name's length as little-endian integers, the
-- name, the content; read back entry by entry and sent as base64 in lines
-- of 64 characters.
create package lob_archive as
  procedure add_file(archive in out blob, name varchar2, content blob);
  function file_names(archive blob) return varchar2;
  function to_base64(b blob) return clob;
end;
/
create package body lob_archive as
  function le(n number, bytes pls_integer) return raw is
  begin
    return utl_raw.substr(utl_raw.cast_from_binary_integer(n, utl_raw.little_endian), 1, bytes);
  end;
  function le_number(r raw) return number is
  begin
    return utl_raw.cast_to_binary_integer(utl_raw.concat(r, hextoraw('0000')),
                                          utl_raw.little_endian);
  end;
  procedure add_file(archive in out blob, name varchar2, content blob) is
    raw_name raw(200) := utl_raw.cast_to_raw(name);
  begin
    dbms_lob.writeappend(archive, 4, hextoraw('504B0304'));
    dbms_lob.writeappend(archive, 2, le(dbms_lob.getlength(content), 2));
    dbms_lob.writeappend(archive, 2, le(utl_raw.length(raw_name), 2));
    dbms_lob.writeappend(archive, utl_raw.length(raw_name), raw_name);
    dbms_lob.append(archive, content);
  end;
  function file_names(archive blob) return varchar2 is
    pos integer := 1;
    size_bytes integer;
    name_bytes integer;
    names varchar2(4000);
  begin
    while pos < dbms_lob.getlength(archive) loop
      if dbms_lob.substr(archive, 4, pos) != hextoraw('504B0304') then
        return names || ' (bad signature at ' || pos || ')';
      end if;
      size_bytes := le_number(dbms_lob.substr(archive, 2, pos + 4));
      name_bytes := le_number(dbms_lob.substr(archive, 2, pos + 6));
      names := names || utl_raw.cast_to_varchar2(dbms_lob.substr(archive, name_bytes, pos + 8)) ||
               ':' || size_bytes || ' ';
      pos := pos + 8 + name_bytes + size_bytes;
    end loop;
    return rtrim(names);
  end;
  function to_base64(b blob) return clob is
    result clob;
    pos integer := 1;
  begin
    dbms_lob.createtemporary(result, true);
    while pos <= dbms_lob.getlength(b) loop
      dbms_lob.append(result, utl_raw.cast_to_varchar2(
                                  utl_encode.base64_encode(dbms_lob.substr(b, 48, pos))));
      pos := pos + 48;
    end loop;
    return result;
  end;
end;
/
create table lob_archives (id number, zip blob);
declare
  z blob;
  encoded clob;
  decoded blob;
begin
  insert into lob_archives values (1, empty_blob()) returning zip into z;
  lob_archive.add_file(z, 'readme.txt', utl_raw.cast_to_raw('Read me first.'));
  lob_archive.add_file(z, 'data.csv', utl_raw.cast_to_raw('a,b' || chr(10) || '1,2' || chr(10)));
  encoded := lob_archive.to_base64(z);
  lob_put(dbms_lob.getlength(z) || ' ' || lob_archive.file_names(z));
  lob_put(encoded);
  decoded := utl_encode.base64_decode(utl_raw.cast_to_raw(encoded));
  lob_put('round trip ' || dbms_lob.compare(decoded, z));
end;
/
select dbms_lob.getlength(zip), lob_archive.file_names(zip) from lob_archives;
select text from lob_out order by seq;
