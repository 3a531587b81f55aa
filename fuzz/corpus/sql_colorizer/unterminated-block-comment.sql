select 1 /* comment
that never ends