' The smallest program: one line of text.
PRINT "Hello, world!"
