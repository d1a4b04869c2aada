*elsewhere
PRINT "in more"
RETURN
