' Kinds, DEF letter lists, truncation and case-sensitive names.
a% = 2.9
s! = 1.1
PRINT a%; s!
DEFINT B-C
b = 2.9
c = -2.9
PRINT b; c
n = 1
N = 2
PRINT n; N
PRINT undeclared + 1
x$ = "ab"
y$ = x$ + "cd" & ""
PRINT y$
SWAP x$, y$
PRINT x$; " "; y$
p = 1: q = 2
SWAP p, q
PRINT p; q
LET z = 7
PRINT z
DIM d(2, 3)
d(1, 2) = 6
PRINT d(1, 2); d(0, 0)
e(5) = 1
e(6) = 2
PRINT e(5); e(6); e(7)
