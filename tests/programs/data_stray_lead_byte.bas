' A DATA item ending in a stray lead byte, quoted or not, keeps that byte.
DATA "yí", zí
READ a$, b$
PRINT LEN(a$); LEN(b$); ASC(RIGHT$(a$, 1)); ASC(RIGHT$(b$, 1))
q$ = "say ""h—"""
PRINT LEN(q$); ASC(MID$(q$, 7, 1))
