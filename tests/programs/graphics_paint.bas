' PAINT: a closed box with its border colour fills only its inside;
' without a border colour the fill floods everything but the colour
' 0x000001; a seed of the fill colour does nothing.
LINE (10, 10)-(50, 40), 4, B
PAINT (30, 25), 2, 4
PRINT Point(30, 25); Point(11, 11); Point(49, 39); Point(10, 10); Point(9, 25); Point(51, 25)
' The same box without a border colour: the whole surface, box included.
CLS 2
LINE (10, 10)-(50, 40), 4, B
PAINT (30, 25), 6
PRINT Point(30, 25); Point(10, 10); Point(0, 0); Point(319, 239)
' 0x000001 (RGB(1, 0, 0)) is the colour that stops a fill without a border.
CLS 2
LINE (100, 0)-(100, 239), RGB(1, 0, 0)
PAINT (0, 0), 1
PRINT Point(99, 120); Point(100, 120); Point(101, 120)
' A seed that already has the fill colour changes nothing, though other
' colours lie next to it.
PSET (0, 0), 2
PAINT (0, 0), 2, 4
PRINT Point(0, 0); Point(1, 0)
PAINT (1, 0), 2, 4
PRINT Point(1, 0); Point(50, 50); Point(101, 0)
' Only the border colour stops the scan: a line of the fill colour is
' crossed when the span reaching it starts on another colour, and blocks
' the fill when the whole span below starts on the fill colour.
CLS 2
LINE (20, 50)-(319, 50), 5
PAINT (10, 10), 5, 4
PRINT Point(10, 100); Point(10, 10)
CLS 2
LINE (0, 50)-(319, 50), 5
PAINT (10, 10), 5, 4
PRINT Point(10, 100); Point(10, 10)
' A seed outside the surface fills nothing.
CLS 2
PAINT (-5, 10), 3
PAINT (10, 240), 3
PRINT Point(0, 10); Point(10, 239)
' The fill redraws the text over the new picture and the cursor stays.
PRINT "after";
PAINT (0, 0), 4
PRINT " paint"
