-- A CHAR value comes back padded with blanks to its length: characters for
-- CHAR (n CHAR) and NCHAR, bytes for CHAR (n BYTE), whatever bytes its
-- characters take.
create table conf_pads (id number, c char(3 char), nc nchar(4), b char(5 byte));
insert into conf_pads values (1, 'ä', N'ß', 'ä');
insert into conf_pads values (2, 'abc', N'日本', 'ab');
select id, c, nc, b, 'end' from conf_pads order by id;
