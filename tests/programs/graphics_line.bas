' LINE, PSET and MOVETO: end points both drawn, STEP from the start point,
' boxes, filled boxes, the default colour and the shared last point.
LINE (0, 0)-(10, 0)
PRINT Point(0, 0); Point(10, 0); Point(11, 0)
LINE (20, 20)-STEP(5, 5), 2
PRINT Point(20, 20); Point(25, 25); Point(26, 26)
LINE (40, 40)-(60, 50), 4, B
PRINT Point(40, 40); Point(60, 50); Point(60, 40); Point(50, 45)
LINE (70, 40)-(90, 50), 1, BF
PRINT Point(70, 40); Point(80, 45); Point(90, 50)
LINE (100, 40)-(120, 50), 4, bf, 2
PRINT Point(100, 40); Point(110, 45); Point(120, 50)
LINE (130, 40)-(140, 50), 6, b, 2
PRINT Point(135, 45)
' The last point: a LINE's end, a PSET's point, a MOVETO's point.
LINE -(30, 0), 5
PRINT Point(120, 50); Point(30, 0)
PSET (150, 10), 3
LINE -(160, 10), 6
PRINT Point(150, 10); Point(155, 10); Point(160, 10)
MOVETO (200, 100)
LINE -STEP(0, 10), 7
PRINT Point(200, 100); Point(200, 110)
PSET (5, 100)
PRINT Point(5, 100)
PSET (6, 100), RGB(1, 2, 3)
PRINT Point(6, 100); RGB(1, 2, 3)
' Outside the surface there is no pixel.
PRINT Point(-1, 0); Point(320, 0); Point(0, 240)
' Colours beyond the palette are black.
PSET (7, 100), 100
PRINT Point(7, 100)
' The text goes, so that the screenshot shows the picture alone.
CLS
