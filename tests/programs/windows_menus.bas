' Menus: a pop-up menu choice arrives as message 273, separators, item
' texts by command and by position, a menu bar and its choices, disabled
' and deleted items, and menu handles as plain (negative) numbers.
CREATEWINDOW w, 0, 0, 0, 320, 240, "Menus", &H10CF0000
CREATEPOPUPMENU p
PRINT "popup handle negative:"; p < 0
INSERTMENUITEM p, 0, 1, "One", 1
INSERTMENUITEM p, 1, 1, "Two", 2
INSERTMENUITEM p, 2, 1
INSERTMENUITEM p, 3, 1, "Three", 3
PRINT "by command: "; MenuStr$(p, 2, 0)
PRINT "by position: "; MenuStr$(p, 3, &H400)
PRINT "separator: ["; MenuStr$(p, 2, &H400); "]"
PRINT "missing: ["; MenuStr$(p, 9, 0); "]"
TRACKPOPUPMENU p, w, 10, 10
DO
  GETMESSAGE h, m, wp, lp
LOOP UNTIL m = 273
PRINT "popup choice"; m; wp; lp
' A menu bar with a submenu.
CREATEMENU bar
CREATEPOPUPMENU file
INSERTMENUITEM file, 0, 1, "Open", 101
INSERTMENUITEM file, 1, 1, "Quit", 102
INSERTMENUITEM bar, 0, 1, "File", 100, file
INSERTMENUITEM bar, 1, 1, "Help", 200
SETMENU w, bar
DRAWMENUBAR w
PRINT "menu handle"; MenuHandle(w) = bar; SubMenu(bar, 0) = file; SubMenu(bar, 1)
ENABLEMENUITEM bar, 101, 1
DO
  GETMESSAGE h, m, wp, lp
LOOP UNTIL m = 273
PRINT "bar choice"; wp
DELETEMENU bar, 200, 0
PRINT "after delete: ["; MenuStr$(bar, 1, &H400); "]"
s = SysMenu(w)
PRINT "system menu"; s <> 0; SysMenu(w) = s
RESETSYSTEMMENU w
' A stale handle is silently ignored.
DESTROYMENU p
INSERTMENUITEM p, 0, 1, "Gone", 9
PRINT "destroyed: ["; MenuStr$(p, 0, &H400); "]"
DELETEMENU bar, 5
PRINT "not reached"
