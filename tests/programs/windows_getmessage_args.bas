' GETMESSAGE needs four variables: three are a runtime error, reported
' before any wait.
CREATEWINDOW w, 0, -1, -1, -1, -1, "Args", 0
PRINT "before"
GETMESSAGE h, m, wp
PRINT "not reached"
