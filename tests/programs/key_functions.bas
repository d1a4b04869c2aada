' Inkey$ after an arrow key, Input$ of 3 keys, KeyState, typing while nothing waits
WHILE MOUSE(2) <> 1: WEND
PRINT "typed while nothing waited:"; ASC(INKEY$)
K$ = ""
WHILE K$ = "": K$ = INKEY$: WEND
PRINT "arrow"; ASC(K$); LEN(K$)
A$ = INPUT$(3)
PRINT "["; A$; "]"; LEN(A$)
B$ = INPUT$(1)
PRINT B$; KEYSTATE(65); KEYSTATE(30)
C$ = INPUT$(1)
PRINT ASC(C$); KEYSTATE(65); KEYSTATE(30)
LINE INPUT L$
PRINT "["; L$; "]"
PRINT "after input"; LEN(INKEY$)
