' GOTO to the first line, GOSUB from a single-line IF returning into the
' rest of that line with its ELSE still skipped, ON with too few labels.
*top
n = n + 1
IF n < 3 THEN GOTO *top
PRINT "n="; n
IF n = 3 THEN GOSUB *sub: PRINT "back in THEN" ELSE PRINT "else part"
PRINT "next line"
k = 3
ON k GOTO *a, *b
PRINT "no third label"
k = 2
ON k GOSUB *a, *b
PRINT "after ON GOSUB"
END
*sub
PRINT "in sub"
RETURN
*a
PRINT "a"
RETURN
*b
PRINT "b"
RETURN
