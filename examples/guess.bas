' Guess the number: INPUT, Rnd and a loop with an early exit.
RANDOMIZE
secret = Int(Rnd * 100) + 1
tries = 0
DO
  INPUT "Your guess (1-100)"; g
  tries = tries + 1
  IF g = secret THEN EXIT DO
  IF g < secret THEN PRINT "Higher." ELSE PRINT "Lower."
LOOP
PRINT "Right! You needed"; tries; "tries."
