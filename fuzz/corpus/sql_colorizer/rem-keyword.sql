select,remrem anything; 'not a string'
select remark from t
x rem
