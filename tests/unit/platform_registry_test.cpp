// The registry over the per-user settings file.
#include "platform/platform.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = platform::MakeTempDirectory();
    ASSERT_FALSE(dir_.empty());
    path_ = dir_ + "/settings.ini";
    setenv("QUILLRUNNER_SETTINGS", path_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QUILLRUNNER_SETTINGS");
    platform::RemoveTree(dir_);
  }
  void Write(const std::string &text) { std::ofstream(path_, std::ios::binary) << text; }
  // The RS232C value as RegQueryValueExA gives it; the error code otherwise.
  static LONG Read(const char *key, std::string &value, const char *name = "RS232C") {
    HKEY h = 0;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &h);
    if (rc != ERROR_SUCCESS) return rc;
    char buf[260];
    DWORD size = sizeof buf, type = 0;
    rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE *>(buf), &size);
    if (rc == ERROR_SUCCESS) {
      EXPECT_EQ(type, REG_SZ);
      EXPECT_EQ(size, std::string(buf).size() + 1); // counts the terminator
      value = buf;
    }
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    return rc;
  }
  std::string dir_, path_;
};

constexpr const char *kKey = "Software\\Brackenworth\\Quillrunner";

TEST_F(RegistryTest, MissingFileSectionOrValue) {
  std::string v;
  EXPECT_EQ(Read(kKey, v), ERROR_FILE_NOT_FOUND);
  Write("[HKEY_CURRENT_USER\\Software\\Other]\nRS232C=1\n");
  EXPECT_EQ(Read(kKey, v), ERROR_FILE_NOT_FOUND);
  Write("[HKEY_CURRENT_USER\\Software\\Brackenworth\\Quillrunner]\nOther=1\n");
  EXPECT_EQ(Read(kKey, v), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ReadsValuesOfTheRightSectionWithoutRegardToCase) {
  Write("\xEF\xBB\xBF; settings\r\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "RS232C=9 9 9\r\n"
        "[hkey_current_user\\SOFTWARE\\brackenworth\\QuillRunner\\]\r\n"
        "rs232c = 2 7 7 1 2 0 0  \r\n"
        "Name=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\n");
  std::string v;
  ASSERT_EQ(Read(kKey, v), ERROR_SUCCESS);
  EXPECT_EQ(v, "2 7 7 1 2 0 0");
  ASSERT_EQ(Read(kKey, v, "NAME"), ERROR_SUCCESS);
  EXPECT_EQ(v, "\x83\x65\x83\x58\x83\x67"); // code page 932
  Write("[HKEY_CURRENT_USER\\Software\\Brackenworth\\Quillrunner]\nRS232C=3 5\n");
  ASSERT_EQ(Read(kKey, v), ERROR_SUCCESS);
  EXPECT_EQ(v, "3 5"); // fewer numbers: the text as it is
}

TEST_F(RegistryTest, BufferSizesAndBadHandles) {
  Write("[HKEY_CURRENT_USER\\Software\\Brackenworth\\Quillrunner]\nRS232C=1 6 8 0 0 1 0\n");
  HKEY h = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
  char small[5] = "xxxx";
  DWORD size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(h, "RS232C", nullptr, nullptr, reinterpret_cast<BYTE *>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  EXPECT_STREQ(small, "xxxx"); // nothing written
  size = 0;
  EXPECT_EQ(RegQueryValueExA(h, "RS232C", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
  EXPECT_NE(RegCloseKey(h), ERROR_SUCCESS);
  EXPECT_NE(RegQueryValueExA(h, "RS232C", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_NE(RegOpenKeyExA(0x1234, kKey, 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
}

TEST(SettingsPath, EnvironmentChoosesTheFile) {
  const char *oldHome = std::getenv("HOME");
  std::string home = oldHome ? oldHome : "";
  unsetenv("QUILLRUNNER_SETTINGS");
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(platform::SettingsFilePath(), "/cfg/quillrunner/settings.ini");
  setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(platform::SettingsFilePath(), "/home/u/.config/quillrunner/settings.ini");
  setenv("QUILLRUNNER_SETTINGS", "/x/s.ini", 1);
  EXPECT_EQ(platform::SettingsFilePath(), "/x/s.ini");
  unsetenv("QUILLRUNNER_SETTINGS");
  unsetenv("XDG_CONFIG_HOME");
  if (oldHome) setenv("HOME", home.c_str(), 1);
}

} // namespace
