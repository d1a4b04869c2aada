' The same statements run again after every change that can move, hide or
' remove a variable: creation, DIM, ERASE, CLEAR, a routine's scope, a
' local that shadows a global, recursion, kinds other than Double.
SUB Shadow()
  FOR q = 1 TO 2
    PRINT "shadow"; q; g * 2; g
    IF q = 1 THEN DIM g
    g = g + 5
  NEXT
END SUB

SUB Twice(v)
  ' v is the parameter; w is a new local each call; g is the global.
  w = w + v
  g = g + w
  PRINT "twice"; v; w; g
END SUB

FUNCTION Sum(n)
  IF n = 0 THEN
    Sum = 0
  ELSE
    Sum = n + Sum(n - 1)
  END IF
END FUNCTION

FUNCTION Loop3(n)
  ' A loop variable named like a global one is the global one here.
  t = 0
  FOR i = 1 TO n
    t = t + i
  NEXT
  Loop3 = t
END FUNCTION

FOR pass = 1 TO 3
  PRINT "pass"; pass; "a"; a; a * 2 + 1; -a * 3
  IF pass = 1 THEN a = 1
  IF pass = 2 THEN a = a + 1
NEXT
g = 10
Shadow
PRINT "global g"; g
FOR r = 1 TO 2
  Twice r
NEXT
PRINT Sum(10); Sum(3)
i = 100
PRINT Loop3(4); i
DIM arr(3)
FOR r = 1 TO 3
  arr(1) = arr(1) + r
  PRINT "arr"; arr(1); arr(1) * 2; (arr(1) + 1) / 2
  IF r = 2 THEN ERASE arr
NEXT
FOR r = 1 TO 2
  m% = m% + 2.7
  s! = s! + 0.1
  PRINT "kinds"; m%; s!; m% * 2; s! * 2
NEXT
h = 4
GOSUB *showh
CLEAR
GOSUB *showh
h = 2
GOSUB *showh
END
*showh
PRINT "h"; h * 3; h
h2 = h + 1
PRINT "h2"; h2
RETURN
