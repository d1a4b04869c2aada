' Fields that end at and around 256 bytes from where their read began: a CR
' as the 256th byte with its LF behind it, a CR with another byte behind it,
' a field of exactly 256 bytes before a comma, long fields, the 8192-byte
' limit right before a CR LF, and a last field without an end.
cr$ = Chr$(13): lf$ = Chr$(10)
OPEN "p.txt" FOR OUTPUT AS #1
PRINT #1, String$(255, "a") + cr$ + lf$;
PRINT #1, String$(254, "b") + cr$ + "c" + cr$;
PRINT #1, String$(256, "d") + ",e" + cr$ + lf$;
PRINT #1, String$(600, "f") + cr$ + "g" + Chr$(0) + "h" + cr$ + lf$;
PRINT #1, String$(511, "i") + cr$;
PRINT #1, lf$ + String$(8192, "j") + cr$ + lf$ + "tail";
CLOSE
OPEN "p.txt" FOR INPUT AS #1
LINE INPUT #1, a$: PRINT Len(a$); Right$(a$, 1); LOC(1)
LINE INPUT #1, b$: PRINT Len(b$); Right$(b$, 1); LOC(1)
LINE INPUT #1, c$: PRINT c$; LOC(1)
INPUT #1, d$, e$: PRINT Len(d$); e$; LOC(1)
LINE INPUT #1, f$: PRINT Len(f$); LOC(1)
LINE INPUT #1, g$: PRINT g$; LOC(1)
LINE INPUT #1, h$: PRINT h$; LOC(1)
LINE INPUT #1, i$: PRINT Len(i$); LOC(1)
LINE INPUT #1, j$: PRINT Len(j$); LOC(1)
LINE INPUT #1, k$: PRINT "["; k$; "]"; LOC(1)
LINE INPUT #1, t$: PRINT t$; LOC(1); EOF(1)
CLOSE

' INPUT # into the same numeric variable again and again, into one that a
' routine's local scope hides, into a new one, into elements, and into a
' variable whose kind a DEF list names.
OPEN "n.txt" FOR OUTPUT AS #2
FOR i = 1 TO 6
  PRINT #2, i * 1.25
NEXT
PRINT #2, "7,8,9,10"
PRINT #2, "11,12,13,14.5"
CLOSE
SUB Hidden(v)
  INPUT #2, v
  PRINT "local"; v
  INPUT #2, made
  PRINT "made"; made
END SUB
DIM w(3)
OPEN "n.txt" FOR INPUT AS #2
FOR i = 1 TO 3
  INPUT #2, v
  PRINT v;
NEXT
PRINT
Hidden 1
INPUT #2, v
PRINT "global"; v
INPUT #2, fresh
PRINT fresh
INPUT #2, w(1), w(2), v, w(3)
PRINT w(1); w(2); v; w(3)
DEFINT q
INPUT #2, q, v%, v
PRINT q; v%; v
CLOSE
KILL "p.txt"
KILL "n.txt"
