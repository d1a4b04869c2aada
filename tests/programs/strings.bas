' Quotes survive concatenation; comparisons follow the collation.
q$ = "say ""hi"""
PRINT q$
r$ = q$ + "!"
PRINT r$
IF "a" < "B" THEN PRINT "a before B"
IF "B" < "a" THEN PRINT "wrong" ELSE PRINT "B after a"
IF "coop" < "co-op" THEN PRINT "hyphen ignored first"
a = 1: b$ = "x"
IF a = 1 AND b$ = "x" THEN PRINT "both"
IF (a = 1) OR (a = 2) THEN PRINT "either"
IF a AND 4 THEN PRINT "no" ELSE PRINT "a AND 4 is 0"
a = 0.5
IF (a + 1) * 2 >= 3 THEN PRINT "no" ELSE PRINT "group truncated"
