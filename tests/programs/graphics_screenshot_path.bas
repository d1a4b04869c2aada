' A screenshot path that cannot be written: one line on stderr, and the
' program's own output and status are as they would be.
PSET (0, 0), 2
PRINT "drawn"
