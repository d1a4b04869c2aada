' An error without a trap reports once and ends the run with status 1;
' nothing behind it runs.
PRINT "before"
x = 1 / 0
PRINT "never"
