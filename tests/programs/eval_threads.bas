' Two BASIC threads run the same routine, each with its own locals, and
' the same statements on shared globals; statements interleave.
FUNCTION Work(n)
  acc = 0
  FOR j = 1 TO n
    acc = acc + j * 2 / 4
  NEXT
  Work = acc
END FUNCTION

CREATETHREAD *other
FOR r = 1 TO 50
  total = total + 1
  mine = Work(20)
NEXT
*waitother
IF done = 0 THEN GOTO *waitother
PRINT total; mine; theirs
END

*other
FOR r2 = 1 TO 50
  total = total + 1
  theirs = Work(10)
NEXT
done = 1
END 2
