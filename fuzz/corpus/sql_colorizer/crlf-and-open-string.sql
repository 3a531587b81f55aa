select 1 // one
from t
where "open