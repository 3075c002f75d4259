// TEMPORARY stand-in, to be deleted as soon as the foundation unit
// (src/base/memory) is in the tree: weak copies of the few foundation
// functions the object tests need, following their documented contracts, so
// the object suite links and runs meanwhile. A real definition in the
// library overrides these once it is linked in.
#include "kx.h"
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
extern "C" {
#define KX_STANDIN __attribute__((weak))
KX_STANDIN void *kx_allocate(int size) { return size < 1 ? nullptr : calloc(1, (size_t)size); }
KX_STANDIN void kx_deallocate(void *b) { free(b); }
KX_STANDIN int kx_strcmp_ci(const char *a, const char *b) {
  for (;; ++a, ++b) {
    int x = toupper((signed char)*a), y = toupper((signed char)*b);
    if (x != y) return x < y ? -1 : 1;
    if (!*a) return 0;
  }
}
KX_STANDIN char *kx_strstr_ci(const char *t, const char *p) {
  size_t n = strlen(p);
  for (; ; ++t) {
    size_t i = 0;
    while (i < n && t[i] && toupper((signed char)t[i]) == toupper((signed char)p[i])) ++i;
    if (i == n) return (char *)t;
    if (!*t) return nullptr;
  }
}
static bool ws(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\b' || c == ' '; }
KX_STANDIN char *kx_trimstring(char *t) {
  size_t s = 0;
  while (t[s] && ws(t[s])) ++s;
  memmove(t, t + s, strlen(t + s) + 1);
  size_t n = strlen(t);
  while (n > 0 && ws(t[n - 1])) t[--n] = 0;
  return t;
}
KX_STANDIN double kx_atod(const char *t) { return t ? strtod(t, nullptr) : 0.0; }
static void strip(char *s) {
  if (!strchr(s, '.')) return;
  size_t n = strlen(s);
  while (n > 0 && s[n - 1] == '0') s[--n] = 0;
  if (n > 0 && s[n - 1] == '.') { s[n] = '0'; s[n + 1] = 0; }
}
KX_STANDIN char *kx_dtoa(double v, char *out, int n) {
  char f[64], t[512];
  int p = n == 16 ? 15 : n;
  snprintf(f, sizeof f, "%%%d.%de", p + 8, p);
  snprintf(t, sizeof t, f, v);
  int i = p + 5;
  while (i >= 0 && t[i] != '+' && t[i] != '-') --i;
  int E = i >= 0 ? atoi(t + i) : 0;
  int N = n;
  if (n == 16 && E <= 11 && i >= 4) {
    if ((t[i - 4] == '0' && t[i - 3] == '0') || (t[i - 4] == '9' && t[i - 3] == '9')) N = 15;
  }
  if (E >= 0) {
    if (E >= N) { snprintf(f, sizeof f, "%%%de", N + 7); snprintf(t, sizeof t, f, v); }
    else { snprintf(f, sizeof f, "%%%d.%df", N + 2, N - E - 1); snprintf(t, sizeof t, f, v); strip(t); }
  } else {
    bool ok = false;
    if (E >= -9) {
      snprintf(f, sizeof f, "%%%d.%df", N - E + 2, N - E - 1); snprintf(t, sizeof t, f, v); strip(t);
      char *s = t; while (*s == ' ') ++s;
      ok = strlen(s) <= 24;
    }
    if (!ok) { snprintf(f, sizeof f, "%%%d.%dg", N + 7, N - 1); snprintf(t, sizeof t, f, v); }
  }
  char *s = t; while (ws(*s)) ++s;
  strcpy(out, s);
  return out;
}
}
