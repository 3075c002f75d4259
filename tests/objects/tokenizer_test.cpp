// The text tokenizer: splitting, name protection, limits, and hostile input
// that must never make it read or write outside the caller's buffer and array.
#include "kx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kBuf = 1024;
constexpr int kTok = 200;
constexpr int kGuard = 64;
constexpr unsigned char kCanary = 0xA5;

// Buffer and token array with guard zones behind them, to catch overruns even
// in the release build.
struct Tokenized {
  unsigned char raw[kBuf + kGuard];
  char *tokens[kTok + kGuard];
  int count = -1;

  Tokenized(const char *text, const char *keyword) {
    std::memset(raw, kCanary, sizeof raw);
    for (auto &t : tokens) t = reinterpret_cast<char *>(&raw[0]) + 1;  // sentinel
    kx_objstring_tokens(text, keyword, buffer(), tokens, &count);
  }
  char *buffer() { return reinterpret_cast<char *>(raw); }
  bool guards_intact() const {
    for (int i = kBuf; i < kBuf + kGuard; ++i) {
      if (raw[i] != kCanary) return false;
    }
    for (int i = kTok; i < kTok + kGuard; ++i) {
      if (tokens[i] != reinterpret_cast<const char *>(&raw[0]) + 1) return false;
    }
    return true;
  }
  // Every token lies inside the buffer and is terminated there; a null entry
  // follows the last one.
  bool tokens_well_formed() const {
    if (count < 0 || count > kTok - 1) return false;
    if (tokens[count] != nullptr) return false;
    const char *b = reinterpret_cast<const char *>(raw);
    for (int i = 0; i < count; ++i) {
      if (tokens[i] < b || tokens[i] >= b + kBuf) return false;
      if (std::memchr(tokens[i], '\0', static_cast<size_t>(b + kBuf - tokens[i])) == nullptr)
        return false;
    }
    return true;
  }
  std::vector<std::string> list() const {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i) v.emplace_back(tokens[i]);
    return v;
  }
};

const char *kWgs84 =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

TEST(Tokenizer, GeographicCsGivesFourteenFlatTokens) {
  Tokenized t(kWgs84, "GEOGCS");
  const std::vector<std::string> want = {
      "GEOGCS", "GCS_WGS_1984", "DATUM",  "D_WGS_1984", "SPHEROID",  "WGS_1984",
      "6378137.0", "298.257223563", "PRIMEM", "Greenwich", "0.0", "UNIT", "Degree",
      "0.0174532925199433"};
  EXPECT_EQ(t.list(), want);
  EXPECT_TRUE(t.tokens_well_formed());
  EXPECT_TRUE(t.guards_intact());

  // The copy starts at the keyword: text before it is not seen.
  Tokenized inner(kWgs84, "datum");
  ASSERT_EQ(inner.count, 12);
  EXPECT_STREQ(inner.tokens[0], "DATUM");
  EXPECT_EQ(inner.tokens[0], inner.buffer());  // cut in place
}

TEST(Tokenizer, KeywordNeedsABracketAfterOptionalWhitespace) {
  // The first occurrence is part of a name; the second has whitespace first.
  Tokenized t("UNITS are UNIT \t\r\n\b[ \"Meter\" , 1.0 ]", "unit");
  EXPECT_EQ(t.list(), (std::vector<std::string>{"UNIT", "Meter", "1.0"}));

  Tokenized none("UNIT \"Meter\" 1.0", "UNIT");
  EXPECT_EQ(none.count, 0);
  EXPECT_EQ(none.tokens[0], nullptr);

  Tokenized absent("PRIMEM[\"Greenwich\",0.0]", "UNIT");
  EXPECT_EQ(absent.count, 0);

  // An empty keyword must terminate too (it matches everywhere).
  Tokenized empty_kw("abc", "");
  EXPECT_EQ(empty_kw.count, 0);
  Tokenized empty_kw2("x[1,2]", "");
  EXPECT_EQ(empty_kw2.count, 2);
}

TEST(Tokenizer, ParenthesesAreBracketsAndThenSquareBracketsAreNot) {
  Tokenized p("UNIT(\"Degree\",0.0174532925199433)", "UNIT");
  EXPECT_EQ(p.list(), (std::vector<std::string>{"UNIT", "Degree", "0.0174532925199433"}));
  // Under '(' the square brackets are ordinary characters, and vice versa.
  Tokenized mixed("UNIT(\"a[b]\",1)", "UNIT");
  EXPECT_EQ(mixed.list(), (std::vector<std::string>{"UNIT", "a[b]", "1"}));
  Tokenized square("UNIT[\"a(b)\",1]", "UNIT");
  EXPECT_EQ(square.list(), (std::vector<std::string>{"UNIT", "a(b)", "1"}));
}

TEST(Tokenizer, QuotedNamesKeepCommasAndEmptyNamesBecomeUnderscore) {
  Tokenized c("PARAMETER[\"a,b,,c\",5]", "PARAMETER");
  EXPECT_EQ(c.list(), (std::vector<std::string>{"PARAMETER", "a\x7f" "b\x7f\x7f" "c", "5"}));

  Tokenized e("SPHEROID[\"\",6378137.0,0.0]", "SPHEROID");
  EXPECT_EQ(e.list(), (std::vector<std::string>{"SPHEROID", "_", "6378137.0", "0.0"}));

  Tokenized w("SPHEROID[\" \t \",6378137.0,0.0]", "SPHEROID");
  EXPECT_EQ(w.list(), (std::vector<std::string>{"SPHEROID", "_", "6378137.0", "0.0"}));

  // Several names, each pair handled in turn; the comma between pairs splits.
  Tokenized two("DATUM[\"x,y\",SPHEROID[\"\",1,0]]", "DATUM");
  EXPECT_EQ(two.list(),
            (std::vector<std::string>{"DATUM", "x\x7fy", "SPHEROID", "_", "1", "0"}));

  // A quote before the bracket is not a name quote.
  Tokenized before("\"UNIT[\"m,x\",1]", "UNIT");
  EXPECT_EQ(before.list(), (std::vector<std::string>{"UNIT", "m\x7fx", "1"}));
}

