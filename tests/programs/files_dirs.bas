' CHDIR appends relative names to the current directory and takes names with
' a drive or two backslashes as they are; files are found through it. KILL of
' a missing or open file is an error; FILECOPY and NAME replace an existing
' target unless the keep flag is set; an open file cannot be opened again.
start$ = CurDir$
MKDIR "sub"
MKDIR "sub\deeper"
MKDIR "sub"
CHDIR "sub"
CHDIR "deeper"
IF CurDir$ = start$ + "\sub\deeper" THEN PRINT "sub\deeper appended" ELSE PRINT CurDir$
OPEN "inner.txt" FOR OUTPUT AS #1: PRINT #1, "in deeper": CLOSE
CHDIR Left$(start$, Len(start$) - 1)
IF CurDir$ = Left$(start$, Len(start$) - 1) THEN PRINT "back" ELSE PRINT CurDir$
OPEN "SUB\Deeper\INNER.TXT" FOR INPUT AS #1: LINE INPUT #1, a$: CLOSE: PRINT a$
CHDIR "C:\"
PRINT CurDir$
CHDIR "C:\data\"
PRINT CurDir$
CHDIR "\\server\share\"
PRINT CurDir$
CHDIR "x"
PRINT CurDir$
CHDIR start$
ON ERROR GOTO *nokill
KILL "missing.txt"
PRINT "not reached"
*nokill
PRINT "kill of a missing file fails"
OPEN "a.txt" FOR OUTPUT AS #1: PRINT #1, "A": CLOSE
OPEN "b.txt" FOR OUTPUT AS #1: PRINT #1, "B": CLOSE
OPEN "d.txt" FOR OUTPUT AS #1: PRINT #1, "D": CLOSE
OPEN "e.txt" FOR OUTPUT AS #1: PRINT #1, "E": CLOSE
OPEN "f.txt" FOR OUTPUT AS #1: PRINT #1, "F": CLOSE
OPEN "g.txt" FOR OUTPUT AS #1: PRINT #1, "G": CLOSE
FILECOPY "a.txt", "b.txt", 1
FILECOPY "a.txt", "c.txt"
FILECOPY "a.txt", "d.txt"
FILECOPY "missing.txt", "m.txt"
NAME "e.txt", "f.txt", 1
OPEN "f.txt" FOR INPUT AS #1: LINE INPUT #1, a$: CLOSE: PRINT "f.txt kept "; a$
NAME "e.txt", "f.txt"
NAME "g.txt", "h.txt", 1
NAME "missing.txt", "h.txt"
NAME "b.txt", "B.TXT"
ON ERROR GOTO *gone
OPEN "e.txt" FOR INPUT AS #1
PRINT "not reached"
*gone
PRINT "e.txt renamed"
ON ERROR GOTO *shared
OPEN "a.txt" FOR INPUT AS #1
OPEN "A.TXT" FOR INPUT AS #2
PRINT "not reached"
*shared
PRINT "a.txt in use"
ON ERROR GOTO *open
KILL "a.txt"
PRINT "not reached"
*open
PRINT "open file not killed"
CLOSE #1
KILL "a.txt"
ON ERROR GOTO *killed
OPEN "a.txt" FOR INPUT AS #1
*killed
PRINT "a.txt killed"
