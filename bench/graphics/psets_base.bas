FOR i = 1 TO 10000
  a = i MOD 1024: b = i MOD 768: c = i MOD 8
NEXT
