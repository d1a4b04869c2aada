' FOR with all step forms, WHILE false at first, DO ... LOOP UNTIL/WHILE.
FOR i = 1 TO 3: PRINT i;: NEXT i: PRINT " end"; i
FOR i = 5 TO 1: PRINT "never": NEXT i
PRINT "after 5 to 1"; i
FOR i = 5 TO 1 STEP -1: PRINT i;: NEXT i: PRINT
FOR i = 1 TO 1: PRINT "once": NEXT i
FOR x = 0 TO 1 STEP 0.1: n = n + 1: NEXT x
PRINT "fraction steps"; n
FOR i = 1 TO 2
  FOR j = 1 TO 2
    PRINT i * 10 + j;
  NEXT j, i
PRINT
w = 0
WHILE w > 0
  PRINT "never"
WEND
PRINT "while false"
DO
  w = w + 1
LOOP UNTIL w = 3
PRINT "until"; w
DO
  w = w - 1
LOOP WHILE w > 0
PRINT "while"; w
