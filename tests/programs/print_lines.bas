' Lines continue after ";", a form feed ends page and job (the rest of its
' text is lost), and the job left open is printed when the program ends.
LPRINT "ABC ";
LPRINT "DEF"
LPRINT "second line"
LPRINT 1; -2, "x"
LPRINT "end" + Chr$(12) + "lost"
LPRINT "job two"
LPRINT "日本語のテキスト"
PRINT "done"
