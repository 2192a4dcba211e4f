select a -- first
from t