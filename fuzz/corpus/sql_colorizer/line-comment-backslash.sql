// path c:\x
still comment
select 1 // end\
select