// File channels in process: the OPEN and CLOSE argument forms, fields read
// byte by byte, lines written, EOF/LOF/LOC, and path resolution.
#include "files_test_util.h"

#include "data/variables.h"
#include "files/channel_table.h"
#include "files/serial.h"
#include "platform/fileapi.h"

namespace {

TEST_F(FilesTest, FieldsEndAtCrCrLfNulAndCommasButNotAtLoneLf) {
  static const char kData[] = "12,34\r\nab\ncd\ref\0g,h\r\n x y \rlast";
  Write("d", std::string(kData, sizeof kData - 1));
  Open("d", "input", 1);
  ASSERT_FALSE(TakeError());
  EXPECT_EQ(Field(1, false), "12");
  EXPECT_EQ(Field(1, false), "34");
  EXPECT_EQ(ChannelLoc("1"), 7) << "behind the CR LF";
  EXPECT_EQ(Field(1, true), "ab\ncd");
  EXPECT_EQ(ChannelLoc("#1"), 13) << "the byte after a lone CR is given back";
  EXPECT_EQ(Field(1, true), "ef");
  EXPECT_EQ(Field(1, true), "g,h") << "LINE INPUT keeps commas";
  EXPECT_EQ(Field(1, false), " x y ") << "blanks are kept";
  EXPECT_EQ(ChannelEof("1"), 0);
  EXPECT_EQ(ChannelEof("1"), 0);
  EXPECT_EQ(ChannelLoc("1"), 27) << "EOF does not move the position";
  EXPECT_EQ(Field(1, false), "last") << "a last line without CR";
  EXPECT_EQ(ChannelEof("1"), -1);
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Field(1, false), "<error>") << "reading past the end";
  EXPECT_TRUE(TakeError());
}

TEST_F(FilesTest, AFieldHoldsAtMost8192Bytes) {
  Write("long", std::string(8192, 'a') + "b,c\r\n" + std::string(8193, 'd'));
  Open("long", "input", 2);
  EXPECT_EQ(Field(2, false), std::string(8192, 'a'));
  EXPECT_EQ(Field(2, false), "b");
  EXPECT_EQ(Field(2, false), "c");
  EXPECT_EQ(Field(2, true), std::string(8192, 'd'));
  EXPECT_EQ(Field(2, true), "d");
  EXPECT_FALSE(TakeError());
}

TEST_F(FilesTest, ChannelInputStoresStringsAndNumbers) {
  Write("in", "  7.5e1xyz, \"q\" ,9\r\nwhole, line\r\n");
  Open("in", "input", 3);
  EXPECT_TRUE(ChannelInput("#3,n,s$,k%", false, kNoThread));
  EXPECT_EQ(GetNumeric("n"), 75);
  ASSERT_NE(GetString("s$"), nullptr);
  EXPECT_EQ(*GetString("s$"), " \x01zq\x01z ") << "quotes kept in string text form";
  EXPECT_EQ(GetNumeric("k%"), 9);
  EXPECT_TRUE(ChannelInput("#3,l$", true, kNoThread));
  EXPECT_EQ(*GetString("l$"), "whole, line");
  EXPECT_FALSE(TakeError());
  // A numeric target for LINE INPUT, a bad channel, no variables.
  EXPECT_FALSE(ChannelInput("#3,n", true, kNoThread));
  EXPECT_TRUE(TakeError());
  EXPECT_FALSE(ChannelInput("#0,a$", false, kNoThread));
  EXPECT_TRUE(TakeError());
  EXPECT_FALSE(ChannelInput("#3,", false, kNoThread));
  EXPECT_TRUE(TakeError());
  // A channel that is not open.
  EXPECT_FALSE(ChannelInput("#4,a$", false, kNoThread));
  EXPECT_TRUE(TakeError());
}

TEST_F(FilesTest, LinesGoOutWithCrLfInOneWrite) {
  Open("out", "output", 1);
  WriteChannelLine(1, "a\x01"
                      "0b\x01zc\n");
  WriteChannelLine(1, "no end");
  WriteChannelLine(1, "\n");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Read("out"), std::string("a\0b\"c\r\nno end\r\n", 15));
  EXPECT_EQ(ChannelLof("1"), 15);
  Close("#1");
  // Writing to a channel opened for input, or to a closed one, fails.
  Open("out", "input", 1);
  WriteChannelLine(1, "x\n");
  EXPECT_TRUE(TakeError());
  WriteChannelLine(2, "x\n");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(Read("out").size(), 15u);
}

