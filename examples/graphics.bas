' Drawing: lines, boxes, circles and a flood fill.
CLS 3
COLOR 7, 0
LINE (10, 10)-(200, 120), 4, B
LINE (20, 20)-STEP(50, 30), 2, BF
CIRCLE (150, 70), 30, 6
PAINT (150, 70), 1, 6
PSET (5, 5), 7
GPRINT 10, 130, "Quillrunner", 7, -1
c = Point(150, 70)
PRINT "colour at the centre:"; c
