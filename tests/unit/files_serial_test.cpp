// Serial channels through real pseudo-terminals: COM2 is mapped to the slave
// side in a settings file of the test's own, the test plays the device on
// the master side.
#include "files_test_util.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "data/variables.h"
#include "files/channel_table.h"
#include "platform/commapi.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

class SerialTest : public FilesTest {
protected:
  void SetUp() override {
    FilesTest::SetUp();
    char name[256] = {};
    ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    // Raw before the engine opens the port: the line discipline must not
    // turn CR into LF or echo what the device sends.
    termios t;
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    slaveName_ = name;
    settings_ = dir_ + "/settings.ini";
    WriteSettings("");
    setenv("QUILLRUNNER_SETTINGS", settings_.c_str(), 1);
  }
  void TearDown() override {
    FilesTest::TearDown();
    unsetenv("QUILLRUNNER_SETTINGS");
    close(master_);
    close(slave_);
  }
  void WriteSettings(const std::string &more) {
    std::ofstream(settings_) << "[HKEY_CURRENT_USER\\Software\\Brackenworth\\Quillrunner]\n"
                             << "COM2=" << slaveName_ << "\nCOM3=/nonexistent/tty\n"
                             << more;
  }
  void Send(const std::string &bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the port sent, waiting up to a second for N bytes.
  std::string Received(size_t n) {
    std::string out;
    auto end = Clock::now() + std::chrono::seconds(1);
    while (out.size() < n && Clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      char buffer[256];
      ssize_t got = read(master_, buffer, sizeof buffer);
      if (got > 0) out.append(buffer, static_cast<size_t>(got));
    }
    return out;
  }
  termios SlaveSettings() {
    termios t;
    tcgetattr(slave_, &t);
    return t;
  }
  DCB State(int n) {
    DCB d;
    GetCommState(FindChannel(n)->handle, &d);
    return d;
  }
  // LOC of channel N once it reaches WANT (bytes take a moment to pass).
  double LocWhenAt(int n, double want) {
    double loc = 0;
    for (int i = 0; i < 100 && (loc = ChannelLoc(std::to_string(n))) < want; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return loc;
  }

  int master_ = -1, slave_ = -1;
  std::string slaveName_, settings_;
};

TEST_F(SerialTest, ComNamesMapToTheSettingsOrTtyS) {
  EXPECT_EQ(platform::CommDevicePath("COM2"), slaveName_);
  EXPECT_EQ(platform::CommDevicePath("\\\\.\\com2"), slaveName_);
  EXPECT_EQ(platform::CommDevicePath("COM7"), "/dev/ttyS6");
  EXPECT_EQ(platform::CommDevicePath("COM0"), "");
  EXPECT_EQ(platform::CommDevicePath("COM1.txt"), "");
  EXPECT_EQ(platform::CommDevicePath("C:\\COM1"), "");
}

TEST_F(SerialTest, ParameterLettersOverrideTheDefaults) {
  Open("COM2:N81X", "", 1);
  ASSERT_FALSE(TakeError());
  EXPECT_EQ(FindChannel(1)->kind, kSerialChannel);
  termios t = SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), B9600);
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
  EXPECT_FALSE(t.c_oflag & OPOST);
  DCB d = State(1);
  EXPECT_EQ(d.Parity, NOPARITY);
  EXPECT_EQ(d.ByteSize, 8);
  EXPECT_EQ(d.StopBits, ONESTOPBIT);
  EXPECT_EQ(d.BaudRate, 9600u);
  COMMTIMEOUTS to;
  ASSERT_TRUE(GetCommTimeouts(FindChannel(1)->handle, &to));
  EXPECT_EQ(to.ReadIntervalTimeout, MAXDWORD);
  EXPECT_EQ(to.WriteTotalTimeoutMultiplier, 100u);
  EXPECT_EQ(to.WriteTotalTimeoutConstant, 200u);

  // The port belongs to one channel at a time.
  Open("COM2:", "", 2);
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(FindChannel(2)->handle, 0u);

  // Even parity, 7 bits; stop bits and flow control stay at the defaults.
  engine_->serial.stopBits = TWOSTOPBITS;
  Open("com2:e7", "", 1);
  d = State(1);
  EXPECT_EQ(d.Parity, EVENPARITY);
  EXPECT_TRUE(d.fParity);
  EXPECT_EQ(d.ByteSize, 7);
  EXPECT_EQ(d.StopBits, TWOSTOPBITS);
  EXPECT_TRUE(d.fOutX);
  EXPECT_TRUE(SlaveSettings().c_cflag & CSTOPB);

  // RTS/CTS only; a lower-case x keeps the default flow control.
  Open("COM2:O83S", "", 1);
  t = SlaveSettings();
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_iflag & IXON);
  EXPECT_EQ(State(1).Parity, ODDPARITY);
  engine_->serial.xonXoff = 0;
  Open("COM2:N81x", "", 1);
  EXPECT_FALSE(SlaveSettings().c_iflag & IXON);
  EXPECT_FALSE(SlaveSettings().c_cflag & CRTSCTS);
  EXPECT_FALSE(TakeError());
}

TEST_F(SerialTest, DefaultPortAndBaudTable) {
  engine_->serial.port = 2;
  engine_->serial.baudIndex = 12;
  Open("COM:", "", 1);
  ASSERT_FALSE(TakeError());
  termios t = SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), B115200);
  engine_->serial.baudIndex = 99;
  Open("COM:", "", 1);
  t = SlaveSettings();
  EXPECT_EQ(cfgetospeed(&t), B9600);
  engine_->serial.baudIndex = 7;
  Open("COM:", "", 1);
  EXPECT_EQ(State(1).BaudRate, 14400u);
  Open("COM3:", "", 1);
  EXPECT_TRUE(TakeError()) << "no such device";
  EXPECT_EQ(FindChannel(1)->handle, 0u);
}

