n = 100000
DIM f(n)
c = 0
FOR i = 2 TO n
  IF f(i) = 0 THEN
    c = c + 1
    FOR j = i + i TO n STEP i
      f(j) = 1
    NEXT
  END IF
NEXT
PRINT c
