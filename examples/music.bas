' Music: a melody and its accompaniment on two channels, then a three-voice
' chord, with instruments from the language's table.
' On a desktop it sounds through the built-in synthesiser:
'   quill run examples/music.bas
' Headless, it can be recorded into a Standard MIDI File:
'   QUILLRUNNER_MIDI_FILE=music.mid quill run examples/music.bas
PRINT "Playing..."
melody$ = "T132 O4 @1 E8E8F8G8 G8F8E8D8 C8C8D8E8 E8.D16D4"
bass$ = "T132 O3 @33 C2 G2 A2 E2"
PLAY melody$, bass$
' Octave and tempo carry over to the next PLAY on each channel.
PLAY "E8E8F8G8 G8F8E8D8 C8C8D8E8 D8.C16C4", "C2 G2 F2 G4 C4"
' A closing chord: three strings, one per channel.
PLAY "O5 C1", "O4 G1", "O4 E1"
PRINT "Done."
