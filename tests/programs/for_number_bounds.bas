' FOR loops whose end and step are number texts: the variable's kinds, steps
' that are negative, fractional or zero, ends beyond 15 digits, a body that
' changes the variable or its kind, and the same loop in a routine that
' calls itself.
FOR i% = 1 TO 5 STEP 2: PRINT i%;: NEXT: PRINT i%
FOR s! = 0 TO 1 STEP 0.25: PRINT s!;: NEXT: PRINT s!
n = 0
FOR x = 0 TO 1 STEP 0.1: n = n + 1: NEXT
PRINT n; x
FOR x = 3 TO -3 STEP -1.5: PRINT x;: NEXT: PRINT x
FOR x = 1 TO 1.00000000000000001: PRINT "once"; x: NEXT
FOR x = 0.1 TO 0.30000000000000004 STEP 0.1: PRINT x;: NEXT: PRINT
FOR i = 1 TO 20
  IF i = 3 THEN i = 10
  PRINT i;
NEXT
PRINT i
FOR i = 5 TO 1: PRINT "never": NEXT: PRINT i
c = 0
FOR z = 1 TO 2 STEP 0
  c = c + 1
  IF c = 4 THEN z = 3
NEXT
PRINT c; z
FOR k = 1 TO 3
  PRINT k;
  IF k = 2 THEN DEFINT k
NEXT
PRINT
SUB Down(d)
  FOR j = 1 TO 2
    PRINT "d"; d; "j"; j;
    IF d > 0 THEN Down d - 1
  NEXT
  PRINT "end"; d; j
END SUB
Down 2
FOR big = 2147483640 TO 2147483647 STEP 3: PRINT big;: NEXT: PRINT big
