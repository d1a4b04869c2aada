l$ = String$(127, "A")
FOR i = 1 TO 44
  PRINT l$
NEXT
PRINT l$;
FOR i = 1 TO 500
  a = i
NEXT
