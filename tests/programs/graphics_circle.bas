' CIRCLE: the aspect shrinks one radius, negative angles make pies, F
' fills ellipses and pies but not arcs, and angles past 6.28 are errors.
' An ellipse of aspect 0.5 and radius 40 is 80 wide and 40 high. (Filled:
' the outline of a whole arc leaves out a pixel on the ray towards (0, 0),
' so a PAINT inside it leaks out, as on the original.)
CIRCLE (60, 60), 40, 4, , , .5, F, 2
PRINT Point(60, 60); Point(24, 60); Point(96, 60); Point(60, 44); Point(60, 76)
PRINT Point(15, 60); Point(105, 60); Point(60, 35); Point(60, 85)
' Aspect 2: 40 wide and 80 high.
CIRCLE (160, 60), 40, 4, , , 2, F, 2
PRINT Point(160, 60); Point(144, 60); Point(176, 60); Point(160, 24); Point(160, 96)
PRINT Point(135, 60); Point(185, 60); Point(160, 15); Point(160, 105)
' A filled circle.
CIRCLE (260, 60), 20, 7, , , , F, 1
PRINT Point(260, 60); Point(250, 60); Point(260, 70); Point(285, 60)
' Pie (a negative angle) against arc: only the pie draws the radii to the
' centre.
CIRCLE (60, 170), 30, 7, -1.57, 3.14
CIRCLE (160, 170), 30, 7, 1.57, 3.14
PRINT Point(60, 170); Point(160, 170)
' The arc from 1.57 to 3.14 is the upper left quarter: nothing of it lies
' right of the centre or below it.
n = 0: m = 0
FOR y = 135 TO 205
  FOR x = 125 TO 195
    IF Point(x, y) = 7 THEN IF x > 161 OR y > 171 THEN n = n + 1 ELSE m = m + 1
  NEXT
NEXT
PRINT n; m > 20
' A filled pie fills its wedge; F with two non-negative angles draws only
' the arc.
CIRCLE (260, 170), 30, 7, -.5, -1.5, , F, 4
CIRCLE (260, 170), 30, 7, .5, 1.5, , F, 2
PRINT Point(268, 157); Point(252, 183)
CLS 2
CIRCLE (60, 60), 30, 7, .5, 1.5, , F, 2
PRINT Point(68, 47)
' Angles past 6.28 either way are errors; 6.28 itself is not.
CIRCLE (60, 60), 10, 7, 6.28, -6.28
PRINT "6.28 drawn"
ON ERROR GOTO *over
CIRCLE (60, 60), 10, 7, 6.29, 1
PRINT "6.29 drawn"
*over
PRINT "6.29: error"
ON ERROR GOTO *under
CIRCLE (60, 60), 10, 7, 1, -6.3
PRINT "-6.3 drawn"
*under
PRINT "-6.3: error"
ON ERROR GOTO *word
CIRCLE (60, 60), 10, 7, , , , G
PRINT "G drawn"
*word
PRINT "G: error"
ON ERROR GOTO *more
CIRCLE (60, 60), 10, 7, , , , F, 2, 3
PRINT "ninth drawn"
*more
PRINT "ninth argument: error"
