' A letter in several DEF lists: the INT list comes before SNG, and SNG
' before STR, whatever order the DEF statements ran in.
DEFINT a
DEFSNG a-b
a = 1.6: b = 1.6
PRINT a; b
DEFSTR c
DEFINT c-d
c = 2.5: d = 2.5
PRINT c; d
DEFSTR e
DEFSNG e
e = 2.5
PRINT e
DEFSTR f
f = "text"
PRINT f
