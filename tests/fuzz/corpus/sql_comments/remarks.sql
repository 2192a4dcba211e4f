REM heading
select 1
rem more
from dual