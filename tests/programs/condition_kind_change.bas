' A condition read again after DEFSTR has changed what its name implies.
FOR p = 1 TO 2
  IF p = 2 THEN DEFSTR z
  IF z = 0 THEN PRINT "zero"; p ELSE PRINT "other"; p
NEXT
PRINT "end"
