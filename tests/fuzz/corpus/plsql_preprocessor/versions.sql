create or replace package body log_pkg as
  procedure put(p varchar2) is
  begin
    $if dbms_db_version.ver_le_12_2 $then
      dbms_output.put_line('old ' || p);
    $elsif dbms_db_version.version >= 19 and $$plsql_line > 2 $then
      dbms_output.put_line($$plsql_unit || ': ' || p);
    $else
      $error 'unsupported release ' || $$plsql_unit $end
    $end
  end;
end;
