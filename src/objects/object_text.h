// Small internals shared by every object kind: names, the text form's number
// writing and keyword search, the tolerant number equality and record
// allocation. Composite readers and writers of all kinds build on these.
#ifndef KX_OBJECTS_OBJECT_TEXT_H
#define KX_OBJECTS_OBJECT_TEXT_H

#include <cmath>
#include <cstdint>
#include <new>
#include <type_traits>

#include "kx.h"
#include "math/math_common.h"
#include "objects/object_core.h"

namespace kx {

// Size of the buffer and token array a caller hands to kx_objstring_tokens.
constexpr int kTokenBufferSize = 1024;
constexpr int kTokenArraySize = 200;

// Space for one number written by kx_dtoa (at most 25 characters + NUL).
constexpr int kNumberTextSize = 32;

// The whitespace set of the text format: TAB, CR, LF, backspace, space.
inline bool is_text_space(char c) {
  return c == '\t' || c == '\r' || c == '\n' || c == '\b' || c == ' ';
}

// Copies at most 63 characters of src into the 64-byte dst and zero-fills
// the rest. A null src gives the empty name.
void copy_name(char *dst, const char *src);

// True when the text form can carry the name (its first 63 characters, what
// a record keeps) back unchanged: no '[', ']' or '"', which would end the
// quoted name early, and no byte 127, the tokenizer's stand-in for a quoted
// comma. Parentheses are carried, since the writer always uses brackets.
// Every name enters a record through new_record or kx_parameter_name_set,
// and both refuse the others, so every object writes text that reads back
// equal.
bool name_fits_text(const char *name);

// Reads a name token into the 64-byte dst: at most 63 characters; "_" (any
// case) is the empty name; byte 127 (the tokenizer's protected comma) turns
// back into ','. A null token gives the empty name. Returns false for a null
// token so readers can fail on it.
bool read_name_token(char *dst, const char *token);

// Index of the first token equal to keyword (case-insensitive) at an index i
// with start <= i < count - min_after, or -1. Null tokens are skipped, so a
// short array never makes a reader look past its end.
int find_keyword(char *const *tokens, int count, int start, const char *keyword,
                 int min_after);

// Appends the 16-digit text of value at out and returns the new end (the
// string stays NUL-terminated). Used by every _to_string writer.
char *append_number(char *out, double value);
// Appends text at out and returns the new end (NUL-terminated).
char *append_text(char *out, const char *text);

// The library's tolerant equality (near_eq); false whenever a NaN is involved.
inline bool num_eq(double a, double b) { return near_eq(a, b); }

// Replaces a name read from text that equals wrong (ignoring case, and only
// when it has no comma) by right: old texts misspell the German datum.
void correct_dhdn_name(char *name, const char *wrong, const char *right);

// Case-insensitive equality of two header names.
bool name_eq(const char *a, const char *b);

// Sets *first and *last (either may be null) to value; the entry step of
// every _from_tokens.
inline void set_range(int *first, int *last, int value) {
  if (first != nullptr) *first = value;
  if (last != nullptr) *last = value;
}

// A zero-filled record from kx_allocate with the kind identifier, status 1
// and the (cut) name stored; null for a name the text form cannot carry
// (see name_fits_text) or on allocation failure. Records are plain data:
// free them with free_record.
template <class Rec>
Rec *new_record(uint32_t kind, const char *name) {
  static_assert(std::is_trivially_destructible<Rec>::value, "records are plain data");
  if (!name_fits_text(name)) return nullptr;
  void *block = kx_allocate(static_cast<int>(sizeof(Rec)));
  if (block == nullptr) return nullptr;
  Rec *rec = new (block) Rec();
  rec->hdr.kind = kind;
  rec->hdr.status = kStatusConstructed;
  copy_name(rec->hdr.name, name);
  return rec;
}

template <class Rec>
void free_record(Rec *rec) {
  kx_deallocate(rec);
}

// The common family's generic operations on any record kind (the handle is
// checked against kind first; see is_kind).
inline const ObjectHeader *header_of(const void *handle) {
  return static_cast<const ObjectHeader *>(handle);
}
// _name: zero-fills the 64-byte buffer, then copies the name of a valid handle.
inline void name_out(const void *handle, uint32_t kind, char *buffer) {
  if (buffer == nullptr) return;
  copy_name(buffer, is_kind(handle, kind) ? header_of(handle)->name : nullptr);
}
// _status: the byte, 0 when invalid.
inline uint8_t status_of(const void *handle, uint32_t kind) {
  return is_kind(handle, kind) ? header_of(handle)->status : 0;
}
// _status_set: 1 when stored, 0 when invalid.
inline int status_store(void *handle, uint32_t kind, uint8_t status) {
  if (!is_kind(handle, kind)) return 0;
  static_cast<ObjectHeader *>(handle)->status = status;
  return 1;
}

// The reader signature every kind's _from_tokens has.
template <class Handle>
using TokenReader = Handle (*)(char *const *tokens, int count, int start, int *first, int *last);

// _from_string: tokenizes text for keyword on the stack and runs the kind's
// reader from index 0; null for a null text or no tokens.
template <class Handle>
Handle read_from_string(const char *text, const char *keyword, TokenReader<Handle> reader) {
  if (text == nullptr) return nullptr;
  char buffer[kTokenBufferSize];
  char *tokens[kTokenArraySize];
  int count = 0;
  kx_objstring_tokens(text, keyword, buffer, tokens, &count);
  if (count < 1) return nullptr;
  int first = 0;
  int last = 0;
  return reader(tokens, count, 0, &first, &last);
}

}  // namespace kx

#endif
