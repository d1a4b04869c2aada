' LOADIMAGE of every BMP depth, drawn with PUT and read back with Point;
' truncated, oversized and non-BMP files are runtime errors and leave the
' variable as it was.
DATA "pic24.bmp", "pic32.bmp", "pic8.bmp", "pic4.bmp", "pic16.bmp"
FOR i = 0 TO 4
  READ f$
  LOADIMAGE pic, f$
  PUT (10 * i, 0), pic, pset
  PRINT f$; Point(10 * i, 0); Point(10 * i + 1, 0); Point(10 * i + 2, 0); Point(10 * i + 3, 0);
  PRINT Point(10 * i, 1); Point(10 * i + 1, 1); Point(10 * i + 2, 1); Point(10 * i + 3, 1); Point(10 * i + 4, 0)
NEXT
LOADIMAGE mono, "pic1.bmp"
PUT (0, 10), mono, pset
PRINT "pic1.bmp"; Point(0, 10); Point(1, 10); Point(2, 10); Point(3, 10); Point(0, 11)
keep = mono
ON ERROR GOTO *truncated
LOADIMAGE mono, "truncated.bmp"
PRINT "truncated loaded"
*truncated
PRINT "truncated: error"; mono = keep
ON ERROR GOTO *oversized
LOADIMAGE mono, "oversized.bmp"
PRINT "oversized loaded"
*oversized
PRINT "oversized: error"; mono = keep
ON ERROR GOTO *notbmp
LOADIMAGE mono, "notbmp.bmp"
PRINT "notbmp loaded"
*notbmp
PRINT "notbmp: error"; mono = keep
ON ERROR GOTO *missing
LOADIMAGE mono, "missing.bmp"
PRINT "missing loaded"
*missing
PRINT "missing: error"; mono = keep
ON ERROR GOTO *extra
LOADIMAGE mono, "pic24.bmp", 1
PRINT "extra loaded"
*extra
PRINT "extra argument: error"
