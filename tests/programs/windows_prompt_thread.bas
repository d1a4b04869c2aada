' A text window made by a second BASIC thread takes that thread's LINE
' INPUT while the first thread keeps running.
CREATETHREAD *asker
FOR i = 1 TO 3000
  SLEEP 2
  IF done = 1 THEN EXIT FOR
NEXT
PRINT "main sees "; answer$
END
*asker
CREATEWINDOW w, 0, 10, 10, 200, 100, "Thread", &H10CF0000, "PROMPT"
SETWINDOW w
LINE INPUT "who: ", answer$
SETWINDOW hWnd
done = 1
