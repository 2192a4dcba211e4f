create or
 replace package body b is
 procedure p is begin null; end;
end;
/
REM x
PROMPT y
/* a; comment
 over lines */ select 1 from dual;
connect demo/demo
begin
  x := 'a;
/
b';
end;
/
