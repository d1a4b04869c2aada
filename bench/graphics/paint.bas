' 50 flood fills of the whole 1024x768 surface.
FOR k = 1 TO 50
  PAINT (0, 0), k MOD 7 + 1
NEXT
