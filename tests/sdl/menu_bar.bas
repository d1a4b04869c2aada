' A window with a menu bar and a pop-up menu on a real screen: each choice
' arrives as message 273 with the item's identifier. Each wait first
' leaves a marker file; the choices go to the console text.
CREATEWINDOW w, 0, 0, 0, 320, 240, "Shapes", &H10CF0000
CREATEMENU bar
CREATEPOPUPMENU file
INSERTMENUITEM file, 0, 1, "Open", 101
INSERTMENUITEM file, 1, 1
INSERTMENUITEM file, 2, 1, "Quit", 102
INSERTMENUITEM bar, 0, 1, "File", 100, file
INSERTMENUITEM bar, 1, 1, "Help", 200
SETMENU w, bar
DRAWMENUBAR w
FOR i = 1 TO 2
  OPEN "bar" + STR$(i) FOR OUTPUT AS #1: CLOSE #1
  DO
    GETMESSAGE h, m, wp, lp
  LOOP UNTIL m = 273
  PRINT "bar choice"; wp; lp
NEXT
CREATEPOPUPMENU p
INSERTMENUITEM p, 0, 1, "Red", 1
INSERTMENUITEM p, 1, 1, "Green", 2
OPEN "popup" FOR OUTPUT AS #1: CLOSE #1
TRACKPOPUPMENU p, w, 100, 50
DO
  GETMESSAGE h, m, wp, lp
LOOP UNTIL m = 273
PRINT "popup choice"; wp
