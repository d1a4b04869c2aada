' 1023 nested GOSUBs work; the 1024th fails and leaves its entry, so a
' RETURN continues behind it.
ON ERROR GOTO *full
d = 0
*down
d = d + 1
GOSUB *down
PRINT "unwound"
END
*full
PRINT "depth"; d
RETURN
