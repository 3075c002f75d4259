// The text tokenizer against data/objects/tokens.txt, and hostile input that
// must never make it read or write outside the caller's buffer and array.
#include "objects/object_cases.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kBuf = 1024, kTok = 200, kGuard = 64;
constexpr unsigned char kCanary = 0xA5;

// Buffer and token array with guard zones behind them, to catch overruns even
// in the release build.
struct Tokenized {
  unsigned char raw[kBuf + kGuard];
  char *tokens[kTok + kGuard];
  int count = -1;

  Tokenized(const char *text, const char *keyword) {
    std::memset(raw, kCanary, sizeof raw);
    for (auto &t : tokens) t = buffer() + 1;  // sentinel
    kx_objstring_tokens(text, keyword, buffer(), tokens, &count);
  }
  char *buffer() { return reinterpret_cast<char *>(raw); }
  // The guards are intact, every token lies inside the buffer, is non-empty
  // and terminated there, and a null entry follows the last one.
  bool sound() {
    for (int i = kBuf; i < kBuf + kGuard; ++i) {
      if (raw[i] != kCanary) return false;
    }
    for (int i = kTok; i < kTok + kGuard; ++i) {
      if (tokens[i] != buffer() + 1) return false;
    }
    if (count < 0 || count > kTok - 1 || tokens[count] != nullptr) return false;
    for (int i = 0; i < count; ++i) {
      if (tokens[i] < buffer() || tokens[i] >= buffer() + kBuf || tokens[i][0] == '\0') return false;
      if (std::memchr(tokens[i], '\0', size_t(buffer() + kBuf - tokens[i])) == nullptr) return false;
    }
    return true;
  }
};

TEST(Tokenizer, CaseFile) {
  const objcase::CaseFile file = objcase::read_cases("objects/tokens.txt");
  ASSERT_GT(file.lines.size(), 20u);
  for (const objcase::Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.rest.substr(0, 80));
    Tokenized t(c.rest.c_str(), c.a == "-" ? "" : c.a.c_str());
    EXPECT_TRUE(t.sound());
    if (c.b == "*") continue;
    if (c.b[0] == '#') {
      EXPECT_EQ(t.count, std::stoi(c.b.substr(1)));
      continue;
    }
    const std::vector<std::string> want = c.b == "-" ? std::vector<std::string>{} : objcase::split(c.b, '|');
    EXPECT_EQ(std::vector<std::string>(t.tokens, t.tokens + std::max(t.count, 0)), want);
    if (t.count > 0) {
      EXPECT_EQ(t.tokens[0], t.buffer());  // cut in place from the keyword on
    }
  }
}

TEST(Tokenizer, NullArgumentsLeaveCountZero) {
  char buffer[kBuf];
  char *tokens[kTok] = {buffer};
  const char *text = "UNIT[\"m\",1]";
  for (int arg = 0; arg < 4; ++arg) {
    int count = 7;
    kx_objstring_tokens(arg == 0 ? nullptr : text, arg == 1 ? nullptr : "UNIT",
                        arg == 2 ? nullptr : buffer, arg == 3 ? nullptr : tokens, &count);
    EXPECT_EQ(count, 0) << arg;
    if (arg == 0) {
      EXPECT_EQ(tokens[0], buffer);  // nothing else happens for a null text
    }
  }
  kx_objstring_tokens(text, "UNIT", buffer, tokens, nullptr);  // no crash
}

TEST(Tokenizer, RandomBytesNeverEscapeTheBuffers) {
  std::mt19937 rng(20240611u);
  const char alphabet[] = "[](),\" \t\r\n\bUNITunit_.0123456789e-+\x7f";
  for (int round = 0; round < 3000; ++round) {
    std::string text = round % 2 == 0 ? "UNIT[" : "";
    for (size_t i = 0, len = rng() % 3000; i < len; ++i) {
      text += round % 3 == 0 ? char(1 + rng() % 255) : alphabet[rng() % (sizeof alphabet - 1)];
    }
    Tokenized t(text.c_str(), round % 5 == 0 ? "u" : "UNIT");
    ASSERT_TRUE(t.sound()) << round;
  }
}

}  // namespace
