' Text files: write three lines, read them back, count the words.
OPEN "notes.txt" FOR OUTPUT AS #1
PRINT #1, "one two three"
PRINT #1, "four five"
WRITE #1, "six", 7
CLOSE #1

OPEN "notes.txt" FOR INPUT AS #1
words = 0
WHILE NOT EOF(1)
  LINE INPUT #1, l$
  PRINT l$
  words = words + CountWords(l$)
WEND
CLOSE #1
PRINT "Words:"; words
KILL "notes.txt"
END

FUNCTION CountWords(t$) AS Integer
  n = 0: inWord = 0
  FOR i = 1 TO Len(t$)
    c$ = Mid$(t$, i, 1)
    IF c$ = " " OR c$ = "," THEN
      inWord = 0
    ELSEIF inWord = 0 THEN
      inWord = -1: n = n + 1
    END IF
  NEXT
  CountWords = n
END FUNCTION
