' A job still open when a runtime error ends the program is printed.
LPRINT "before the error"
x = 1 / 0
