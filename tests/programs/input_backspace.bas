' Backspace takes back a double-byte character whole and never erases the prompt
LINE INPUT "Name"; A$
PRINT "["; A$; "]"; LEN(A$)
INPUT B$
PRINT "["; B$; "]"; LEN(B$)
INPUT "Quote"; C$
PRINT "["; C$; "]"; LEN(C$)
