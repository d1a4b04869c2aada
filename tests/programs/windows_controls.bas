' The control classes through SENDMESSAGE: results and lengths as the
' system gives them.
CREATEWINDOW f, 0, 0, 0, 400, 300, "Controls", &H10CF0000
' ---- EDIT, single line ----
CREATEWINDOW e, f, 5, 5, 200, 22, "hello", &H50010080, "EDIT", 101
SENDMESSAGE e, &HE, 0, 0, n
PRINT "length"; n
SENDMESSAGE e, &HD, 256, t$, n
PRINT "text "; t$; n
SENDMESSAGE e, &HD, 3, t$, n
PRINT "small "; t$; n
SENDMESSAGE e, &HD, 1, t$, n
PRINT "none ["; t$; "]"; n
SENDMESSAGE e, &HC, 0, "abc" + Chr$(34) + "def", r
SENDMESSAGE e, &HD, 256, t$
PRINT "set "; r; t$; Len(t$)
SENDMESSAGE e, &HB1, 1, 4
SENDMESSAGE e, &HB0, s, en, r
PRINT "sel"; s; en; r = s + en * 65536
SENDMESSAGE e, &HB1, 0, -1
SENDMESSAGE e, &HB0, s, en
PRINT "all"; s; en
SENDMESSAGE e, &HB1, -1, 0
SENDMESSAGE e, &HB0, s, en
PRINT "deselected"; s; en
SENDMESSAGE e, &HC5, 5, 0
SENDMESSAGE e, &HD5, 0, 0, n
PRINT "limit"; n
' ---- EDIT, multi-line ----
CREATEWINDOW m, f, 5, 40, 200, 80, "", &H50010004, "EDIT", 102
SENDMESSAGE m, &HC, 0, "first" + Chr$(13) + Chr$(10) + "second line" + Chr$(13) + Chr$(10) + "3"
SENDMESSAGE m, &HBA, 0, 0, n
PRINT "lines"; n
FOR i = 0 TO 3
  SENDMESSAGE m, &HBB, i, 0, idx
  SENDMESSAGE m, &HC1, idx, 0, ln
  SENDMESSAGE m, &HC4, i, l$, got
  PRINT "line"; i; idx; ln; got; "["; l$; "]"
NEXT
SENDMESSAGE m, &HC9, 8, 0, n
PRINT "line of 8"; n
' ---- BUTTON ----
CREATEWINDOW b, f, 220, 5, 80, 24, "Push", &H50010000, "BUTTON", 201
CREATEWINDOW c, f, 220, 35, 80, 24, "Check", &H50010003, "BUTTON", 202
CREATEWINDOW r1, f, 220, 65, 80, 24, "One", &H50030009, "BUTTON", 203
CREATEWINDOW r2, f, 220, 95, 80, 24, "Two", &H50010009, "BUTTON", 204
SENDMESSAGE c, &HF0, 0, 0, n
PRINT "check"; n;
SENDMESSAGE c, &HF5, 0, 0
SENDMESSAGE c, &HF0, 0, 0, n
PRINT n;
SENDMESSAGE c, &HF1, 0, 0
SENDMESSAGE c, &HF0, 0, 0, n
PRINT n
SENDMESSAGE r1, &HF5, 0, 0
SENDMESSAGE r2, &HF5, 0, 0
SENDMESSAGE r1, &HF0, 0, 0, n1
SENDMESSAGE r2, &HF0, 0, 0, n2
PRINT "radio"; n1; n2
SENDMESSAGE b, &HF5, 0, 0
' WM_COMMAND from the clicks above, in order: identifier and BN_CLICKED.
DO
  GETMESSAGE h, msg, wp, lp
  IF msg = 273 AND h = f THEN PRINT "command"; wp AND &HFFFF; (wp \ 65536) AND &HFFFF
