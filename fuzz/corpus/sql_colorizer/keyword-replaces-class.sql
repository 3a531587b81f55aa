select,/go,'q,/*/go
/* not a comment */ 'q 'kept plain
// also not a comment
"still a string"