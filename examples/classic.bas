' Line numbers, GOSUB, DATA and ON ... GOTO in the classic style.
10 DEFINT I-N
20 DEF FNarea(r) = 3.14159 * r * r
30 RESTORE 200
40 FOR i = 1 TO 3
50   READ name$, r
60   GOSUB 100
70 NEXT i
80 ON 2 GOTO 90, 95
90 PRINT "not here": END
95 PRINT "ON chose the second line": END
100 PRINT name$; " has area"; FNarea(r)
110 RETURN
200 DATA small, 1, medium, 2.5, "large one", 10
