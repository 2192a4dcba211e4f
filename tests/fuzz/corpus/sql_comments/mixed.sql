x	REM a REM b
c /* -- */ 'x