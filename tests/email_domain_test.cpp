#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "phase_run.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

struct Domain {
  Captured c;
  std::string dom;   // dom0 up to its used length
  std::string rest;  // the bytes after it
};

Domain email_phase(const std::string* file_bytes) {
  Domain out;
  in_temp_folder([&] {
    if (file_bytes != nullptr) put_file("email.txt", *file_bytes);
    RunState& r = state_with_args({});
    std::memset(r.dom0, 'Z', sizeof r.dom0);  // whatever was there before
    r.ldom0 = 77;
    out.c = capture([&] { phase_email(r, zembic_desc); });
    out.dom.assign(r.dom0, static_cast<size_t>(r.ldom0));
    out.rest.assign(r.dom0 + r.ldom0, sizeof r.dom0 - static_cast<size_t>(r.ldom0));
  });
  return out;
}

TEST(EmailDomain, NoFileLeavesABareAt) {
  Domain d = email_phase(nullptr);
  EXPECT_FALSE(d.c.fataled);
  EXPECT_EQ(d.dom, "@");
  EXPECT_EQ(d.rest, std::string(255, ' '));
  EXPECT_EQ(d.c.console, "");
  EXPECT_EQ(d.c.log, "");
}

TEST(EmailDomain, FirstLineTrimmed) {
  const std::string x255(255, 'x');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"@example.edu\n", "@example.edu"},
      {"  @example.edu\r\n", "@example.edu"},
      {"\t@example.edu \t\r\n@other.edu\n", "@example.edu"},
      {"@example.edu", "@example.edu"},  // no line feed at the end
      {"@\n", "@"},
      {"@a b.edu \nsecond\n", "@a b.edu"},
      {"@" + x255 + "ignored\n", "@" + x255},
      {"@x" + std::string(254, ' ') + "zz\n", "@x"},  // only 256 characters count
      {"@" + x255.substr(2) + "\xE2\x82\xAC\n", "@" + x255.substr(2)},  // not a part of "€"
      {"@" + x255.substr(1) + "\xE2\x82\xAC\n", "@" + x255.substr(1)},
      {"@" + x255.substr(1) + "\xE9\xA0\n", "@" + x255.substr(1) + "\xE9"},  // 8-bit text
  };
  for (const auto& [bytes, dom] : cases) {
    Domain d = email_phase(&bytes);
    EXPECT_FALSE(d.c.fataled) << bytes;
    EXPECT_EQ(d.dom, dom);
    EXPECT_EQ(d.rest, std::string(256 - dom.size(), ' '));
    const std::string out = "Default e-mail domain from file email.txt: \n" + dom + "\n\n";
    EXPECT_EQ(d.c.console, out);
    EXPECT_EQ(d.c.log, out);
  }
}

TEST(EmailDomain, LineThatIsNotADomain) {
  const std::string fatal = "*** Error reading e-mail domain file email.txt!\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"example.edu\n", "E-mail domain must start with \"@\"!\n"},
      {"x@example.edu", "E-mail domain must start with \"@\"!\n"},
      {std::string(256, ' ') + "@late.edu\n", ""},
      {"", ""},
      {"\r\n@example.edu\n", ""},
  };
  for (const auto& [bytes, before] : cases) {
    Domain d = email_phase(&bytes);
    EXPECT_TRUE(d.c.fataled) << bytes;
    EXPECT_EQ(d.c.console, before + "\a" + fatal);
    EXPECT_EQ(d.c.log, fatal);
  }
}

}  // namespace
