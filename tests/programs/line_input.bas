' LINE INPUT: the whole line with its commas and quotes, the prompt forms
LINE INPUT A$
PRINT "["; A$; "]"
LINE INPUT "Semi"; B$
PRINT "["; B$; "]"; LEN(B$); ASC(B$)
LINE INPUT "Comma: ", C$
PRINT "["; C$; "]"
LINE INPUT ""; D$
PRINT "["; D$; "]"; LEN(D$)
LINE INPUT "Last", E$
PRINT "["; E$; "]"
