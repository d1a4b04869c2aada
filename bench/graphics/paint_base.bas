FOR k = 1 TO 50
  c = k MOD 7 + 1
NEXT
