' CLS modes, SCROLL and COLOR: CLS 2 blackens the main window's surface and
' keeps the text, CLS 1 clears only the text, SCROLL leaves a black band,
' and COLOR's background -1 is transparent while -2 is a colour.
LINE (0, 0)-(319, 239), 7, BF
PRINT "kept"
CLS 2
PRINT Point(0, 0); Point(319, 239)
LINE (0, 0)-(319, 239), 7, BF
CLS
PRINT Point(0, 0)
CLS 3
PRINT Point(0, 0)
LINE (0, 0)-(319, 239), 7, BF
CLS 4
PRINT Point(0, 0)
' SCROLL 0, -10 moves the picture up: the bottom 10 rows turn black.
LINE (0, 0)-(319, 239), 7, BF
PSET (5, 20), 2
SCROLL 0, -10
PRINT Point(5, 10); Point(5, 20); Point(5, 229); Point(5, 230); Point(5, 239)
SCROLL 20, 0
PRINT Point(19, 0); Point(20, 0); Point(25, 10)
' Colours: the background -1 is transparent, -2 the COLORREF 2.
COLOR 2, -2
PRESET (100, 100)
PRINT Point(100, 100)
COLOR 4, 1
PRESET (101, 100)
PRINT Point(101, 100)
COLOR 7, -1
PSET (102, 100), 3
PRESET (102, 100)
PRINT Point(102, 100)
COLOR 7, 0
ON ERROR GOTO *colour
COLOR 1, 2, 3
PRINT "three drawn"
*colour
PRINT "three colours: error"
COLOR 7, 0
ON ERROR GOTO *scroll
SCROLL 1
PRINT "one scrolled"
*scroll
PRINT "SCROLL 1: error"
' A window the runtime does not own cannot be drawn on.
SETWINDOW 12345
ON ERROR GOTO *window
PSET (0, 0)
PRINT "drawn on 12345"
*window
SETWINDOW hWnd
PRINT "SETWINDOW 12345: error"
