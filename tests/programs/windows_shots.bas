' A form left open at program end: its capture shows each control drawn.
CREATEWINDOW form, 0, 20, 20, 300, 200, "Shots", &H10CF0000
CREATEWINDOW ok, form, 10, 10, 80, 26, "OK", &H50010000, "BUTTON", 1
CREATEWINDOW list, form, 10, 50, 120, 80, "", &H50800001, "LISTBOX", 2
CREATEWINDOW edit, form, 140, 10, 120, 24, "hello", &H50800080, "EDIT", 3
CREATEWINDOW check, form, 140, 50, 100, 20, "Check", &H50010003, "BUTTON", 4
SENDMESSAGE list, &H180, 0, "one"
SENDMESSAGE list, &H180, 0, "two"
SENDMESSAGE list, &H180, 0, "three"
SENDMESSAGE list, &H186, 1, 0
SENDMESSAGE check, &HF1, 1, 0
SENDMESSAGE check, &HF0, 0, 0, state
PRINT "checked"; state
