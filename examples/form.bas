' A small form: an edit box, a list box, two buttons and a menu bar, driven
' by the program's own message loop. Type a word, press Add (or Enter on the
' button): the word joins the list. Choosing a word in the list shows it;
' File > Clear empties the list; Quit or the close box ends the program.
CREATEWINDOW form, 0, -1, -1, 360, 260, "Word list", &H10CF0000
CREATEWINDOW edit, form, 10, 10, 200, 24, "", &H50810080, "EDIT", 10
CREATEWINDOW list, form, 10, 44, 200, 160, "", &H50A10001, "LISTBOX", 20
CREATEWINDOW add, form, 230, 10, 100, 26, "Add", &H50010001, "BUTTON", 30
CREATEWINDOW quit, form, 230, 44, 100, 26, "Quit", &H50010000, "BUTTON", 40
CREATEWINDOW shown, form, 230, 80, 120, 20, "", &H50000000, "STATIC", 50
CREATEMENU bar
CREATEPOPUPMENU file
INSERTMENUITEM file, 0, 1, "Clear", 501
INSERTMENUITEM file, 1, 1
INSERTMENUITEM file, 2, 1, "Quit", 502
INSERTMENUITEM bar, 0, 1, "File", 500, file
SETMENU form, bar
DRAWMENUBAR form
DO
  GETMESSAGE h, m, wp, lp
  IF m = 16 THEN EXIT DO
  IF m = 273 THEN
    id = wp AND &HFFFF
    code = (wp \ 65536) AND &HFFFF
    IF id = 30 AND code = 0 THEN
      SENDMESSAGE edit, 13, 256, word$
      IF word$ <> "" THEN
        SENDMESSAGE list, &H180, 0, word$, at
        PRINT "added "; word$; " at"; at
        SENDMESSAGE edit, 12, 0, ""
      END IF
    ELSEIF id = 20 AND code = 1 THEN
      SENDMESSAGE list, &H188, 0, 0, at
      SENDMESSAGE list, &H189, at, word$
      SENDMESSAGE shown, 12, 0, word$
      PRINT "chosen "; word$
    ELSEIF id = 501 THEN
      SENDMESSAGE list, &H184, 0, 0
      PRINT "cleared"
    ELSEIF id = 40 OR id = 502 THEN
      EXIT DO
    END IF
  END IF
LOOP
SENDMESSAGE list, &H18B, 0, 0, n
PRINT "words left:"; n
DESTROYWINDOW form
