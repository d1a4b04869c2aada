' SLEEP leaves the lock: another thread runs while thread 0 sleeps. SLEEP 0
' yields; a negative time is an error.
CREATETHREAD *worker
SLEEP 300
PRINT "main after"; count; "steps"
SLEEP 0
ON ERROR GOTO *negative
SLEEP -1
PRINT "not reached"
*negative
PRINT "negative sleep is an error"
SLEEP 2.9
END
*worker
FOR i = 1 TO 3
  count = count + 1
  PRINT "worker"; i
  SLEEP 10
NEXT i
END 2
