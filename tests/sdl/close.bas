' Waits for a line that never comes: the close box ends the program.
PRINT "waiting"
OPEN "ready" FOR OUTPUT AS #1: CLOSE #1
INPUT A$
PRINT "never"
