' Array elements read and written by the same statements while the array
' changes: declared, erased, sparse elements, a second entry of the same
' name, Integer cells, and subscripts out of bounds or negative.
DIM v(4)
DIM n%(2, 2)
FOR r = 1 TO 3
  v(r) = r / 3
  n%(r - 1, 1) = r * 1.7
  PRINT "read"; v(r) * 3; v(r - 1) + v(r); n%(r - 1, 1); -v(r) * 3; (v(r)) * 3
NEXT
ERASE v
FOR r = 1 TO 2
  v(r) = r + 0.5
  PRINT "sparse"; v(r); v(r) * 2; v(3)
  IF r = 1 THEN DIM v(5)
NEXT
ON ERROR GOTO *over
i = 9
PRINT "over"; n%(i, 0) + 1
*over
PRINT "trapped over"
ON ERROR GOTO *negative
n%(1 - 3, 0) = 5
*negative
PRINT "trapped negative"; n%(0, 1); n%(1, 1)
ON ERROR GOTO *dims
PRINT n%(1) + 1
*dims
PRINT "trapped dims"
