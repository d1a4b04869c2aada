' Assignments whose expressions call FUNCTION routines, and SUB calls that
' stand alone, run many times: each call's value is written in as its
' number text would be, wherever it stands.
FUNCTION Jac(n)
  IF n <= 1 THEN
    Jac = n * 1
  ELSE
    Jac = Jac(n - 1) + 2 * Jac(n - 2)
  END IF
END FUNCTION
FUNCTION Neg(x)
  Neg = -x
END FUNCTION
FUNCTION Third(x)
  Third = x / 3
END FUNCTION
FUNCTION Three()
  Three = 3
END FUNCTION
FUNCTION Half%(x)
  Half% = x / 2
END FUNCTION
FUNCTION Big(x)
  Big = x * 1E+300
END FUNCTION
FUNCTION Word$(x)
  Word$ = "w" + STR$(x)
END FUNCTION
FUNCTION Twice(a, b)
  Twice = a * 2 + b
END FUNCTION
FUNCTION Count()
  calls = calls + 1
  Count = calls
END FUNCTION
SUB Show(a, b$)
  PRINT "show"; a; b$
END SUB
SUB Bump(n)
  total = total + n
END SUB
FUNCTION Long(s$, n)
  Long = LEN(s$) * n
END FUNCTION

PRINT Jac(12)
FOR k = 1 TO 3
  a = -Neg(k) * 2
  b = 2 - Neg(-k)
  c = 2 ^ Neg(-k)
  d = (Neg(1) + k) * Three()
  e = Third(k) * 3
  f = Third(k) + Third(k) + Third(k) - k
  g% = Neg(k + .7)
  h = Half%(k) + Half%(-k)
  i = Twice(Twice(k, 1), Neg(k))
  PRINT a; b; c; d; e; f; g%; h; i
NEXT
DIM q(5)
FOR k = 1 TO 3
  q(k) = Neg(-k) * 10
  q(Three()) = q(Three()) + Three()
  r = q(Neg(-k)) + Neg(1)
  PRINT q(k); r
NEXT
PRINT q(3)
' Values that print with an exponent, and a fraction's 15 digits.
FOR k = 1 TO 2
  x = Big(k) * 10
  y = Big(k) / Big(k)
  z = Third(1) * 1E+20
  PRINT x; y; z
NEXT
' The same statement at several depths of recursion.
PRINT Jac(8); Jac(1); Jac(0)
' SUB calls.
total = 0
FOR k = 1 TO 4
  Bump k
  Show k, "x"
  Show Neg(k), Word$(k)
NEXT
PRINT "total"; total
' A routine called with a string argument and a number.
FOR k = 1 TO 2
  w = Long("abc", k) + Long(Word$(k), 1)
  PRINT w
NEXT
' A call's value written in beside a global that counts the calls.
calls = 0
FOR k = 1 TO 3
  v = Count() * 10 + Count()
  PRINT v; calls
NEXT
' The text path after DEFSTR has made a parameter's name a string.
FUNCTION Kind(sv)
  Kind = LEN(sv)
END FUNCTION
DEFSTR s
PRINT Kind("four")
' A string value where a number is wanted is an error.
ON ERROR GOTO *caught
t = Word$(2) + 1
PRINT "not reached"
END
*caught
PRINT "caught"; t
END
