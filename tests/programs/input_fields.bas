' INPUT: fields split at every comma, the field-count warning, prompts
INPUT A, B
PRINT A + B
INPUT A, B
PRINT A; B
INPUT "Text"; S$
PRINT "["; S$; "]"
INPUT "Number", N
PRINT N
INPUT N%
PRINT N%
INPUT "Empty"; E$, F
PRINT "["; E$; "]"; F
DIM V(3)
INPUT V(1), V(2 + 1)
PRINT V(1); V(3)
INPUT Q$
PRINT "["; Q$; "]"
K$ = INKEY$
PRINT LEN(K$)
