' The second file of examples/chain.bas.
PRINT "never printed: CHAIN jumps to *second"
*second
PRINT "in the second file, shared ="; shared
END
