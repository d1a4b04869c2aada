' Runaway recursion ends in a runtime error, not a crash.
ON ERROR GOTO *caught
count = 0
SUB Forever(n)
  count = count + 1
  Forever n + 1
END SUB
Forever 1
PRINT "not reached"
END
*caught
PRINT "caught after"; count; "levels"
END
