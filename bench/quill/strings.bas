a$ = ""
FOR i = 1 TO 20000
  a$ = a$ + "x"
NEXT
t = 0
FOR i = 1 TO 20000
  t = t + LEN(MID$(a$, i, 3))
NEXT
PRINT LEN(a$)
PRINT t
