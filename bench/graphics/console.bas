' A console full of text (45 lines of 127 characters), repainted 500 times
' (an empty PRINT with ";" paints every cell again).
l$ = String$(127, "A")
FOR i = 1 TO 44
  PRINT l$
NEXT
PRINT l$;
FOR i = 1 TO 500
  PRINT "";
NEXT
