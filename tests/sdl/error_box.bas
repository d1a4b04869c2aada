' A runtime error shows the error box; answering it ends the run.
PRINT "before"
OPEN "ready" FOR OUTPUT AS #1: CLOSE #1
x = 1 / 0
PRINT "never"
