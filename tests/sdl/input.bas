' Typed keys on a real window: INPUT with Japanese text and a backspace,
' Inkey$, then a line; each wait first leaves a marker file.
OPEN "ready1" FOR OUTPUT AS #1: CLOSE #1
INPUT "name"; A$
PRINT "got:"; A$; ":"; LEN(A$)
OPEN "ready2" FOR OUTPUT AS #1: CLOSE #1
K$ = ""
WHILE K$ = "": K$ = INKEY$: WEND
PRINT "key:"; K$
OPEN "ready3" FOR OUTPUT AS #1: CLOSE #1
LINE INPUT L$
PRINT "line:"; L$
