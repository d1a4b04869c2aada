' Single-line and block IF, ELSEIF chains, nested single-line IFs.
a = 0
IF a THEN PRINT "no"
PRINT "line after false IF"
IF 0 THEN IF 1 THEN PRINT "inner" ELSE PRINT "inner else" ELSE PRINT "outer else"
IF 0 THEN IF 1 THEN PRINT "x" ELSE PRINT "y"
PRINT "skipped whole line"
FOR v = 1 TO 4
  IF v = 1 THEN
    PRINT "one"
  ELSEIF v = 2 THEN
    PRINT "two"
  ELSEIF v = 3 THEN
    PRINT "three"
  ELSE
    PRINT "other"
  END IF
NEXT v
IF a = 1 THEN
  PRINT "no"
END IF
PRINT "block without else"
