' Built-in functions inside statements: nesting, literals, results as text.
a$ = "abcdef"
PRINT LEFT$(MID$(a$, 2, 3), 2); "|"; RIGHT$(a$, 2); "|"; MID$(a$, 5)
PRINT LEN(a$ + "xyz"); INSTR(a$ + a$, "c"); INSTR(4, a$ + a$, "c")
PRINT "LEFT$(a$, 1) stays as it is"
PRINT CINT(2.5); CINT(-2.5); FIX(-2.7); INT(-2.7); SGN(-0.0001); ABS(-3)
PRINT CSNG(1 / 3); CDBL(1 / 3)
PRINT LOWORD(-1); HIWORD(-1); MAKELONG(1, 2); MAKELONG(65535, 65535); RGB(1, 2, 3)
PRINT HEX$(255); " "; HEX$(-1); " "; OCT$(8)
PRINT VAL("&h1F") + VAL("&o17") + VAL(" 12.5abc"); VAL("1e3"); VAL("-&hFF")
PRINT STR$(0.5); STR$(-0.25); "["; SPACE$(3); "]"; STRING$(3, "ab")
PRINT ASC("A"); CHR$(65); CHR$(321); CHR$(34); "x"
PRINT RND; RND(1); RND(0)
RANDOMIZE 1
PRINT RND; RND
PRINT SQR(16); SQR(2); LOG(EXP(2)); ATN(1) * 4
ON ERROR GOTO *bad
PRINT "log"; LOG(0); "continued"
END
*bad
PRINT "trapped"
