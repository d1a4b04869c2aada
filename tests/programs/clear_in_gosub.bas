' CLEAR inside a subroutine forgets the return positions along with the
' variables: the RETURN that follows has nothing to return to.
ON ERROR GOTO *lost
a = 5
GOSUB *sub
PRINT "returned"
END
*sub
CLEAR
PRINT "a after CLEAR"; a
RETURN
*lost
PRINT "RETURN after CLEAR is an error"
