' The clipboard statement and Clipboard$ through the desktop's clipboard.
CLIPBOARD "日本 text"
PRINT "clip:"; CLIPBOARD$
