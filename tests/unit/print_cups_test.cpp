// Printing through a real CUPS scheduler: the fixture starts its own cupsd
// on a private socket with its own configuration, spool and logs, adds two
// queues (the first the default), and stops the server afterwards. Jobs are
// checked by their name and by the text of the PDF the scheduler received.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/print_internal.h"
#include "platform/winspool.h"

extern char **environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string Shell(const std::string &cmd, int *status = nullptr) {
  std::string out;
  FILE *p = popen((cmd + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = pclose(p);
  if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}

bool Have(const std::string &tool) {
  int status = 1;
  Shell("command -v " + tool + " >/dev/null", &status);
  return status == 0;
}

class CupsServer : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *tool : {"cupsd", "lpadmin", "pdftotext"})
      if (!Have(tool) && !fs::exists(std::string("/usr/sbin/") + tool))
        GTEST_SKIP() << tool << " is not installed";
    char pattern[] = "/tmp/quill-cups-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    for (const char *sub : {"conf", "spool/tmp", "cache", "state", "log"})
      fs::create_directories(dir_ / sub);
    fs::permissions(dir_ / "spool/tmp", fs::perms::all);
    socket_ = (dir_ / "cups.sock").string();
    std::ofstream(dir_ / "conf/cupsd.conf") << "Listen " << socket_ << "\n"
                                            << "LogLevel warn\nDefaultAuthType None\n"
                                               "Browsing No\nWebInterface No\n"
                                               "PreserveJobHistory Yes\nPreserveJobFiles Yes\n"
                                               "<Location />\n  Order allow,deny\n  Allow all\n"
                                               "</Location>\n<Policy default>\n  <Limit All>\n"
                                               "    Order deny,allow\n    Allow all\n  </Limit>\n"
                                               "</Policy>\n";
    std::ofstream(dir_ / "conf/cups-files.conf")
        << "ServerRoot " << (dir_ / "conf").string() << "\nRequestRoot "
        << (dir_ / "spool").string() << "\nTempDir " << (dir_ / "spool/tmp").string()
        << "\nCacheDir " << (dir_ / "cache").string() << "\nStateDir " << (dir_ / "state").string()
        << "\nErrorLog " << (dir_ / "log/error_log").string() << "\nAccessLog "
        << (dir_ / "log/access_log").string() << "\nPageLog " << (dir_ / "log/page_log").string()
        << "\nFileDevice Yes\n";
    std::string cupsd = fs::exists("/usr/sbin/cupsd") ? "/usr/sbin/cupsd" : "cupsd";
    std::string conf = (dir_ / "conf/cupsd.conf").string();
    std::string files = (dir_ / "conf/cups-files.conf").string();
    const char *argv[] = {cupsd.c_str(), "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr};
    ASSERT_EQ(
        posix_spawnp(&pid_, cupsd.c_str(), nullptr, nullptr, const_cast<char **>(argv), environ),
        0);
    setenv("CUPS_SERVER", socket_.c_str(), 1);
    cupsSetServer(socket_.c_str());
    // The scheduler answers within a fraction of a second; give it ten.
    std::string env = "CUPS_SERVER='" + socket_ + "' ";
    auto deadline = Clock::now() + std::chrono::seconds(10);
    int status = 1;
    while (Clock::now() < deadline) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = 0;
        break;
      }
      Shell(env + "lpstat -r | grep -q 'is running'", &status);
      if (status == 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (status != 0)
      GTEST_SKIP() << "cupsd did not start: "
                   << Shell("cat '" + (dir_ / "log/error_log").string() + "'");
    for (const char *queue : {"Office", "Second"}) {
      std::string add = env + "lpadmin -p " + queue + " -v file:///dev/null -m raw -E";
      ASSERT_EQ((Shell(add, &status), status), 0) << Shell(add);
    }
    // A queue with a driver that states its resolution.
    if (fs::exists(kPhotoPpd)) {
      std::string add = env + "lpadmin -p Photo -v file:///dev/null -P " + kPhotoPpd + " -E";
      ASSERT_EQ((Shell(add, &status), status), 0) << Shell(add);
      photo_ = true;
    }
    ASSERT_EQ((Shell(env + "lpadmin -d Office", &status), status), 0);
  }

  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      auto deadline = Clock::now() + std::chrono::seconds(5);
      while (waitpid(pid_, nullptr, WNOHANG) != pid_) {
        if (Clock::now() > deadline) {
          kill(pid_, SIGKILL);
          waitpid(pid_, nullptr, 0);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
    unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }

  // The jobs that ended, once COUNT of them have (at most 30 seconds).
  std::vector<std::pair<std::string, std::string>> CompletedJobs(size_t count) {
    std::vector<std::pair<std::string, std::string>> jobs; // queue, title
    auto deadline = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
      cups_job_t *list = nullptr;
      int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, nullptr, 0, CUPS_WHICHJOBS_COMPLETED);
      jobs.clear();
      for (int i = 0; i < n; ++i) jobs.emplace_back(list[i].dest, list[i].title);
      cupsFreeJobs(n, list);
      if (jobs.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::sort(jobs.begin(), jobs.end());
    return jobs;
  }

  // The text of job N's document as the scheduler received it.
  std::string JobText(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "d%05d-001", n);
    return Shell("pdftotext '" + (dir_ / "spool" / name).string() + "' -");
  }

  static constexpr const char *kPhotoPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
  fs::path dir_;
  std::string socket_;
  pid_t pid_ = 0;
  bool photo_ = false;
};

} // namespace

