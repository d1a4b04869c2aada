' PRINT USING: numeric and string fields, literal text, missing and extra
' values, and the line-end rule.
PRINT USING "###.##"; 3.14159
PRINT USING "###.##"; -3.14159
PRINT USING "#,###"; 1234
PRINT USING "##"; 123
PRINT USING ".##"; 0.5
PRINT USING "#.##"; -0.5
PRINT USING "+##"; 5
PRINT USING "+##"; -5
PRINT USING "##.##^^^^"; 123.4
PRINT USING "##.##^^^^"; 0.00123
PRINT USING "#^^^^"; 5.5
PRINT USING "#^^^^"; -12.5
n$ = "world"
PRINT USING "Hello, @!"; n$
PRINT USING "[& &]"; "abcdef"
PRINT USING "## + ## = ###"; 2, 3, 2 + 3
PRINT USING "## and ##"; 7
PRINT USING "##"; 1, 2, 3
PRINT USING "#.#"; 9.99
PRINT USING "#.##^^^^"; 0
x = 2.5
PRINT USING "x=##.#, "; x;
PRINT USING "y=@"; "end"
f$ = "##.# &  &|"
PRINT USING f$; 1.25, "abcdef"
FOR i = 1 TO 3
  PRINT USING "###"; i * i;
NEXT i
PRINT
