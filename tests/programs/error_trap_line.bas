' An error in the second statement of a line skips the rest of the line;
' ON ERROR GOSUB stores a plain GOTO, so no return entry is made.
ON ERROR GOSUB *handler
PRINT "one": y = 1 / 0: PRINT "rest of line"
PRINT "not reached"
*handler
PRINT "handler"
ON ERROR GOTO *done
RETURN
*done
PRINT "RETURN without GOSUB failed"
