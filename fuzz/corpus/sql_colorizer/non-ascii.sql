select 'привет' from таблица where x = 'é' // 😀 note
select "😀" from t