' Input$ waiting for more keys than stdin has also ends the program
A$ = INPUT$(2)
PRINT "["; A$; "]"
A$ = INPUT$(2)
PRINT "not reached"
