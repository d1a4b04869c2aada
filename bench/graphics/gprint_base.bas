t$ = "日本語の文字列を二十文字まで並べて描画する試験"
t$ = Left$(t$, 40)
FOR i = 1 TO 1000
  a = i MOD 800: b = i MOD 700: c = i MOD 8
NEXT
