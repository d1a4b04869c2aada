// The key and mouse trap switches and their firing.
#include "engine_fixture.h"

#include "flow/event_traps.h"
#include "flow/jumps.h"

namespace {

class TrapTest : public EngineFixture {
protected:
  void Do(void (*handler)(std::string &, ThreadIndex), const std::string &arg) {
    std::string a = arg;
    handler(a, 0);
  }
  std::string TakePending() {
    std::string s = engine_->pendingStatement.Text();
    engine_->pendingStatement.Clear();
    return s;
  }
};

const std::string kGosub("\x10\x24 ", 3), kGoto("\x10\x23 ", 3);

TEST_F(TrapTest, KeyStopDefersOneTrapUntilOn) {
  Do(ON, "key gosub 10,,30");
  EXPECT_EQ(engine_->traps.keyStatements[0].Text(), kGosub + "10");
  EXPECT_FALSE(engine_->traps.keyStatements[1].NotEmpty());
  Do(KEY, "stop");
  FireKeyTrap(2);
  FireKeyTrap(2);
  EXPECT_EQ(TakePending(), "") << "nothing runs while stopped";
  Do(KEY, "ON");
  EXPECT_EQ(TakePending(), kGosub + "30");
  FireKeyTrap(0);
  EXPECT_EQ(TakePending(), kGosub + "10");
  Do(KEY, "off");
  FireKeyTrap(0);
  EXPECT_EQ(TakePending(), "");
  Do(KEY, "sideways");
  EXPECT_TRUE(TakeError());
}

TEST_F(TrapTest, ThirteenKeyLabelsAreAnError) {
  Do(ON, "key goto 1,2,3,4,5,6,7,8,9,a,b,c,d");
  EXPECT_TRUE(TakeError());
  EXPECT_EQ(engine_->traps.keyStatements[11].Text(), kGoto + "c");
}

TEST_F(TrapTest, MouseStopRemembersTheEvent) {
  Do(ON, "mouse(2) gosub 40");
  Do(MOUSE, "(2)stop");
  FireMouseTrap(2);
  EXPECT_EQ(TakePending(), "");
  Do(MOUSE, "(1+1)on");
  EXPECT_EQ(TakePending(), kGosub + "40");
  FireMouseTrap(2);
  EXPECT_EQ(TakePending(), kGosub + "40");
  Do(MOUSE, "(2)off");
  FireMouseTrap(2);
  EXPECT_EQ(TakePending(), "");
  Do(MOUSE, "(6)on");
  EXPECT_TRUE(TakeError());
  Do(ON, "mouse(7) goto 1");
  EXPECT_TRUE(TakeError());
}

TEST_F(TrapTest, KeysFireOnlyWhileRunning) {
  Do(ON, "key goto 5");
  Do(KEY, "on");
  engine_->running.store(0);
  FireKeyTrap(0);
  EXPECT_EQ(TakePending(), "");
}

TEST_F(TrapTest, OnErrorWithGosubStoresGoto) {
  Do(ON, "Error gosub 1f");
  EXPECT_EQ(engine_->errorTrap.Text(), kGoto + "1f");
  Do(ON, "error goto " + std::string(300, 'a'));
  EXPECT_EQ(engine_->errorTrap.Text().size(), 255u) << "bounded to 255 bytes";
  Do(ON, "nothing here");
  EXPECT_TRUE(TakeError()) << "ON without goto or gosub";
}

} // namespace
