' Answers from the events file reach a text window's INPUT and LINE INPUT;
' when they run out while that window waits for a line, the program ends
' as it does when the main window's INPUT runs out.
CREATEWINDOW w, 0, 40, 30, 240, 120, "Events", &H10CF0000, "PROMPT"
SETWINDOW w
LINE INPUT "say: ", s$
INPUT n
SETWINDOW hWnd
PRINT "said "; s$; n
SETWINDOW w
INPUT "more"; m$
PRINT "not reached"
