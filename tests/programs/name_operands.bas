' Names standing alone as subscripts, FOR ends and steps and routine
' arguments, read again and again while scopes, kinds and cells change.
DIM a(20)
FOR k = 0 TO 20: a(k) = k * k: NEXT
SUB Peek(k)
  PRINT "peek"; k; a(k)
  k = k + 1
  PRINT "again"; a(k)
END SUB
FUNCTION Sum(lim)
  FOR q = 1 TO lim STEP st
    s = s + a(q)
  NEXT
  Sum = s
END FUNCTION
k = 3
FOR r = 1 TO 3
  Peek k
  PRINT "global"; k; a(k)
  k = k + r
NEXT
st = 2
PRINT Sum(9); Sum(k)
lim = 4
FOR r = 1 TO lim
  IF r = 2 THEN lim = 6
  PRINT r;
NEXT
PRINT
' A name not yet made reads 0, then its cell once it is made.
FOR r = 1 TO 3
  PRINT a(late);
  late = r
NEXT
PRINT
DEFINT n
n = 2.7
PRINT a(n)
DEFSTR w
PRINT a(w)
PRINT "end"
