' PRINTER chooses the printer by name (letter case ignored); changing the
' printer prints the open job first. A name no printer has is an error that
' keeps the printer and its open job, which the program end prints.
ON ERROR GOTO *bad
LPRINT "first job";
PRINTER "quillrunner pdf"
LPRINT "second job"
PRINTER "No Such Printer"
PRINT "not reached"
*bad
PRINT "no such printer"
LPRINT "still second"
