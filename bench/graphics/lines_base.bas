' The same loop and expressions as lines.bas, without drawing.
FOR i = 1 TO 10000
  a = i MOD 1024: b = 0: c = 1023 - i MOD 1024: d = 767: e = i MOD 8
NEXT
