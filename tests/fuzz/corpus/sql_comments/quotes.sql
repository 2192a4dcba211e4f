select 'it''s -- x', "q -- " from t rem y
	REM z
REM