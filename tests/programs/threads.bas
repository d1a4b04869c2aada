' Threads share globals; END 2 ends thread 0 while others go on; the
' program closes when the last thread ends. 254 further threads fit, the
' 255th is an error.
ON ERROR GOTO *full
FOR i = 1 TO 254
  CREATETHREAD *waiter
NEXT i
*wait_all
IF started < 254 THEN GOTO *wait_all
CREATETHREAD *waiter
PRINT "not reached"
*full
PRINT "started"; started
release = 1
*wait_done
IF finished < 254 THEN GOTO *wait_done
PRINT "finished"; finished
CREATETHREAD *last
END 2
PRINT "thread 0 ended before this"
*waiter
started = started + 1
*spin
IF release = 0 THEN GOTO *spin
finished = finished + 1
END 2
*last
FOR k = 1 TO 200: NEXT k
PRINT "last thread done"
