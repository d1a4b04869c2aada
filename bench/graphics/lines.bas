' 10,000 lines across the surface.
FOR i = 1 TO 10000
  LINE (i MOD 1024, 0)-(1023 - i MOD 1024, 767), i MOD 8
NEXT
