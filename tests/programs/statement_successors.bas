' Statements whose next statement changes from pass to pass: the parts of
' a single-line IF, a subroutine entered from two places, loops on one
' line, jumps into a line's middle by label, and a text in quotes across a
' colon.
FOR p = 1 TO 4
  IF p MOD 2 = 1 THEN a = a + 1: b = b + 10 ELSE a = a + 100: b = b + 1000
  PRINT a; b
NEXT
FOR p = 1 TO 3
  IF p = 2 THEN GOSUB *sub ELSE PRINT "else"; p
  GOSUB *sub: PRINT "back"; p
NEXT
GOTO *skip
*sub
PRINT "sub";
RETURN
*skip
FOR i = 1 TO 3: FOR j = 1 TO i: PRINT j;: NEXT: PRINT "/";: NEXT: PRINT
t = 0
*again
t = t + 1: PRINT "t"; t;: IF t < 3 THEN GOTO *again
PRINT
FOR q = 1 TO 2: PRINT "a:b";: PRINT "c";: NEXT: PRINT
w = 0
WHILE w < 3: w = w + 1: PRINT w;: WEND: PRINT
