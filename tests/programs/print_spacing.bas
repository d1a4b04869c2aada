' Separators, the leading blank of numbers and the line-end rule.
PRINT 1;2
PRINT -1;-2
PRINT 0.25
PRINT -0.5
PRINT 1,2
PRINT "a";
PRINT "b"
PRINT "trailing",
PRINT
PRINT "x";"y";
PRINT
a = 1: b = 2: c = 3
WRITE a, b; c
WRITE 1, 2
WRITE "s", a
PRINT "(1,2)"; "a;b"
