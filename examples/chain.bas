' A program of two source files: build them together,
'   quill run examples/chain.bas examples/chain_second.bas
PRINT "in the first file"
shared = 42
CHAIN "chain_second.bas", *second, ALL
