' MOUSE(2) STOP holds a click; MOUSE(2) ON runs its trap. A right button
' release is event 5 at its own position.
ON MOUSE(2) GOSUB *CLICK
MOUSE(2) STOP
X$ = INPUT$(1)
PRINT "held"; MOUSE(2)
MOUSE(2) ON
PRINT "on"
X$ = INPUT$(1)
PRINT MOUSE(0); MOUSE(1); MOUSE(2)
END
*CLICK
PRINT "click at"; MOUSE(0); MOUSE(1)
RETURN
