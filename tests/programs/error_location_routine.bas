' An error inside a SUB names the SUB's statement, also when the SUB was
' called from a single-line IF's branch.
SUB Show(a)
  PRINT "show"; a
  PRINT Mid$("abc", a, 1)
END SUB
Show 1
IF 1 THEN Show 0
