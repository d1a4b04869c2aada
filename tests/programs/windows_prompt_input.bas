' A text window takes INPUT and LINE INPUT typed at it (the answers are on
' stdin), echoes them in its own console, and the main window's INPUT still
' works afterwards.
CREATEWINDOW w, 0, 10, 10, 300, 200, "Ask", &H10CF0000, "PROMPT"
SETWINDOW w
INPUT "name"; a$
' The first answer has one field too few: the warning, then the prompt again.
INPUT "two numbers", x, y
LINE INPUT "line: ", b$
SETWINDOW hWnd
PRINT "got "; a$; "/"; x + y; "/"; b$
INPUT "main"; c
PRINT c * 2
