-- UTL_ENCODE's base64 as mail utilities send it (lines of 64 characters
-- ended by CR LF) and back, text encoded in a character set, and UTL_I18N's
-- conversions between text and the bytes of a character set.

select utl_raw.cast_to_varchar2(utl_encode.base64_encode(utl_raw.cast_to_raw('Hello, World!'))),
       utl_raw.cast_to_varchar2(utl_encode.base64_decode(utl_raw.cast_to_raw('SGVsbG8sIFdvcmxkIQ=='))),
       utl_encode.base64_encode(hextoraw('00FF10')), utl_encode.base64_decode('51554A44')
  from dual;
-- 60 bytes make 80 characters: a line of 64, CR LF, and the rest.
select length(e), instr(e, chr(13) || chr(10)), replace(substr(e, 63, 4), chr(13) || chr(10), '/'),
       substr(e, 67)
  from (select utl_raw.cast_to_varchar2(utl_encode.base64_encode(
                 utl_raw.cast_to_raw(rpad('x', 60, 'y')))) e
          from dual);
select utl_raw.cast_to_varchar2(utl_encode.base64_decode(utl_encode.base64_encode(
         utl_raw.cast_to_raw(rpad('0123456789', 100, 'abcdefghij')))))
  from dual;
select utl_encode.text_encode('héllo', 'AL32UTF8', utl_encode.base64),
       utl_encode.text_decode('aOlsbG8=', 'WE8ISO8859P1', utl_encode.base64),
       utl_encode.base64, utl_encode.quoted_printable
  from dual;
select utl_i18n.string_to_raw('é€', 'AL32UTF8'), utl_i18n.string_to_raw('é€', 'AL16UTF16'),
       utl_i18n.string_to_raw('é', 'WE8ISO8859P1'), utl_i18n.string_to_raw('é'),
       utl_i18n.raw_to_char('C3A9E282AC', 'AL32UTF8'), utl_i18n.raw_to_char('00E920AC', 'AL16UTF16'),
       utl_i18n.raw_to_char('E9', 'WE8ISO8859P1'), utl_i18n.raw_to_char('C3A9')
  from dual;
-- A mail body: a CLOB's text as base64 in chunks of 57 bytes, the 76
-- characters of a MIME line.
create table enc_out (seq number generated always as identity, text varchar2(4000));
declare
  body clob := rpad('Line of mail text. ', 120, 'abc');
  encoded varchar2(4000);
  pos integer := 1;
  chunk varchar2(57);
begin
  while pos <= dbms_lob.getlength(body) loop
    chunk := dbms_lob.substr(body, 57, pos);
    encoded := encoded || replace(utl_raw.cast_to_varchar2(utl_encode.base64_encode(
                 utl_i18n.string_to_raw(chunk, 'AL32UTF8'))), chr(13) || chr(10), '/') || '|';
    pos := pos + 57;
  end loop;
  insert into enc_out (text) values (encoded);
  insert into enc_out (text) values (utl_i18n.raw_to_char(utl_encode.base64_decode(
    utl_raw.cast_to_raw('TGluZSBvZiBtYWlsIHRleHQu')), 'AL32UTF8'));
end;
/
select text from enc_out order by seq;