LOOP UNTIL msg = 273 AND (wp AND &HFFFF) = 201
' ---- LISTBOX ----
CREATEWINDOW l, f, 5, 130, 150, 100, "", &H50010001, "LISTBOX", 301
SENDMESSAGE l, &H180, 0, "Banana", n
SENDMESSAGE l, &H180, 0, "apple", n2
SENDMESSAGE l, &H181, 0, "Cherry", n3
SENDMESSAGE l, &H181, 9, "far", n4
PRINT "added"; n; n2; n3; n4
SENDMESSAGE l, &H18B, 0, 0, n
PRINT "count"; n
SENDMESSAGE l, &H18F, -1, "AP", n
SENDMESSAGE l, &H18F, -1, "b", n2
SENDMESSAGE l, &H18F, -1, "zz", n3
SENDMESSAGE l, &H18F, 2, "c", n4
PRINT "find"; n; n2; n3; n4
SENDMESSAGE l, &H188, 0, 0, n
PRINT "cursel"; n;
SENDMESSAGE l, &H18C, -1, "ban", n
SENDMESSAGE l, &H188, 0, 0, n2
PRINT n; n2;
SENDMESSAGE l, &H186, 7, 0, n
SENDMESSAGE l, &H188, 0, 0, n2
PRINT n; n2;
SENDMESSAGE l, &H186, 2, 0, n
PRINT n
SENDMESSAGE l, &H18A, 0, 0, n
SENDMESSAGE l, &H189, 0, t$, n2
PRINT "text"; n; n2; " "; t$
SENDMESSAGE l, &H18A, 5, 0, n
SENDMESSAGE l, &H189, 5, t$, n2
PRINT "bad item"; n; n2; "["; t$; "]"
SENDMESSAGE l, &H182, 0, 0, n
SENDMESSAGE l, &H182, 5, 0, n2
SENDMESSAGE l, &H188, 0, 0, n3
PRINT "deleted"; n; n2; n3
' ---- COMBOBOX ----
CREATEWINDOW k, f, 170, 130, 150, 120, "", &H50010002, "COMBOBOX", 401
SENDMESSAGE k, &H143, 0, "red", n
SENDMESSAGE k, &H143, 0, "green", n
SENDMESSAGE k, &H14A, 0, "blue", n
SENDMESSAGE k, &H146, 0, 0, n
PRINT "combo count"; n
SENDMESSAGE k, &H14D, -1, "GR", n
SENDMESSAGE k, &H147, 0, 0, n2
SENDMESSAGE k, &HD, 256, t$
PRINT "selected"; n; n2; " "; t$
SENDMESSAGE k, &H148, 0, t$, n
PRINT "item 0 "; t$; n
SENDMESSAGE k, &H14C, -1, "x", n
PRINT "find"; n
SENDMESSAGE k, &H140, s, en
PRINT "editsel"; s; en
' ---- STATIC and SCROLLBAR ----
CREATEWINDOW st, f, 5, 240, 100, 20, "Label", &H50000000, "STATIC", 501
SENDMESSAGE st, &HD, 256, t$
PRINT "static "; t$
CREATEWINDOW sb, f, 120, 240, 150, 16, "", &H50000000, "SCROLLBAR", 601
SETSCROLLINFO sb, ctl, 10, 50, 5, 20
SENDMESSAGE sb, &HE3, lo, hi
SENDMESSAGE sb, &HE1, 0, 0, p
PRINT "range"; lo; hi; p
SENDMESSAGE sb, &HE0, 99, 1, old
SENDMESSAGE sb, &HE1, 0, 0, p
PRINT "pos"; old; p
SENDMESSAGE sb, &HE0, 30, 1, old
SENDMESSAGE sb, &HE1, 0, 0, p
PRINT "pos"; old; p
' A handle that is no window answers 0 and leaves text empty.
SENDMESSAGE 12345, &HD, 256, t$, r
PRINT "no window"; r; "["; t$; "]"
