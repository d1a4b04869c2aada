' 1,000 GPRINTs of a 20-character Japanese string.
t$ = "日本語の文字列を二十文字まで並べて描画する試験"
t$ = Left$(t$, 40)
FOR i = 1 TO 1000
  GPRINT i MOD 800, i MOD 700, t$, i MOD 8
NEXT
