select 'open;
select /* open ;