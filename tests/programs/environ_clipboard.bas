' ENVIRON sets the process environment that Environ$ reads; an empty value
' removes the variable. CLIPBOARD and Clipboard$ carry any bytes up to a NUL.
ENVIRON "QR_SOUND_TEST", "value " + Chr$(34) + "quoted" + Chr$(34)
PRINT "[" + Environ$("QR_SOUND_TEST") + "]"
ENVIRON "QR_SOUND_TEST", ""
PRINT "[" + Environ$("QR_SOUND_TEST") + "]"
PRINT "[" + Environ$("QR_NEVER_SET_ANYWHERE") + "]"
ON ERROR GOTO *badname
ENVIRON "A=B", "x"
PRINT "not reached"
*badname
PRINT "a name with = is an error"
ON ERROR GOTO *onearg
ENVIRON "A"
PRINT "not reached"
*onearg
PRINT "one argument is an error"
PRINT "[" + Clipboard$ + "]"
t$ = "a" + Chr$(34) + "b" + Chr$(1) + "c" + Chr$(9) + "d"
CLIPBOARD t$
c$ = Clipboard$
IF c$ = t$ THEN PRINT "round trip"; Len(c$)
CLIPBOARD "x" + Chr$(0) + "y"
PRINT "[" + Clipboard$ + "]"
CLIPBOARD ""
PRINT "[" + Clipboard$ + "]"
