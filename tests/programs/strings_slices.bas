' MID$ and LEN of variables whose values hold quotes, NUL and 0x01 bytes,
' blanks and Japanese, each against the same value taken through an
' expression, which is decoded whole.
q$ = "a""b" + CHR$(0) + "c" + CHR$(1) + " d""" + CHR$(1) + CHR$(1) + "日本e"
PRINT LEN(q$); LEN(q$ + "")
FOR i = 1 TO LEN(q$) + 2
  m$ = MID$(q$, i, 3)
  n$ = MID$(q$ + "", i, 3)
  r$ = MID$(q$, i)
  IF m$ = n$ AND r$ = MID$(q$ + "", i) THEN s$ = "same" ELSE s$ = "differ"
  PRINT i; LEN(m$); ASC(m$ + "?"); LEN(r$); s$
NEXT
PRINT LEN(MID$(q$, 2, 0)); LEN(MID$(q$, 20, 5)); LEN(MID$(q$, 1, 100))
e$ = ""
PRINT LEN(e$); LEN(MID$(e$, 1, 1)); LEN(MID$(e$, 3))
PRINT LEN(undefined$); LEN(MID$(undefined$, 1, 2))
t$ = STRING$(3000, "x") + CHR$(34) + "end"
PRINT LEN(t$); ASC(MID$(t$, 3001, 1)); MID$(t$, 3002)
