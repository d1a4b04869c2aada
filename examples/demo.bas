' Quillrunner demo: text, numbers, loops, a routine, a function and a record.
' Run it with:  quill run examples/demo.bas
TYPE Item
  label AS String
  price AS Double
  count AS Integer
END TYPE

DIM stock(2) AS Item
stock(0).label = "apple": stock(0).price = 0.5: stock(0).count = 12
stock(1).label = "bread": stock(1).price = 2.25: stock(1).count = 3
stock(2).label = "cheese": stock(2).price = 4.75: stock(2).count = 0

PRINT "Quillrunner demo"
PRINT String$(16, "=")
total = 0
FOR i = 0 TO 2
  ShowItem stock(i).label, stock(i).price, stock(i).count
  total = total + stock(i).price * stock(i).count
NEXT i
PRINT "Stock value:"; total

' A WHILE loop and a block IF.
n = 27: steps = 0
WHILE n <> 1
  IF n MOD 2 = 0 THEN
    n = n \ 2
  ELSE
    n = 3 * n + 1
  END IF
  steps = steps + 1
WEND
PRINT "Collatz steps from 27:"; steps

' A DO loop with its condition at the end, and a function.
k = 0
DO
  k = k + 1
LOOP UNTIL Square(k) > 50
PRINT "First square above 50:"; Square(k)
PRINT "Done."
END

SUB ShowItem(what$, price, count AS Integer)
  IF count = 0 THEN PRINT what$; ": sold out": EXIT SUB
  PRINT what$; ":"; count; "at"; price
END SUB

FUNCTION Square(x) AS Double
  Square = x * x
END FUNCTION
