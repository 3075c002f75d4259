// Tokenizer of the bracketed coordinate-system text.
//
// The element text is copied into the caller's 1024-byte buffer and cut in
// place, so tokens live exactly as long as the buffer. Every index stays below
// the copied length, which is at most 1023, whatever the input.
#include <cstring>

#include "kx.h"
#include "objects/object_text.h"

namespace {

constexpr char kProtectedComma = '\x7f';
constexpr int kMaxTokens = kx::kTokenArraySize - 1;

// The keyword occurrence that is followed (after whitespace) by a bracket:
// sets *open to that bracket and returns the start of the keyword, or null.
const char *find_element(const char *text, const char *keyword, const char **open) {
  const size_t klen = std::strlen(keyword);
  const char *from = text;
  while (*from != '\0') {
    const char *match = kx_strstr_ci(from, keyword);
    if (match == nullptr) return nullptr;
    const char *after = match + klen;
    while (kx::is_text_space(*after)) ++after;
    if (*after == '[' || *after == '(') {
      *open = after;
      return match;
    }
    // An empty keyword matches everywhere: step on so the search ends.
    from = after > match ? after : match + 1;
  }
  return nullptr;
}

bool only_space(const char *begin, const char *end) {
  for (const char *c = begin; c < end; ++c) {
    if (!kx::is_text_space(*c)) return false;
  }
  return true;
}

// Protects commas inside each quoted name and marks empty names, from the
// first quote at or after buffer[from] on. An unpaired quote ends the pass.
void protect_names(char *buffer, size_t from) {
  char *open = std::strchr(buffer + from, '"');
  while (open != nullptr) {
    char *close = std::strchr(open + 1, '"');
    if (close == nullptr) return;
    for (char *c = open + 1; c < close; ++c) {
      if (*c == ',') *c = kProtectedComma;
    }
    if (only_space(open + 1, close)) open[1] = '_';
    open = std::strchr(close + 1, '"');
  }
}

bool is_delimiter(char c, char open_bracket) {
  if (c == ',' || c == '"') return true;
  if (open_bracket == '[') return c == '[' || c == ']';
  return c == '(' || c == ')';
}

}  // namespace

extern "C" KX_API void kx_objstring_tokens(const char *text, const char *keyword, char *buffer,
                                           char **tokens, int *count) {
  if (count == nullptr) return;
  *count = 0;
  if (text == nullptr || keyword == nullptr || buffer == nullptr || tokens == nullptr) return;
  tokens[0] = nullptr;

  const char *open = nullptr;
  const char *start = find_element(text, keyword, &open);
  if (start == nullptr) return;

  size_t len = 0;
  while (len < static_cast<size_t>(kx::kTokenBufferSize - 1) && start[len] != '\0') {
    buffer[len] = start[len];
    ++len;
  }
  buffer[len] = '\0';

  // Whitespace between keyword and bracket may push the bracket past the cut.
  const size_t bracket = static_cast<size_t>(open - start);
  const char open_bracket = *open;
  if (bracket < len) protect_names(buffer, bracket);

  int n = 0;
  size_t i = 0;
  while (i < len && n < kMaxTokens) {
    while (i < len && is_delimiter(buffer[i], open_bracket)) ++i;
    if (i >= len) break;
    const size_t begin = i;
    while (i < len && !is_delimiter(buffer[i], open_bracket)) ++i;
    buffer[i] = '\0';  // i <= len < 1024: the terminator or a delimiter
    ++i;
    char *token = buffer + begin;
    if (only_space(token, buffer + i - 1)) continue;
    kx_trimstring(token);
    tokens[n++] = token;
  }
  tokens[n] = nullptr;
  *count = n;
}
