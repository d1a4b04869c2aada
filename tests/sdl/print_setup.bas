' PRINTER without a name shows the print setup dialog: the printer chosen
' there prints the next jobs; a cancelled dialog keeps the printer.
PRINTER
LPRINT "one"; CHR$(12);
PRINTER
LPRINT "two"; CHR$(12);
PRINTER
PRINTER
LPRINT "three"
PRINT "done"
