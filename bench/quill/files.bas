OPEN "bench.txt" FOR OUTPUT AS #1
FOR i = 1 TO 100000
  PRINT #1, i
NEXT
CLOSE #1
OPEN "bench.txt" FOR INPUT AS #1
s = 0
FOR i = 1 TO 100000
  INPUT #1, v
  s = s + v
NEXT
CLOSE #1
KILL "bench.txt"
PRINT INT(s / 100000)
