' Names read and made in routine frames that look alike and differ: two
' routines whose locals are in another order, a parameter that hides a
' global in one routine and not in the other, arrays declared in each frame
' of a recursion, a FUNCTION value made in different places or not at all,
' and kinds that DEF lists change between calls.
g = 100
SUB First(a, b)
  x = a * 10 + b
  PRINT "first"; a; b; x; g
END SUB
SUB Second(b, a)
  y = b - a
  PRINT "second"; a; b; y; g
END SUB
SUB Hides(g)
  PRINT "hides"; g
  g = g + 1
END SUB
FOR i = 1 TO 3
  First i, i + 1
  Second i, i + 1
  Hides i
  PRINT "global"; g
NEXT
SUB Deep(d)
  DIM a(d)
  a(d) = d * d
  IF d > 0 THEN Deep d - 1
  PRINT "deep"; d; a(d)
END SUB
Deep 3
FUNCTION Pick(n)
  IF n = 1 THEN Pick = 11
  IF n = 2 THEN
    t = 5
    Pick = t + n
  END IF
  IF n = 3 THEN
    Pick = 33
    t = 6
  END IF
END FUNCTION
FOR i = 1 TO 4
  PRINT "pick"; i; Pick(i)
NEXT
PRINT Pick(3) + Pick(2) + Pick(4)
SUB Kinds(k)
  w = k * 1.5
  PRINT "kinds"; k; w
END SUB
Kinds 5.7
DEFINT k
Kinds 5.7
DEFINT w
Kinds 5.7
' Frames of one recursion whose locals are made in either order.
FUNCTION Walk(n)
  IF n MOD 2 = 0 THEN
    even = n: odd = 0
  ELSE
    odd = n: even = 0
  END IF
  IF n > 0 THEN Walk = even * 10 - odd + Walk(n - 1) ELSE Walk = 0
END FUNCTION
PRINT Walk(9); Walk(4)
