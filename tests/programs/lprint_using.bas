' LPRINT USING formats like PRINT USING; a trailing ";" keeps the line open.
LPRINT USING "###.##"; 3.14159
LPRINT USING "Total #,### @"; 1234; "yen";
LPRINT "!"
a$ = "日本"
LPRINT USING "[@] ##.#"; a$ + "語"; -2.25
