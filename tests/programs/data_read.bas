' READ across DATA lines and after colons; RESTORE; READ past the end.
DATA 1, "two"
x = 5: DATA 3, 4
READ a, b$, c, d
PRINT a; b$; c; d
RESTORE
READ a
PRINT a
RESTORE *more
READ e$
PRINT e$
ON ERROR GOTO *out
READ f$, g$
PRINT "never"
*out
PRINT "no data left"; f$
END
*more
DATA "x:y", z
