' A runtime error names the file, line and column of the statement it
' happened in: a routine's own statement while it runs, the caller's once
' it has returned, and statements of the other source files.
FUNCTION Twice(n)
  Twice = n * 2
END FUNCTION
PRINT "start"; Twice(2)
GOSUB *elsewhere
PRINT "back"
  PRINT "x": PRINT Twice(3) / 0
PRINT "never"
