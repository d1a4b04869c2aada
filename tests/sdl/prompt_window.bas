' INPUT in a text window on a real screen: the keys typed at that window
' reach its line editor; the main window's INPUT works afterwards.
CREATEWINDOW w, 0, 0, 0, 300, 200, "Ask", &H10CF0000, "PROMPT"
SETWINDOW w
OPEN "ready1" FOR OUTPUT AS #1: CLOSE #1
LINE INPUT "name: ", a$
SETWINDOW hWnd
PRINT "got:"; a$
OPEN "ready2" FOR OUTPUT AS #1: CLOSE #1
INPUT "n"; n
PRINT "n:"; n