TEST_F(FilesTest, OpenModesAndArgumentForms) {
  Write("f", "old contents");
  Open("f", "append", 1);
  WriteChannelLine(1, "+\n");
  Close();
  EXPECT_EQ(Read("f"), "old contents+\r\n");
  Open("F", "OUTPUT", 1); // the name is matched without case, the mode word too
  EXPECT_FALSE(TakeError());
  Close("1");
  EXPECT_EQ(Read("f"), "");
  Open("new", "", 2); // random access creates a missing file
  EXPECT_FALSE(TakeError());
  Close();
  EXPECT_EQ(Read("new"), "");

  auto open = [&](std::string arg) {
    OPEN(arg, kNoThread);
    bool error = TakeError();
    Close();
    return error;
  };
  EXPECT_FALSE(open("\"f\"  for \tinput  " + As() + "  #3  \t"));
  EXPECT_FALSE(open("\"f\"" + As() + "3"));
  EXPECT_TRUE(open("\"f\" for read" + As() + "#1")) << "an unknown mode word";
  EXPECT_TRUE(open("\"f\" for input #1")) << "no AS token";
  EXPECT_TRUE(open("\"f\" for input" + As() + "#1 x")) << "text after the digit";
  EXPECT_TRUE(open("\"f\"" + As() + "#0"));
  EXPECT_TRUE(open("\"f\"" + As() + "#"));
  EXPECT_TRUE(open("\"f\"")) << "the text ends before AS";
  EXPECT_TRUE(open("\"missing\" for input" + As() + "#1"));
  // A name holding bytes like the AS token inside its literal.
  EXPECT_FALSE(open("\"a\x01\x01"
                    "6\"" +
                    As() + "#1"));
}

TEST_F(FilesTest, AnOpenFileCannotBeOpenedAgain) {
  Open("s", "output", 1);
  Open("S", "input", 2);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(FindChannel(2)->handle, 0u);
  // Opening again on the same channel first closes the old handle.
  Open("s", "append", 1);
  EXPECT_FALSE(TakeError());
  EXPECT_NE(FindChannel(1)->handle, 0u);
}

TEST_F(FilesTest, CloseForms) {
  for (int n = 1; n <= 3; ++n) Open("c" + std::to_string(n), "output", n);
  Close("#1, 2");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(FindChannel(1)->handle, 0u);
  EXPECT_EQ(FindChannel(2)->handle, 0u);
  EXPECT_NE(FindChannel(3)->handle, 0u);
  Open("c1", "output", 1);
  Close("#1,x,#3");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(FindChannel(1)->handle, 0u) << "channels before the error are closed";
  EXPECT_NE(FindChannel(3)->handle, 0u);
  Close("#3#");
  EXPECT_TRUE(TakeError());
  Close();
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(FindChannel(3)->handle, 0u);
}

TEST_F(FilesTest, ChannelFunctionsCheckTheirChannel) {
  Write("ten", "0123456789abc");
  Open("ten", "input", 9);
  char buffer[10];
  DWORD got = 0;
  ReadFile(FindChannel(9)->handle, buffer, 10, &got, nullptr);
  EXPECT_EQ(ChannelLoc("9"), 10);
  EXPECT_EQ(ChannelLoc("4+5"), 10) << "any expression names the channel";
  EXPECT_EQ(ChannelLof("#9"), 13);
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(ChannelEof("10"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(ChannelLof("0"), 0);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(ChannelLoc("5"), 0) << "not open";
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(EofResult("9", kNoThread), "0");
  EXPECT_EQ(LocResult("9", kNoThread), "10");
}

TEST_F(FilesTest, PathsJoinTheCurrentDirectoryUnlessQualified) {
  engine_->currentDirectory = "C:\\prog\\";
  EXPECT_EQ(ResolvePath("a.txt"), "C:\\prog\\\\a.txt");
  EXPECT_EQ(ResolvePath("\\a.txt"), "C:\\prog\\\\\\a.txt") << "one backslash is still joined";
  EXPECT_EQ(ResolvePath("D:x"), "D:x");
  EXPECT_EQ(ResolvePath("\\\\server\\share\\f"), "\\\\server\\share\\f");
  std::string d = ChangeDirectory("C:\\prog\\", "sub");
  EXPECT_EQ(d, "C:\\prog\\\\sub");
  EXPECT_EQ(ChangeDirectory(d, "deeper\\"), "C:\\prog\\\\sub\\deeper");
  EXPECT_EQ(ChangeDirectory(d, "C:\\"), "C:\\");
  EXPECT_EQ(ChangeDirectory(d, "C:\\data\\"), "C:\\data");
  EXPECT_EQ(ChangeDirectory(d, "\\\\srv\\share\\"), "\\\\srv\\share");
  EXPECT_EQ(ChangeDirectory(d, ".."), "C:\\prog\\\\sub\\..") << "not interpreted";
  EXPECT_EQ(ChangeDirectory(d, std::string(300, 'x')), d) << "longer than MAX_PATH";
}

TEST_F(FilesTest, SerialNames) {
  EXPECT_TRUE(IsSerialName("COM2:N81X"));
  EXPECT_TRUE(IsSerialName("com:"));
  EXPECT_TRUE(IsSerialName("Com1:e7"));
  EXPECT_FALSE(IsSerialName("COMMAND.TXT"));
  EXPECT_FALSE(IsSerialName("COMX:"));
  EXPECT_FALSE(IsSerialName("C:\\COM1"));
  EXPECT_FALSE(IsSerialName("COM1"));
  EXPECT_FALSE(IsSerialName("co:"));
}

TEST_F(FilesTest, ProgramEndLeavesEveryWrittenByte) {
  Open("kept", "output", 1);
  WriteChannelLine(1, "line\n");
  Open("kept2", "", 2);
  WriteChannelLine(2, "x");
  // Without CLOSE: the bytes are in the files already.
  EXPECT_EQ(Read("kept"), "line\r\n");
  EXPECT_EQ(Read("kept2"), "x");
  CloseAllChannels();
  for (int n = 1; n <= kChannelCount; ++n) EXPECT_EQ(FindChannel(n)->handle, 0u);
}

} // namespace
