' KEY STOP holds an F3 press; KEY ON runs its trap once. KEY OFF ignores F1.
ON KEY GOSUB *F1, , *F3
KEY STOP
X$ = INPUT$(1)
PRINT "held"
KEY ON
PRINT "on"
X$ = INPUT$(1)
PRINT "still on"
KEY OFF
X$ = INPUT$(1)
PRINT "end"
END
*F1
PRINT "F1 trap"
RETURN
*F3
PRINT "F3 trap"
RETURN
