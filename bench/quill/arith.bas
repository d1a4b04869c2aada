s = 0
FOR i = 1 TO 1000000
  s = s + i * 2 / 3
NEXT
PRINT INT(s / 1000)
