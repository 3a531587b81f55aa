SELECT a FROM t -- not a comment
select, from.x where(y)
select
from[t]	by{1}order;on*