' PRINT # and WRITE # write whole lines ending in CR LF; OUTPUT empties a file
' that exists, APPEND writes behind its end, a mode word may be in capitals.
OPEN "lines.txt" FOR OUTPUT AS #1
PRINT #1, "text"; 12; -3.5
PRINT #1, 0.25, "tab"
PRINT #1, "no end";
PRINT #1, " joined"
PRINT #1,
n = 7: s$ = "q""x": z$ = "n" + Chr$(0) + "l"
WRITE #1, n, s$, 1; 2
PRINT #1, z$
CLOSE #1
OPEN "old.txt" FOR OUTPUT AS #2
PRINT #2, "a long first version of the file"
CLOSE
OPEN "old.txt" FOR OUTPUT AS #2
PRINT #2, "new"
CLOSE #2
OPEN "log.txt" FOR APPEND AS #3
PRINT #3, "first"
CLOSE
OPEN "log.txt" FOR APPEND AS 3
PRINT #3, "second"
CLOSE 3
OPEN "LOG.TXT" FOR INPUT AS #4
LINE INPUT #4, a$
LINE INPUT #4, b$
PRINT a$; "/"; b$; LOF(4)
CLOSE
PRINT "done"
