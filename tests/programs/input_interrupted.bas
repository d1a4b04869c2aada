' Program end interrupts an INPUT that waits: another thread ends the program
CREATETHREAD *ender
INPUT A
PRINT "not reached"
*ender
FOR I = 1 TO 2000: NEXT
END
