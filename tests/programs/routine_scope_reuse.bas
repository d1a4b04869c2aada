' Routines called one after the other at the same depth make their locals
' in the same place: what an earlier call made there (an array, a string,
' other names) is gone, and nothing of it shows through.
SUB Arr(n)
  DIM a(5)
  a(n) = n * 10
  PRINT "arr"; a(n); a(0)
END SUB
SUB Sca(n)
  a = n + 0.5
  PRINT "sca"; a; n
END SUB
SUB Str(n)
  a$ = "s" + STR$(n)
  b = n
  PRINT "str "; a$; b
END SUB
FUNCTION Val1(n)
  IF n > 0 THEN t = n
  Val1 = t + n
END FUNCTION
FOR i = 1 TO 3
  Arr i
  Sca i
  Str i
  PRINT "val"; Val1(i); Val1(0); Val1(i - 1)
NEXT
FUNCTION Many(n)
  IF n = 1 THEN
    p = 1: q = 2: r = 3
  ELSE
    r = 30: p = 10
  END IF
  Many = p * 100 + q * 10 + r
END FUNCTION
PRINT Many(1); Many(2); Many(1); Many(2)
