' GET and PUT: a 10 x 10 block with and without STEP, the four modes in
' any case, XOR twice restoring the picture, slot reuse and a full table,
' and numbers that are no bitmap.
LINE (0, 0)-(9, 9), 2, BF
LINE (0, 0)-(9, 0), 4
PSET (9, 9), 1
GET (0, 0)-(9, 9), a
PUT (50, 50), a, pset
PRINT Point(50, 50); Point(59, 50); Point(55, 55); Point(59, 59); Point(60, 60); Point(49, 49)
GET @(0, 0)-STEP(9, 9), b
PUT @(100, 50), b, PSET
PRINT Point(100, 50); Point(109, 59); Point(110, 59)
' XOR twice at the same place restores what was there.
LINE (150, 50)-(170, 70), 6, BF
PUT (155, 55), a, xor
PRINT Point(155, 56); Point(158, 58)
PUT (155, 55), a, XOR
PRINT Point(155, 56); Point(158, 58); Point(164, 64)
' OR and AND.
LINE (200, 50)-(220, 70), 1, BF
PUT (200, 50), a, Or
PRINT Point(205, 55)
PUT (200, 50), a, AND
PRINT Point(205, 55); Point(200, 50)
' A variable that already holds a bitmap gets a new one in the same slot:
' two thousand GETs into one variable never fill the table.
FOR i = 1 TO 2000
  GET (0, 0)-(1, 1), a
NEXT
PUT (0, 100), a, pset
PRINT "reused"; Point(0, 100)
' New variables take new slots: the 1025th bitmap does not fit.
DIM im(1100)
ON ERROR GOTO *full
FOR i = 0 TO 1100
  GET (0, 0)-(1, 1), im(i)
NEXT
*full
PRINT "table full at"; i; "with"; im(1021) <> 0; im(1022) = 0
' Numbers that are no bitmap, and a mode that is none of the four.
ON ERROR GOTO *nobitmap
PUT (0, 0), 12345, pset
PRINT "12345 drawn"
*nobitmap
PRINT "12345: error"
ON ERROR GOTO *mode
PUT (0, 0), b, copy
PRINT "copy drawn"
*mode
PRINT "copy: error"
ON ERROR GOTO *empty
GET (10, 10)-(5, 5), c
PRINT "empty block taken"
*empty
PRINT "empty block: error"
