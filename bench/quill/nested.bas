s = 0
FOR i = 1 TO 50
  FOR j = 1 TO 50
    FOR k = 1 TO 50
      s = s + 1
    NEXT
  NEXT
NEXT
PRINT s
