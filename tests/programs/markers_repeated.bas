' Block markers run again and again: ELSE and END IF of block IFs, the
' EXIT jumps of FOR, DO and WHILE, and the ends and exits of routines.
FUNCTION Sign(x)
  IF x > 0 THEN
    Sign = 1
    EXIT FUNCTION
  ELSEIF x < 0 THEN
    Sign = -1
  ELSE
    Sign = 0
  END IF
END FUNCTION
SUB Note(x)
  IF x = 2 THEN EXIT SUB
  PRINT "note"; x
END SUB
FOR k = 1 TO 3
  FOR j = 1 TO 10
    IF j > k THEN EXIT FOR
    t = t + j
  NEXT
  n = 0
  DO
    n = n + 1
    IF n >= k * 2 THEN EXIT DO
  LOOP
  w = 0
  WHILE 1
    w = w + 1
    IF w = k THEN
      EXIT WHILE
    ELSE
      w = w + 0
    END IF
  WEND
  PRINT k; t; n; w; Sign(k - 2); Sign(2 - k)
  Note k
  IF k = 2 THEN PRINT "two" ELSE PRINT "not two"
NEXT
