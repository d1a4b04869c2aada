' INPUT # and LINE INPUT # read byte by byte: CR LF and a lone CR end a field,
' a lone LF does not, a zero byte does, commas split INPUT fields only; the
' last line needs no CR; reading past the end is an error. EOF looks ahead
' without moving; LOC is the byte position.
cr$ = Chr$(13): lf$ = Chr$(10)
OPEN "data.txt" FOR OUTPUT AS #1
PRINT #1, "12,34" + cr$ + lf$ + "ab" + lf$ + "cd" + cr$ + "ef" + Chr$(0) + "g,h" + cr$;
PRINT #1, lf$ + " x y ,-5e1z" + cr$;
PRINT #1, lf$ + "last";
CLOSE
OPEN "data.txt" FOR INPUT AS #2
INPUT #2, a, b
PRINT a; b; LOC(2)
LINE INPUT #2, l$
PRINT Len(l$); Asc(Mid$(l$, 3, 1)); Left$(l$, 2); Right$(l$, 2); LOC(2)
LINE INPUT #2, m$
PRINT m$; LOC(2)
LINE INPUT #2, n$
PRINT n$; LOC(2)
PRINT EOF(2); EOF(2); LOC(2)
INPUT #2, s$, v
PRINT "["; s$; "]"; v
LINE INPUT #2, z$
PRINT z$; EOF(2); LOC(2); LOF(2)
ON ERROR GOTO *past
LINE INPUT #2, z$
PRINT "not reached"
*past
PRINT "past the end"
CLOSE #2
OPEN "ten.txt" FOR OUTPUT AS #3
PRINT #3, "12345678"
PRINT #3, "more"
CLOSE
OPEN "ten.txt" FOR INPUT AS #3
LINE INPUT #3, t$
PRINT t$; LOC(3)
CLOSE
OPEN "long.txt" FOR OUTPUT AS #4
PRINT #4, String$(9000, "x")
CLOSE
OPEN "long.txt" FOR INPUT AS #4
LINE INPUT #4, p$
LINE INPUT #4, q$
PRINT Len(p$); Len(q$); EOF(4)
CLOSE
