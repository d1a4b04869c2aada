' The message queue of a thread's user windows: every message a "NORMAL"
' window's procedure receives is queued, the close box leaves the window
' open, a full queue keeps the 32 newest messages, and an empty queue hands
' out the last message again.
CREATEWINDOW w, 0, 10, 20, 300, 200, "Queue test", &H10CF0000
PRINT "created"; w <> 0
' Drain what creating and showing the window queued, up to its first paint.
DO
  GETMESSAGE h, m, wp, lp
  IF h <> w THEN PRINT "foreign window"
LOOP UNTIL m = 15
' The events file clicks the close box now: message 16 arrives, and the
' window is still there afterwards.
DO
  GETMESSAGE h, m, wp, lp
LOOP UNTIL m = 16
PRINT "close"; m; h = w
SENDMESSAGE w, 13, 256, t$
PRINT "still open: "; t$
' 33 messages before the next GETMESSAGE: the oldest is lost.
FOR i = 1 TO 33
  SENDMESSAGE w, &H400 + i, i, -i
NEXT
GETMESSAGE h, m, wp, lp
PRINT "first"; m - &H400; wp; lp
n = 1
WHILE n < 32
  GETMESSAGE h, m, wp, lp
  n = n + 1
WEND
PRINT "last"; m - &H400; wp; lp
' The result of SENDMESSAGE: a "NORMAL" window answers 0.
SENDMESSAGE w, &H500, 1, 2, r
PRINT "result"; r
GETMESSAGE h, m, wp, lp
PRINT "taken"; m - &H400; wp; lp
DESTROYWINDOW w
SENDMESSAGE w, 13, 256, t$, r
PRINT "destroyed:"; r; "["; t$; "]"
