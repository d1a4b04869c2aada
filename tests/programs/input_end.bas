' When stdin is used up while INPUT waits, the program ends as if closed
INPUT A
PRINT A
INPUT "More"; B
PRINT "not reached"
