' F5 and a left click on a real window reach their traps.
ON KEY GOSUB , , , , *F5
KEY ON
ON MOUSE(2) GOSUB *CLICK
MOUSE(2) ON
OPEN "ready" FOR OUTPUT AS #1: CLOSE #1
WHILE N < 2: WEND
PRINT "done"
END
*F5
PRINT "F5 trap"
N = N + 1
RETURN
*CLICK
PRINT "click at"; MOUSE(0); MOUSE(1)
N = N + 1
RETURN
