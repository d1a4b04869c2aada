' Text and drawings, for comparing the window on the screen pixel for pixel
' with the headless screenshot of the same program.
PRINT "Quillrunner 画面の比較 ABC 123"
PRINT "二行目: text, ｶﾅ"
LINE (20, 60)-(220, 160), 4, BF
LINE (240, 60)-(400, 160), 2, B
CIRCLE (320, 220), 50, 6, , , , F, 1
CIRCLE (120, 240), 40, 7
PSET (500, 100), RGB(18, 52, 86)
LINE (0, 300)-(600, 330), RGB(200, 100, 50)
LOCATE 5, 30: PRINT "over the drawing"
OPEN "ready" FOR OUTPUT AS #1: CLOSE #1
WHILE INKEY$ = "": WEND
