select 'a;b', "c;d" /* ; -- */ from t; -- note ;
select 'it''s';
select 1 // x
;select 2;-- last