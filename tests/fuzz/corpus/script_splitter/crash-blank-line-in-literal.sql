S‹OOL var





























@
@@')
  x := 'a;
/
b';
enin null; end;
end;
/
REM x
PROMPT y
/* 
PROMP














chvu%s ('mþ
begi
n select *
  from t
/