TEST_F(CupsServer, PrintersAreTheSchedulersQueues) {
  DWORD needed = 0, count = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, nullptr, 0, &needed, &count);
  std::vector<PRINTER_INFO_5A> buffer(needed / sizeof(PRINTER_INFO_5A) + 1);
  auto *bytes = reinterpret_cast<BYTE *>(buffer.data());
  ASSERT_TRUE(EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 5, bytes, needed, &needed, &count));
  ASSERT_EQ(count, photo_ ? 3u : 2u);
  EXPECT_STREQ(buffer[0].pPrinterName, "Office");
  EXPECT_TRUE(buffer[0].Attributes & PRINTER_ATTRIBUTE_DEFAULT);
  EXPECT_STREQ(buffer[count - 1].pPrinterName, "Second");
  EXPECT_FALSE(buffer[count - 1].Attributes & PRINTER_ATTRIBUTE_DEFAULT);
  ASSERT_TRUE(EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 5, bytes, needed, &needed, &count));
  ASSERT_EQ(count, 1u);
  EXPECT_STREQ(buffer[0].pPrinterName, "Office");
  // Names are found without regard to letter case; a raw queue states no
  // resolution, so it prints at 600 dots per inch.
  HDC dc = CreateDCA(nullptr, "second", nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_GT(GetDeviceCaps(dc, HORZRES), 4000);
  EXPECT_GT(GetDeviceCaps(dc, VERTRES), 6000);
  DeleteDC(dc);
  EXPECT_EQ(CreateDCA(nullptr, "Nobody", nullptr, nullptr), 0u);
  if (!photo_) return;
  // The driver's 300 dots per inch, on the paper CUPS names as the default
  // (A4 or Letter, by the scheduler's locale).
  dc = CreateDCA(nullptr, "Photo", nullptr, nullptr);
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
  std::pair<int, int> paper(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT));
  EXPECT_TRUE(paper == std::make_pair(2480, 3508) || paper == std::make_pair(2550, 3300))
      << paper.first << "x" << paper.second;
  EXPECT_LE(GetDeviceCaps(dc, HORZRES), paper.first);
  DeleteDC(dc);
}

TEST_F(CupsServer, ProgramsPrintToTheDefaultAndByName) {
  std::string quill = std::string(QUILL_BINARY_DIR) + "/quill";
  if (!fs::exists(quill)) GTEST_SKIP() << "no quill binary";
  std::ofstream(dir_ / "p.bas") << "LPRINT \"to the default 日本語\"\n"
                                   "LPRINT Chr$(12);\n"
                                   "PRINTER \"Second\"\n"
                                   "LPRINT \"by name\"\n"
                                   "PRINTER \"Nobody\"\n";
  int status = -1;
  std::string out = Shell("QUILLRUNNER_BACKEND=headless " + quill + " run '" +
                              (dir_ / "p.bas").string() + "' </dev/null",
                          &status);
  // The unknown name ends the program with the error, after the open job
  // was printed.
  EXPECT_EQ(status, 1) << out;
  auto jobs = CompletedJobs(2);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0], std::make_pair(std::string("Office"), std::string("PrintOut")));
  EXPECT_EQ(jobs[1], std::make_pair(std::string("Second"), std::string("PrintOut")));
  EXPECT_NE(JobText(1).find("to the default 日本語"), std::string::npos) << JobText(1);
  EXPECT_NE(JobText(2).find("by name"), std::string::npos) << JobText(2);
}
