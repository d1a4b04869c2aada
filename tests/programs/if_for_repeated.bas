' Statements whose outcomes are kept run again and again: both branches of
' every IF form, FOR loops whose end and step change, loops in routines.
t$ = ""
FOR i = 1 TO 6
  IF i MOD 2 = 0 THEN t$ = t$ + "e" ELSE t$ = t$ + "o"
  IF i > 2 THEN IF i < 5 THEN t$ = t$ + "m" ELSE t$ = t$ + "h" ELSE t$ = t$ + "l"
  IF i = 3 THEN t$ = t$ + "3"
  IF i < 3 THEN
    t$ = t$ + "a"
  ELSEIF i < 5 THEN
    t$ = t$ + "b"
  ELSE
    t$ = t$ + "c"
  END IF
  t$ = t$ + " "
NEXT
PRINT t$
' The end and the step are read on every pass.
n = 10
s = 0
FOR i = 1 TO n STEP st + 1
  s = s + i
  n = n - 1
  st = st + 1
NEXT
PRINT s; i; n
' The same FOR and IF in a routine at several depths.
FUNCTION Sum(d)
  r = 0
  FOR j = 1 TO d
    IF j = d THEN r = r + 100 ELSE r = r + j
  NEXT
  IF d > 1 THEN r = r + Sum(d - 1)
  Sum = r
END FUNCTION
PRINT Sum(4); Sum(1)
SUB Count(m)
  c = 0
  FOR j = 1 TO m
    IF j MOD 3 = 0 THEN c = c + 1
  NEXT
  PRINT "count"; c; j
END SUB
Count 9
Count 2
j = 7
FOR q = 1 TO 2
  Count j
NEXT
PRINT j
