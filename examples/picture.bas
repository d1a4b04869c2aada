' A harbour at night: a sky that darkens towards the top, stars, the moon,
' hills, a lighthouse with its beam, a boat on the waves, a title drawn with
' GPRINT and the console's text over it all.
CLS 3
' The sky: one line per row, from deep blue at the top to violet at the
' horizon.
FOR y = 0 TO 479
  LINE (0, y)-(1023, y), RGB(20 + y / 8, 10 + y / 12, 60 + y / 5)
NEXT
' The sea below the horizon.
LINE (0, 480)-(1023, 767), RGB(5, 20, 60), BF
' Stars, the same sky every time.
RANDOMIZE 7
FOR i = 1 TO 300
  PSET (RND * 1024, RND * 420), RGB(200 + RND * 55, 200 + RND * 55, 255)
NEXT
' The moon and its light on the water.
CIRCLE (820, 120), 50, RGB(255, 250, 210), , , , F
CIRCLE (845, 105), 50, RGB(33, 19, 82), , , , F
FOR y = 490 TO 760 STEP 9
  w = 30 + (y - 480) / 6
  LINE (800 - w, y)-(800 + w, y), RGB(230, 220, 160)
NEXT
' Hills, outlined and then filled.
LINE (0, 480)-(120, 380), RGB(10, 40, 30)
LINE -(260, 430), RGB(10, 40, 30)
LINE -(400, 360), RGB(10, 40, 30)
LINE -(560, 480), RGB(10, 40, 30)
LINE (0, 480)-(560, 480), RGB(10, 40, 30)
PAINT (200, 470), RGB(10, 40, 30), RGB(10, 40, 30)
' The lighthouse: a striped tower, a lamp and a beam.
FOR k = 0 TO 5
  c = 2: IF k MOD 2 THEN c = 7
  LINE (380, 360 - k * 30)-(410, 389 - k * 30), c, BF
NEXT
LINE (372, 180)-(418, 210), 6, BF
CIRCLE (395, 195), 12, 7, , , , F, 6
LINE (418, 186)-(700, 150), 6
LINE (418, 204)-(700, 240), 6
LINE (700, 150)-(700, 240), 6
PAINT (600, 195), RGB(150, 130, 70), 6
' Waves: arcs across the sea.
FOR y = 520 TO 760 STEP 40
  FOR x = 0 TO 1023 STEP 64
    CIRCLE (x + (y MOD 80) / 2, y), 30, RGB(60, 90, 150), .3, 2.8, .3
  NEXT
NEXT
' A boat with a sail.
LINE (200, 600)-(340, 600), 6
LINE -(310, 630), 6
LINE -(230, 630), 6
LINE -(200, 600), 6
PAINT (270, 615), RGB(140, 70, 30), 6
LINE (270, 600)-(270, 500), 7
LINE -(330, 590), 7
LINE -(270, 590), 7
PAINT (285, 580), 7, 7
' The title, and a caption printed in the console over the picture.
GPRINT 40, 40, "夜の港", 7, -1, 48, , "", "bold"
GPRINT 44, 100, "Quillrunner のグラフィックス", RGB(230, 220, 160), -1, 20
COLOR 7, -1
LOCATE 2, 40
PRINT "線、円、塗りつぶし、文字。";
LOCATE 2, 41
PRINT "Lines, circles, fills and text, drawn by a BASIC program."
COLOR 7, 0
