' A routine's statements let the other BASIC threads run, at any depth
' of a recursion, whether the call is an assignment's, a SUB call or one
' inside another statement's text.
FUNCTION WaitFor(d)
  IF d > 0 THEN
    WaitFor = WaitFor(d - 1) + 1
  ELSE
    WHILE flag = 0
    WEND
    WaitFor = 100
  END IF
END FUNCTION
SUB Count(n)
  FOR k = 1 TO n
    ticks = ticks + 1
  NEXT
END SUB
FUNCTION Twice(x)
  Twice = x * 2
END FUNCTION
ticks = 0
CREATETHREAD *other
r = WaitFor(5)
PRINT "waited"; r
flag = 0
PRINT "again"; WaitFor(3)
*done
IF finished = 0 THEN GOTO *done
PRINT "ticks"; ticks; " twice"; t
END
*other
Count 50
flag = 1
*reset
IF flag <> 0 THEN GOTO *reset
t = Twice(21)
flag = 1
finished = 1
END 2