TEST_F(SerialTest, InputTakesFieldsAndKeepsWhatFollowsTheLine) {
  Send("12,34\r\nAB");
  Open("COM2:N81X", "", 1);
  EXPECT_TRUE(ChannelInput("#1,a,b", false, kNoThread));
  EXPECT_EQ(GetNumeric("a"), 12);
  EXPECT_EQ(GetNumeric("b"), 34);
  EXPECT_EQ(FindChannel(1)->receive, "AB") << "the LF after the CR is removed";
  Send("C,D\r");
  EXPECT_TRUE(ChannelInput("#1,l$", true, kNoThread));
  EXPECT_EQ(*GetString("l$"), "ABC,D");
  EXPECT_FALSE(TakeError());
}

TEST_F(SerialTest, AnLfArrivingAfterItsCrIsStillDropped) {
  Open("COM2:N81X", "", 1);
  Send("x\r");
  EXPECT_EQ(Field(1, true), "x");
  Send("\ny\r");
  EXPECT_EQ(Field(1, true), "y");
  Send("\n\nz\r");
  EXPECT_EQ(Field(1, true), "\nz") << "only one LF belongs to the line end";
}

TEST_F(SerialTest, PrintEndsLinesWithCrAlone) {
  Open("COM2:N81N", "", 1);
  WriteChannelLine(1, "hi 1\n");
  WriteChannelLine(1, "no end");
  WriteChannelLine(1, "\x01"
                      "0\n");
  EXPECT_FALSE(TakeError());
  EXPECT_EQ(Received(13), std::string("hi 1\rno end\0\r", 13));
}

TEST_F(SerialTest, AFullBufferBecomesOneField) {
  Open("COM2:N81N", "", 1);
  Send(std::string(9000, 'z'));
  EXPECT_EQ(Field(1, true), std::string(kReceiveCapacity, 'z'));
  Send("\r");
  EXPECT_EQ(Field(1, true), std::string(9000 - kReceiveCapacity, 'z'));
  // INPUT takes a comma in a full buffer as the end of its field.
  Send("ab," + std::string(9000, 'q'));
  EXPECT_EQ(Field(1, false), "ab");
  EXPECT_LE(FindChannel(1)->receive.size(), kReceiveCapacity);
}

TEST_F(SerialTest, WaitingForALineEndIsBounded) {
  engine_->channels.serialSilenceLimit = std::chrono::milliseconds(200);
  Open("COM2:N81N", "", 1);
  auto start = Clock::now();
  EXPECT_EQ(Field(1, false), "<error>");
  EXPECT_TRUE(TakeError());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  Send("partial");
  EXPECT_EQ(Field(1, true), "<error>");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(FindChannel(1)->receive, "partial") << "what arrived is kept";
  Send("\r");
  EXPECT_EQ(Field(1, true), "partial");

  // A line that keeps trickling without a CR ends at the total limit.
  engine_->channels.serialSilenceLimit = std::chrono::seconds(10);
  engine_->channels.serialWaitLimit = std::chrono::milliseconds(300);
  std::atomic<bool> stop{false};
  std::thread device([&] {
    for (int i = 0; i < 40 && !stop; ++i) {
      Send("t");
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  start = Clock::now();
  EXPECT_EQ(Field(1, true), "<error>");
  stop = true;
  device.join();
  EXPECT_TRUE(TakeError());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SerialTest, LocAndEofLookAtWhatHasArrived) {
  Open("COM2:N81N", "", 1);
  EXPECT_EQ(ChannelLoc("1"), 0);
  EXPECT_EQ(ChannelEof("1"), -1);
  Send("abc");
  EXPECT_EQ(LocWhenAt(1, 3), 3);
  EXPECT_EQ(ChannelEof("1"), 0);
  Send("\r");
  EXPECT_EQ(Field(1, true), "abc") << "LOC and EOF take nothing away";
  EXPECT_FALSE(TakeError());
}

TEST_F(SerialTest, AHeldBackWriteFailsAfterItsTimeOut) {
  Open("COM2:N81X", "", 1);
  Send("\x13"); // XOFF from the device
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  auto start = Clock::now();
  WriteChannelLine(1, "held\n");
  auto took = Clock::now() - start;
  EXPECT_TRUE(TakeError());
  EXPECT_GE(took, std::chrono::milliseconds(500)); // 100 ms a byte + 200 ms
  EXPECT_LT(took, std::chrono::seconds(3));
  Send("\x11"); // XON
  WriteChannelLine(1, "go\n");
  EXPECT_FALSE(TakeError());
  std::string sent = Received(3);
  EXPECT_TRUE(sent.ends_with("go\r")) << sent;
}

// The whole road: a program run by quill opens COM2 through the settings
// file, reads the device's line and answers on it.
TEST_F(SerialTest, AProgramTalksToThePort) {
  Send("12,34\r\nrest of it\r");
  std::string program = dir_ + "/serial.bas";
  std::ofstream(program) << "OPEN \"COM2:N81X\" AS #1\n"
                            "INPUT #1, a, b\n"
                            "PRINT a + b; LOC(1)\n"
                            "LINE INPUT #1, r$\n"
                            "PRINT r$\n"
                            "PRINT #1, \"sum\"; a + b\n"
                            "WRITE #1, a, b\n";
  testsupport::RunResult r = testsupport::RunCommand(
      std::string(QUILL_BINARY_DIR) + "/quill run '" + program + "'", "", 20);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " 46  11\nrest of it\n");
  EXPECT_EQ(Received(15), "sum  46\r12,34\r");
}

} // namespace
