' CLS 2 fills a "NORMAL" window white and a "PROMPT" window black; SCROLL
' leaves a black band on the white window too; drawing goes to the current
' window and the main window's surface is untouched.
CREATEWINDOW w, 0, 10, 10, 200, 150, "white", &H10CF0000
SETWINDOW w
CLS 2
PRINT Point(5, 5)
PSET (20, 20), 2
PRINT Point(20, 20)
SCROLL 0, -10
PRINT Point(5, 5); Point(5, 763)
CREATEWINDOW p, 0, 20, 20, 200, 150, "dark", &H10CF0000, "PROMPT"
SETWINDOW p
CLS 2
PRINT Point(5, 5)
SETWINDOW hWnd
PRINT Point(20, 20)
DESTROYWINDOW w
DESTROYWINDOW p
END
