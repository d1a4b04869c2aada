' Every value the evaluator writes back as number text is rounded to 15
' significant digits; values that stay inside one flat expression are not.
' The same statements run several times, so that repeated evaluation of a
' text gives what its first evaluation gave.
a = 1 / 3
DIM b(3)
b(1) = 1 / 3
b(2) = -2
FOR k = 1 TO 2
  PRINT "pass"; k
  ' Groups round; flat arithmetic does not.
  PRINT (1/3)*3; 1/3*3; ((1/3))*3; ((1/3)*3)*3; 1/(3)*3
  PRINT (0.1+0.2)*10; 0.1+0.2 = 0.3; (0.1+0.2) = 0.3
  PRINT (a)*3; a*3; a*3 = 1; (a*3) = 1
  ' Array elements round, also inside groups and behind a minus.
  PRINT b(1)*3; -b(1)*3; (b(1))*3; 3-b(2); -b(2)^2; b(1+1)*b(1)
  ' A leading negated variable rounds; one in the middle does not.
  PRINT -a*3; 0-a*3; -a^2; (-a)*3
  ' Negated groups: the minus folds into the value's text.
  PRINT -(1/3)*3; -(-2)^2; 3-(-2); 3+(-2); 3*(-2); 2^(-1); -(0)
  ' Powers and relations from left to right.
  PRINT 2^3^2; 3>2>1; 1<2<3; 1<2=-1; 5-3-1; 64/4/2; 7\2\2
  ' Integer operators and logic.
  PRINT -7 MOD 2; 7 MOD 2*3; 5 AND 3 OR 8; 6 XOR 3 AND 5; (7\2)*1.5
  ' Radix and exponent literals.
  PRINT &h10*2; &o17+1; &h1E+5; &HFFFFFFFF; 1e2*3; 2.5E-3*4; 1e+3+1
  x1e = 5
  PRINT x1e+5; 2*x1e-1
  ' Large and small values around the number text's exponent form.
  PRINT (1e15+0.3)*1; (123456789012345.6)*1; (1/7e10)*1e10; (2/3e-5)*1
NEXT k
' An error inside a group gives 0 for the group and the rest goes on.
ON ERROR GOTO *trap1
PRINT (1/0)+5
*trap1
PRINT "trapped"
ON ERROR GOTO *trap2
z = 0
y = (4/z)*2+1 + (3 MOD z)
*trap2
PRINT "trapped"; y
