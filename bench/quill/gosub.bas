c = 0
FOR i = 1 TO 200000
  GOSUB *inc
NEXT
PRINT c
END
*inc
c = c + 1
RETURN
