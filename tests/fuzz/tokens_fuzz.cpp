// Feeds arbitrary bytes to the token splitter: the first line is the
// keyword, the rest the text. Whatever the bytes, the tokens are non-empty,
// trimmed, free of delimiters, inside the 1024-byte buffer and at most 199,
// followed by a null entry. The buffer and array are sized exactly, so the
// sanitizer sees any write past them.
#include <cstring>
#include <memory>

#include "fuzz_common.h"

static bool trim_space(char c) { return std::strchr(" \t\r\n\b", c) != nullptr; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input = as_text(data, size);
  const size_t nl = input.find('\n');
  const std::string keyword = nl == std::string::npos ? "" : input.substr(0, nl);
  const std::string text = nl == std::string::npos ? input : input.substr(nl + 1);
  const std::unique_ptr<char[]> buffer(new char[1024]);
  const std::unique_ptr<char *[]> tokens(new char *[200]);
  int count = -1;
  kx_objstring_tokens(text.c_str(), keyword.c_str(), buffer.get(), tokens.get(), &count);
  check(count >= 0 && count <= 199 && tokens[count] == nullptr);
  for (int i = 0; i < count; ++i) {
    const char *t = tokens[i];
    const size_t len = std::strlen(t);
    check(t >= buffer.get() && len > 0 && t + len < buffer.get() + 1024);
    check(!trim_space(t[0]) && !trim_space(t[len - 1]) && std::strpbrk(t, ",\"") == nullptr);
    check(std::strpbrk(t, "[]") == nullptr || std::strpbrk(t, "()") == nullptr);
  }
  return 0;
}
