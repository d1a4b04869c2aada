' FIELD lays out records; PUT and GET move record r at (r - 1) times the
' record length; LSET and RSET pad with blanks or cut; quotes and zero bytes
' survive; reading beyond the end gives short or empty values.
OPEN "rec.dat" AS #1
FIELD #1, 4 AS a$, 6 AS b$
LSET a$ = "ab"
RSET b$ = "xy"
PRINT "["; a$; "]["; b$; "]"
PUT #1, 3
PRINT LOF(1); LOC(1)
LSET a$ = "123456"
RSET b$ = "abcdefgh"
PRINT "["; a$; "]["; b$; "]"
q$ = "Q" + Chr$(34) + Chr$(0) + "Z"
RSET b$ = q$
PUT #1, 1
GET #1, 3
PRINT "["; a$; "]["; b$; "]"
GET #1, 1
IF b$ = Space$(2) + q$ THEN PRINT "["; a$; "] same"; Asc(Mid$(b$, 5, 1))
GET #1, 9
PRINT "["; a$; "]["; b$; "]"; Len(a$); Len(b$)
CLOSE
OPEN "rec.dat" AS #2
FIELD #2, 25 AS w$, 10 AS v$
GET #2, 1
PRINT Len(w$); Len(v$); Right$(w$, 5)
FIELD #2, 2 AS w$
GET #2, 2
PRINT "["; w$; "]"; Len(v$)
CLOSE
OPEN "keep.dat" FOR OUTPUT AS #3
PRINT #3, "kept"
CLOSE
OPEN "keep.dat" AS #3
FIELD #3, 2 AS k$
GET #3, 2
PRINT k$; LOF(3)
CLOSE
ON ERROR GOTO *bad
GET #3, 1
*bad
PRINT "closed channel"
ON ERROR GOTO *bad2
OPEN "keep.dat" AS #3
GET #3, 0
*bad2
PRINT "record 0"
ON ERROR GOTO *bad3
LSET nothing$ = "x"
*bad3
PRINT "no field"
