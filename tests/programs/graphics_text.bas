' Text over graphics as the window shows it, checked in the screenshot:
' opaque, transparent and nearly black cell backgrounds of the console,
' GPRINT with transparent and black backgrounds, and Japanese text.
LINE (0, 0)-(1023, 767), 2, BF
COLOR 7, 1: PRINT "    "
COLOR 7, -1: PRINT "    "
COLOR 7, -2: PRINT "    "
' A transparent blank (LOCATE pads with them) shows the surface even where
' the cell background is opaque.
COLOR 7, 1: LOCATE 4, 3: PRINT "  "
GPRINT 600, 100, "    ", 7, -1
GPRINT 600, 150, "    ", 7, 0
GPRINT 600, 200, "  ", 7, 0, -1, , ""
' Japanese text in the console font and its size: the glyphs leave pixels
' of their colour between (0, 300) and (48, 316), and their cells stay red.
GPRINT 0, 300, "日本語", 6
n = 0
FOR y = 300 TO 316
  FOR x = 0 TO 47
    IF Point(x, y) = 6 THEN n = n + 1
  NEXT
NEXT
PRINT n > 30; Point(60, 310)
' A bold italic face of another charset draws too.
GPRINT 0, 400, "漢字", 5, -1, 24, , "IPAGothic", allset, shiftjis
n = 0
FOR y = 400 TO 424
  FOR x = 0 TO 47
    IF Point(x, y) = 5 THEN n = n + 1
  NEXT
NEXT
PRINT n > 30
ON ERROR GOTO *style
GPRINT 0, 0, "x", 7, -1, -1, , "", fancy
PRINT "fancy drawn"
*style
PRINT "fancy: error"
ON ERROR GOTO *charset
GPRINT 0, 0, "x", 7, -1, -1, , "", , klingon
PRINT "klingon drawn"
*charset
PRINT "klingon: error"
ON ERROR GOTO *few
GPRINT 0, 0
PRINT "two drawn"
*few
PRINT "two arguments: error"
COLOR 7, 0
