// The text tokenizer against data/objects/tokens.txt, and hostile input that
// must never make it read or write outside the caller's buffer and array.
#include "objects/object_cases.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kBuf = 1024, kTok = 200, kGuard = 64;
constexpr unsigned char kCanary = 0xA5;

// Buffer and token array with guard zones behind them: overruns show even in
// the release build.
struct Tokenized {
  unsigned char raw[kBuf + kGuard];
  char *tokens[kTok + kGuard];
  int count = -1;

  Tokenized(const char *text, const char *keyword) {
    std::memset(raw, kCanary, sizeof raw);
    std::fill(std::begin(tokens), std::end(tokens), buffer() + 1);  // sentinel
    kx_objstring_tokens(text, keyword, buffer(), tokens, &count);
  }
  char *buffer() { return reinterpret_cast<char *>(raw); }
  // Guards intact, every token non-empty and terminated inside the buffer, a
  // null entry after the last.
  bool sound() {
    bool ok = count >= 0 && count < kTok && tokens[count] == nullptr;
    for (int i = kBuf; i < kBuf + kGuard; ++i) ok = ok && raw[i] == kCanary;
    for (int i = kTok; i < kTok + kGuard; ++i) ok = ok && tokens[i] == buffer() + 1;
    for (int i = 0; ok && i < count; ++i) {
      ok = tokens[i] >= buffer() && tokens[i] < buffer() + kBuf && tokens[i][0] != '\0' &&
           std::memchr(tokens[i], '\0', size_t(buffer() + kBuf - tokens[i])) != nullptr;
    }
    return ok;
  }
};

TEST(Tokenizer, CaseFile) {
  const objcase::CaseFile file = objcase::read_cases("objects/tokens.txt");
  ASSERT_GT(file.lines.size(), 20u);
  for (const objcase::Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.rest.substr(0, 80));
    Tokenized t(c.rest.c_str(), c.a == "-" ? "" : c.a.c_str());
    EXPECT_TRUE(t.sound());
    EXPECT_TRUE(c.b[0] != '#' || t.count == std::stoi(c.b.substr(1))) << t.count;
    if (c.b[0] == '#' || c.b == "*") continue;
    const std::vector<std::string> want = c.b == "-" ? std::vector<std::string>{} : objcase::split(c.b, '|');
    EXPECT_EQ(std::vector<std::string>(t.tokens, t.tokens + std::max(t.count, 0)), want);
    EXPECT_TRUE(t.count <= 0 || t.tokens[0] == t.buffer());  // cut in place from the keyword on
  }
}

TEST(Tokenizer, NullArgumentsLeaveCountZero) {
  char buffer[kBuf], *tokens[kTok] = {buffer};
  const char *text = "UNIT[\"m\",1]";
  for (int arg = 0; arg < 4; ++arg) {
    int count = 7;
    kx_objstring_tokens(arg == 0 ? nullptr : text, arg == 1 ? nullptr : "UNIT",
                        arg == 2 ? nullptr : buffer, arg == 3 ? nullptr : tokens, &count);
    EXPECT_TRUE(count == 0 && (arg > 0 || tokens[0] == buffer)) << arg;  // a null text: nothing else
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
    ASSERT_TRUE(Tokenized(text.c_str(), round % 5 == 0 ? "u" : "UNIT").sound()) << round;
  }
}

}  // namespace
