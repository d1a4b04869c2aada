' Program end interrupts an INPUT that waits: another thread ends the program
' (after a while, so that the INPUT is waiting by then even on a busy machine)
CREATETHREAD *ender
INPUT A
PRINT "not reached"
*ender
FOR I = 1 TO 200000: NEXT
END
