' FOR compares the loop variable with the end value written as 15-digit
' text, each time round: fractional steps that drift, negative steps, ends
' that change inside the loop, integer variables, and loops that never
' run or never end by themselves.
n = 0
FOR x = 0 TO 1 STEP 0.1
  n = n + 1
NEXT
PRINT n; x
FOR x = 1 TO 0 STEP -0.1
  n = n + 1
NEXT
PRINT n; x
FOR x = 0.1 TO 0.30000000000000004 STEP 0.1
  PRINT x;
NEXT
PRINT
e = 3
FOR i = 1 TO e
  e = e + 1
  IF e > 10 THEN e = 2
  PRINT i; e;
NEXT
PRINT
DEFINT k
FOR k = 1 TO 2.5
  PRINT k;
NEXT
PRINT k
FOR q% = 5 TO 1 STEP -2
  PRINT q%;
NEXT
PRINT
FOR z = 5 TO 1
  PRINT "never"
NEXT
PRINT z
FOR z = 1 TO 1 STEP 0
  PRINT "step 0"; z
  IF z > 0 THEN EXIT FOR
NEXT
FOR big = 1E+15 TO 1000000000000002 STEP 1
  PRINT big;
NEXT
PRINT
FOR t = -3 TO -1
  PRINT t;
NEXT
PRINT
