' PRINTER without a name asks the print setup dialog: a cancelled dialog
' changes nothing (the open job stays open), a chosen printer prints the
' open job and takes its place.
LPRINT "one";
PRINTER
LPRINT " more"
PRINTER
LPRINT "two"
PRINT "ok"
