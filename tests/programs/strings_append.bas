' Appending to a string variable, alone or in an expression that reads it
' again; an array element; a variable that does not exist yet; a name that
' only begins like the target.
a$ = "x"
FOR i = 1 TO 3
  a$ = a$ + a$ + CHR$(34)
NEXT
PRINT LEN(a$); a$
a$ = a$ & "&" + "end"
PRINT a$
DIM b$(2)
b$(1) = b$(1) + "one"
b$(1) = b$(1) + b$(1)
PRINT b$(1); LEN(b$(2))
n$ = n$ + "new"
PRINT n$
ab$ = "long"
a$ = "s"
a$ = a$ + ab$ + a$
PRINT a$
q$ = "q"
q$ = q$ + ""
PRINT q$; LEN(q$)
