select a."Odd Name", 'it''s', :b1, 1.5e3 -- note
from t /* c */ where x <> 2 || y;