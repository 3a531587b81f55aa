,"q,/*,', rem,select,"q select rem x
select/* */