TEST(Tokenizer, UnbalancedQuotesAndBracketsStayInside) {
  // An opening quote without a closing one ends name protection.
  Tokenized q("UNIT[\"a,b,1.0]", "UNIT");
  EXPECT_EQ(q.list(), (std::vector<std::string>{"UNIT", "a", "b", "1.0"}));
  Tokenized q3("UNIT[\"a,b\",\"c,d]", "UNIT");
  EXPECT_EQ(q3.list(), (std::vector<std::string>{"UNIT", "a\x7f" "b", "c", "d"}));
  Tokenized open_only("UNIT[[[[", "UNIT");
  EXPECT_EQ(open_only.list(), (std::vector<std::string>{"UNIT"}));
  Tokenized closers("UNIT[]]]],,,,\"\"\"", "UNIT");
  EXPECT_TRUE(closers.tokens_well_formed());
  EXPECT_TRUE(closers.guards_intact());
}

TEST(Tokenizer, NullArgumentsLeaveCountZero) {
  char buffer[kBuf];
  char *tokens[kTok];
  tokens[0] = buffer;
  int count = 7;
  kx_objstring_tokens(nullptr, "UNIT", buffer, tokens, &count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(tokens[0], buffer);  // nothing else happens for a null text
  count = 7;
  kx_objstring_tokens("UNIT[\"m\",1]", nullptr, buffer, tokens, &count);
  EXPECT_EQ(count, 0);
  count = 7;
  kx_objstring_tokens("UNIT[\"m\",1]", "UNIT", nullptr, tokens, &count);
  EXPECT_EQ(count, 0);
  count = 7;
  kx_objstring_tokens("UNIT[\"m\",1]", "UNIT", buffer, nullptr, &count);
  EXPECT_EQ(count, 0);
  kx_objstring_tokens("UNIT[\"m\",1]", "UNIT", buffer, tokens, nullptr);  // no crash
}

TEST(Tokenizer, LongTextsAreCutAt1023Characters) {
  // 5000 characters: only the first 1023 from the keyword are seen.
  std::string text = "UNIT[\"" + std::string(4990, 'x') + "\",1.0]";
  Tokenized t(text.c_str(), "UNIT");
  EXPECT_EQ(std::strlen(t.buffer()) <= 1023, true);
  EXPECT_TRUE(t.guards_intact());
  EXPECT_TRUE(t.tokens_well_formed());
  ASSERT_EQ(t.count, 2);  // the closing quote and the number are beyond the cut
  EXPECT_EQ(std::strlen(t.tokens[1]), 1023u - 6u);

  // Exactly 1023 characters fit; the 1024th is lost.
  std::string exact = "UNIT[\"m\"," + std::string(1023 - 10, '1') + "2";
  ASSERT_EQ(exact.size(), 1023u);
  Tokenized e((exact + "9]").c_str(), "UNIT");
  ASSERT_EQ(e.count, 3);
  EXPECT_EQ(e.tokens[2], std::string(1013, '1') + "2");

  // The bracket itself beyond the cut: nothing but the keyword remains.
  std::string far = "UNIT" + std::string(1100, ' ') + "[\"m\",1]";
  Tokenized f(far.c_str(), "UNIT");
  EXPECT_EQ(f.list(), (std::vector<std::string>{"UNIT"}));
  EXPECT_TRUE(f.guards_intact());
}

TEST(Tokenizer, AtMost199TokensAndANullAfterThem) {
  std::string text = "X[";
  for (int i = 0; i < 500; ++i) text += "1,";
  Tokenized t(text.c_str(), "X");
  EXPECT_EQ(t.count, 199);
  EXPECT_EQ(t.tokens[199], nullptr);
  EXPECT_TRUE(t.guards_intact());
  EXPECT_TRUE(t.tokens_well_formed());

  std::string exact = "X[";
  for (int i = 0; i < 198; ++i) exact += "1,";
  Tokenized e(exact.c_str(), "X");
  EXPECT_EQ(e.count, 199);
}

TEST(Tokenizer, RandomBytesNeverEscapeTheBuffers) {
  std::mt19937 rng(20240611u);
  const char alphabet[] = "[](),\" \t\r\n\bUNITunit_.0123456789e-+\x7f";
  for (int round = 0; round < 3000; ++round) {
    const size_t len = rng() % 3000;
    std::string text;
    text.reserve(len + 8);
    if (round % 2 == 0) text = "UNIT[";
    for (size_t i = 0; i < len; ++i) {
      if (round % 3 == 0) {
        text += static_cast<char>(1 + rng() % 255);  // any byte but NUL
      } else {
        text += alphabet[rng() % (sizeof alphabet - 1)];
      }
    }
    Tokenized t(text.c_str(), round % 5 == 0 ? "u" : "UNIT");
    ASSERT_TRUE(t.guards_intact()) << round;
    ASSERT_TRUE(t.tokens_well_formed()) << round;
    for (int i = 0; i < t.count; ++i) {
      ASSERT_NE(t.tokens[i][0], '\0');  // no empty tokens
    }
  }
}

}  // namespace
