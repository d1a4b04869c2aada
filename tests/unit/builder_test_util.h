// Helpers shared by the builder's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/builder.h"

namespace buildertest {

// Shows program text with control bytes as <xx>, for failure messages.
inline std::string Show(const std::string &text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      snprintf(buf, sizeof buf, "<%02x>", c);
      out += buf;
    } else
      out += static_cast<char>(c);
  }
  return out;
}

inline std::string Errors(const builder::BuildResult &r) {
  std::string out;
  for (const auto &d : r.errors) out += builder::FormatDiagnostic(d);
  return out;
}

// Builds one source file named main.bas; an error fails the test.
inline std::string Build(const std::string &source) {
  builder::BuildResult r = builder::BuildProgram({{"main.bas", source}});
  EXPECT_TRUE(r.Ok()) << Errors(r);
  return r.program;
}

} // namespace buildertest
