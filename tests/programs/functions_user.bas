' DEF FN functions, SUB and FUNCTION routines: values, whole-statement
' calls, recursion with locals, string and record parameters.
DEF FNtwice(x) = x * 2
DEF FNshout$(s$) = s$ + "!"
x = 7
PRINT FNtwice(3); x
PRINT FNshout$("hey")
DEF FNtwice(x) = x * 3
PRINT FNtwice(3)

TYPE Pt
  px AS DOUBLE
  label AS STRING
END TYPE

FUNCTION Fact(n AS INTEGER) AS DOUBLE
  IF n <= 1 THEN
    Fact = 1
  ELSE
    Fact = n * Fact(n - 1)
  END IF
END FUNCTION

FUNCTION Depth(n)
  mine = n
  IF n > 0 THEN inner = Depth(n - 1)
  PRINT "level"; n; "still"; mine
  Depth = mine + inner
END FUNCTION

SUB Show(p AS Pt, tag$)
  PRINT tag$; p.px; p.label
  p.px = 99
  p.label = "changed"
END SUB

FUNCTION Join$(a$, b$)
  Join$ = a$ + "-" + b$
END FUNCTION

SUB Greet(n)
  PRINT "greet"; n
END SUB

PRINT Fact(10)
PRINT Depth(3)
n = 5
PRINT Fact(n + 1)
DIM q AS Pt
q.px = 1.5
q.label = "orig"
Show q, "rec:"
PRINT q.px; q.label
PRINT Join$(Join$("a", "b"), "c")
Greet 1
CALL Greet(2): PRINT "same line"
