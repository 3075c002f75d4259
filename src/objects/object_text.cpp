// Name handling, number writing and keyword search of the object text format.
#include "objects/object_text.h"

#include <cstring>

namespace kx {

// Every catalogue object copies and checks a dozen names, so both use the
// C library's vectorised scans.
void copy_name(char *dst, const char *src) {
  const std::size_t n = src == nullptr ? 0 : strnlen(src, kNameSize - 1);
  if (n > 0) std::memcpy(dst, src, n);
  std::memset(dst + n, 0, kNameSize - n);
}

bool name_fits_text(const char *name) {
  if (name == nullptr) return true;
  const std::size_t n = strnlen(name, kNameSize - 1);
  return std::strcspn(name, "[]\"\x7f") >= n;
}

bool read_name_token(char *dst, const char *token) {
  copy_name(dst, token);
  if (token == nullptr) return false;
  if (dst[0] == '_' && dst[1] == '\0') {
    dst[0] = '\0';
    return true;
  }
  for (int i = 0; i < kNameSize && dst[i] != '\0'; ++i) {
    if (dst[i] == '\x7f') dst[i] = ',';
  }
  // The tokenizer trims tokens, but cutting a long name to 63 characters can
  // leave whitespace at its end that a written-back text would lose on the
  // next read; drop it so that names read the same every time.
  for (int i = static_cast<int>(std::strlen(dst)) - 1; i >= 0 && is_text_space(dst[i]); --i) {
    dst[i] = '\0';
  }
  return true;
}

int find_keyword(char *const *tokens, int count, int start, const char *keyword,
                 int min_after) {
  if (tokens == nullptr || keyword == nullptr || start < 0) return -1;
  for (int i = start; i < count - min_after; ++i) {
    if (tokens[i] != nullptr && kx_strcmp_ci(tokens[i], keyword) == 0) return i;
  }
  return -1;
}

char *append_text(char *out, const char *text) {
  const size_t n = std::strlen(text);
  std::memcpy(out, text, n + 1);
  return out + n;
}

char *append_number(char *out, double value) {
  char number[kNumberTextSize] = {0};
  kx_dtoa(value, number, 16);
  return append_text(out, number);
}

void correct_dhdn_name(char *name, const char *wrong, const char *right) {
  if (std::strchr(name, ',') == nullptr && kx_strcmp_ci(name, wrong) == 0) copy_name(name, right);
}

bool name_eq(const char *a, const char *b) { return kx_strcmp_ci(a, b) == 0; }

}  // namespace kx
