// Allocation, case-insensitive strings, trimming, number text, byte order and
// the library's NaN.
//
// Number text never depends on, and never changes, the process locale: the
// formatting runs under a thread-local "C" locale (uselocale), so other
// threads formatting or parsing with their own locale are not disturbed.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "kx.h"

namespace {

bool is_trim_space(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\b' || c == ' '; }

// Characters are taken as signed bytes; only the non-negative ones have an
// upper-case form. The table is the "C" locale's, so that names compare
// alike whatever locale the caller runs (a Turkish locale has no upper-case
// form of 'i' among single bytes), and no library call is made per character.
int upper(char c) {
  const int v = static_cast<signed char>(c);
  return v >= 'a' && v <= 'z' ? v - ('a' - 'A') : v;
}

locale_t c_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// Switches the calling thread (only) to the "C" locale for its lifetime.
class CLocaleScope {
 public:
  CLocaleScope() : saved_(c_locale() ? uselocale(c_locale()) : static_cast<locale_t>(nullptr)) {}
  ~CLocaleScope() {
    if (saved_) uselocale(saved_);
  }
  CLocaleScope(const CLocaleScope &) = delete;
  CLocaleScope &operator=(const CLocaleScope &) = delete;

 private:
  locale_t saved_;
};

// Removes trailing zeros after a decimal point, keeping one digit after it.
void strip_zeros(char *s) {
  if (!std::strchr(s, '.')) return;
  size_t len = std::strlen(s);
  while (len > 0 && s[len - 1] == '0') s[--len] = '\0';
  if (len > 0 && s[len - 1] == '.') {
    s[len] = '0';
    s[len + 1] = '\0';
  }
}

// snprintf into scratch space; a text that would not fit (none does for the
// widths used here) is cut, never overrun.
template <typename... Args>
void put(char (&dst)[128], const char *fmt, Args... args) {
  if (std::snprintf(dst, sizeof dst, fmt, args...) < 0) dst[0] = '\0';
}

// The widest intermediate text: fixed style with up to 17 + 10 digits and
// padding, or exponent style of at most 17 digits.
constexpr size_t kScratch = 128;

void format_number(double v, char *out, int n) {
  char e_text[kScratch];
  const int p = n == 16 ? 15 : n;
  put(e_text, "%*.*e", p + 8, p, v);

  // The exponent sign is the nearest '+' or '-' at or left of index p + 5.
  int sign_at = -1;
  for (int i = p + 5; i >= 0; --i) {
    if (e_text[i] == '+' || e_text[i] == '-') {
      sign_at = i;
      break;
    }
  }
  const int e = sign_at >= 0 ? std::atoi(e_text + sign_at) : 0;

  int digits = n;
  if (n == 16 && e <= 11 && sign_at >= 4) {
    const char d14 = e_text[sign_at - 4], d15 = e_text[sign_at - 3];
    if ((d14 == '0' && d15 == '0') || (d14 == '9' && d15 == '9')) digits = 15;
  }

  char text[kScratch];
  if (e >= 0) {
    if (e >= digits) {
      put(text, "%*e", digits + 7, v);
    } else {
      put(text, "%*.*f", digits + 2, digits - e - 1, v);
      strip_zeros(text);
    }
  } else {
    bool done = false;
    if (e >= -9) {
      put(text, "%*.*f", digits - e + 2, digits - e - 1, v);
      strip_zeros(text);
      done = std::strlen(text) <= 24;
    }
    if (!done) put(text, "%*.*g", digits + 7, digits - 1, v);
  }

  const char *start = text;
  while (*start == ' ') ++start;
  std::strcpy(out, start);
}

}  // namespace

extern "C" {

KX_API void *kx_allocate(int size) { return size < 1 ? nullptr : std::calloc(1, static_cast<size_t>(size)); }

KX_API void kx_deallocate(void *block) { std::free(block); }

// A size below 1 yields null and leaves the block as it was (the system call
// would free it, which callers checking for null could not tell from failure).
KX_API void *kx_reallocate(void *block, int size) {
  return size < 1 ? nullptr : std::realloc(block, static_cast<size_t>(size));
}

KX_API void *kx_memalloc(int size) { return kx_allocate(size); }

KX_API void kx_memdealloc(void *block) { kx_deallocate(block); }

KX_API int kx_strcmp_ci(const char *a, const char *b) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  for (;; ++a, ++b) {
    const int x = upper(*a), y = upper(*b);
    if (x != y) return x < y ? -1 : 1;
    if (*a == '\0') return 0;
  }
}

KX_API char *kx_strchr_ci(const char *text, int c) {
  if (!text) return nullptr;
  const int want = upper(static_cast<char>(c));
  for (const char *p = text;; ++p) {
    if (upper(*p) == want) return const_cast<char *>(p);
    if (*p == '\0') return nullptr;
  }
}

KX_API char *kx_strstr_ci(const char *text, const char *pattern) {
  if (!text || !pattern) return nullptr;
  for (const char *t = text;; ++t) {
    size_t i = 0;
    while (pattern[i] != '\0' && t[i] != '\0' && upper(t[i]) == upper(pattern[i])) ++i;
    if (pattern[i] == '\0') return const_cast<char *>(t);
    if (*t == '\0') return nullptr;
  }
}

KX_API char *kx_trimstring(char *text) {
  if (!text) return text;
  size_t lead = 0;
  while (text[lead] != '\0' && is_trim_space(text[lead])) ++lead;
  if (text[lead] == '\0') {
    text[0] = '\0';
    return text;
  }
  size_t len = std::strlen(text + lead);
  std::memmove(text, text + lead, len + 1);
  while (len > 0 && is_trim_space(text[len - 1])) text[--len] = '\0';
  return text;
}

KX_API char *kx_dtoa(double value, char *buffer, int digits) {
  if (!buffer) return buffer;
  // Digit counts beyond what a double carries only add noise; the library passes 16.
  if (digits < 1) digits = 1;
  if (digits > 17) digits = 17;
  CLocaleScope c_numeric;
  format_number(value, buffer, digits);
  return buffer;
}

KX_API double kx_atod(const char *text) {
  if (!text) return 0.0;
  locale_t loc = c_locale();
  if (!loc) return 0.0;
  return strtod_l(text, nullptr, loc);
}

KX_API void kx_swap4_int(int32_t *words, int count) {
  if (!words) return;
  for (int i = 0; i < count; ++i) {
    uint32_t w;
    std::memcpy(&w, &words[i], 4);
    w = (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
    std::memcpy(&words[i], &w, 4);
  }
}

KX_API void kx_swap8_dbl(double *values, int count) {
  if (!values) return;
  for (int i = 0; i < count; ++i) {
    unsigned char b[8];
    std::memcpy(b, &values[i], 8);
    for (int j = 0; j < 4; ++j) {
      const unsigned char t = b[j];
      b[j] = b[7 - j];
      b[7 - j] = t;
    }
    std::memcpy(&values[i], b, 8);
  }
}

KX_API void kx_double_nan(double *out) {
  if (!out) return;
  const uint64_t bits = 0x7FF8000000000001ull;
  std::memcpy(out, &bits, sizeof bits);
}

}  // extern "C"
