' A program of two source files: build them together,
'   quill run examples/chain.bas examples/chain_more1.bas
PRINT "in the first file"
shared = 42
CHAIN "chain_more1.bas", *second, ALL
