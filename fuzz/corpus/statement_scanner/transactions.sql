start transaction;
insert into t values(1);
COMMIT;rollback;autocommit;commit ;StartStart  transaction;
